// The search panel of the frame diagram window: a node or member shown by its
// number with its conditions and a red mark on the drawing, and the lists of
// nodes or members that match typed conditions or a shape number, shown in
// ranges of 50 numbers. It only reads the database, through the window's
// connection, and knows the rows of the model from the last drawing.
#include "diagram/FrameDiagramWindow.h"

#include "core/ProgramState.h"
#include "core/WindowHelpers.h"
#include "database/Schema.h"
#include "diagram/FrameSearchLists.h"
#include "platform/Ui.h"
#include "platform/preview/PreviewWidget.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include <optional>

using namespace diagram;

namespace {

using preview::kRed;
constexpr double kHeavyPen = 30;

const QString kFree = QStringLiteral("自由");
const QString kFixed = QStringLiteral("拘束");
const QString kPin = QStringLiteral("ピン");
const QString kRigid = QStringLiteral("剛");

const QString kNodeBeyondRange = QStringLiteral("入力されている節点番号が、入力可能範囲をこえています");
const QString kMemberBeyondRange = QStringLiteral("入力されている部材番号が、入力可能範囲をこえています");
const QString kRestraintNotRegistered = QStringLiteral("入力されている拘束条件は、[節点拘束条件]に登録されていません");
const QString kIEndNotRegistered =
    QStringLiteral("入力されているｉ端側の拘束条件は、[部材端部拘束条件]に登録されていません");
const QString kJEndNotRegistered =
    QStringLiteral("入力されているｊ端側の拘束条件は、[部材端部拘束条件]に登録されていません");
const QString kEndsNotRegistered =
    QStringLiteral("入力されているｊ端側、j端側の拘束条件は共に、[部材端部拘束条件]に登録されていません");

const QString kRestraintTypes = QStringLiteral("節点拘束形状");
const QString kRestraintPlacement = QStringLiteral("節点拘束配置");
const QString kEndTypes = QStringLiteral("要素端部形状");
const QString kEndPlacement = QStringLiteral("要素端部配置");
const QString kMembers = QStringLiteral("要素情報");

void Inform(const QString& text)
{
    ui::Beep();
    Program().MsgResult = static_cast<int16_t>(ui::MsgBox(text, ui::Icon::Information, AppTitle));
}

// The whole number a box holds, when it holds one that fits an Integer.
std::optional<int16_t> NumberIn(const QLineEdit* box)
{
    const QString text = box->text();
    if (!rt::IsNumeric(text)) return std::nullopt;
    const double v = rt::Val(text);
    if (!rt::FitsInteger(v)) return std::nullopt;
    return rt::CInt(v);
}

// Sets the window's loading flag for the length of a search, whichever way it ends.
class LoadingScope {
public:
    explicit LoadingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~LoadingScope() { flag_ = false; }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    bool& flag_;
};

// Criteria of fields equal to typed texts, handed to the database as values.
std::vector<dao::Criterion> TextCriteria(const std::vector<std::pair<QString, QString>>& fields)
{
    std::vector<dao::Criterion> criteria;
    for (const auto& [field, text] : fields) criteria.push_back({field, rt::Variant::Text(text)});
    return criteria;
}

// A number box ready for "表示": a number (else a beep) not above the
// largest one the input allows (else the message).
bool HoldsNumberToShow(const QLineEdit* box, int largest, const QString& beyondMessage)
{
    if (!rt::IsNumeric(box->text())) {
        ui::Beep();
        return false;
    }
    if (rt::Val(box->text()) > largest) {
        Inform(beyondMessage);
        return false;
    }
    return true;
}

std::vector<dao::Criterion> NumberCriteria(const QString& field, int number)
{
    return {{field, rt::Variant::Integer(static_cast<int16_t>(number))}};
}

// Every placement row with its type(s) and the numbers it lists up to its
// first empty slot.
std::vector<PlacementRow> ReadPlacements(const dao::RecordsetPtr& rs, const QString& typeField,
                                         const QString& jTypeField = QString())
{
    std::vector<PlacementRow> rows;
    if (rs->BOF() && rs->EOF_()) return rows;
    for (rs->MoveFirst(); !rs->EOF_(); rs->MoveNext()) {
        PlacementRow row;
        row.type = rs->Field(typeField).toInteger();
        if (!jTypeField.isEmpty()) row.jType = rs->Field(jTypeField).toInteger();
        for (int k = 1; k <= 10; ++k) {
            const rt::Variant v = rs->Field(schema::SlotFieldName(k));
            if (v.isNull() || v.toInteger() == 0) break;
            row.targets.push_back(v.toInteger());
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

DrawingRows RowsOfLastDrawing()
{
    DrawingRows rows;
    rows.nodeNo = Program().NodeNo;
    rows.nodeRow = &Program().NodeRow;
    rows.memberNo = Program().MemberNo;
    rows.memberRow = &Program().MemberRow;
    return rows;
}

// The condition texts of boxes as the search compares them.
QStringList TrimmedTexts(std::initializer_list<const QLineEdit*> boxes)
{
    QStringList texts;
    for (const QLineEdit* b : boxes) texts << b->text().trimmed();
    return texts;
}

bool AllEqual(const QStringList& texts, const QString& word)
{
    for (const QString& t : texts)
        if (t != word) return false;
    return true;
}

// Each text is one of the two words or a number.
bool AllConditions(const QStringList& texts, const QString& free, const QString& fixed)
{
    for (const QString& t : texts)
        if (t != free && t != fixed && !rt::IsNumeric(t)) return false;
    return true;
}

}  // namespace

// ---- lists -------------------------------------------------------------------------

void frmラーメン図::ListClicked(QListWidget* list)
{
    if (DiagramLoading || !list->currentItem()) return;
    if (list == lst節点番号) {
        txt節点番号->setText(list->currentItem()->text());
        ShowNode(false);
    } else {
        txt要素番号->setText(list->currentItem()->text());
        ShowMember(false);
    }
}

void frmラーメン図::FillNumberList(int range, QListWidget* list)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(ItemsInRange(list == lst節点番号 ? nodeResults_ : memberResults_, range));
}

// ---- nodes -------------------------------------------------------------------------

void frmラーメン図::cmd節点_Click()
{
    if (HoldsNumberToShow(txt節点番号, kLargestNode, kNodeBeyondRange)) ShowNode(true);
}

void frmラーメン図::ShowNode(bool fromButton)
{
    const int n = NumberIn(txt節点番号).value_or(0);
    {
        LoadingScope loading(DiagramLoading);
        try {
            if (!OpenPlacementListing(kRestraintTypes, kRestraintPlacement, n))
                SetNodeRestraintFree();
            else
                ShowConditionType(QStringLiteral("拘束形状"),
                                  {{txtxt1, "u"}, {txtyt1, "v"}, {txtzt1, "w"}, {txtθxt1, "θx"}, {txtθyt1, "θy"}, {txtθzt1, "θz"}});
        } catch (const rt::Error&) {
            ui::Beep();
            return;
        }
        if (fromButton) {
            nodeResults_ = {txt節点番号->text()};
            FillNumberList(cbo節点番号->currentIndex(), lst節点番号);
        }
    }
    vsp->SetBrushColor(kRed);
    vsp->SetPenColor(kRed);
    const bool overlay = vsp->BeginPageOverlay(1);
    MarkNode(n);
    if (overlay) vsp->EndPageOverlay();
}

// Opens the condition types and their placement, and stands the placement on
// the first row that lists `number`; false when no row lists it.
bool frmラーメン図::OpenPlacementListing(const QString& types, const QString& placements, int number)
{
    EnsureDatabase();
    ConditionTypeRecordset = DiagramDatabase->OpenRecordset(types);
    ConditionPlacementRecordset = DiagramDatabase->OpenRecordset(placements);
    dao::RecordsetPtr& placement = ConditionPlacementRecordset;
    if (placement->BOF() && placement->EOF_()) return false;
    placement->MoveFirst();
    FindRowListingNumber(placement, static_cast<int16_t>(number));
    return !placement->NoMatch();
}

// The boxes take the conditions of the type that the placement row names in
// `typeField`; they are emptied when no such type exists.
void frmラーメン図::ShowConditionType(const QString& typeField, std::initializer_list<ConditionBox> boxes)
{
    ConditionTypeRecordset->FindFirst(
        NumberCriteria(QStringLiteral("no_"), ConditionPlacementRecordset->Field(typeField).toInteger()));
    const bool found = !ConditionTypeRecordset->NoMatch();
    for (const ConditionBox& b : boxes)
        b.box->setText(found ? ConditionTypeRecordset->Field(QString::fromUtf8(b.field)).toStringOrEmpty() : QString());
}

void frmラーメン図::cmd拘束_Click()
{
    LoadingScope loading(DiagramLoading);
    const QStringList typed = TrimmedTexts({txtxt1, txtyt1, txtzt1, txtθxt1, txtθyt1, txtθzt1});
    if (!AllConditions(typed, kFree, kFixed)) {
        ui::Beep();
        return;
    }
    std::vector<PlacementRow> placements;
    int matched = -1;
    try {
        EnsureDatabase();
        ConditionPlacementRecordset = DiagramDatabase->OpenRecordset(kRestraintPlacement);
        placements = ReadPlacements(ConditionPlacementRecordset, QStringLiteral("拘束形状"));
        ConditionTypeRecordset = DiagramDatabase->OpenRecordset(kRestraintTypes);
        ConditionTypeRecordset->FindFirst(TextCriteria({{QStringLiteral("u"), typed[0]},
                                                        {QStringLiteral("v"), typed[1]},
                                                        {QStringLiteral("w"), typed[2]},
                                                        {QStringLiteral("θx"), typed[3]},
                                                        {QStringLiteral("θy"), typed[4]},
                                                        {QStringLiteral("θz"), typed[5]}}));
        if (!ConditionTypeRecordset->NoMatch())
            matched = ConditionTypeRecordset->Field(QStringLiteral("No_")).toInteger();
    } catch (const rt::Error&) {
        ui::Beep();
        return;
    }
    const bool allFree = AllEqual(typed, kFree);
    if (!allFree && matched == -1) {
        Inform(kRestraintNotRegistered);
        return;
    }
    nodeResults_ = NodesWithRestraint(RowsOfLastDrawing(), placements, matched, allFree);
    FillNumberList(cbo節点番号->currentIndex(), lst節点番号);
}

void frmラーメン図::SetNodeRestraintFree()
{
    for (QLineEdit* b : {txtxt1, txtyt1, txtzt1, txtθxt1, txtθyt1, txtθzt1}) b->setText(kFree);
}

void frmラーメン図::ClearNodeRestraint()
{
    for (QLineEdit* b : {txtxt1, txtyt1, txtzt1, txtθxt1, txtθyt1, txtθzt1}) b->clear();
}

// ---- members -----------------------------------------------------------------------

void frmラーメン図::cmd要素_Click()
{
    if (!HoldsNumberToShow(txt要素番号, kLargestMember, kMemberBeyondRange)) return;
    lbl検索条件->clear();
    ShowMember(true);
}

void frmラーメン図::ShowMember(bool fromButton)
{
    const int m = NumberIn(txt要素番号).value_or(0);
    try {
        ShowMemberEnds(m);
        if (fromButton) {
            memberResults_ = {txt要素番号->text()};
            FillNumberList(cbo要素番号->currentIndex(), lst要素番号);
        }
        ShowMemberInfo(static_cast<int16_t>(m));
    } catch (const rt::Error&) {
        ui::Beep();
        return;
    }
    vsp->SetPenColor(kRed);
    vsp->SetPenWidth(kHeavyPen);
    const bool overlay = vsp->BeginPageOverlay(1);
    DrawMember(m);
    if (overlay) vsp->EndPageOverlay();
}

// The end conditions of member m: its end types' conditions, rigid at both
// ends without a placement, an end left empty when its type is missing.
void frmラーメン図::ShowMemberEnds(int m)
{
    if (!OpenPlacementListing(kEndTypes, kEndPlacement, m)) {
        SetMemberEndsRigid();
        return;
    }
    ShowConditionType(QStringLiteral("i端部形状"), {{txtixMWR, "xMWR"}, {txtiyMWR, "yMWR"}, {txtizMWR, "zMWR"}});
    ShowConditionType(QStringLiteral("j端部形状"), {{txtjxMWR, "xMWR"}, {txtjyMWR, "yMWR"}, {txtjzMWR, "zMWR"}});
}

void frmラーメン図::cmd材料番号_Click()
{
    LoadingScope loading(DiagramLoading);
    if (!rt::IsNumeric(txt材料番号->text())) {
        ui::Beep();
        return;
    }
    lbl検索条件->setText(QStringLiteral("形状番号"));
    memberResults_.clear();
    // A shape number beyond the numbers a member can hold is used by none.
    if (const std::optional<int16_t> shape = NumberIn(txt材料番号)) {
        try {
            EnsureDatabase();
            MemberRecordset = DiagramDatabase->OpenRecordset(kMembers);
            MemberRecordset->Filter = QStringLiteral("材料番号 = ") + QString::number(*shape);
            MemberRecordset->Sort = QStringLiteral("no_ ASC");
            MemberRecordset = MemberRecordset->OpenRecordset();
            if (!(MemberRecordset->BOF() && MemberRecordset->EOF_()))
                for (MemberRecordset->MoveFirst(); !MemberRecordset->EOF_(); MemberRecordset->MoveNext())
                    memberResults_ << ResultItem(MemberRecordset->Field(QStringLiteral("No_")).toInteger());
        } catch (const rt::Error&) {
            ui::Beep();
            return;
        }
    }
    if (memberResults_.isEmpty())
        Inform(QStringLiteral("入力されている形状番号：") + txt材料番号->text()
               + QStringLiteral(" を使用している部材は\r\n[部材配置]に登録されていません"));
    FillNumberList(cbo要素番号->currentIndex(), lst要素番号);
    if (memberResults_.isEmpty()) {
        txt要素番号->clear();
        ClearIEnd();
        ClearJEnd();
        ui::Beep();
        return;
    }
    ChooseListedMember();
    try {
        // Without a member number to show, there are no end conditions to show.
        if (const std::optional<int16_t> m = NumberIn(txt要素番号)) {
            ShowMemberEnds(*m);
        } else {
            ClearIEnd();
            ClearJEnd();
        }
    } catch (const rt::Error&) {
        ui::Beep();
    }
}

void frmラーメン図::cmd端部状態_Click()
{
    LoadingScope loading(DiagramLoading);
    const QStringList iTyped = TrimmedTexts({txtixMWR, txtiyMWR, txtizMWR});
    const QStringList jTyped = TrimmedTexts({txtjxMWR, txtjyMWR, txtjzMWR});
    if (!AllConditions(iTyped + jTyped, kPin, kRigid)) {
        ui::Beep();
        return;
    }
    lbl検索条件->setText(QStringLiteral("拘束条件"));
    std::vector<PlacementRow> placements;
    int iType = -1, jType = -1;
    try {
        EnsureDatabase();
        ConditionPlacementRecordset = DiagramDatabase->OpenRecordset(kEndPlacement);
        placements = ReadPlacements(ConditionPlacementRecordset, QStringLiteral("i端部形状"), QStringLiteral("j端部形状"));
        ConditionTypeRecordset = DiagramDatabase->OpenRecordset(kEndTypes);
        auto findType = [this](const QStringList& typed) {
            ConditionTypeRecordset->FindFirst(TextCriteria({{QStringLiteral("xmwr"), typed[0]},
                                                            {QStringLiteral("ymwr"), typed[1]},
                                                            {QStringLiteral("zmwr"), typed[2]}}));
            return ConditionTypeRecordset->NoMatch() ? -1 : ConditionTypeRecordset->Field(QStringLiteral("No_")).toInteger();
        };
        iType = findType(iTyped);
        jType = findType(jTyped);
    } catch (const rt::Error&) {
        ui::Beep();
        return;
    }
    const bool bothRigid = AllEqual(iTyped, kRigid) && AllEqual(jTyped, kRigid);
    if (!bothRigid) {
        if (iType != -1 && jType == -1) Inform(kJEndNotRegistered);
        if (iType == -1 && jType == -1) Inform(kEndsNotRegistered);
        if (iType == -1 && jType != -1) Inform(kIEndNotRegistered);
    }
    memberResults_ = MembersWithEnds(RowsOfLastDrawing(), placements, iType, jType, bothRigid);
    FillNumberList(cbo要素番号->currentIndex(), lst要素番号);
    if (memberResults_.isEmpty()) {
        for (QLineEdit* b : {txt要素番号, txt材料番号}) b->clear();
        lbliNo->clear();
        lbljNo->clear();
        ui::Beep();
        return;
    }
    ChooseListedMember();
    try {
        const double m = rt::Val(txt要素番号->text());
        ShowMemberInfo(rt::FitsInteger(m) ? std::optional<int16_t>(rt::CInt(m)) : std::nullopt);
    } catch (const rt::Error&) {
        ui::Beep();
    }
}

// After a list search: the member whose number the box holds, when the
// visible list shows it, else the first one the list shows; the box takes
// the chosen item's text. An empty visible list leaves the box as it is.
void frmラーメン図::ChooseListedMember()
{
    const QSignalBlocker quiet(lst要素番号);
    const QString text = txt要素番号->text();
    const double wanted = rt::IsNumeric(text) ? rt::Val(text) : -1;
    int pick = -1;
    if (wanted != -1)
        for (int i = 0; i < lst要素番号->count() && pick < 0; ++i)
            if (rt::Val(lst要素番号->item(i)->text()) == wanted) pick = i;
    if (pick < 0 && lst要素番号->count() > 0) pick = 0;
    if (pick < 0) return;
    lst要素番号->setCurrentRow(pick);
    txt要素番号->setText(lst要素番号->item(pick)->text());
}

void frmラーメン図::SetMemberEndsRigid()
{
    for (QLineEdit* b : {txtixMWR, txtiyMWR, txtizMWR, txtjxMWR, txtjyMWR, txtjzMWR}) b->setText(kRigid);
}

void frmラーメン図::ClearIEnd()
{
    for (QLineEdit* b : {txtixMWR, txtiyMWR, txtizMWR}) b->clear();
}

void frmラーメン図::ClearJEnd()
{
    for (QLineEdit* b : {txtjxMWR, txtjyMWR, txtjzMWR}) b->clear();
}

// The shape number and end nodes of member m; empty when it is not stored.
void frmラーメン図::ShowMemberInfo(std::optional<int16_t> m)
{
    EnsureDatabase();
    MemberRecordset = DiagramDatabase->OpenRecordset(kMembers);
    if (m) MemberRecordset->FindFirst(NumberCriteria(QStringLiteral("no_"), *m));
    const bool found = m && !MemberRecordset->NoMatch();
    auto field = [&](const char* name) {
        return found ? MemberRecordset->Field(QString::fromUtf8(name)).toStringOrEmpty() : QString();
    };
    txt材料番号->setText(field("材料番号"));
    lbliNo->setText(field("iTan"));
    lbljNo->setText(field("jTan"));
}
