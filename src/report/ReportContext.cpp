#include "report/ReportContext.h"

#include "platform/Ui.h"

#include <cstdlib>

namespace report {

ReportFailure::ReportFailure(ReportMessage m) : std::runtime_error("report build failed"), message(std::move(m)) {}

ReportCancelled::ReportCancelled() : std::runtime_error("report build cancelled") {}

QString TrimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') ++first;
    while (last > first && text[last - 1] == u' ') --last;
    return text.mid(first, last - first);
}

QString LoadCaseCaptionText(int16_t caseNo)
{
    return QStringLiteral("荷重ケース番号 ") + (QStringLiteral("  ") + QString::number(caseNo)).right(2);
}

void Fail(const ReportMessage& message) { throw ReportFailure(message); }

void Cancel() { throw ReportCancelled(); }

ReportContext::ReportContext(preview::DocumentBuilder& document, dao::Database& database)
    : doc(document), db(database)
{
    // A build without a window sees the boxes of a window just opened.
    boxes = diagram::ViewToBoxes(diagram::ViewParameters{}, diagram::kPreviewRecord);
    boxes.push_back({QStringLiteral("txtCase"), QStringLiteral(" 1")});
    boxes.push_back({QStringLiteral("opnHeni"), QStringLiteral("1")});
    boxes.push_back({QStringLiteral("opnOurk"), QStringLiteral("0")});
    boxes.push_back({QStringLiteral("chkDrawEleOnly"), QStringLiteral("0")});
}

int ShowReportMessage(const ReportMessage& message)
{
    if (message.beep) ui::Beep();
    const int answer = ui::MsgBox(message.text, message.style, AppTitle);
    Program().MsgResult = static_cast<int16_t>(answer);
    return answer;
}

void ReportContext::Notify(const ReportMessage& message)
{
    if (answer) answer(message);
    else ShowReportMessage(message);
}

bool ReportContext::Ask(const QString& question)
{
    const ReportMessage message{question, ui::Icon::Question | ui::Buttons::YesNo, true};
    const int reply = answer ? answer(message) : ShowReportMessage(message);
    return reply == ui::Answer::Yes;
}

namespace {
constexpr int16_t kTrue = -1;
}  // namespace

bool ReportContext::CombinesCases() const { return info.CombineCases == kTrue; }

bool ReportContext::ListsPerNodeMember() const { return info.PerNodeMember == kTrue; }

float ReportContext::CaseWeight(int caseNo) const
{
    const size_t i = static_cast<size_t>(caseNo - 1);
    return static_cast<float>(std::abs(info.CaseSelected[i])) * info.CaseFactor[i];
}

QString ReportContext::BoxText(const QString& control) const
{
    const QString* text = diagram::FindViewBox(boxes, control);
    return text ? *text : QString();
}

void ReportContext::SetBoxText(const QString& control, const QString& text)
{
    for (diagram::ViewBox& box : boxes) {
        if (box.control == control) {
            box.text = text;
            return;
        }
    }
    boxes.push_back({control, text});
}

}  // namespace report
