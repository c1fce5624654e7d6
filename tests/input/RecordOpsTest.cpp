// Adding, updating, deleting and reordering rows, and the record helpers.
#include "input/InputRecordOps.h"
#include "input/InputRecords.h"
#include "input/InputStart.h"
#include "input/InputTestSupport.h"
#include "loads/LoadPlacementScreen.h"
#include "loads/LoadShapeScreen.h"
#include "platform/Settings.h"
#include "screens/BasicDataScreen.h"
#include "screens/MemberEndScreens.h"
#include "screens/MemberScreen.h"
#include "screens/NodeScreen.h"
#include "screens/RestraintScreens.h"
#include "screens/SectionScreens.h"


using namespace inputtest;
using rt::Variant;

namespace {

class Records : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeEmptyDatabase();
        testenv::ResetScript();
    }
    // A recordset on a table as a screen holds it (sorted by 順 when it has rows).
    dao::RecordsetPtr Open(const QString& table)
    {
        Program().InputTableName = table;
        rs.reset();
        db.reset();
        ReopenInputRecordset(rs, db, nullptr);
        return rs;
    }
    void Add(const FieldValues& values)
    {
        Program().WorkRecordset = rs->Clone();
        AddRecord(rs, values);
        Program().WorkRecordset->Close();
        Program().WorkRecordset.reset();
    }
    dao::DatabasePtr db;
    dao::RecordsetPtr rs;
};

struct AddCase {
    const ListScreenDescription& (*screen)() = nullptr;
    std::vector<std::pair<QString, QString>> boxes{};
    QStringList fields{};
    QString expected{};   // the fields read back, joined by "|"
};

// The row a screen writes from these texts, through its map of boxes to fields.
FieldValues RowOf(const ListScreenDescription& screen, const std::vector<std::pair<QString, QString>>& boxes)
{
    BoxTexts texts;
    for (const auto& [b, v] : boxes) texts[b] = v;
    return ValuesFromTexts(FieldBindings(screen), texts);
}

std::vector<std::pair<QString, QString>> Arr(std::vector<std::pair<QString, QString>> b, const QString& name, int first,
                                             int count, int start)
{
    for (int k = 0; k < count; ++k) b.push_back({ControlName(name, first + k), QString::number(start + k)});
    return b;
}

QStringList Flds(QStringList f, int count)
{
    for (int k = 1; k <= count; ++k) f << QStringLiteral("fld_%1").arg(k, 2, 10, QLatin1Char('0'));
    return f;
}

