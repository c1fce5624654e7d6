#include "platform/SettingsText.h"
#include "common/QtPrint.h"

#include <gtest/gtest.h>

using reg::text::Change;

namespace {

QString ValueIn(const QByteArray& text, const QString& name)
{
    QString found = QStringLiteral("<absent>");
    for (const auto& [n, v] : reg::text::Values(text))
        if (n.compare(name, Qt::CaseInsensitive) == 0) found = v;
    return found;
}

}  // namespace

// The program's own values change where they stand, new ones go to the end
// of their section or into a new section at the end; every other line stays
// byte for byte in its place.
TEST(SettingsText, AnEditChangesOnlyTheLinesOfItsValues)
{
    const QByteArray before =
        "; ZELKOVA, kept by hand\n"
        "[Public]\n"
        "AnalyzeFinish=True\n"
        "ChkCancel = False ; asked by the office\n"
        "Tags=draft, @home\n"
        "X%9Y9]a=%,@Z/\n"
        "a line without an equals sign\n"
        "\n"
        "[MainMenu]\n"
        "DataName=old\n"
        "datapass=one\n"
        "DATAPASS=two\n"
        "\n"
        "[half a section\n"
        "who=me\n"
        "\n"
        "[Input]\n"
        "Ramen\\Zoom=1.5\n"
        "; end of input\n"
        "\n";
    const QList<Change> changes{
        {"Public/AnalyzeFinish", QStringLiteral("False")},
        {"public/chkcancel", QStringLiteral("True")},
        {"Mainmenu/DataPass", QStringLiteral("C:\\保存データ\\a, b.lzh")},
        {"MainMenu/DataName", std::nullopt},
        {"Input/Ramen/Zoom", QStringLiteral("2")},
        {"Input/InputLeft", QStringLiteral("1200")},
        {"Preview/Note", QStringLiteral("@x")},
        {"Preview/Absent", std::nullopt},
    };
    const QByteArray after =
        "; ZELKOVA, kept by hand\n"
        "[Public]\n"
        "AnalyzeFinish=False\n"
        "ChkCancel = True ; asked by the office\n"
        "Tags=draft, @home\n"
        "X%9Y9]a=%,@Z/\n"
        "a line without an equals sign\n"
        "\n"
        "[MainMenu]\n"
        "datapass=\"C:\\\\保存データ\\\\a, b.lzh\"\n"
        "\n"
        "[half a section\n"
        "who=me\n"
        "\n"
        "[Input]\n"
        "Ramen\\Zoom=2\n"
        "; end of input\n"
        "InputLeft=1200\n"
        "\n"
        "[Preview]\n"
        "Note=@@x\n";
    EXPECT_EQ(reg::text::WithChanges(before, changes), after);

    EXPECT_EQ(ValueIn(before, "Public/ChkCancel"), "False");
    EXPECT_EQ(ValueIn(before, "Public/Tags"), "draft, @home");
    EXPECT_EQ(ValueIn(before, "MainMenu/DataPass"), "two");   // the last line of a name holds
    EXPECT_EQ(ValueIn(before, "half a section/who"), "me");
    EXPECT_EQ(ValueIn(after, "MainMenu/DataPass"), "C:\\保存データ\\a, b.lzh");
    EXPECT_EQ(ValueIn(after, "Preview/Note"), "@x");
    EXPECT_EQ(ValueIn(after, "MainMenu/DataName"), "<absent>");
}

namespace {

// An edit of a text, and the text it should give.
struct Edit {
    const char* what;
    QByteArray before;
    QList<Change> changes;
    QByteArray after;
};

// Each edit gives its text, in which every change reads back.
void ExpectEdits(std::initializer_list<Edit> edits)
{
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.what);
        EXPECT_EQ(reg::text::WithChanges(e.before, e.changes), e.after);
        for (const Change& change : e.changes)
            EXPECT_EQ(ValueIn(e.after, change.name), change.value.value_or(QStringLiteral("<absent>")));
    }
}

}  // namespace

