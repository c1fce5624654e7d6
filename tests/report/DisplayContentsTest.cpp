// The display-contents dialog and its settings file "pif".
#include "common/TestEnv.h"
#include "common/WidgetEvents.h"
#include "core/ProgramState.h"
#include "platform/SafeFileFaults.h"
#include "report/PreviewSettingsFile.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <limits>

using screentest::FocusIn;
using screentest::FocusOut;

namespace {

QByteArray PifBytes() { return testenv::ReadFile(report::kPreviewInfoFile); }

int16_t Int16At(const QByteArray& b, int at) { return qFromLittleEndian<int16_t>(b.constData() + at); }
float SingleAt(const QByteArray& b, int at)
{
    const uint32_t bits = qFromLittleEndian<uint32_t>(b.constData() + at);
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// Edits the factor of line `row` as a user does: choose the line, type into
// the box, leave it.
void EditFactor(frmPreviewInfoSetUp& d, int row, const QString& text)
{
    d.lstCaseZoom->setCurrentRow(row);
    FocusIn(d.txtZoomVal);
    d.txtZoomVal->setText(text);
    FocusOut(d.txtZoomVal);
}

// No display contents stored yet, as at a first report.
void ForgetStoredContents()
{
    QFile::remove(report::kPreviewInfoFile);
    Program().PreviewInfo.Confirmed = 0;
}

struct Dialog {
    explicit Dialog(int16_t cases)
    {
        Program().LoadCaseCount = cases;
        d.Load();
    }
    // Shown as the active window, as the user sees it, for real key events.
    void ShowActive()
    {
        d.show();
        d.activateWindow();
        QApplication::setActiveWindow(&d);
        QApplication::processEvents();
    }
    frmPreviewInfoSetUp d;
};

TEST(DisplayContents, FirstRunShowsTheDefaults)
{
    Dialog dlg(3);
    frmPreviewInfoSetUp& d = dlg.d;
    EXPECT_TRUE(d.OpnPerKajyu->isChecked());
    EXPECT_FALSE(d.opnPerSeBu->isChecked());
    ASSERT_EQ(d.lstCaseZoom->count(), 3);
    for (int i = 0; i < 3; ++i) {
        // Six blanks, the case in two characters, two blanks, the factor in ten.
        EXPECT_EQ(d.lstCaseZoom->item(i)->text(), QStringLiteral("       %1       1.000").arg(i + 1));
        EXPECT_EQ(d.lstCaseZoom->item(i)->checkState(), Qt::Unchecked);
    }
    EXPECT_EQ(d.lstCaseZoom->currentRow(), 2);
    EXPECT_EQ(d.lblCaseNo->text(), QStringLiteral("3"));
    EXPECT_EQ(d.txtZoomVal->text(), QStringLiteral("1.000"));
    EXPECT_FALSE(d.chkHnz->isChecked());
    EXPECT_FALSE(d.chkOuz->isChecked());
    EXPECT_EQ(d.txtHnzZoom->text(), QStringLiteral("1.000"));
    EXPECT_EQ(d.txtOuzZoom->text(), QStringLiteral("1.000"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("ZELKOVA  ver %1　表示内容指定").arg(Program().ProgramVersion));
    EXPECT_FALSE(QFile::exists(report::kPreviewInfoFile));
}

TEST(DisplayContents, ConfirmingWritesTheRecord)
{
    {
        Dialog dlg(3);
        dlg.d.cmdOK->click();
    }
    QByteArray b = PifBytes();
    ASSERT_EQ(b.size(), 80);
    EXPECT_EQ(b.left(8).toHex(), QByteArray("ffffffff00000000"));   // confirmed, per load case
    EXPECT_EQ(b.mid(28, 4).toHex(), QByteArray("0000803f"));         // factor of case 1: 1.0
    EXPECT_EQ(SingleAt(b, 28 + 4 * 3), 0.0f);                        // beyond the cases: 0
    EXPECT_EQ(SingleAt(b, 70), 1.0f);
    EXPECT_EQ(SingleAt(b, 76), 1.0f);

    // Cases 1 and 3 with factors 1.2 and 0.8, per node and member, both
    // diagrams with their scales.
    {
        Dialog dlg(4);
        frmPreviewInfoSetUp& d = dlg.d;
        d.opnPerSeBu->setChecked(true);
        d.lstCaseZoom->item(0)->setCheckState(Qt::Checked);
        d.lstCaseZoom->item(2)->setCheckState(Qt::Checked);
        EditFactor(d, 0, QStringLiteral("1.2"));
        EditFactor(d, 2, QStringLiteral(".8"));
        EXPECT_EQ(d.lstCaseZoom->item(2)->text(), QStringLiteral("       3       0.800"));
        d.chkHnz->setChecked(true);
        d.txtHnzZoom->setText(QStringLiteral("50"));
        d.chkOuz->setChecked(true);
        d.txtOuzZoom->setText(QStringLiteral("2.5"));
        d.cmdOK->click();
    }
    b = PifBytes();
    ASSERT_EQ(b.size(), 80);
    EXPECT_EQ(Int16At(b, 2), 0);
    EXPECT_EQ(Int16At(b, 4), -1);
    EXPECT_EQ(Int16At(b, 6), -1);
    const int16_t selected[10] = {-1, 0, -1, 0, 0, 0, 0, 0, 0, 0};
    // Case 4 lay beyond the three cases of the first store, which wrote 0.
    const float factors[10] = {1.2f, 1.0f, 0.8f, 0, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Int16At(b, 8 + 2 * i), selected[i]) << i;
        EXPECT_EQ(SingleAt(b, 28 + 4 * i), factors[i]) << i;
    }
    EXPECT_EQ(Int16At(b, 68), 1);
    EXPECT_EQ(SingleAt(b, 70), 50.0f);
    EXPECT_EQ(Int16At(b, 74), 1);
    EXPECT_EQ(SingleAt(b, 76), 2.5f);
    EXPECT_EQ(Program().PreviewInfo, report::DecodePreviewInfo(b, {}));

    // The next opening shows what was stored; unchecking every case clears
    // the combination whatever the factors.
    {
        Dialog dlg(4);
        frmPreviewInfoSetUp& d = dlg.d;
        EXPECT_TRUE(d.opnPerSeBu->isChecked());
        EXPECT_EQ(d.lstCaseZoom->item(0)->text(), QStringLiteral("       1       1.200"));
        EXPECT_EQ(d.lstCaseZoom->item(2)->checkState(), Qt::Checked);
        EXPECT_EQ(d.txtHnzZoom->text(), QStringLiteral("50.000"));
        d.lstCaseZoom->item(0)->setCheckState(Qt::Unchecked);
        d.lstCaseZoom->item(2)->setCheckState(Qt::Unchecked);
        d.cmdOK->click();
    }
    b = PifBytes();
    EXPECT_EQ(Int16At(b, 6), 0);
    EXPECT_EQ(SingleAt(b, 28), 1.2f);
}

// Confirmed contents that cannot be stored are shown all the same; the user
// is told, and the file keeps what it held.
TEST(DisplayContents, ContentsThatCannotBeStoredAreShownAndTheUserIsTold)
{
    {
        Dialog dlg(2);
        dlg.d.cmdOK->click();
    }
    const QByteArray before = PifBytes();
    ASSERT_TRUE(testenv::Script().messages.isEmpty());
    {
        Dialog dlg(2);
        dlg.d.lstCaseZoom->item(1)->setCheckState(Qt::Checked);
        files::InjectedWriteFailure diskFull(files::FailingStep::Write);
        dlg.d.cmdOK->click();
    }
    EXPECT_EQ(PifBytes(), before);
    EXPECT_EQ(QDir().entryList(QDir::Files), QStringList{report::kPreviewInfoFile});
    EXPECT_EQ(Program().PreviewInfo.Confirmed, -1);
    EXPECT_EQ(Program().PreviewInfo.CombineCases, -1);
    EXPECT_EQ(Program().PreviewInfo.CaseSelected[1], -1);
    const QStringList messages = testenv::Script().messages;
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("message=exclamation|表示内容をファイルに保存できませんでした。")))
        << messages[0].toStdString();
}

