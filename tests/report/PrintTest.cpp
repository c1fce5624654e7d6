// Printing from the preview window: the print dialog's checks and
// messages, what reaches the printer, the renumbered print through
// "DocFile", and the PDF file destination.
#include "PreviewWindowSupport.h"
#include "ReportTestSupport.h"

#include "common/FullDisk.h"
#include "platform/PdfPages.h"
#include "platform/SafeFileFaults.h"
#include "platform/preview/Printing.h"
#include "report/frmPrintInfoSetUp.h"
#include "diagram/UpDownControl.h"
#include "report/WindowControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using reporttest::PreviewWindow;
using testenv::FilesIn;

namespace {

struct Job {
    int first, last;
    QString printer;
    bool operator==(const Job&) const = default;
};
void PrintTo(const Job& j, std::ostream* os) { *os << j.first << "-" << j.last << "@" << j.printer.toStdString(); }

class RecordingTarget : public preview::PrintTarget {
public:
    QStringList PrinterNames() override { return {QStringLiteral("Office"), QStringLiteral(" Lab ")}; }
    QString DefaultPrinterName() override { return QStringLiteral(" Lab "); }
    bool Print(const preview::Document& doc, int first, int last, const QString& printer) override
    {
        if (whilePrinting) whilePrinting();
        jobs.push_back({first, last, printer});
        for (int p = first; p <= last; ++p) footers << doc.pages[p - 1].settings.footerText;
        return succeed;
    }
    std::vector<Job> jobs;
    QStringList footers;
    bool succeed = true;
    std::function<void()> whilePrinting;
};

// What the user does in the dialog before pressing "印刷".
struct Answers {
    QString option = QStringLiteral("opnAllPage");
    QString from, to, copies = QStringLiteral("1");
    bool startPage = false;
    QString start;
    QString printer;
};

void Fill(frmPrintInfoSetUp& d, const Answers& a)
{
    report::Control<QRadioButton>(&d, a.option)->setChecked(true);
    if (!a.from.isNull()) d.txtFromPage->setText(a.from);
    if (!a.to.isNull()) d.txtToPage->setText(a.to);
    d.txtCopy->setText(a.copies);
    d.chkStartPage->setChecked(a.startPage);
    if (!a.start.isNull()) d.txtStartPage->setText(a.start);
    if (!a.printer.isEmpty()) d.cboPrinter->setCurrentIndex(d.cboPrinter->findText(a.printer));
}

// The results report of 10 cases: the cover and 12 numbered pages. The print
// target and the print dialog's runner are put back when it ends.
struct Printing {
    explicit Printing(int16_t code = ScreenResultsPreview) : p(reporttest::ProjectOfCases(10), code, true, reporttest::WithoutTables())
    {
        EXPECT_TRUE(p.Open());
    }
    frmPreview* w() { return p.w(); }
    // Prints with the answers; the dialog's state after OK is kept.
    void Print(const Answers& a)
    {
        dialogRunner.Replace([this, a](frmPrintInfoSetUp& d) {
            Fill(d, a);
            d.cmdOK->click();
            stayedOpen = d.IsLoaded();
            // The box that gets the focus, with its whole text selected.
            auto focused = [&d](QLineEdit* box) {
                return d.focusWidget() == box && box->selectedText() == box->text();
            };
            toPageSelected = focused(d.txtToPage);
            copiesSelected = focused(d.txtCopy);
            startSelected = focused(d.txtStartPage);
        });
        w()->cmdPrint->click();
    }
    std::shared_ptr<RecordingTarget> target = std::make_shared<RecordingTarget>();
    testenv::HookFor<std::shared_ptr<preview::PrintTarget>> printTarget{preview::SetPrintTarget, target};
    testenv::HookFor<std::function<void(frmPrintInfoSetUp&)>> dialogRunner{SetPrintDialogRunner, nullptr};
    PreviewWindow p;
    bool stayedOpen = false, toPageSelected = false, copiesSelected = false, startSelected = false;
};

TEST(PrintDialog, OpensFromTheRequestWithThePrinters)
{
    Printing pr;
    pr.w()->cmdMN_Click();
    pr.w()->cmdMN_Click();
    bool checked = false;
    SetPrintDialogRunner([&checked](frmPrintInfoSetUp& d) {
        checked = true;
        EXPECT_EQ(d.windowTitle(), QStringLiteral("ZELKOVA  ver 1.41　印刷設定"));
        QStringList printers;
        for (int i = 0; i < d.cboPrinter->count(); ++i) printers << d.cboPrinter->itemText(i);
        EXPECT_EQ(printers, QStringList({"Office", "Lab", "PDF ファイル"}));
        EXPECT_EQ(d.cboPrinter->currentText(), QStringLiteral("Lab"));
        EXPECT_TRUE(d.opnAllPage->isChecked());
        EXPECT_EQ(d.lblCurrentPage->text(), QStringLiteral("2"));
        EXPECT_EQ(d.txtFromPage->text(), QStringLiteral("0"));
        EXPECT_EQ(d.txtToPage->text(), QStringLiteral("0"));
        EXPECT_EQ(d.txtStartPage->text(), QStringLiteral("0"));
        EXPECT_EQ(d.txtCopy->text(), QStringLiteral("1"));
        EXPECT_FALSE(d.txtFromPage->isEnabled());
        EXPECT_FALSE(d.txtStartPage->isEnabled());
        EXPECT_EQ(d.lblFromPage->text(), QStringLiteral("頁から（表紙はゼロ頁とします）"));
        d.opnSelectPage->setChecked(true);
        EXPECT_TRUE(d.txtFromPage->isEnabled());
        EXPECT_TRUE(d.txtFromPage->styleSheet().contains(QStringLiteral("FFFFFF")));
        d.chkStartPage->setChecked(true);
        EXPECT_TRUE(d.txtStartPage->isEnabled());
        // The arrows keep the copies between 1 and 32767.
        d.UpDown->DownClick();
        EXPECT_EQ(d.txtCopy->text(), QStringLiteral("1"));
        d.UpDown->UpClick();
        EXPECT_EQ(d.txtCopy->text(), QStringLiteral("2"));
        d.cmdCancel->click();
    });
    pr.w()->mnuPrint->trigger();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(pr.target->jobs.empty());
}

// Every check of the dialog: its message, the box that gets the focus with
// its text selected, and what reaches the printer when it passes.
TEST(PrintDialog, ChecksMessagesAndWhatIsPrinted)
{
    struct Case {
        int16_t code;
        Answers answers;
        QString message;   // empty: none
        const char* refusedBox;   // "to", "copies", "start" or nullptr when accepted
        std::vector<Job> jobs;
    };
    const QString lab = QStringLiteral("Lab");
    auto sel = [](const char* from, const char* to) {
        Answers a;
        a.option = QStringLiteral("opnSelectPage");
        a.from = QString::fromLatin1(from);
        a.to = QString::fromLatin1(to);
        return a;
    };
    Answers threeCopies = sel("2", "3");
    threeCopies.copies = QStringLiteral("3");
    Answers current;
    current.option = QStringLiteral("OpnCurrentPage");
    Answers tooManyCopies;
    tooManyCopies.copies = QStringLiteral("32768");
    Answers noCopies;
    noCopies.copies = QStringLiteral("0");
    Answers emptyStart;
    emptyStart.startPage = true;
    emptyStart.start = QString(QStringLiteral(""));
    Answers dashStart = emptyStart;
    dashStart.start = QStringLiteral("-");
    Answers bigStart = emptyStart;
    bigStart.start = QStringLiteral("40000");
    Answers uncheckedStart;
    uncheckedStart.start = QStringLiteral("abc");
    Answers office;
    office.printer = QStringLiteral("Office");
    // Into a file, a count of no copies is refused before a file name is asked.
    auto pdfCopies = [](const char* copies) {
        Answers a;
        a.printer = frmPrintInfoSetUp::PdfDestination();
        a.copies = QString::fromLatin1(copies);
        return a;
    };
    const Case cases[] = {
        {10402, {}, {}, nullptr, {{1, 13, lab}}},
        {10402, sel("3", "5"), {}, nullptr, {{4, 6, lab}}},
        {10402, current, {}, nullptr, {{1, 1, lab}}},
        {10402, threeCopies, {}, nullptr, {{3, 4, lab}, {3, 4, lab}, {3, 4, lab}}},
        {10402, office, {}, nullptr, {{1, 13, QStringLiteral("Office")}}},
        {10402, sel("5", "3"), QStringLiteral("指定ページが不正です"), "to", {}},
        {10402, sel("0", "20"), QStringLiteral("指定ページが最大ページ数を越えています"), "to", {}},
        {10401, sel("", "1"), QStringLiteral("指定ページが最低ページ数より小さいです"), "to", {}},
        {10401, sel("1", "1"), {}, nullptr, {{1, 1, lab}}},
        {10402, tooManyCopies, {}, "copies", {}},
        {10401, noCopies, {}, nullptr, {}},
        {10402, emptyStart, {}, "start", {}},
        {10402, dashStart, {}, "start", {}},
        {10402, bigStart, {}, "start", {}},
        {10402, uncheckedStart, {}, nullptr, {{1, 13, lab}}},
        {10402, pdfCopies("0"), {}, "copies", {}},
        {10401, pdfCopies("-2"), {}, "copies", {}},
        {10402, pdfCopies(""), {}, "copies", {}},
        {10402, pdfCopies("abc"), {}, "copies", {}},
    };
    for (const Case& c : cases) {
        Printing pr(c.code);
        testenv::ResetScript();
        pr.Print(c.answers);
        const QStringList messages = testenv::Script().messages;
        if (c.message.isEmpty()) EXPECT_TRUE(messages.isEmpty()) << messages.join(u',').toStdString();
        else EXPECT_EQ(messages, QStringList{QStringLiteral("message=information|") + c.message});
        EXPECT_EQ(pr.stayedOpen, c.refusedBox != nullptr);
        if (c.refusedBox) {
            EXPECT_EQ(testenv::Script().beeps, 1);
            const QString box = QString::fromLatin1(c.refusedBox);
            EXPECT_EQ(pr.toPageSelected, box == QLatin1String("to"));
            EXPECT_EQ(pr.copiesSelected, box == QLatin1String("copies"));
            EXPECT_EQ(pr.startSelected, box == QLatin1String("start"));
            EXPECT_TRUE(testenv::Script().dialogs.empty());
        }
        EXPECT_EQ(pr.target->jobs, c.jobs) << c.code << " " << c.answers.option.toStdString();
        if (!c.refusedBox) {
            EXPECT_EQ(Program().PageCounter, 0);
        }
        EXPECT_TRUE(pr.w()->isEnabled());
    }
}

TEST(PrintDialog, KeysOfTheEntryBoxes)
{
    for (int16_t code : {ScreenFramePreview, ScreenResultsPreview}) {
        Printing pr(code);
        SetPrintDialogRunner([](frmPrintInfoSetUp& d) {
            ui::ScriptedServices& script = testenv::Script();
            for (QLineEdit* box : {d.txtFromPage, d.txtToPage, d.txtCopy, d.txtStartPage}) {
                box->setEnabled(true);
                box->clear();
                const int beeps = script.beeps;
                QTest::keyClicks(box, QStringLiteral("10 a-"));
                QTest::keyClick(box, Qt::Key_Return);
                const bool minus = box == d.txtStartPage;
                EXPECT_EQ(box->text(), minus ? QStringLiteral("10 -") : QStringLiteral("10 "));
                EXPECT_EQ(script.beeps, beeps + (minus ? 2 : 3));
            }
            d.cmdCancel->click();
        });
        pr.w()->cmdPrint_Click();
    }
}

TEST(PrintDialog, CloseBoxAfterARefusedOkPrintsNothing)
{
    Printing pr;
    SetPrintDialogRunner([](frmPrintInfoSetUp& d) {
        d.opnSelectPage->setChecked(true);
        d.txtFromPage->setText(QStringLiteral("4"));
        d.txtToPage->setText(QStringLiteral("2"));
        d.cmdOK->click();
        EXPECT_TRUE(d.IsLoaded());
        d.close();
        EXPECT_FALSE(d.IsLoaded());
    });
    pr.w()->cmdPrint_Click();
    EXPECT_TRUE(pr.target->jobs.empty());
    EXPECT_EQ(Program().PrintRequest.Confirmed, 0);
}

TEST(Printing, WithoutADocumentOnlyBeeps)
{
    PreviewWindow p({}, ScreenResultsPreview, false);
    ASSERT_TRUE(p.Open());
    int dialogs = 0;
    SetPrintDialogRunner([&dialogs](frmPrintInfoSetUp&) { ++dialogs; });
    const int beeps = testenv::Script().beeps;
    p.w()->cmdPrint_Click();
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(testenv::Script().beeps, beeps + 1);
}

// Pages 3 to 5 printed with the start page 10 carry 10, 11 and 12; the
// preview shows its own numbering again afterwards and "DocFile" is gone.
TEST(Printing, RenumberedPrintOnAPrinterAndIntoAPdfFile)
{
    for (bool pdf : {false, true}) {
        Printing pr;
        frmPreview* w = pr.w();
        w->cmdML_Click();
        const QString footerBefore = w->vsp->CurrentDocument().pages[3].settings.footerText;
        ASSERT_EQ(footerBefore, QStringLiteral("|-   3 -|"));
        const QString file = testenv::WorkDir() + QStringLiteral("/report.pdf");
        testenv::Script().saveFiles.push_back(file);
        Answers a;
        a.option = QStringLiteral("opnSelectPage");
        a.from = QStringLiteral("3");
        a.to = QStringLiteral("5");
        a.startPage = true;
        a.start = QStringLiteral("10");
        if (pdf) a.printer = frmPrintInfoSetUp::PdfDestination();
        pr.Print(a);
        if (pdf) {
            ASSERT_EQ(testenv::Script().dialogs.size(), 1u);
            EXPECT_EQ(testenv::Script().dialogs[0].initialPath, testenv::WorkDir() + QStringLiteral("/保存データ"));
            EXPECT_EQ(ui::FileDialogNameFilters(testenv::Script().dialogs[0].filter), QStringList{"PDF ファイル (*.pdf)"});
            const auto pages = previewtest::ReadPdfPages(testenv::ReadFile(file));
            ASSERT_EQ(pages.size(), 3u);
            for (int k = 0; k < 3; ++k) EXPECT_TRUE(pages[k].text.contains(QStringLiteral("-   %1 -").arg(10 + k))) << k;
            EXPECT_TRUE(pr.target->jobs.empty());
        } else {
            EXPECT_EQ(pr.target->jobs, (std::vector<Job>{{4, 6, QStringLiteral("Lab")}}));
            EXPECT_EQ(pr.target->footers, QStringList({"|-   10 -|", "|-   11 -|", "|-   12 -|"}));
        }
        EXPECT_FALSE(QFile::exists(QStringLiteral("DocFile")));
        EXPECT_EQ(w->vsp->CurrentDocument().pages[3].settings.footerText, footerBefore);
        EXPECT_EQ(w->vsp->PreviewPage(), 13);
        EXPECT_EQ(w->lblAP->text(), QStringLiteral("12"));
        EXPECT_EQ(w->lblCP->text(), QStringLiteral("12"));
        EXPECT_EQ(w->vsp->PrinterDevice(), QStringLiteral(" Lab "));
        EXPECT_EQ(Program().PageCounter, 0);
        EXPECT_TRUE(testenv::Script().messages.isEmpty());
    }
}

// A link named "DocFile" to a file outside the working folder goes when a
// renumbered print starts; the file it points to stays as it was.
TEST(Printing, RenumberedPrintRemovesALinkOfTheWorkFilesName)
{
    const QString pointed = testenv::MakeDir(QStringLiteral("elsewhere")) + QStringLiteral("/kept");
    const QByteArray old("a file of the user's");
    ASSERT_TRUE(testenv::WriteFile(pointed, old));
    ASSERT_TRUE(QFile::link(pointed, QStringLiteral("DocFile")));
    Printing pr;
    testenv::ResetScript();
    Answers a;
    a.startPage = true;
    a.start = QStringLiteral("10");
    pr.Print(a);
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
    EXPECT_EQ(pr.target->jobs.size(), 1u);
    EXPECT_EQ(testenv::ReadFile(pointed), old);
    EXPECT_FALSE(FilesIn().contains(QStringLiteral("DocFile")));
}

// A "DocFile" left behind (by a print that never finished) goes before the
// shown document is kept under that name: the document kept is a file of
// the program's own making, and does not take over the old file's
// permissions. A read-only one would stop every renumbered print of its
// owner; one that anyone may write would let others change the pages the
// preview takes back.
TEST(Printing, RenumberedPrintKeepsTheDocumentInAFileOfItsOwn)
{
    // New files get 0644, whatever mask the test run has.
    struct Mask {
        mode_t before = ::umask(022);
        ~Mask() { ::umask(before); }
    } mask;
    for (const mode_t left : {mode_t(0444), mode_t(0666)}) {
        SCOPED_TRACE(left);
        ASSERT_TRUE(testenv::WriteFile(QStringLiteral("DocFile"), QByteArray("left by an earlier print")));
        ASSERT_EQ(::chmod("DocFile", left), 0);
        Printing pr;
        testenv::ResetScript();
        mode_t kept = 0;
        bool regular = false;
        pr.target->whilePrinting = [&] {
            struct stat st {};
            ASSERT_EQ(::lstat("DocFile", &st), 0);
            regular = S_ISREG(st.st_mode);
            kept = st.st_mode & 07777;
        };
        Answers a;
        a.startPage = true;
        a.start = QStringLiteral("10");
        pr.Print(a);
        EXPECT_TRUE(regular);
        EXPECT_EQ(kept, mode_t(0644));
        EXPECT_EQ(pr.target->jobs.size(), 1u);
        EXPECT_TRUE(testenv::Script().messages.isEmpty());
        EXPECT_EQ(pr.w()->vsp->CurrentDocument().pages[3].settings.footerText, QStringLiteral("|-   3 -|"));
        EXPECT_FALSE(QFile::exists(QStringLiteral("DocFile")));
    }
}

TEST(Printing, PdfFileHoldsTheRangeOnceForEachCopy)
{
    {
        Printing pr(ScreenFramePreview);
        const QString file = testenv::WorkDir() + QStringLiteral("/frame.pdf");
        testenv::Script().saveFiles.push_back(file);
        Answers a;
        a.copies = QStringLiteral("2");
        a.printer = frmPrintInfoSetUp::PdfDestination();
        pr.Print(a);
        const auto pages = previewtest::ReadPdfPages(testenv::ReadFile(file));
        ASSERT_EQ(pages.size(), 2u);
        for (const auto& page : pages) {
            EXPECT_NEAR(page.mediaBox.width(), 595, 1);   // A4 portrait
            EXPECT_NEAR(page.mediaBox.height(), 842, 1);
            EXPECT_TRUE(page.text.contains(QStringLiteral("-   1 -")));
        }
        // A cancelled file dialog prints nothing.
        QFile::remove(file);
        testenv::Script().saveFiles.push_back(QString());
        pr.Print(a);
        EXPECT_FALSE(QFile::exists(file));
        EXPECT_TRUE(testenv::Script().messages.isEmpty());
    }
    // Pages 2 to 3 of the results report three times: 2, 3, 2, 3, 2, 3.
    Printing pr;
    const QString file = testenv::WorkDir() + QStringLiteral("/range.pdf");
    testenv::Script().saveFiles.push_back(file);
    Answers a;
    a.option = QStringLiteral("opnSelectPage");
    a.from = QStringLiteral("2");
    a.to = QStringLiteral("3");
    a.copies = QStringLiteral("3");
    a.printer = frmPrintInfoSetUp::PdfDestination();
    pr.Print(a);
    const auto pages = previewtest::ReadPdfPages(testenv::ReadFile(file));
    ASSERT_EQ(pages.size(), 6u);
    for (int k = 0; k < 6; ++k) EXPECT_TRUE(pages[k].text.contains(QStringLiteral("-   %1 -").arg(2 + k % 2))) << k;
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
}

// The print dialog offers again the file when the session's last print went
// into one; after a print on a printer it offers the preview's printer.
TEST(PrintDialog, RemembersTheFileAsTheLastDestination)
{
    Printing pr;
    QStringList chosen;
    auto printTo = [&pr, &chosen](const QString& destination) {
        SetPrintDialogRunner([&chosen, destination](frmPrintInfoSetUp& d) {
            chosen << d.cboPrinter->currentText();
            d.cboPrinter->setCurrentIndex(d.cboPrinter->findText(destination));
            d.cmdOK->click();
        });
        pr.w()->cmdPrint_Click();
    };
    const QString pdf = frmPrintInfoSetUp::PdfDestination();
    testenv::Script().saveFiles = {testenv::WorkDir() + QStringLiteral("/a.pdf"), QString()};
    printTo(pdf);
    printTo(pdf);   // the file dialog cancelled
    printTo(QStringLiteral("Office"));
    printTo(QStringLiteral("Lab"));
    EXPECT_EQ(chosen, QStringList({"Lab", pdf, pdf, "Lab"}));
    EXPECT_EQ(pr.target->jobs, (std::vector<Job>{{1, 13, QStringLiteral("Office")}, {1, 13, QStringLiteral("Lab")}}));
}

// Whatever fails while printing, the preview gets its document back,
// "DocFile" goes, the printer is the one before, and the user is told.
TEST(Printing, FailureRestoresTheDocumentAndSaysSo)
{
    const QString printError = QStringLiteral("message=exclamation|印刷中にエラーが発生しました。");
    // The printer refuses the job.
    {
        Printing pr;
        pr.target->succeed = false;
        Answers a;
        a.startPage = true;
        a.start = QStringLiteral("5");
        pr.Print(a);
        EXPECT_EQ(testenv::Script().messages, QStringList{printError});
        EXPECT_EQ(pr.w()->vsp->CurrentDocument().pages[1].settings.footerText, QStringLiteral("|-   1 -|"));
        EXPECT_FALSE(QFile::exists(QStringLiteral("DocFile")));
        EXPECT_EQ(pr.w()->vsp->PrinterDevice(), QStringLiteral(" Lab "));
        EXPECT_EQ(Program().PageCounter, 0);
        EXPECT_TRUE(pr.w()->isEnabled());
    }
    // The renumbered rebuild fails: nothing is printed.
    {
        bool failNow = false;
        report::ReportChapters chapters = report::StandardChapters();
        chapters.printInputDataChapter = [&failNow](report::ReportContext&) {
            if (failNow) report::Fail();
        };
        PreviewWindow p(reporttest::ProjectOfCases(10), ScreenResultsPreview, true, chapters);
        auto target = std::make_shared<RecordingTarget>();
        preview::SetPrintTarget(target);
        ASSERT_TRUE(p.Open());
        const int pages = p.Pages();
        failNow = true;
        testenv::ResetScript();
        SetPrintDialogRunner([](frmPrintInfoSetUp& d) {
            d.chkStartPage->setChecked(true);
            d.txtStartPage->setText(QStringLiteral("3"));
            d.cmdOK->click();
        });
        p.w()->cmdPrint_Click();
        EXPECT_TRUE(target->jobs.empty());
        ASSERT_EQ(testenv::Script().messages.size(), 2);
        EXPECT_EQ(testenv::Script().messages[1], printError);
        EXPECT_EQ(p.Pages(), pages);
        EXPECT_EQ(p.w()->lblAP->text(), QString::number(pages - 1));
        EXPECT_FALSE(QFile::exists(QStringLiteral("DocFile")));
        EXPECT_TRUE(p.w()->isEnabled());
    }
    // The shown document cannot be kept in "DocFile": nothing is printed,
    // and nothing of the file is left.
    {
        Printing pr;
        testenv::ResetScript();
        const preview::Document shown = pr.w()->vsp->CurrentDocument();
        Answers a;
        a.startPage = true;
        a.start = QStringLiteral("5");
        {
            files::InjectedWriteFailure diskFull(files::FailingStep::Write, 100);
            pr.Print(a);
        }
        EXPECT_TRUE(pr.target->jobs.empty());
        EXPECT_EQ(testenv::Script().messages, QStringList{printError});
        EXPECT_EQ(pr.w()->vsp->CurrentDocument(), shown);
        EXPECT_TRUE(QDir().entryList({QStringLiteral("DocFile*")}, QDir::Files).isEmpty());
        EXPECT_EQ(Program().PageCounter, 0);
        EXPECT_TRUE(pr.w()->isEnabled());
    }
}

// A PDF file that cannot be written whole leaves the file of that name as it
// was, nothing beside it, and the print's message; the preview keeps its
// document.
TEST(Printing, PdfFileThatCannotBeWrittenLeavesTheOldOne)
{
    const QString printError = QStringLiteral("message=exclamation|印刷中にエラーが発生しました。");
    const QString dir = testenv::MakeDir(QStringLiteral("pdf"));
    const QString file = dir + QStringLiteral("/report.pdf");
    const QByteArray old("%PDF-1.4\nthe report printed before\n");
    Printing pr;
    const int pages = pr.p.Pages();
    Answers a;
    a.printer = frmPrintInfoSetUp::PdfDestination();
    for (const files::FailingStep step :
         {files::FailingStep::Write, files::FailingStep::Sync, files::FailingStep::Rename}) {
        SCOPED_TRACE(static_cast<int>(step));
        ASSERT_TRUE(testenv::WriteFile(file, old));
        testenv::ResetScript().saveFiles.push_back(file);
        {
            const files::InjectedWriteFailure fault(step, 0, file);
            pr.Print(a);
        }
        EXPECT_EQ(testenv::Script().messages, QStringList{printError});
        EXPECT_EQ(testenv::ReadFile(file), old);
        EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("report.pdf")});
        EXPECT_EQ(pr.p.Pages(), pages);
        EXPECT_TRUE(pr.w()->isEnabled());
    }
    // Without the fault the file is replaced by the whole report.
    testenv::ResetScript().saveFiles.push_back(file);
    pr.Print(a);
    EXPECT_TRUE(testenv::Script().messages.isEmpty());
    EXPECT_EQ(previewtest::ReadPdfPages(testenv::ReadFile(file)).size(), static_cast<size_t>(pages));
    EXPECT_EQ(FilesIn(dir), QStringList{QStringLiteral("report.pdf")});
}