const std::vector<AddCase>& AddCases()
{
    static const std::vector<AddCase> c = {
        {NodeScreen,
         {{"txtNo", "7"}, {"txtX", "1 2"}, {"txtY", "12abc"}, {"txtZ", "1.5e2"}}, {"No_", "X", "Y", "Z"}, "7|12|12|150"},
        {MemberScreen,
         {{"txtNo", "3"}, {"txtIT", "1"}, {"txtJT", "2"}, {"txt材料番号", "1001"}}, {"No_", "iTan", "jTan", "材料番号"}, "3|1|2|1001"},
        {SectionPropertiesScreen,
         {{"txtNo", "5"}, {"txtE", "2100"}, {"txtγ", "900"}, {"txtIxx", "1"}, {"txtIyy", "2"}, {"txtA", "3"}, {"txtK", "4"}},
         {"No_", "E", "ν", "γ", "A", "Ixx", "Iyy", "Izz"}, "5|2100||900|3|1|2|4"},
        {SectionShapesScreen,
         Arr({{"txtNo", "1001"}, {"txtTYP", "2"}, {"txtφx", "1"}, {"txtφy", "2"}, {"txtE", "21000"}, {"txtγ", "8100"}}, "txtP", 1, 5, 101),
         Flds({"No_", "TYP"}, 5) << "φx" << "φy" << "E" << "γ", "1001|2|101|102|103|104|105|1|2|21000|8100"},
        {MemberEndTypeScreen,
         {{"txtNo", "2"}, {"txtxMWR", "ピン"}, {"txtyMWR", " 2.500"}, {"txtzMWR", "剛"}, {"txtxHKU", "剛"}, {"txtyHKU", "剛"}, {"txtzHKU", "x "}},
         {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR"}, "2|剛|剛|x |ピン| 2.500|剛"},
        {MemberEndPlacementScreen,
         Arr({{"txtNo", "1"}, {"txtI端部形状", "2"}, {"txtJ端部形状", "3"}}, "txt要素番号", 0, 10, 11),
         Flds({"No_", "i端部形状", "j端部形状"}, 10), "1|2|3|11|12|13|14|15|16|17|18|19|20"},
        {RestraintTypeScreen,
         {{"txtNo", "1"}, {"txtu", "拘束"}, {"txtv", "自由"}, {"txtw", "2.500"}, {"txtθx", "拘束"}, {"txtθy", "拘束"}, {"txtθz", "自由"}},
         {"No_", "u", "v", "w", "θx", "θy", "θz"}, "1|拘束|自由|2.500|拘束|拘束|自由"},
        {RestraintPlacementScreen,
         {{"txtNo", "1"}, {"txt拘束形状", "1"}, {"txt節点番号(0)", "5"}, {"txt節点番号(1)", ""}, {"txt節点番号(2)", ""},
          {"txt節点番号(3)", ""}, {"txt節点番号(4)", ""}, {"txt節点番号(5)", ""}, {"txt節点番号(6)", ""}, {"txt節点番号(7)", ""},
          {"txt節点番号(8)", ""}, {"txt節点番号(9)", ""}},
         Flds({"No_", "拘束形状"}, 10), "1|1|5|0|0|0|0|0|0|0|0|0"},
        {LoadShapeScreen,
         Arr({{"txtNo", "1"}, {"txtTYP", "3"}, {"txtCase", "2"}, {"cbo座標系", "z 部材系"}}, "txtP", 1, 7, 1),
         Flds({"No_", "TYP", "Case", "座標系"}, 7), "1|3|2|z 部材系|1|2|3|4|5|6|7"},
        {LoadPlacementScreen,
         Arr({{"txtNo", "4"}, {"txt荷重形状", "9"}}, "txt", 1, 10, 21), Flds({"No_", "荷重形状"}, 10), "4|9|21|22|23|24|25|26|27|28|29|30"},
    };
    return c;
}

class AddAndUpdate : public Records, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddAndUpdate, BoxesGoToTheirFieldsAndOrderFollowsTheLastRow)
{
    const AddCase& c = GetParam();
    const ListScreenDescription& screen = c.screen();
    const QString table = screen.screen.table;
    // Rows stored out of order: the new row follows the largest 順 (5).
    dao::DatabasePtr raw = dao::Database::Open(kWorkingDatabase);
    for (int order : {3, 5, 1}) {
        dao::RecordsetPtr r = raw->OpenRecordset(table);
        r->AddNew();
        r->SetField("No_", Variant::Integer(int16_t(900 + order)));
        r->SetField("順", Variant::Integer(int16_t(order)));
        r->Update();
        r->Close();
    }
    raw->Close();

    Open(table);
    Add(RowOf(screen, c.boxes));
    QStringList fields = c.fields;
    fields << "順";
    QStringList rows = Rows(table, fields);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows.last(), c.expected + "|6");

    // The update rewrites the current row and keeps its 順, even with a new number.
    Open(table);
    rs->MoveFirst();   // 順 1
    auto boxes = c.boxes;
    for (auto& [b, v] : boxes)
        if (b == "txtNo") v = "77";
    UpdateRecord(rs, RowOf(screen, boxes));
    rows = Rows(table, fields);
    QString expected = c.expected;
    expected = "77" + expected.mid(expected.indexOf('|'));
    EXPECT_EQ(rows.first(), expected + "|1");
}

INSTANTIATE_TEST_SUITE_P(AllTables, AddAndUpdate, ::testing::ValuesIn(AddCases()),
                         [](const auto& info) { return std::to_string(info.index); });

