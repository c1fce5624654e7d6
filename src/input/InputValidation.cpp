#include "input/InputValidation.h"

#include "input/InputStart.h"
#include "platform/Database.h"
#include "platform/Runtime.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"

#include <QCoreApplication>

namespace {

const QString kInvalidInput = QStringLiteral("入力したデータのなかに不正な値があります");

void Inform(const QString& text)
{
    ui::Beep();
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(text, ui::Icon::Information, AppTitle));
}

// The load-case count of the basic data, written at once on a connection of
// its own.
void RaiseLoadCaseCount(int16_t count)
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    dao::RecordsetPtr rs = db->OpenRecordset(QStringLiteral("基本データ"));
    rs->Edit();   // no row: No current record, reported by the screen
    rs->SetField(QStringLiteral("Case"), rt::Variant::Integer(count));
    rs->Update();
    rs->Close();
    db->Close();
}

}  // namespace

// ---- CheckRun -------------------------------------------------------------------

QString CheckRun::Text(const QString& box) const
{
    auto it = texts_.find(box);
    if (it == texts_.end()) rt::Raise(rt::ErrItemNotFound, box);
    return it->second;
}

double CheckRun::Value(const QString& box) const { return rt::Val(Text(box)); }

bool CheckRun::IsNumeric(const QString& box) const { return rt::IsNumeric(Text(box)); }

bool CheckRun::IsSingle(const QString& box) const
{
    const QString t = Text(box);
    return rt::IsNumeric(t) && rt::FitsSingle(rt::Val(t));
}

bool CheckRun::IsInteger(const QString& box) const
{
    const QString t = Text(box);
    return rt::IsNumeric(t) && rt::FitsInteger(rt::Val(t));
}

void CheckRun::WriteBack(const QString& box, const QString& text)
{
    texts_[box] = text;
    verdict_.writeBacks[box] = text;
}

void CheckRun::Ask(const QString& question, int16_t raisedCaseCount)
{
    verdict_.question = question;
    verdict_.raisedCaseCount = raisedCaseCount;
}

CheckVerdict CheckRun::Refuse(const QString& message) const
{
    CheckVerdict v = verdict_;
    v.accepted = false;
    v.message = message;
    return v;
}

CheckVerdict CheckRun::Invalid() const { return Refuse(kInvalidInput); }

QString TypeNumberRangeMessage(bool twoBlanks)
{
    return QStringLiteral("入力できる条件番号は ") + (twoBlanks ? rt::StrInt(1) : rt::CStrInt(1)) + QStringLiteral(" から ") +
           rt::CStrInt(9999) + QStringLiteral(" です。");
}

// ---- the window adapter --------------------------------------------------------------

void ShowInvalidInputMessage(bool& result)
{
    Inform(kInvalidInput);
    result = false;
}

bool ShowCheckVerdict(QWidget* window, const CheckVerdict& verdict)
{
    if (!verdict.question.isEmpty()) {
        ui::Beep();
        const int answer = ui::MsgBox(verdict.question, ui::Buttons::YesNo | ui::Icon::Information,
                                      QCoreApplication::applicationName());
        if (answer == ui::Answer::No) return false;
        RaiseLoadCaseCount(verdict.raisedCaseCount);
    }
    WriteControlTexts(window, verdict.writeBacks);
    if (!verdict.message.isEmpty()) Inform(verdict.message);
    return verdict.accepted;
}

bool RunInputCheck(QWidget* window, InputCheck check, float commonE, float commonG)
{
    const CheckInputs inputs{.texts = ReadControlTexts(window), .commonE = commonE, .commonG = commonG,
                             .unitIsSI = Program().UnitIsSI};
    return ShowCheckVerdict(window, check(inputs));
}