// A damaged record reads as the defaults where a value cannot be shown: a
// factor that is not finite or wider than its ten-character field, and a
// scale that is not finite, read as 1; every other value as stored.
TEST(DisplayContents, DamagedFactorsAndScalesReadAsOne)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float stored;
        float read;
        const char* field;   // the factor field of the case's line
    };
    const Case cases[] = {
        {nan, 1, "     1.000"},
        {inf, 1, "     1.000"},
        {-inf, 1, "     1.000"},
        {3.4e38f, 1, "     1.000"},
        {1000000, 1, "     1.000"},     // "1000000.000": eleven characters
        {-100000, 1, "     1.000"},     // "-100000.000" likewise
        {999999.5f, 999999.5f, "999999.500"},
        {-99999.5f, -99999.5f, "-99999.500"},
        {0, 0, "     0.000"},
        {2.25f, 2.25f, "     2.250"},
    };
    PreviewInfoRecord stored = report::DefaultPreviewInfo(-1);
    for (int i = 0; i < 10; ++i) stored.CaseFactor[i] = cases[i].stored;
    stored.DisplacementScale = nan;
    stored.StressScale = -inf;
    ASSERT_TRUE(report::WritePreviewInfo(stored));

    Dialog dlg(10);
    frmPreviewInfoSetUp& d = dlg.d;
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Program().PreviewInfo.CaseFactor[i], cases[i].read);
        EXPECT_EQ(d.lstCaseZoom->item(i)->text().right(10), QString::fromLatin1(cases[i].field));
    }
    EXPECT_EQ(Program().PreviewInfo.DisplacementScale, 1.0f);
    EXPECT_EQ(Program().PreviewInfo.StressScale, 1.0f);
    EXPECT_EQ(d.txtHnzZoom->text(), QStringLiteral("1.000"));
    EXPECT_EQ(d.txtOuzZoom->text(), QStringLiteral("1.000"));
}

