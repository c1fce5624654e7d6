// The report's own files — the display contents "pif", the view records
// "vpf" and the document kept during a renumbered print, "DocFile" — are
// replaced whole or not at all: a write that fails leaves the old file byte
// for byte, leaves no temporary file, and says that it failed. A link of
// their name is replaced, never written through.
#include "common/FullDisk.h"
#include "common/TestEnv.h"
#include "diagram/ViewParameterFile.h"
#include "platform/SafeFileFaults.h"
#include "platform/preview/DocumentFile.h"
#include "report/PreviewSettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>

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

// A symbolic link of a work file's name pointing out of the working folder
// is replaced by the file; what it points to stays as it was.
TEST(OwnFiles, ALinkOfTheirNameIsReplacedNotWrittenThrough)
{
    const QString elsewhere = testenv::MakeDir(QStringLiteral("elsewhere"));
    const QString pointed = elsewhere + QStringLiteral("/kept");
    const QByteArray old("a file of the user's");
    testenv::InFolder work(testenv::MakeDir(QStringLiteral("work")));
    for (const OwnFile& file : OwnFiles()) {
        SCOPED_TRACE(file.what);
        RemoveFilesHere();
        ASSERT_TRUE(testenv::WriteFile(pointed, old));
        ASSERT_TRUE(QFile::link(pointed, file.name));
        EXPECT_TRUE(file.writeNew());
        EXPECT_EQ(testenv::ReadFile(pointed), old);
        EXPECT_FALSE(QFileInfo(file.name).isSymLink());
        EXPECT_GT(QFileInfo(file.name).size(), 0);
        EXPECT_EQ(FilesIn(), QStringList{file.name});
        EXPECT_EQ(FilesIn(elsewhere), QStringList{QStringLiteral("kept")});
    }
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
