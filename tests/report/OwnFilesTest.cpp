// The report's own files — the display contents "pif", the view records
// "vpf" and the document kept during a renumbered print, "DocFile" — are
// replaced whole or not at all: a write that fails leaves the old file byte
// for byte, leaves no temporary file, and says that it failed. A link of
// their name is replaced, never read or written through.
#include "common/FullDisk.h"
#include "common/TestEnv.h"
#include "diagram/ViewParameterFile.h"
#include "platform/SafeFileFaults.h"
#include "platform/preview/DocumentFile.h"
#include "report/PreviewSettingsFile.h"
#include "report/frmPreviewInfoSetUp.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

preview::Document DocumentOf(int pages)
{
    preview::Document doc;
    doc.fonts.push_back(preview::PrintFont{QStringLiteral("ＭＳ ゴシック"), 8});
    for (int p = 1; p <= pages; ++p) {
        preview::Page page;
        page.settings.footerText = QStringLiteral("|-   %1 -|").arg(p);
        preview::DrawOp text;
        text.kind = preview::OpKind::Text;
        text.text = QStringLiteral("立体フレームの応力解析 %1").arg(p);
        page.ops.push_back(text);
        doc.pages.push_back(page);
    }
    return doc;
}

// The permission bits of a file.
mode_t ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : mode_t(0);
}

PreviewInfoRecord CombinedContents()
{
    PreviewInfoRecord info = report::DefaultPreviewInfo(-1);
    info.CombineCases = -1;
    info.CaseSelected[1] = -1;
    info.CaseFactor[1] = 1.5f;
    return info;
}

diagram::ViewParameters ViewFrom(int16_t thetaF)
{
    diagram::ViewParameters view;
    view.thetaF = thetaF;
    return view;
}

// One file the report writes: the write of its first contents, and the
// write that replaces them, each true when it reports the file written.
struct OwnFile {
    const char* what;
    QString name;
    std::function<bool()> writeOld;
    std::function<bool()> writeNew;
};

std::vector<OwnFile> OwnFiles()
{
    return {
        {"display contents", kPreviewInfoFile, [] { return report::WritePreviewInfo(CombinedContents()); },
         [] {
             PreviewInfoRecord info = CombinedContents();
             info.StressScale = 2.5f;
             return report::WritePreviewInfo(info);
         }},
        {"display contents, combination cleared after a failed build", kPreviewInfoFile,
         [] { return report::WritePreviewInfo(CombinedContents()); },
         [] {
             PreviewInfoRecord info;
             return report::ClearStoredCombination(info);
         }},
        {"view record of the preview", kViewParameterFile,
         [] { return diagram::SaveViewParameters(diagram::kPreviewRecord, ViewFrom(45)).ok(); },
         [] { return diagram::SaveViewParameters(diagram::kPreviewRecord, ViewFrom(30)).ok(); }},
        {"view record beyond the end of the file", kViewParameterFile,
         [] { return diagram::SaveViewParameters(diagram::kDiagramWindowRecord, ViewFrom(45)).ok(); },
         [] { return diagram::SaveViewParameters(3, ViewFrom(30)).ok(); }},
        {"print document", kPrintDocumentFile,
         [] { return preview::WriteDocumentFile(DocumentOf(3), kPrintDocumentFile, nullptr); },
         [] {
             QString error;
             const bool written = preview::WriteDocumentFile(DocumentOf(40), kPrintDocumentFile, &error);
             EXPECT_EQ(written, error.isEmpty()) << error.toStdString();
             return written;
         }},
    };
}

using testenv::FilesIn;

void RemoveFilesHere()
{
    for (const QString& name : FilesIn()) QFile::remove(name);
}

struct Fault {
    const char* what;
    files::FailingStep step;
    qint64 room;
};

