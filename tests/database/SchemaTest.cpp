#include "core/MakeDatabase.h"
#include "database/Schema.h"
#include "core/ProgramState.h"

#include <gtest/gtest.h>

#include <set>

using dao::FieldType;

namespace {

struct TableShape {
    const char* name;
    int fieldCount;
};

// Creation order and field counts, counted off the table layouts by hand.
const TableShape kCreationOrder[] = {
    {"基本データ", 7},           {"節点座標1", 5},            {"節点座標2", 15},
    {"要素情報", 5},             {"材料定数0", 9},            {"材料定数1", 9},
    {"材料定数2", 12},           {"節点拘束形状", 8},         {"節点拘束配置", 13},
    {"要素端部形状", 8},         {"要素端部配置", 14},        {"荷重形状", 12},
    {"荷重配置", 13},            {"Analyze節点変位", 8},      {"Analyze部材応力", 18},
    {"Analyze支点反力", 8},      {"Analyze等価節点荷重", 18}, {"PreviewHeniDrawData", 6},
    {"PreviewHeniValData", 8},   {"PreviewOhzuDrawData", 6},  {"PreviewOhzuValData", 8},
    {"PreviewRamenBuzaiData", 6}, {"PreviewRamenValData", 8}, {"PreviewMentPoint", 5},
    {"VUP01断面設計共通事項", 26}, {"VUP01荷重名称組合せ", 12}, {"VUP01鋼材材種強度", 4},
    {"VUP01鉄筋材種強度", 10},   {"VUP01鉄筋材種サイズ", 3},
};

TEST(Schema, TablesInCreationOrderWithTheirFieldCounts)
{
    const auto& tables = schema::AllTables();
    ASSERT_EQ(tables.size(), std::size(kCreationOrder));
    for (size_t i = 0; i < tables.size(); ++i) {
        EXPECT_EQ(tables[i].name, QString::fromUtf8(kCreationOrder[i].name)) << i;
        EXPECT_EQ(int(tables[i].fields.size()), kCreationOrder[i].fieldCount) << kCreationOrder[i].name;
        std::set<QString> names;
        for (const auto& f : tables[i].fields) EXPECT_TRUE(names.insert(f.name.toLower()).second) << f.name.toStdString();
    }
}

TEST(Schema, StartupOrderHoldsTheSameNamesInItsOwnOrder)
{
    const QStringList& order = schema::StartupTableNames();
    ASSERT_EQ(order.size(), 29);
    std::set<QString> created, probed(order.begin(), order.end());
    for (const auto& t : schema::AllTables()) created.insert(t.name);
    EXPECT_EQ(created, probed);
    // The probe takes the section tables before the members.
    EXPECT_EQ(order[3], QStringLiteral("材料定数0"));
    EXPECT_EQ(order[6], QStringLiteral("要素情報"));
    EXPECT_EQ(order[28], QStringLiteral("VUP01鉄筋材種サイズ"));
    EXPECT_EQ(schema::SectionDesignTableNames(), order.mid(24));
}

struct FieldAt {
    const char* table;
    int pos;   // -1: the last field
    const char* name;
    FieldType type;
};

// Positions that other code reads by number, the list tables' first and last
// fields, and names spelled with Greek letters and signs.
const FieldAt kPositions[] = {
    {"節点座標1", 0, "No_", FieldType::Integer},    {"節点座標1", -1, "順", FieldType::Integer},
    {"要素情報", 0, "No_", FieldType::Integer},     {"要素情報", -1, "順", FieldType::Integer},
    {"材料定数1", 0, "No_", FieldType::Integer},    {"材料定数1", -1, "順", FieldType::Integer},
    {"材料定数2", 0, "No_", FieldType::Integer},    {"材料定数2", -1, "順", FieldType::Integer},
    {"節点拘束形状", 0, "No_", FieldType::Integer}, {"節点拘束形状", -1, "順", FieldType::Integer},
    {"節点拘束配置", 0, "No_", FieldType::Integer}, {"節点拘束配置", -1, "順", FieldType::Integer},
    {"要素端部形状", 0, "No_", FieldType::Integer}, {"要素端部形状", -1, "順", FieldType::Integer},
    {"要素端部配置", 0, "No_", FieldType::Integer}, {"要素端部配置", -1, "順", FieldType::Integer},
    {"荷重形状", 0, "No_", FieldType::Integer},     {"荷重形状", -1, "順", FieldType::Integer},
    {"荷重配置", 0, "No_", FieldType::Integer},     {"荷重配置", -1, "順", FieldType::Integer},
    {"節点拘束形状", 1, "u", FieldType::Text},      {"節点拘束形状", 3, "w", FieldType::Text},
    {"節点拘束形状", 6, "\u03B8z", FieldType::Text},
    {"要素端部形状", 4, "xMWR", FieldType::Text},   {"要素端部形状", 6, "zMWR", FieldType::Text},
    {"基本データ", 3, "Unit", FieldType::Text},     {"基本データ", 6, "\u03B3", FieldType::Single},
    {"材料定数0", 2, "\u03BD", FieldType::Single},  {"材料定数2", 2, "fld_01", FieldType::Single},
    {"材料定数2", 6, "fld_05", FieldType::Single},  {"材料定数2", 7, "\u03C6x", FieldType::Single},
    {"節点座標2", 4, "fld_01", FieldType::Integer}, {"節点座標2", 13, "fld_10", FieldType::Integer},
    {"要素端部配置", 3, "fld_01", FieldType::Integer}, {"要素端部配置", 12, "fld_10", FieldType::Integer},
    {"荷重形状", 3, "座標系", FieldType::Text},     {"荷重形状", 10, "fld_07", FieldType::Single},
    {"Analyze節点変位", 7, "\u22BF\u03B8z", FieldType::Single},
    {"Analyze部材応力", 9, "jTan", FieldType::Integer}, {"Analyze等価節点荷重", 17, "cMz", FieldType::Single},
    {"PreviewHeniDrawData", 1, "bln種類", FieldType::Boolean},
    {"PreviewRamenValData", 5, "要素番号", FieldType::Text}, {"PreviewOhzuValData", 5, "節点番号", FieldType::Text},
    {"PreviewMentPoint", 0, "bln種類", FieldType::Boolean}, {"PreviewMentPoint", 4, "zoom", FieldType::Single},
    {"VUP01断面設計共通事項", 25, "etc部位名", FieldType::Text},
    {"VUP01荷重名称組合せ", 11, "順", FieldType::Single},
    {"VUP01鋼材材種強度", 1, "\u5F37\u5EA6(SI)", FieldType::Single},
    {"VUP01鉄筋材種強度", 8, "短せん断CGS", FieldType::Single},
    {"VUP01鉄筋材種サイズ", 2, "順", FieldType::Single},
};

TEST(Schema, FieldsAtTheirPositions)
{
    for (const FieldAt& c : kPositions) {
        const auto& fields = schema::Table(QString::fromUtf8(c.table)).fields;
        size_t pos = c.pos < 0 ? fields.size() - 1 : size_t(c.pos);
        ASSERT_LT(pos, fields.size()) << c.table;
        EXPECT_EQ(fields[pos].name, QString::fromUtf8(c.name)) << c.table << " " << c.pos;
        EXPECT_EQ(fields[pos].type, c.type) << c.table << " " << c.pos;
    }
}

TEST(Schema, LookupByNameIgnoresAsciiCase)
{
    EXPECT_EQ(schema::FindTable(QStringLiteral("analyze節点変位")), &schema::AllTables()[13]);
    EXPECT_EQ(schema::FindTable(QStringLiteral("previewmentpoint")), &schema::AllTables()[23]);
    EXPECT_EQ(schema::FindTable(QStringLiteral("VUP01鉄筋サイズ")), nullptr);
    try {
        schema::Table(QStringLiteral("節点座標3"));
        FAIL() << "no error";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), rt::ErrObjectNotFound);
    }
    EXPECT_EQ(schema::SlotFieldName(1), QStringLiteral("fld_01"));
    EXPECT_EQ(schema::SlotFieldName(10), QStringLiteral("fld_10"));
}

