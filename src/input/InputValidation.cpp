#include "input/InputValidation.h"

#include "input/InputControls.h"
#include "input/InputRecordOps.h"
#include "platform/Database.h"
#include "platform/Forms.h"
#include "platform/Ui.h"
#include "core/ProgramState.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <cmath>

namespace {

forms::Form* Form(const char* name)
{
    forms::Form* f = ScreenInstance(QString::fromUtf8(name));
    if (!f) rt::Raise(rt::ErrObjectNotFound, QString::fromUtf8(name));
    return f;
}

QString Text(forms::Form* f, const char* box, int index = -1) { return ControlText(f, QString::fromUtf8(box), index); }
void SetText(forms::Form* f, const char* box, const QString& t, int index = -1)
{
    SetControlText(f, QString::fromUtf8(box), t, index);
}
double Value(forms::Form* f, const char* box, int index = -1) { return rt::Val(Text(f, box, index)); }

// A box bound for a Single field: numeric, and a value a Single can hold.
bool IsSingleBox(forms::Form* f, const char* box, int index = -1)
{
    const QString t = Text(f, box, index);
    return rt::IsNumeric(t) && rt::FitsSingle(rt::Val(t));
}

// A box bound for a 16-bit Integer field: numeric, and its value rounds into
// -32768..32767, so the write cannot overflow.
bool IsIntegerBox(forms::Form* f, const char* box, int index = -1)
{
    const QString t = Text(f, box, index);
    return rt::IsNumeric(t) && rt::FitsInteger(rt::Val(t));
}

void Inform(const QString& text)
{
    ui::Beep();
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(text, ui::Icon::Information, AppTitle));
}

bool Invalid()
{
    bool result = true;
    ShowInvalidInputMessage(result);
    return result;
}

}  // namespace

void ShowInvalidInputMessage(bool& result)
{
    Inform(QStringLiteral("入力したデータのなかに不正な値があります"));
    result = false;
}

bool CheckBasicDataInput()
{
    forms::Form* f = Form("frm基本データ");
    const QString name = Text(f, "txt工事名").trimmed();
    if (name.isEmpty()) {
        Inform(QStringLiteral("工事名が入力されていません"));
        return false;
    }
    if (name == QStringLiteral("**********")) {
        Inform(QStringLiteral("工事名が不正です。他の工事名を入力して下さい。"));
        return false;
    }
    if (Text(f, "txt設計者").trimmed().isEmpty()) SetText(f, "txt設計者", QStringLiteral(" "));
    if (Text(f, "txtNote").trimmed().isEmpty()) SetText(f, "txtNote", QStringLiteral(" "));
    if (!IsIntegerBox(f, "txtCase") || Value(f, "txtCase") < 1 || Value(f, "txtCase") > 10) return Invalid();
    if (!IsSingleBox(f, "txtE") || Value(f, "txtE") < 0) return Invalid();
    if (!IsSingleBox(f, "txtγ") || Value(f, "txtγ") < 0) return Invalid();
    return true;
}

bool CheckNodeInput()
{
    forms::Form* f = Form("frm節点座標1");
    if (!rt::IsNumeric(Text(f, "txtNo"))) return Invalid();
    const double no = Value(f, "txtNo");
    if (no < 1 || no > 300) {
        Inform(QStringLiteral("入力可能な最大節点番号は ") + QStringLiteral("300") + QStringLiteral(" です｡"));
        return false;
    }
    for (const char* b : {"txtX", "txtY", "txtZ"})
        if (!IsSingleBox(f, b)) return Invalid();
    return true;
}

namespace {
// A modulus of 0 or less takes the common value; false when that is not positive.
bool CommonModulus(forms::Form* f, const char* box, float common, const QString& message)
{
    if (Value(f, box) > 0) return true;
    if (common > 0) {
        SetText(f, box, rt::Format(common, QStringLiteral("0.000")));
        return true;
    }
    Inform(message);
    return false;
}
}  // namespace