TEST(OwnFiles, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    const Fault faults[] = {
        {"disk full at once", files::FailingStep::Write, 0},
        {"disk full half-way", files::FailingStep::Write, 20},
        {"flush fails", files::FailingStep::Sync, 0},
        {"rename fails", files::FailingStep::Rename, 0},
    };
    for (const OwnFile& file : OwnFiles()) {
        for (const Fault& f : faults) {
            SCOPED_TRACE(std::string(file.what) + ", " + f.what);
            RemoveFilesHere();
            ASSERT_TRUE(file.writeOld());
            const QByteArray old = testenv::ReadFile(file.name);
            {
                files::InjectedWriteFailure failure(f.step, f.room);
                EXPECT_FALSE(file.writeNew());
                EXPECT_GT(failure.Failures(), 0);
            }
            EXPECT_EQ(testenv::ReadFile(file.name), old);
            EXPECT_EQ(FilesIn(), QStringList{file.name});
        }
        // On a sound disk the same write replaces the file.
        SCOPED_TRACE(file.what);
        const QByteArray old = testenv::ReadFile(file.name);
        ASSERT_TRUE(file.writeNew());
        EXPECT_NE(testenv::ReadFile(file.name), old);
        EXPECT_EQ(FilesIn(), QStringList{file.name});
    }
}

