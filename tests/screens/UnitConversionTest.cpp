// The conversion of the stored model between SI and gravitational units,
// run directly on a database.
#include "input/InputTestSupport.h"
#include "screens/UnitConversion.h"

using namespace inputtest;
using rt::Variant;

namespace {

class UnitConversion : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeEmptyDatabase();
        AddNodes(2);
        AppendRows("材料定数1", {"No_", "E", "γ", "A", "順"},
                   {{Variant::Integer(1), Variant::Double(2100), Variant::Double(900), Variant::Double(12.5), Variant::Integer(1)},
                    {Variant::Integer(2), Variant(), Variant::Double(81), Variant::Double(3), Variant::Integer(2)}});
        AppendRows("材料定数2", {"No_", "TYP", "fld_01", "φx", "E", "γ", "順"},
                   {{Variant::Integer(1001), Variant::Integer(2), Variant::Double(300), Variant::Double(1), Variant::Double(2100),
                     Variant::Double(810), Variant::Integer(1)}});
        AppendRows("節点拘束形状", {"No_", "u", "v", "w", "θx", "θy", "θz", "順"},
                   {{Variant::Integer(1), Variant::Text("拘束"), Variant::Text("自由"), Variant::Text("50.000"),
                     Variant::Text("0.250"), Variant(), Variant::Text("自由"), Variant::Integer(1)}});
        AppendRows("要素端部形状", {"No_", "xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR", "順"},
                   {{Variant::Integer(1), Variant::Text("剛"), Variant::Text("12"), Variant::Text("剛"), Variant::Text("ピン"),
                     Variant::Text("25.000"), Variant::Text("剛"), Variant::Integer(1)}});
        // Load types 1 (nodal), 10 (bars: P2 is a count) and 18 (no such type), P1..P7 = 1..7.
        std::vector<std::vector<Variant>> loads;
        int16_t no = 1;
        for (int16_t type : {1, 10, 18}) {
            std::vector<Variant> row{Variant::Integer(no), Variant::Integer(type), Variant::Integer(1), Variant::Text("X 絶対系")};
            for (int k = 1; k <= 7; ++k) row.push_back(Variant::Double(k));
            row.push_back(Variant::Integer(no++));
            loads.push_back(row);
        }
        AppendRows("荷重形状", {"No_", "TYP", "Case", "座標系", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "fld_06", "fld_07", "順"},
                   loads);
    }

    QStringList Model()
    {
        return Rows("節点座標1", {"No_", "X", "Y", "Z"}) + Rows("材料定数1", {"E", "γ", "A"}) +
               Rows("材料定数2", {"E", "γ", "fld_01", "φx"}) + Rows("節点拘束形状", {"u", "v", "w", "θx", "θy", "θz"}) +
               Rows("要素端部形状", {"xHKU", "yHKU", "zHKU", "xMWR", "yMWR", "zMWR"}) +
               Rows("荷重形状", {"TYP", "fld_01", "fld_02", "fld_03", "fld_04", "fld_05", "fld_06", "fld_07"});
    }
};

TEST_F(UnitConversion, ForcesByTheGravityConstantModuliByTenAndNothingElse)
{
    const QStringList before = Model();
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    ConvertModelUnits(*db, true, 10);
    db->Close();
    // To SI with g = 10: forces and springs x 10, E and G x 10; coordinates,
    // dimensions, words, empty fields, end translations, counts and the
    // parameters of an unknown type stay.
    EXPECT_EQ(Model(), QStringList({"1|1|0|0", "2|2|0|0",
                                    "21000|9000|12.5", "|810|3",
                                    "21000|8100|300|1",
                                    "拘束|自由|500.000|2.500||自由",
                                    "剛|12|剛|ピン|250.000|剛",
                                    "1|10|20|30|40|50|60|7",
                                    "10|10|2|30|4|5|6|7",
                                    "18|1|2|3|4|5|6|7"}));

    db = dao::Database::Open(kWorkingDatabase);
    ConvertModelUnits(*db, false, 10);
    db->Close();
    EXPECT_EQ(Model(), before);
}

TEST_F(UnitConversion, AFailedWriteLeavesEveryTableAsItWas)
{
    // A modulus that does not fit a Single once multiplied by 10, in the
    // second table: the first is converted before the failure.
    Exec("UPDATE \"材料定数2\" SET \"E\" = ?", {Variant::Double(3e38)});
    const QStringList before = Model();
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    EXPECT_THROW(ConvertModelUnits(*db, true, 9.80665), rt::Error);
    db->Close();
    EXPECT_EQ(Model(), before);
}

}  // namespace