TEST(DisplayContents, CancelAndCloseBoxLeaveTheFileAsItWas)
{
    {
        Dialog dlg(2);
        dlg.d.cmdOK->click();
    }
    const QString before = testenv::FileHash(report::kPreviewInfoFile);
    for (bool closeBox : {false, true}) {
        Dialog dlg(2);
        frmPreviewInfoSetUp& d = dlg.d;
        d.lstCaseZoom->item(1)->setCheckState(Qt::Checked);
        EditFactor(d, 1, QStringLiteral("3"));
        d.chkOuz->setChecked(true);
        if (closeBox) d.close();
        else d.cmdCancel->click();
        EXPECT_FALSE(d.IsLoaded());
        EXPECT_EQ(Program().PreviewInfo.Confirmed, 0);
        EXPECT_EQ(testenv::FileHash(report::kPreviewInfoFile), before);
    }
}

// The edges of the entry boxes: what a factor line, Enter, a refused key
// and a scale box that is not a number do.
TEST(DisplayContents, EntryBoxEdges)
{
    Dialog dlg(3);
    frmPreviewInfoSetUp& d = dlg.d;
    ui::ScriptedServices& script = testenv::Script();

    // A factor that fills the whole field is kept with all its digits.
    EditFactor(d, 0, QStringLiteral("12345.678"));
    EXPECT_EQ(d.lstCaseZoom->item(0)->text(), QStringLiteral("       1   12345.678"));
    // One that would not fit is refused; the line keeps its factor.
    int beeps = script.beeps;
    EditFactor(d, 1, QStringLiteral("1234567.5"));
    EXPECT_EQ(script.beeps, beeps + 1);
    EXPECT_EQ(d.lstCaseZoom->item(1)->text(), QStringLiteral("       2       1.000"));
    EXPECT_EQ(d.txtZoomVal->text(), QStringLiteral("1234567.5"));

    // Enter writes the factor into its line at once, without a sound.
    d.lstCaseZoom->setCurrentRow(2);
    FocusIn(d.txtZoomVal);
    d.txtZoomVal->setText(QStringLiteral("2"));
    beeps = script.beeps;
    QTest::keyClick(d.txtZoomVal, Qt::Key_Return);
    EXPECT_EQ(d.lstCaseZoom->item(2)->text(), QStringLiteral("       3       2.000"));
    EXPECT_EQ(script.beeps, beeps);
    // "-" cannot be typed in any of the three boxes; "." can.
    for (QLineEdit* box : {d.txtZoomVal, d.txtHnzZoom, d.txtOuzZoom}) {
        box->setText(QStringLiteral("1"));
        beeps = script.beeps;
        QTest::keyClick(box, '-');
        QTest::keyClick(box, '.');
        EXPECT_EQ(box->text(), QStringLiteral("1."));
        EXPECT_EQ(script.beeps, beeps + 1);
    }
    // Leaving a scale box reformats a number and leaves other text alone.
    d.txtHnzZoom->setText(QStringLiteral("3"));
    FocusOut(d.txtHnzZoom);
    EXPECT_EQ(d.txtHnzZoom->text(), QStringLiteral("3.000"));
    // A factor typed and OK pressed at once is taken; a scale box reads as
    // its leading number, and a typed 0 is stored.
    d.lstCaseZoom->setCurrentRow(0);
    FocusIn(d.txtZoomVal);
    d.txtZoomVal->setText(QStringLiteral("0.5"));
    d.txtHnzZoom->setText(QStringLiteral("2.5x"));
    d.txtOuzZoom->setText(QStringLiteral("0"));
    d.cmdOK->click();
    const QByteArray b = PifBytes();
    EXPECT_EQ(SingleAt(b, 28), 0.5f);
    EXPECT_EQ(SingleAt(b, 28 + 4 * 2), 2.0f);
    EXPECT_EQ(SingleAt(b, 70), 2.5f);
    EXPECT_EQ(SingleAt(b, 76), 0.0f);
}

