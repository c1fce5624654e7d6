// A report table procedure run on its own on the fixture project
// (common/TableFixture.h).
#pragma once

#include "common/DocumentText.h"
#include "common/TableFixture.h"
#include "common/Values.h"
#include "report/PageFormat.h"
#include "report/ReportContext.h"
#include "report/ReportDriver.h"
#include "report/ReportTestSupport.h"
#include "report/TableHeadings.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace reporttest {

// The lines that hold text.
inline QStringList NonEmpty(const QStringList& lines)
{
    QStringList out;
    for (const QString& l : lines)
        if (!l.isEmpty()) out << l;
    return out;
}

// Sets fields of the row of `no` and case `caseNo` (every case when 0).
inline void SetValues(dao::Database& db, const QString& table, int no, int caseNo,
                      const std::vector<std::pair<QString, rt::Variant>>& values)
{
    QStringList set;
    std::vector<rt::Variant> params;
    for (const auto& [field, value] : values) {
        set << dao::QuoteIdent(field) + QStringLiteral(" = ?");
        params.push_back(value);
    }
    QString sql = QStringLiteral("UPDATE ") + dao::QuoteIdent(table) + QStringLiteral(" SET ") + set.join(QStringLiteral(", "))
                  + QStringLiteral(" WHERE \"No_\" = ?");
    params.push_back(testenv::I(no));
    if (caseNo != 0) {
        sql += QStringLiteral(" AND \"Case\" = ?");
        params.push_back(testenv::I(caseNo));
    }
    db.Execute(sql, params);
}

// A build on the fixture project. A procedure printed on its own goes into a
// fresh document in the table format, "END" printed after it; the lines of
// every page in a row. A procedure that fails leaves its message in
// `failure` (an empty text for a failure without one); messages that let it
// go on are in `notified`.
class TableRun : public HeadlessBuild {
public:
    explicit TableRun(bool si = true) : HeadlessBuild([si] { testenv::WriteTableFixture(si); })
    {
        ctx_->loadCaseCount = 2;
        ctx_->unitIsSI = si;
        ctx_->info = testenv::CombinationContents(true);
        ctx_->answer = [this](const report::ReportMessage& m) {
            notified << m.text;
            return 1;
        };
    }

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
        return Run(report::kModeResults, nullptr, chapters);
    }

    std::optional<QString> failure;
    QStringList notified;
    int16_t codeAfter = -1;
};

}  // namespace reporttest