TEST_F(Records, FirstRowOfAnEmptyTableGetsOrderOneAndNumbersReadLeadingDigits)
{
    const std::pair<const char*, const char*> cases[] = {{"", "0"}, {"-", "0"}, {"1,5", "1"}, {" - 2 . 5", "-2.5"}};
    int no = 1;
    for (const auto& [text, value] : cases) {
        Open("節点座標1");
        Add(RowOf(NodeScreen(), {{"txtNo", QString::number(no++)}, {"txtX", text}, {"txtY", "0"}, {"txtZ", "0"}}));
    }
    EXPECT_EQ(Rows("節点座標1", {"X", "順"}), QStringList({"0|1", "0|2", "1|3", "-2.5|4"}));
}

TEST_F(Records, SaveBasicDataLeavesExactlyOneRow)
{
    const BoxTexts texts = {{"txt工事名", "  Bridge  "}, {"txt設計者", " Sato "}, {"txtNote", " "},
                            {"txtCase", "3"},           {"txtE", "21000"},      {"txtγ", "8100"}};
    for (int rows : {0, 2}) {
        for (int i = 0; i < rows; ++i)
            AppendRows("基本データ", {"工事名"}, {{Variant::Text("old")}});
        dao::DatabasePtr d = dao::Database::Open(kWorkingDatabase);
        dao::RecordsetPtr r = d->OpenRecordset("基本データ");
        SaveBasicData(r, BasicDataValues(texts, false));
        r->Close();
        d->Close();
        EXPECT_EQ(Rows("基本データ", {"工事名", "設計者", "Note", "Case", "E", "γ", "Unit"}, ""),
                  QStringList{"Bridge| Sato | |3|21000|8100|False"});
    }
}

TEST_F(Records, SaveBasicDataThatFailsKeepsTheOldRow)
{
    AppendRows("基本データ", {"工事名", "Case"}, {{Variant::Text("old"), Variant::Integer(2)}});
    // The case count does not fit the Integer field.
    const BoxTexts texts = {{"txt工事名", "new"}, {"txt設計者", ""}, {"txtNote", ""}, {"txtCase", "40000"}, {"txtE", ""}, {"txtγ", ""}};
    dao::DatabasePtr d = dao::Database::Open(kWorkingDatabase);
    dao::RecordsetPtr r = d->OpenRecordset("基本データ");
    EXPECT_THROW(SaveBasicData(r, BasicDataValues(texts, true)), rt::Error);
    r->Close();
    d->Close();
    EXPECT_EQ(Rows("基本データ", {"工事名", "Case"}, ""), QStringList{"old|2"});
}

TEST_F(Records, DeleteRenumbersAndDeleteAllEmpties)
{
    AddNodes(5);
    Open("節点座標1");
    rs->FindFirst("no_ = 3");
    DeleteRecordAndRenumber(rs);
    EXPECT_EQ(Rows("節点座標1", {"No_", "順"}), QStringList({"1|1", "2|2", "4|3", "5|4"}));
    Open("節点座標1");
    DeleteAllRecords(rs);
    EXPECT_TRUE(Rows("節点座標1", {"No_"}).isEmpty());
    auto& script = testenv::ResetScript();
    Open("節点座標1");
    DeleteRecordAndRenumber(rs);   // empty: a beep only
    EXPECT_EQ(script.beeps, 1);
}

struct MoveCase {
    const char* direction;
    int from;          // No_ of the row moved (rows 1..5 in order)
    const char* order; // No_ in 順 order afterwards
    int current;       // No_ of the current row afterwards
    int beeps;
};