// A factor or scale that would be stored as 0 though no 0 was typed (an
// emptied box, text without a number, a number beyond a Single) is refused
// at "表示": a beep, the focus on the box (the factor box showing the line
// refused), the dialog open and nothing stored. The number typed there
// then is stored as typed.
TEST(DisplayContents, OkRefusesAFactorOrScaleWithoutANumber)
{
    struct Case {
        const char* what;
        std::function<void(frmPreviewInfoSetUp&)> spoil;
        const char* box;   // the box refused
        int line;          // the line its factor belongs to, or -1
        int offset;        // where the number typed then is stored
    };
    const Case cases[] = {
        {"stress scale emptied",
         [](frmPreviewInfoSetUp& d) {
             d.chkOuz->setChecked(true);
             d.txtOuzZoom->clear();
         },
         "txtOuzZoom", -1, 76},
        {"displacement scale without a number, its diagram off",
         [](frmPreviewInfoSetUp& d) { d.txtHnzZoom->setText(QStringLiteral(".")); }, "txtHnzZoom", -1, 70},
        {"scale beyond a Single",
         [](frmPreviewInfoSetUp& d) { d.txtOuzZoom->setText(QStringLiteral("1") + QString(39, u'0')); }, "txtOuzZoom",
         -1, 76},
        {"scale beyond a Double",
         [](frmPreviewInfoSetUp& d) { d.txtHnzZoom->setText(QString(400, u'9')); }, "txtHnzZoom", -1, 70},
        {"factor of a combined case emptied",
         [](frmPreviewInfoSetUp& d) {
             d.lstCaseZoom->item(1)->setCheckState(Qt::Checked);
             EditFactor(d, 1, QString());
         },
         "txtZoomVal", 1, 28 + 4},
        {"factor of a case left out blanked, OK pressed with the focus in the box",
         [](frmPreviewInfoSetUp& d) {
             d.lstCaseZoom->setCurrentRow(2);
             d.txtZoomVal->setFocus();
             d.txtZoomVal->setText(QStringLiteral("  "));
         },
         "txtZoomVal", 2, 28 + 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ForgetStoredContents();
        Dialog dlg(3);
        frmPreviewInfoSetUp& d = dlg.d;
        dlg.ShowActive();
        c.spoil(d);
        const int beeps = testenv::Script().beeps;
        d.cmdOK->click();
        EXPECT_EQ(testenv::Script().beeps, beeps + 1);
        EXPECT_TRUE(d.IsLoaded());
        EXPECT_EQ(Program().PreviewInfo.Confirmed, 0);
        EXPECT_FALSE(QFile::exists(report::kPreviewInfoFile));
        auto* box = d.findChild<QLineEdit*>(QString::fromUtf8(c.box));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(box->selectedText(), box->text());
        if (c.line >= 0) {
            EXPECT_EQ(d.lstCaseZoom->currentRow(), c.line);
            EXPECT_EQ(d.lblCaseNo->text(), QString::number(c.line + 1));
            EXPECT_EQ(box->text(), QString());
        }
        // The number typed in the box the focus is on goes where it belongs.
        box->setText(QStringLiteral("0"));
        d.cmdOK->click();
        EXPECT_FALSE(d.IsLoaded());
        ASSERT_EQ(PifBytes().size(), 80);
        EXPECT_EQ(SingleAt(PifBytes(), c.offset), 0.0f);
        EXPECT_TRUE(testenv::Script().messages.isEmpty());
    }
}

// A factor too wide for the ten characters of its line (typed, or pasted
// as a number beyond a Single) is refused when "表示" is clicked: one beep,
// the focus back on the factor box with the text refused in it, selected,
// the line and the file as they were, the dialog open. Mended there, the
// factor is stored.
TEST(DisplayContents, OkRefusesAFactorTooWideForItsLine)
{
    struct Case {
        const char* what;
        const char* text;
        bool pasted;
    };
    const Case cases[] = {
        {"eleven digits typed", "12345678901", false},
        {"a number beyond a Single pasted", "1e40", true},
        {"a number that rounds to seven digits typed", "999999.9995", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ForgetStoredContents();
        Dialog dlg(3);
        frmPreviewInfoSetUp& d = dlg.d;
        dlg.ShowActive();
        d.lstCaseZoom->setCurrentRow(1);
        QTest::mouseClick(d.txtZoomVal, Qt::LeftButton);
        ASSERT_EQ(QApplication::focusWidget(), d.txtZoomVal);
        const QString typed = QString::fromLatin1(c.text);
        if (c.pasted) {
            QApplication::clipboard()->setText(typed);
            d.txtZoomVal->paste();
        } else {
            QTest::keyClicks(d.txtZoomVal, typed);
        }
        ASSERT_EQ(d.txtZoomVal->text(), typed);
        const int beeps = testenv::Script().beeps;
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        EXPECT_EQ(testenv::Script().beeps, beeps + 1);
        EXPECT_TRUE(d.IsLoaded());
        EXPECT_EQ(Program().PreviewInfo.Confirmed, 0);
        EXPECT_FALSE(QFile::exists(report::kPreviewInfoFile));
        EXPECT_EQ(QApplication::focusWidget(), d.txtZoomVal);
        EXPECT_EQ(d.txtZoomVal->text(), typed);
        EXPECT_EQ(d.txtZoomVal->selectedText(), typed);
        EXPECT_EQ(d.lstCaseZoom->currentRow(), 1);
        EXPECT_EQ(d.lblCaseNo->text(), QStringLiteral("2"));
        EXPECT_EQ(d.lstCaseZoom->item(1)->text(), QStringLiteral("       2       1.000"));

        // The text is selected: what is typed now replaces it.
        QTest::keyClicks(d.txtZoomVal, QStringLiteral("2.5"));
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
        EXPECT_EQ(testenv::Script().beeps, beeps + 1);
        EXPECT_FALSE(d.IsLoaded());
        ASSERT_EQ(PifBytes().size(), 80);
        EXPECT_EQ(SingleAt(PifBytes(), 28 + 4), 2.5f);
    }
}

// Enter in the factor box refuses a factor too wide for its line at once:
// a beep, the box keeps the text and the focus; Tab away beeps again, and
// choosing another line shows that line's factor. "表示" then stores the
// factors of the lines, none of them the refused one.
TEST(DisplayContents, EnterAndTabRefuseAFactorTooWideForItsLine)
{
    Dialog dlg(3);
    frmPreviewInfoSetUp& d = dlg.d;
    dlg.ShowActive();
    ui::ScriptedServices& script = testenv::Script();
    d.lstCaseZoom->setCurrentRow(0);
    QTest::mouseClick(d.txtZoomVal, Qt::LeftButton);
    QTest::keyClicks(d.txtZoomVal, QStringLiteral("1234567"));
    int beeps = script.beeps;
    QTest::keyClick(d.txtZoomVal, Qt::Key_Return);
    EXPECT_EQ(script.beeps, beeps + 1);
    EXPECT_EQ(QApplication::focusWidget(), d.txtZoomVal);
    EXPECT_EQ(d.txtZoomVal->text(), QStringLiteral("1234567"));
    EXPECT_EQ(d.lstCaseZoom->item(0)->text(), QStringLiteral("       1       1.000"));
    beeps = script.beeps;
    QTest::keyClick(d.txtZoomVal, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), d.txtZoomVal);
    EXPECT_EQ(script.beeps, beeps + 1);
    EXPECT_EQ(d.txtZoomVal->text(), QStringLiteral("1234567"));
    d.lstCaseZoom->setCurrentRow(2);
    EXPECT_EQ(d.txtZoomVal->text(), QStringLiteral("1.000"));
    beeps = script.beeps;
    QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    EXPECT_EQ(script.beeps, beeps);
    EXPECT_FALSE(d.IsLoaded());
    EXPECT_EQ(SingleAt(PifBytes(), 28), 1.0f);
}

TEST(DisplayContents, NoCasesNoLineToEdit)
{
    Dialog dlg(0);
    frmPreviewInfoSetUp& d = dlg.d;
    EXPECT_EQ(d.lstCaseZoom->count(), 0);
    EXPECT_TRUE(d.lblCaseNo->text().isEmpty());
    FocusIn(d.txtZoomVal);
    d.txtZoomVal->setText(QStringLiteral("4"));
    FocusOut(d.txtZoomVal);
    EXPECT_EQ(d.lstCaseZoom->count(), 0);
    d.cmdOK->click();
    EXPECT_EQ(PifBytes().size(), 80);
}

// After a failed build the stored record keeps everything but the
// combination; a missing or short file gives the defaults for what it lacks.
TEST(DisplayContents, ClearingTheStoredCombination)
{
    PreviewInfoRecord stored = report::DefaultPreviewInfo(-1);
    stored.PerNodeMember = -1;
    stored.ByLoadCase = 0;
    stored.CombineCases = -1;
    stored.CaseSelected = {-1, 0, -1, 0, 0, 0, 0, 0, 0, 0};
    stored.CaseFactor = {2, 3, 4, 0, 0, 0, 0, 0, 0, 0};
    stored.ShowStress = 1;
    stored.StressScale = 7;
    ASSERT_TRUE(report::WritePreviewInfo(stored));

    PreviewInfoRecord info;
    report::ClearStoredCombination(info);
    PreviewInfoRecord expected = stored;
    expected.CombineCases = 0;
    expected.CaseSelected.fill(0);
    expected.CaseFactor.fill(1.0f);
    EXPECT_EQ(info, expected);
    EXPECT_EQ(PifBytes(), report::EncodePreviewInfo(expected));

    // A short file: its bytes, then the defaults.
    QFile f(report::kPreviewInfoFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(report::EncodePreviewInfo(stored).left(6));
    f.close();
    report::ClearStoredCombination(info);
    expected = report::DefaultPreviewInfo(-1);
    expected.ByLoadCase = 0;
    expected.PerNodeMember = -1;
    EXPECT_EQ(info, expected);
    EXPECT_EQ(PifBytes().size(), 80);

    // No file at all.
    QFile::remove(report::kPreviewInfoFile);
    info.Confirmed = 0;
    report::ClearStoredCombination(info);
    EXPECT_EQ(info, report::DefaultPreviewInfo(0));
    EXPECT_EQ(PifBytes(), report::EncodePreviewInfo(report::DefaultPreviewInfo(0)));
}

}  // namespace