TEST(SettingsText, TheFilesOwnFormIsKept)
{
    ExpectEdits({
        {"an empty file", "", {{"Public/AnalyzeFinish", QStringLiteral("False")}}, "[Public]\nAnalyzeFinish=False\n"},
        {"CR LF line breaks",
         "[Public]\r\nAnalyzeFinish=True\r\n",
         {{"Public/ChkCancel", QStringLiteral("False")}, {"Input/InputTop", QStringLiteral("5")}},
         "[Public]\r\nAnalyzeFinish=True\r\nChkCancel=False\r\n\r\n[Input]\r\nInputTop=5\r\n"},
        {"no line break at the end",
         "[Public]\nAnalyzeFinish=True",
         {{"Public/X", QStringLiteral("1")}, {"Input/Y", QStringLiteral("2")}},
         "[Public]\nAnalyzeFinish=True\nX=1\n\n[Input]\nY=2\n"},
        {"a byte order mark", "\xEF\xBB\xBF[Public]\nA=1\n", {{"Public/A", QStringLiteral("2")}}, "\xEF\xBB\xBF[Public]\nA=2\n"},
        {"a sub-section of its own",
         "[Input\\Ramen]\nZoom=1\n[Input]\nInputLeft=3\n",
         {{"Input/Ramen/Zoom", QStringLiteral("2")}, {"Input/Ramen/Mode", QStringLiteral("4")},
          {"Input/InputTop", QStringLiteral("5")}},
         "[Input\\Ramen]\nZoom=2\nMode=4\n[Input]\nInputLeft=3\nInputTop=5\n"},
        {"a section in two blocks", "[A]\nx=1\n\n[B]\ny=2\n\n[a]\nz=3\n", {{"A/w", QStringLiteral("4")}},
         "[A]\nx=1\n\n[B]\ny=2\n\n[a]\nz=3\nw=4\n"},
        {"removing the last value of a section keeps the section",
         "[Public]\nAnalyzeFinish=True\n; mine\n",
         {{"Public/AnalyzeFinish", std::nullopt}, {"Public/ChkCancel", QStringLiteral("False")}},
         "[Public]\n; mine\nChkCancel=False\n"},
        {"names that need escapes", "", {{"Preview/My Key", QStringLiteral("1")}, {"表示/値", QStringLiteral("2")}},
         "[Preview]\nMy%20Key=1\n\n[%U8868%U793A]\n%U5024=2\n"},
        {"unchanged value", "[Public]\nA=1\n", {{"Public/a", QStringLiteral("1")}}, "[Public]\nA=1\n"},
    });
}

// Every line keeps its own line break, whatever the others use; a new line
// takes that of the line before it.
TEST(SettingsText, EveryLineKeepsItsLineBreak)
{
    ExpectEdits({
        {"after a line in LF, the first in CR LF", "[Public]\r\nA=1\n", {{"Public/B", QStringLiteral("2")}},
         "[Public]\r\nA=1\nB=2\n"},
        {"after a header in LF, the first line in CR LF", "; mine\r\n[Public]\n", {{"Public/A", QStringLiteral("1")}},
         "; mine\r\n[Public]\nA=1\n"},
        {"after a line in CR LF, the first in LF", "[Public]\nA=1\r\n[Input]\nX=1\n", {{"Public/B", QStringLiteral("2")}},
         "[Public]\nA=1\r\nB=2\r\n[Input]\nX=1\n"},
        {"CR alone", "[Public]\rA=1\r", {{"Public/B", QStringLiteral("2")}, {"Input/X", QStringLiteral("3")}},
         "[Public]\rA=1\rB=2\r\r[Input]\rX=3\r"},
        {"a new section after a last line in LF", "[Public]\r\nA=1\n", {{"Input/X", QStringLiteral("1")}},
         "[Public]\r\nA=1\n\n[Input]\nX=1\n"},
        {"no break at the end, the line before in CR LF", "[Public]\nA=1\r\nB=2", {{"Public/C", QStringLiteral("3")}},
         "[Public]\nA=1\r\nB=2\r\nC=3"},
        {"a changed value keeps its break", "[Public]\r\nA=1\nB=2\r\n",
         {{"Public/A", QStringLiteral("5")}, {"Public/B", QStringLiteral("6")}}, "[Public]\r\nA=5\nB=6\r\n"},
        {"after a line whose next goes", "[Public]\r\nA=1\nB=2\r\n[Input]\r\n",
         {{"Public/B", std::nullopt}, {"Public/C", QStringLiteral("3")}, {"Public/D", QStringLiteral("4")}},
         "[Public]\r\nA=1\nC=3\nD=4\n[Input]\r\n"},
    });
}