// A private file of the user's outside the working folder: 40 lines, more
// than any record of the work files, readable by its owner alone.
struct PrivateFile {
    PrivateFile()
    {
        for (int line = 1; line <= 40; ++line) bytes += QByteArray("private line ") + QByteArray::number(line) + "\n";
    }
    // Writes the file afresh; false when it cannot be made.
    bool Write() const
    {
        return testenv::WriteFile(path, bytes) &&
               QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    void ExpectUnchanged() const
    {
        EXPECT_EQ(testenv::ReadFile(path), bytes);
        EXPECT_EQ(ModeOf(path), mode_t(0600));
        EXPECT_EQ(FilesIn(QFileInfo(path).absolutePath()), QStringList{QFileInfo(path).fileName()});
    }
    QString path = testenv::MakeDir(QStringLiteral("elsewhere")) + QStringLiteral("/kept");
    QByteArray bytes;
};

// A symbolic link of a work file's name pointing out of the working folder
// is replaced by a file of the program's own records alone: nothing of the
// file it points to is read into the new one, and that file stays as it was.
TEST(OwnFiles, ALinkOfTheirNameIsReplacedNotWrittenThrough)
{
    const PrivateFile pointed;
    testenv::InFolder work(testenv::MakeDir(QStringLiteral("work")));
    for (const OwnFile& file : OwnFiles()) {
        SCOPED_TRACE(file.what);
        RemoveFilesHere();
        ASSERT_TRUE(pointed.Write());
        ASSERT_TRUE(QFile::link(pointed.path, file.name));
        EXPECT_TRUE(file.writeNew());
        pointed.ExpectUnchanged();
        const QFileInfo written(file.name);
        EXPECT_FALSE(written.isSymLink());
        EXPECT_TRUE(written.isFile());
        EXPECT_GT(written.size(), 0);
        EXPECT_FALSE(testenv::ReadFile(file.name).contains("private line")) << testenv::ReadFile(file.name).toStdString();
        EXPECT_EQ(FilesIn(), QStringList{file.name});
    }
}

// The records written in place of a link are the program's own, with the
// defaults where nothing was given: "pif" the record alone, "vpf" the two
// default records with the one saved.
TEST(OwnFiles, ALinkOfTheirNameLeavesOnlyTheProgramsRecords)
{
    const PrivateFile pointed;
    ASSERT_TRUE(pointed.Write());
    ASSERT_TRUE(QFile::link(pointed.path, kPreviewInfoFile));
    ASSERT_TRUE(report::WritePreviewInfo(CombinedContents()));
    EXPECT_EQ(testenv::ReadFile(kPreviewInfoFile), report::EncodePreviewInfo(CombinedContents()));

    QFile::remove(kPreviewInfoFile);
    ASSERT_TRUE(QFile::link(pointed.path, kPreviewInfoFile));
    PreviewInfoRecord cleared = CombinedContents();
    ASSERT_TRUE(report::ClearStoredCombination(cleared));
    EXPECT_EQ(cleared, report::DefaultPreviewInfo(CombinedContents().Confirmed));
    EXPECT_EQ(testenv::ReadFile(kPreviewInfoFile), report::EncodePreviewInfo(cleared));

    ASSERT_TRUE(QFile::link(pointed.path, kViewParameterFile));
    ASSERT_TRUE(diagram::SaveViewParameters(diagram::kPreviewRecord, ViewFrom(45)).ok());
    EXPECT_EQ(testenv::ReadFile(kViewParameterFile),
              diagram::EncodeViewRecord({}) + diagram::EncodeViewRecord(ViewFrom(45)));
    pointed.ExpectUnchanged();
}

// A link of the name "pif" is read as no file: the display contents are the
// defaults, whatever the first 80 bytes of the file it points to hold, and
// the dialog shows them.
TEST(OwnFiles, DisplayContentsAreNotReadThroughALink)
{
    PreviewInfoRecord elsewhere = CombinedContents();
    elsewhere.PerNodeMember = -1;
    elsewhere.ByLoadCase = 0;
    elsewhere.ShowStress = 1;
    elsewhere.StressScale = 40;
    const QString pointed = testenv::MakeDir(QStringLiteral("elsewhere")) + QStringLiteral("/settings");
    ASSERT_TRUE(testenv::WriteFile(pointed, report::EncodePreviewInfo(elsewhere)));
    ASSERT_TRUE(QFile::setPermissions(pointed, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::link(pointed, kPreviewInfoFile));
    // As read through the link, the record would be these contents.
    PreviewInfoRecord info;
    report::LoadPreviewInfo(info, pointed);
    ASSERT_EQ(info, elsewhere);

    info = PreviewInfoRecord{};
    info.Confirmed = -1;
    report::LoadPreviewInfo(info);
    EXPECT_EQ(info, report::DefaultPreviewInfo(-1));

    Program().LoadCaseCount = 2;
    frmPreviewInfoSetUp dialog;
    dialog.Load();
    EXPECT_TRUE(dialog.OpnPerKajyu->isChecked());
    EXPECT_FALSE(dialog.chkOuz->isChecked());
    EXPECT_EQ(dialog.txtOuzZoom->text(), QStringLiteral("1.000"));
    EXPECT_EQ(dialog.lstCaseZoom->item(1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(dialog.lstCaseZoom->item(1)->text(), QStringLiteral("       2       1.000"));
    EXPECT_EQ(Program().PreviewInfo, report::DefaultPreviewInfo(Program().PreviewInfo.Confirmed));
    EXPECT_TRUE(QFileInfo(kPreviewInfoFile).isSymLink());
    EXPECT_EQ(testenv::ReadFile(pointed), report::EncodePreviewInfo(elsewhere));
}

TEST(OwnFiles, AFullDiskKeepsTheOldFiles)
{
    testenv::SmallDisk disk(testenv::MakeDir(QStringLiteral("own-files-disk")), 256 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why().toStdString();
    testenv::InFolder onDisk(disk.Path());
    const std::vector<OwnFile> files = OwnFiles();
    for (const OwnFile& file : files) ASSERT_TRUE(file.writeOld()) << file.what;
    QMap<QString, QByteArray> old;
    for (const OwnFile& file : files) old[file.name] = testenv::ReadFile(file.name);
    ASSERT_TRUE(disk.FillLeaving(0));
    const QStringList before = FilesIn();

    for (const OwnFile& file : files) {
        SCOPED_TRACE(file.what);
        EXPECT_FALSE(file.writeNew());
        EXPECT_EQ(testenv::ReadFile(file.name), old[file.name]);
        EXPECT_EQ(FilesIn(), before);
    }
}

}  // namespace