bool CheckMaterial1Input(float commonE, float commonG)
{
    forms::Form* f = Form("frm材料定数1");
    if (!IsIntegerBox(f, "txtNo")) return Invalid();
    if (Value(f, "txtNo") > 999) {
        Inform(QStringLiteral("[材料定数1]で入力できる形状番号は") + rt::StrInt(999) + QStringLiteral("以下です。"));
        return false;
    }
    if (!IsSingleBox(f, "txtE")) return Invalid();
    if (!CommonModulus(f, "txtE", commonE,
                       QStringLiteral("ヤング係数が不正です。\r\n"
                                      "ヤング係数にゼロを入力すると［基本データ］で入力されているヤング係数に置き換わりますが\r\n"
                                      "そちらもゼロが入力されています。")))
        return false;
    if (!IsSingleBox(f, "txtγ")) return Invalid();
    if (!CommonModulus(f, "txtγ", commonG,
                       QStringLiteral("せん断弾性係数が不正です。\r\n"
                                      "せん断弾性係数にゼロを入力すると［基本データ］で入力されているせん断弾性係数に置き換わりますが\r\n"
                                      "そちらもゼロが入力されています。")))
        return false;
    if (!IsSingleBox(f, "txtA") || Value(f, "txtA") <= 0) return Invalid();
    for (const char* b : {"txtIxx", "txtIyy", "txtK"})
        if (!IsSingleBox(f, b) || Value(f, b) < 0) return Invalid();
    return true;
}

bool CheckMaterial2Input(float commonE, float commonG)
{
    forms::Form* f = Form("frm材料定数2");
    if (!IsIntegerBox(f, "txtNo")) return Invalid();
    const double no = Value(f, "txtNo");
    if (no < 1001 || no > 9999) {
        Inform(QStringLiteral("[材料定数2]で入力できる形状番号は ") + rt::StrInt(1001) + QStringLiteral(" から ") +
               rt::CStrInt(9999) + QStringLiteral(" です。"));
        return false;
    }
    if (!IsIntegerBox(f, "txtTYP") || Value(f, "txtTYP") < 1 || Value(f, "txtTYP") > 6) return Invalid();
    for (int i = 1; i <= 5; ++i)
        if (!IsSingleBox(f, "txtP", i) || Value(f, "txtP", i) < 0) return Invalid();
    for (const char* b : {"txtφx", "txtφy"})
        if (!IsSingleBox(f, b) || Value(f, b) <= 0) return Invalid();

    const double typ = Value(f, "txtTYP");
    const bool light = typ == 1 || typ == 6;
    if (!IsSingleBox(f, "txtE")) return Invalid();
    if (Value(f, "txtE") <= 0) {
        const double def = light ? (Program().UnitIsSI ? 2100 : 210) : (Program().UnitIsSI ? 21000 : 2100);
        SetText(f, "txtE", rt::Format(commonE > 0 ? commonE : def, QStringLiteral("0")));
    }
    if (!IsSingleBox(f, "txtγ")) return Invalid();
    if (Value(f, "txtγ") <= 0) {
        const double def = light ? (Program().UnitIsSI ? 900 : 90) : (Program().UnitIsSI ? 8100 : 810);
        SetText(f, "txtγ", rt::Format(commonG > 0 ? commonG : def, QStringLiteral("0")));
    }

    int first = 6;   // first dimension box the type does not use
    switch (rt::CInt(typ)) {
    case 1: first = 3; break;
    case 4: first = 5; break;
    case 5: first = 3; break;
    case 6: first = 2; break;
    default: break;
    }
    for (int i = first; i <= 5; ++i) SetText(f, "txtP", QStringLiteral("0.000"), i);
    return true;
}