// Whatever a value holds, the form written reads back as the same text.
TEST(SettingsText, EveryTextReadsBackAsWritten)
{
    const QString values[] = {
        QString(),
        QStringLiteral("\uFEFFproject.lzh"),
        QStringLiteral("a, b"),
        QStringLiteral("a,b,"),
        QStringLiteral("@home"),
        QStringLiteral("@@x"),
        QStringLiteral("@String(x)"),
        QStringLiteral("@Invalid()"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("say \"hi\""),
        QStringLiteral("C:\\保存データ\\x.lzh"),
        QStringLiteral("ends with \\"),
        QStringLiteral("100%"),
        QStringLiteral("%U8868%41"),
        QStringLiteral("  lead and trail  "),
        QStringLiteral(" "),
        QStringLiteral("\ttab\tinside\t"),
        QStringLiteral("line 1\r\nline 2\nline 3\r"),
        QStringLiteral("構造 設計"),
        QStringLiteral("a;b=c # d"),
        QStringLiteral("; not a comment"),
        QStringLiteral("[not a section]"),
        QString(QChar(0)) + QStringLiteral("12"),
        QStringLiteral("\x01" "abc\x1f" "f\x7f" "0"),
        QStringLiteral("\u2028\u00a0\uFFFE"),
        QString(QChar(0xD800)) + QStringLiteral("half") + QString(QChar(0xDC00)),
        QStringLiteral("\U0001F3D7 crane"),
        QString(5000, u'長') + QStringLiteral(", x"),
    };
    for (const QString& value : values) {
        SCOPED_TRACE(value.left(40).toStdString());
        const QByteArray form = reg::text::EscapedValue(value);
        EXPECT_FALSE(form.contains('\n') || form.contains('\r'));
        EXPECT_EQ(reg::text::UnescapedValue(form), value);
        const QByteArray file = reg::text::WithChanges("[S]\nbefore=1\n", {{"S/K", value}, {"S/after", QStringLiteral("2")}});
        EXPECT_EQ(ValueIn(file, "S/K"), value);
        EXPECT_EQ(ValueIn(file, "S/before"), "1");
        EXPECT_EQ(ValueIn(file, "S/after"), "2");
    }
}

// Forms written by the settings library of earlier versions read as they did.
TEST(SettingsText, FormsOfEarlierVersionsRead)
{
    const QChar nul(0);
    const struct {
        QByteArray form;
        QString value;
    } cases[] = {
        {"plain", QStringLiteral("plain")},
        {"@@home", QStringLiteral("@home")},
        {"\"a, b\"", QStringLiteral("a, b")},
        {"a, b", QStringLiteral("a, b")},
        {"draft, @@home", QStringLiteral("draft, @home")},
        {"\" lead\"", QStringLiteral(" lead")},
        {"C:\\\\data\\\\x.lzh", QStringLiteral("C:\\data\\x.lzh")},
        {"\\\"q\\\"", QStringLiteral("\"q\"")},
        {"line\\nnext\\ttab", QStringLiteral("line\nnext\ttab")},
        {"\\x1f\\x31", QStringLiteral("\x1f" "1")},
        {"\\0\\x31", nul + QStringLiteral("1")},
        {"@String(a\\0b)", QStringLiteral("a") + nul + QStringLiteral("b")},
        {"  spaced out   ", QStringLiteral("spaced out")},
        {"value ; comment", QStringLiteral("value")},
        {"\"x;y\" ; comment", QStringLiteral("x;y")},
        {"構造", QStringLiteral("構造")},
        {"\xEF\xBB\xBFwith mark", QStringLiteral("\uFEFFwith mark")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form.toStdString());
        EXPECT_EQ(ValueIn("[S]\nK=" + c.form + "\n", "S/K"), c.value);
    }
    // Names: "\" a level of sections, %XX and %UXXXX.
    const QByteArray names = "[Input]\nRamen\\Zoom=1\nMy%20Key=2\n[%U8868%U793A]\n%U5024=3\n[General]\ntop=4\n";
    EXPECT_EQ(ValueIn(names, "Input/Ramen/Zoom"), "1");
    EXPECT_EQ(ValueIn(names, "Input/My Key"), "2");
    EXPECT_EQ(ValueIn(names, "表示/値"), "3");
    EXPECT_EQ(ValueIn(names, "top"), "4");
}