// ---- the fields as the program reaches them in a database -----------------

class SchemaInDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        int16_t mode = 0;
        MakeDatabase(mode);
        db = dao::Database::Open(kWorkingDatabase);
    }
    void TearDown() override { db->Close(); }
    dao::DatabasePtr db;
};

TEST_F(SchemaInDatabase, FieldNamesAreMatchedWithoutRegardToCase)
{
    struct Alias { const char* table; const char* spelled; const char* stored; };
    const Alias aliases[] = {
        {"節点座標1", "no_", "No_"},      {"要素情報", "itan", "iTan"}, {"要素情報", "jtan", "jTan"},
        {"材料定数2", "typ", "TYP"},      {"荷重形状", "typ", "TYP"},   {"Analyze部材応力", "In", "iN"},
        {"PreviewMentPoint", "Zoom", "zoom"},
    };
    for (const Alias& a : aliases) {
        const QString table = QString::fromUtf8(a.table);
        auto rs = db->OpenRecordset(table);
        rs->AddNew();
        rs->SetField(QString::fromUtf8(a.spelled), rt::Variant::Integer(7));
        rs->Update();
        rs->Close();
        rs = db->OpenRecordset(table);
        rs->MoveLast();
        EXPECT_EQ(rs->FieldIndex(QString::fromUtf8(a.spelled)), rs->FieldIndex(QString::fromUtf8(a.stored))) << a.table;
        EXPECT_EQ(rs->Field(QString::fromUtf8(a.stored)).toDouble(), 7.0) << a.table << " " << a.spelled;
        // No field has a default: what was not written is Null.
        for (int i = 0; i < rs->FieldCount(); ++i) {
            if (rs->FieldName(i) != QString::fromUtf8(a.stored)) {
                EXPECT_TRUE(rs->Field(i).isNull()) << a.table;
            }
        }
        rs->Close();
    }
}

TEST_F(SchemaInDatabase, OrderIsFractionalOnlyInTheSectionDesignTables)
{
    const std::pair<const char*, double> cases[] = {
        {"VUP01荷重名称組合せ", 2.5}, {"VUP01鋼材材種強度", 2.5}, {"VUP01鉄筋材種強度", 2.5},
        {"VUP01鉄筋材種サイズ", 2.5}, {"節点座標1", 2.0}, {"材料定数0", 2.0}, {"荷重配置", 2.0},
    };
    for (const auto& [table, expected] : cases) {
        auto rs = db->OpenRecordset(QString::fromUtf8(table));
        rs->AddNew();
        rs->SetField(QStringLiteral("順"), rt::Variant::Double(2.5));
        rs->Update();
        rs->Close();
        rs = db->OpenRecordset(QString::fromUtf8(table));
        rs->MoveLast();
        EXPECT_EQ(rs->Field(QStringLiteral("順")).toDouble(), expected) << table;
        rs->Close();
    }
}

}  // namespace
