// A report table procedure run on its own on the fixture project
// (common/TableFixture.h).
#pragma once

#include "common/DocumentText.h"
#include "common/TableFixture.h"
#include "database/WorkingFiles.h"
#include "platform/Database.h"
#include "platform/preview/DocumentBuilder.h"
#include "report/PageFormat.h"
#include "report/ReportContext.h"
#include "report/ReportDriver.h"
#include "report/TableHeadings.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace reporttest {

// The lines that hold text.
inline QStringList NonEmpty(const QStringList& lines)
{
    QStringList out;
    for (const QString& l : lines)
        if (!l.isEmpty()) out << l;
    return out;
}

// A procedure printed on its own into a fresh document in the table format,
// "END" printed after it; the lines of every page in a row. A procedure that
// fails leaves its message in `failure` (an empty text for a failure
// without one); messages that let it go on are in `notified`.
class TableRun {
public:
    explicit TableRun(bool si = true)
    {
        testenv::WriteTableFixture(si);
        db_ = dao::Database::Open(kWorkingDatabase);
        ctx_ = std::make_unique<report::ReportContext>(doc_, *db_);
        ctx_->loadCaseCount = 2;
        ctx_->unitIsSI = si;
        ctx_->info = testenv::CombinationContents(true);
        ctx_->answer = [this](const report::ReportMessage& m) {
            notified << m.text;
            return 1;
        };
    }
    ~TableRun() { db_->Close(); }
    dao::Database& db() { return *db_; }
    report::ReportContext& ctx() { return *ctx_; }

    QStringList Print(const std::function<void(report::ReportContext&)>& print)
    {
        failure.reset();
        doc_.SetNewPageHandler([this] { report::OnNewPage(*ctx_); });
        report::SetPageNumberingMode(report::kModeResults);
        doc_.StartDocument();
        report::SetupPageFormat(*ctx_, report::kSectionTables);
        try {
            print(*ctx_);
        } catch (const report::ReportFailure& f) {
            failure = f.message.text;
        } catch (const std::exception&) {
            failure = QString();
        }
        codeAfter = ctx_->currentTableCode;
        doc_.PrintParagraph(QStringLiteral("END"));
        doc_.EndDocument();
        doc_.SetNewPageHandler(nullptr);
        QStringList lines;
        for (int p = 0; p < doc_.PageCount(); ++p) lines << testenv::PageLines(doc_.CurrentDocument(), p);
        return lines;
    }
    // The lines after the heading block of `code`, up to "END".
    QStringList Rows(const std::function<void(report::ReportContext&)>& print, int16_t code)
    {
        const QStringList all = Print(print);
        const QStringList heading = report::TableHeadingLines(code, ctx_->unitIsSI);
        const qsizetype at = all.indexOf(heading.last());
        return at < 0 ? QStringList{} : all.mid(at + 1, all.size() - at - 2);
    }

    // The whole results report.
    report::BuildResult Build(const report::ReportChapters& chapters = report::StandardChapters())
    {
        return report::BuildReportDocument(*ctx_, report::kModeResults, nullptr, chapters);
    }
    int Pages() const { return doc_.PageCount(); }
    QStringList Lines(int page) const { return testenv::PageLines(doc_.CurrentDocument(), page - 1); }

    std::optional<QString> failure;
    QStringList notified;
    int16_t codeAfter = -1;

private:
    preview::DocumentBuilder doc_;
    dao::DatabasePtr db_;
    std::unique_ptr<report::ReportContext> ctx_;
};

}  // namespace reporttest