TEST_F(Records, ReorderKeepsOrderOneToNAndTheMovedRowCurrent)
{
    const MoveCase cases[] = {
        {"P", 3, "1 3 2 4 5", 3, 0}, {"N", 3, "1 2 4 3 5", 3, 0}, {"F", 4, "4 1 2 3 5", 4, 0},
        {"L", 2, "1 3 4 5 2", 2, 0}, {"N", 5, "1 2 3 4 5", 5, 1}, {"P", 1, "1 2 3 4 5", 1, 1},
        {"F", 1, "1 2 3 4 5", 1, 1}, {"L", 5, "1 2 3 4 5", 5, 1},
    };
    for (const MoveCase& c : cases) {
        inputtest::Exec("DELETE FROM \"節点座標1\"");
        AddNodes(5);
        Open("節点座標1");
        dao::DataControl data("Data1");
        dao::DataGrid grid("DBGrid");
        grid.SetDataSource(&data);
        data.SetRecordset(rs);
        rs->FindFirst(QStringLiteral("no_ = %1").arg(c.from));
        auto& script = testenv::ResetScript();
        ReorderRecord(c.direction, db, rs, &data, &grid);
        QStringList order;
        for (const QString& r : Rows("節点座標1", {"No_", "順"})) order << r.section('|', 0, 0);
        EXPECT_EQ(order.join(' '), c.order) << c.direction << c.from;
        QStringList orders;
        for (const QString& r : Rows("節点座標1", {"順"})) orders << r;
        EXPECT_EQ(orders.join(' '), "1 2 3 4 5");
        EXPECT_EQ(rs->Field("No_").toInteger(), c.current) << c.direction << c.from;
        EXPECT_EQ(script.beeps, c.beeps);
        EXPECT_EQ(grid.CurrentRow(), rs->AbsolutePosition());
        data.SetRecordset(nullptr);
    }
}

TEST_F(Records, RepeatedFirstNeverLeavesTwoEqualOrders)
{
    AddNodes(6);
    for (int no : {4, 6, 2, 5}) {
        Open("節点座標1");
        rs->FindFirst(QStringLiteral("no_ = %1").arg(no));
        ReorderRecord("F", db, rs, nullptr, nullptr);
    }
    EXPECT_EQ(Rows("節点座標1", {"No_", "順"}), QStringList({"5|1", "2|2", "6|3", "4|4", "1|5", "3|6"}));
}

TEST_F(Records, ReorderWithNoCurrentRowOnlyBeeps)
{
    AddNodes(2);
    Open("節点座標1");
    rs->MoveLast();
    rs->MoveNext();
    const QString before = testenv::FileHash(kWorkingDatabase);
    auto& script = testenv::ResetScript();
    ReorderRecord("P", db, rs, nullptr, nullptr);
    EXPECT_EQ(script.beeps, 1);
    EXPECT_EQ(testenv::FileHash(kWorkingDatabase), before);
}

TEST_F(Records, MaxValueAndKeyLookups)
{
    Open("節点座標1");
    dao::RecordsetPtr clone = rs->Clone();
    int16_t max = -1;
    GetMaxFieldValue(max, clone, "no_");
    EXPECT_EQ(max, 0);
    AppendRows("節点座標1", {"No_", "順"}, {{Variant::Integer(1), Variant::Integer(1)}, {Variant::Integer(5), Variant::Integer(2)},
                                          {Variant::Integer(3), Variant::Integer(3)}});
    Open("節点座標1");
    clone = rs->Clone();
    GetMaxFieldValue(max, clone, "no_");
    EXPECT_EQ(max, 5);
    EXPECT_FALSE(IsKeyUnused(db, "no_", "節点座標1", 3));
    EXPECT_TRUE(IsKeyUnused(db, "no_", "節点座標1", 4));
    EXPECT_EQ(LargestOrderNo(db, "節点座標1"), 3);
}