// The same on a real disk that fills up: empty, half the file's room left,
// one byte short.
TEST(Printing, PdfFileOnAFullDiskLeavesTheOldOne)
{
    testenv::SmallDisk disk(testenv::WorkDir() + QStringLiteral("/disk"), 4 << 20);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
    const QString file = disk.Path() + QStringLiteral("/report.pdf");
    Printing pr;
    Answers a;
    a.printer = frmPrintInfoSetUp::PdfDestination();
    testenv::Script().saveFiles.push_back(file);
    pr.Print(a);
    const QByteArray old = testenv::ReadFile(file);
    ASSERT_FALSE(old.isEmpty());
    const qint64 size = old.size();
    for (const qint64 room : {qint64{0}, size / 2, size - 1}) {
        SCOPED_TRACE(room);
        ASSERT_TRUE(disk.FillLeaving(room));
        ASSERT_LT(disk.Free(), size);
        testenv::ResetScript().saveFiles.push_back(file);
        pr.Print(a);
        EXPECT_EQ(testenv::Script().messages, QStringList{QStringLiteral("message=exclamation|印刷中にエラーが発生しました。")});
        EXPECT_EQ(testenv::ReadFile(file), old);
        EXPECT_EQ(FilesIn(disk.Path()), QStringList({QStringLiteral("filler"), QStringLiteral("report.pdf")}));
    }
}

}  // namespace