bool CheckElementInput()
{
    forms::Form* f = Form("frm要素情報");
    if (!rt::IsNumeric(Text(f, "txtNo"))) return Invalid();
    const double no = Value(f, "txtNo");
    if (no < 1 || no > 500) {
        Inform(QStringLiteral("入力可能な最大部材番号は ") + QStringLiteral("500") + QStringLiteral(" です｡"));
        return false;
    }
    if (!IsIntegerBox(f, "txtIT") || Value(f, "txtIT") < 0) return Invalid();
    if (!IsIntegerBox(f, "txtJT") || Value(f, "txtJT") < 0) return Invalid();
    if (!(Value(f, "txtIT") < Value(f, "txtJT"))) {
        Inform(QStringLiteral("ｉ 端とｊ 端の節点番号の大小が不正です。\r\n"
                              "ｊ 端に入力する節点番号は、ｉ 端に入力した節点番号よりも大きい数字を入力して下さい。"));
        return false;
    }
    if (!IsIntegerBox(f, "txt材料番号") || Value(f, "txt材料番号") < 0) return Invalid();
    return true;
}

namespace {
// The type-number range message: the restraint screen writes one blank
// before the 1, the member-end and load-shape screens two.
bool TypeNumberInRange(forms::Form* f, bool twoBlanks)
{
    const double no = Value(f, "txtNo");
    if (no >= 1 && no <= 9999) return true;
    Inform(QStringLiteral("入力できる条件番号は ") + (twoBlanks ? rt::StrInt(1) : rt::CStrInt(1)) + QStringLiteral(" から ") +
           rt::CStrInt(9999) + QStringLiteral(" です。"));
    return false;
}
}  // namespace

bool CheckRestraintShapeInput()
{
    forms::Form* f = Form("frm節点拘束形状");
    if (!rt::IsNumeric(Text(f, "txtNo"))) return Invalid();
    if (!TypeNumberInRange(f, false)) return false;
    for (const char* b : {"txtu", "txtv", "txtw", "txtθx", "txtθy", "txtθz"}) {
        const QString t = Text(f, b);
        if (t == QStringLiteral("拘束") || t == QStringLiteral("自由")) continue;
        if (!IsSingleBox(f, b) || Value(f, b) < 0) return Invalid();
    }
    NormalizeRestraintShapeEntries();
    return true;
}

bool CheckRestraintPlacementInput()
{
    forms::Form* f = Form("frm節点拘束配置");
    if (!IsIntegerBox(f, "txtNo") || Value(f, "txtNo") < 1) return Invalid();
    if (!IsIntegerBox(f, "txt拘束形状") || Value(f, "txt拘束形状") < 1) return Invalid();
    for (int i = 0; i <= 9; ++i)
        if (!IsIntegerBox(f, "txt節点番号", i) || Value(f, "txt節点番号", i) < 0) return Invalid();
    return true;
}

bool CheckEndShapeInput()
{
    forms::Form* f = Form("frm要素端部形状");
    if (!rt::IsNumeric(Text(f, "txtNo"))) return Invalid();
    if (!TypeNumberInRange(f, true)) return false;
    const QString x = Text(f, "txtxMWR");
    if (x != QStringLiteral("剛") && x != QStringLiteral("ピン")) {
        // Torsion is only rigid or pinned; a negative number is refused
        // rather than read as a pin.
        if (!IsSingleBox(f, "txtxMWR") || Value(f, "txtxMWR") < 0) return Invalid();
        SetText(f, "txtxMWR", Value(f, "txtxMWR") >= 1 ? QStringLiteral("剛") : QStringLiteral("ピン"));
    }
    for (const char* b : {"txtyMWR", "txtzMWR"}) {
        const QString t = Text(f, b);
        if (t == QStringLiteral("剛") || t == QStringLiteral("ピン")) continue;
        if (!IsSingleBox(f, b) || Value(f, b) < 0) return Invalid();
    }
    NormalizeEndShapeEntries();
    return true;
}

bool CheckEndPlacementInput()
{
    forms::Form* f = Form("frm要素端部配置");
    if (!rt::IsNumeric(Text(f, "txtNo")) || Value(f, "txtNo") < 1 || Value(f, "txtNo") > 9999) return Invalid();
    if (!IsIntegerBox(f, "txtI端部形状") || Value(f, "txtI端部形状") < 1) return Invalid();
    if (!IsIntegerBox(f, "txtJ端部形状") || Value(f, "txtJ端部形状") < 1) return Invalid();
    for (int i = 0; i <= 9; ++i)
        if (!IsIntegerBox(f, "txt要素番号", i)) return Invalid();
    return true;
}