TEST_F(Records, DeleteQuestionsFollowTheOption)
{
    Program().ScreenCode = ScreenNodeCoordinates;
    frm節点座標1 screen;
    Program().CurrentInputForm = &screen;
    SetTabStop(screen.Box("txtNo"), false);
    struct {
        const char* option;
        int16_t expected;
        bool asked;
    } cases[] = {{nullptr, 7, true}, {"True", 6, true}, {"False", 6, false}, {"nonsense", 7, true}};
    for (const auto& c : cases) {
        if (c.option) reg::SaveSetting("Public", "ChkDelete", c.option);
        else reg::DeleteSetting("Public", "ChkDelete");
        auto& script = testenv::ResetScript();
        script.answers = {c.expected};
        EXPECT_EQ(ConfirmDeleteRecord(false, false), c.expected);
        EXPECT_EQ(script.messages.size(), c.asked ? 1 : 0);
        if (c.asked) {
            EXPECT_EQ(script.messages[0], Question("選択しているデータを削除してもいいですか？"));
            EXPECT_EQ(Program().MsgResult, c.expected);
            // The question leaves every entry box a tab stop, txtNo included.
            EXPECT_EQ(screen.Box("txtNo")->focusPolicy(), Qt::StrongFocus);
        }
    }
    auto& script = testenv::ResetScript();
    EXPECT_EQ(ConfirmDeleteRecord(false, true), 7);
    EXPECT_EQ(script.messages, QStringList{Info("削除するデータが選択されていません")});

    reg::SaveSetting("Public", "ChkDelete", "False");
    auto& s2 = testenv::ResetScript();
    s2.answers = {ui::Answer::No};
    EXPECT_EQ(ConfirmDeleteAll("節点座標", false, false), 7);
    EXPECT_EQ(s2.messages, QStringList{Question("節点座標 に関する全てのデータを削除してもいいですか？")});
    auto& s3 = testenv::ResetScript();
    EXPECT_EQ(ConfirmDeleteAll("節点座標", true, true), 7);
    EXPECT_TRUE(s3.messages.isEmpty());
    EXPECT_EQ(s3.beeps, 1);
}

TEST_F(Records, ConditionTextsAndCommonModuli)
{
    const std::pair<const char*, const char*> restraint[] = {
        {"0", "自由"}, {"1", "拘束"}, {"1.0", "拘束"}, {"12.3456", "12.3456"}, {"2.5", "2.500"}, {"拘束", "拘束"}, {"word", "word"}, {"0.0004", "0.0004"}};
    for (const auto& [in, out] : restraint) EXPECT_EQ(NormalizeRestraintText(in), out) << in;
    EXPECT_EQ(NormalizeEndConditionText("0"), "ピン");
    EXPECT_EQ(NormalizeEndConditionText("1"), "剛");

    float e = -1, g = -1;
    ReadCommonModuli(e, g);
    EXPECT_EQ(e, -1);   // no row: unchanged
    AppendRows("基本データ", {"E", "γ"}, {{Variant::Double(2050), Variant::Double(790)}});
    ReadCommonModuli(e, g);
    EXPECT_EQ(e, 2050);
    EXPECT_EQ(g, 790);
}

TEST_F(Records, CentringOnTheScreen)
{
    forms::Form input("frm節点座標1");
    input.SetClientSizeTw(9000, 6000);
    input.MoveTw(1500, 1500);
    Program().CurrentInputForm = &input;
    forms::Form figure("frm部材形状図");
    figure.SetClientSizeTw(3000, 2010);
    int width = 0, height = 0;
    CenterOnInputForm(&figure, width, height);
    EXPECT_EQ(width, 3000);
    EXPECT_EQ(height, 2010);
    EXPECT_EQ(figure.LeftTw(), 1500 + (9000 - 3000) * 0.5);

    forms::Form lookup("frm節点座標参照");
    lookup.SetClientSizeTw(4000, 3000);
    auto* grid = new dao::DataGrid("DBGrid", &lookup);
    forms::PlaceTw(grid, 120, 120, 3000, 2000);
    CenterOnInputForm(&lookup, width, height);
    EXPECT_EQ(width, 120 + 3000 + 270);

    // Over a screen in the corner, a window taller than it stays whole within the screen.
    forms::SetAvailableScreenArea({0, 0, 1366, 768});
    input.MoveTw(forms::Tw(1366) - 9000, forms::Tw(768) - 6000);
    forms::Form tall("frm要素情報参照");
    tall.SetClientSizeTw(4000, 9000);
    CenterOnInputForm(&tall, width, height);
    EXPECT_NEAR(tall.LeftTw(), input.LeftTw() + (9000 - 4000) * 0.5, 15);
    EXPECT_EQ(tall.frameGeometry().bottom(), 767);
    Program().CurrentInputForm = nullptr;
}

}  // namespace
