// A report build without a window: a document builder, the project's
// database and a context on both, and the lines of the pages built.
#pragma once

#include "common/DocumentText.h"
#include "common/ReportProject.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/ReportContext.h"
#include "report/ReportDriver.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace reporttest {

// The report's own procedures, with the chapter tables printing nothing:
// for tests of the driver's sections, pages and printing.
inline report::ReportChapters WithoutTables()
{
    report::ReportChapters c = report::StandardChapters();
    auto none = [](report::ReportContext&) {};
    auto noneForCase = [](report::ReportContext&, int16_t) {};
    c.printInputDataChapter = none;
    c.printEquivalentNodalLoadsByMember = none;
    c.printDisplacementsByNode = none;
    c.printMemberForcesByMember = none;
    c.printReactionsByNode = none;
    c.printLoadCombinationResults = none;
    c.printEquivalentNodalLoadsForCase = noneForCase;
    c.printDisplacementsForCase = noneForCase;
    c.printMemberForcesForCase = noneForCase;
    c.printReactionsForCase = noneForCase;
    return c;
}

// The core of every build without a window: TableRun and DiagramBuild
// extend it with projects and settings of their own.
class HeadlessBuild {
public:
    explicit HeadlessBuild(const testenv::ReportProjectSetup& setup = {})
        : HeadlessBuild([&setup] { testenv::WriteReportProject(setup); })
    {
        ctx_->loadCaseCount = static_cast<int16_t>(setup.cases);
        ctx_->unitIsSI = setup.si;
        ctx_->header = {setup.name.leftJustified(50), setup.designer.leftJustified(50), setup.remarks.leftJustified(50)};
        ctx_->screenCode = 10402;
    }
    ~HeadlessBuild() { db_->Close(); }

    report::ReportContext& ctx() { return *ctx_; }
    preview::DocumentBuilder& doc() { return doc_; }
    dao::Database& db() { return *db_; }

    report::BuildResult Run(const QString& mode, report::BuildProgress* progress = nullptr,
                            const report::ReportChapters& chapters = report::StandardChapters())
    {
        return report::BuildReportDocument(*ctx_, mode, progress, chapters);
    }

    int Pages() const { return doc_.PageCount(); }
    QStringList Lines(int page) const { return testenv::PageLines(doc_.CurrentDocument(), page - 1); }
    QString Footer(int page) const { return doc_.CurrentDocument().pages[page - 1].settings.footerText; }
    QString Header(int page) const { return doc_.CurrentDocument().pages[page - 1].settings.headerText; }
    const preview::PageSettings& Settings(int page) const { return doc_.CurrentDocument().pages[page - 1].settings; }

protected:
    // A build on a project of its own: `writeProject` writes it into the
    // current folder before the database is opened.
    explicit HeadlessBuild(const std::function<void()>& writeProject)
    {
        writeProject();
        db_ = dao::Database::Open(kWorkingDatabase);
        ctx_ = std::make_unique<report::ReportContext>(doc_, *db_);
    }

    preview::DocumentBuilder doc_;
    dao::DatabasePtr db_;
    std::unique_ptr<report::ReportContext> ctx_;
};

// Progress as the driver reports it.
class RecordedProgress : public report::BuildProgress {
public:
    void Begin(int maximum) override { events.push_back(-maximum); }
    void Set(int value) override { events.push_back(value); }
    void End() override { ended = true; }
    std::vector<int> events;   // Begin as minus its maximum, then the values
    bool ended = false;
};

}  // namespace reporttest