bool CheckLoadShapeInput()
{
    forms::Form* f = Form("frm荷重形状");
    if (!rt::IsNumeric(Text(f, "txtNo"))) return Invalid();
    if (!TypeNumberInRange(f, true)) return false;
    if (Text(f, "cbo座標系").contains(QLatin1Char('-'))) return Invalid();
    if (!IsIntegerBox(f, "txtCase") || Value(f, "txtCase") < 1 || Value(f, "txtCase") > 10) return Invalid();
    for (int i = 1; i <= 7; ++i)
        if (!IsSingleBox(f, "txtP", i)) return Invalid();

    // The load type goes into a 16-bit field and selects the rules below:
    // only a whole number that fits is a type.
    const QString typText = Text(f, "txtTYP");
    if (!IsIntegerBox(f, "txtTYP")) return Invalid();
    const double typ = rt::Val(typText);
    if (typ != std::floor(typ)) return Invalid();

    const QString system = Text(f, "cbo座標系").trimmed();
    if (typ == 1 && system != QStringLiteral("X 絶対系")) {
        Inform(QStringLiteral("荷重タイプに １を指定する場合は、座標系は \"X 絶対系\" を指定して下さい。"));
        return false;
    }
    if (typ == 2 && system != QStringLiteral("y 部材系") && system != QStringLiteral("z 部材系")) {
        Inform(QStringLiteral("荷重タイプに ２を指定する場合は、座標系は \"y 部材系\" または \"z 部材系\" を指定して下さい。"));
        return false;
    }

    const int16_t c = rt::CInt(Value(f, "txtCase"));
    const double shown = rt::Val(Text(f, "lblCase"));
    const int n = rt::FitsInteger(shown) ? rt::CInt(shown) : 0;
    if (c > n) {
        const QString t = Text(f, "txtCase");
        const QString s = Text(f, "lblCase");
        ui::Beep();
        const int answer = ui::MsgBox(QStringLiteral("入力した荷重ケース数（") + t + QStringLiteral("）が「基本データ」で入力した荷重ケース数（") + s +
                                          QStringLiteral("）を超えています。\r\n\r\n「基本データ」の荷重ケース数を") + t +
                                          QStringLiteral("に変更しますか？\r\n\r\n「いいえ」の場合は再入力となります。"),
                                      ui::Buttons::YesNo | ui::Icon::Information, QCoreApplication::applicationName());
        if (answer == ui::Answer::No) return false;
        dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
        dao::RecordsetPtr rs = db->OpenRecordset(QStringLiteral("基本データ"));
        rs->Edit();   // no row: No current record, reported by the screen
        rs->SetField(QStringLiteral("Case"), rt::Variant::Integer(c));
        rs->Update();
        rs->Close();
        db->Close();
        SetText(f, "lblCase", rt::Format(c, QStringLiteral("0")));
    }

    if (typ == 10 || typ == 20) {
        const double p2 = Value(f, "txtP", 2);
        if (p2 < 0 || p2 > 3) {
            Inform(QStringLiteral("入力した本数が入力可能範囲を超えています。入力できる本数は３本までです。"));
            return false;
        }
    }

    int first = 8;
    switch (rt::CInt(typ)) {
    case 3: first = 2; break;
    case 4: case 5: case 14: case 15: first = 5; break;
    case 8: first = 3; break;
    case 1: case 6: case 7: case 9: case 16: case 17: case 19: first = 7; break;
    default: break;
    }
    for (int i = first; i <= 7; ++i) SetText(f, "txtP", QStringLiteral("0.000"), i);
    return true;
}

bool CheckLoadPlacementInput()
{
    forms::Form* f = Form("frm荷重配置");
    if (!IsIntegerBox(f, "txt荷重形状") || Value(f, "txt荷重形状") < 0) return Invalid();
    for (int i = 1; i <= 10; ++i)
        if (!IsIntegerBox(f, "txt", i) || Value(f, "txt", i) < 0) return Invalid();
    return true;
}
