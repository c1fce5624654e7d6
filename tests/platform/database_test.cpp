// The database layer: field types, names, dynaset behaviour, searching,
// connections and files.
#include "platform/Database.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using dao::Database;
using dao::FieldType;
using dao::RecordsetPtr;
using rt::Variant;

namespace {

dao::TableDef Nodes()
{
    return {QStringLiteral("節点座標1"),
            {{QStringLiteral("No_"), FieldType::Integer},
             {QStringLiteral("X"), FieldType::Single},
             {QStringLiteral("Y"), FieldType::Single},
             {QStringLiteral("Z"), FieldType::Single},
             {QStringLiteral("順"), FieldType::Integer}}};
}

dao::TableDef Mixed()
{
    return {QStringLiteral("基本データ"),
            {{QStringLiteral("工事名"), FieldType::Text},
             {QStringLiteral("Case"), FieldType::Integer},
             {QStringLiteral("γ"), FieldType::Single},
             {QStringLiteral("強度(SI)"), FieldType::Single},
             {QStringLiteral("⊿θx"), FieldType::Single},
             {QStringLiteral("bln種類"), FieldType::Boolean}}};
}

int RaisedNumber(const std::function<void()>& f)
{
    try {
        f();
    } catch (const rt::Error& e) {
        return e.number();
    }
    return 0;
}

// Adds rows (No_, 順) through a recordset.
void AddNodes(const dao::DatabasePtr& db, const std::vector<std::pair<int, int>>& rows)
{
    RecordsetPtr rs = db->OpenRecordset(QStringLiteral("節点座標1"));
    for (auto [no, order] : rows) {
        rs->AddNew();
        rs->SetField(QStringLiteral("No_"), Variant::Integer(int16_t(no)));
        rs->SetField(QStringLiteral("X"), Variant::Double(no * 1.5));
        rs->SetField(QStringLiteral("順"), Variant::Integer(int16_t(order)));
        rs->Update();
    }
    rs->Close();
}

std::vector<int> ReadNos(const RecordsetPtr& rs)
{
    std::vector<int> out;
    if (rs->BOF() && rs->EOF_()) return out;
    rs->MoveFirst();
    while (!rs->EOF_()) {
        out.push_back(rs->Field(QStringLiteral("No_")).toInteger());
        rs->MoveNext();
    }
    return out;
}

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile::remove(QStringLiteral("t.mdb"));
        db = Database::Create(QStringLiteral("t.mdb"));
        db->CreateTable(Nodes());
        db->CreateTable(Mixed());
    }
    dao::DatabasePtr db;
};

}  // namespace

TEST(DatabaseFile, OpeningFailsForMissingOrForeignFilesAndCreateRefusesExisting)
{
    EXPECT_EQ(RaisedNumber([] { Database::Open(QStringLiteral("missing.mdb")); }), rt::ErrCannotOpenFile);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("missing.mdb")));  // never created by opening

    QFile text(QStringLiteral("text.mdb"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Standard Jet DB\0 this is not ours, and it is long enough to have a header", 70);
    text.close();
    EXPECT_EQ(RaisedNumber([] { Database::Open(QStringLiteral("text.mdb")); }), rt::ErrNotADatabase);

    Database::Create(QStringLiteral("new.mdb"))->Close();
    EXPECT_NE(RaisedNumber([] { Database::Create(QStringLiteral("new.mdb")); }), 0);
}

TEST_F(DatabaseTest, FieldTypesAreEnforcedOnWrite)
{
    RecordsetPtr rs = db->OpenRecordset(QStringLiteral("基本データ"));
    rs->AddNew();
    // Integer: half to even, range checked.
    rs->SetField(QStringLiteral("Case"), Variant::Double(2.5));
    EXPECT_EQ(rs->Field(QStringLiteral("Case")).toInteger(), 2);
    rs->SetField(QStringLiteral("Case"), Variant::Double(3.5));
    EXPECT_EQ(rs->Field(QStringLiteral("Case")).toInteger(), 4);
    EXPECT_EQ(RaisedNumber([&] { rs->SetField(QStringLiteral("Case"), Variant::Long(32768)); }), rt::ErrOverflow);
    EXPECT_EQ(RaisedNumber([&] { rs->SetField(QStringLiteral("Case"), Variant::Text(QStringLiteral("abc"))); }),
              rt::ErrTypeMismatch);
    rs->SetField(QStringLiteral("Case"), Variant::Long(-32768));
    // Single: through float.
    rs->SetField(QStringLiteral("γ"), Variant::Double(0.1));
    EXPECT_EQ(RaisedNumber([&] { rs->SetField(QStringLiteral("γ"), Variant::Double(1e39)); }), rt::ErrOverflow);
    // Boolean True reads -1.
    rs->SetField(QStringLiteral("bln種類"), Variant::Boolean(true));
    // Text: the empty text is refused, a blank is kept.
    EXPECT_NE(RaisedNumber([&] { rs->SetField(QStringLiteral("工事名"), Variant::Text(QString())); }), 0);
    rs->SetField(QStringLiteral("工事名"), Variant::Text(QStringLiteral(" ")));
    rs->Update();
    rs->Close();

    rs = db->OpenRecordset(QStringLiteral("基本データ"));
    EXPECT_EQ(rs->Field(QStringLiteral("Case")).toInteger(), -32768);
    EXPECT_EQ(rs->Field(QStringLiteral("γ")).toSingle(), 0.1f);
    EXPECT_EQ(rs->Field(QStringLiteral("bln種類")).toInteger(), -1);
    EXPECT_TRUE(rs->Field(QStringLiteral("bln種類")).toBool());
    EXPECT_EQ(rs->Field(QStringLiteral("工事名")).toString(), QStringLiteral(" "));
    // Unwritten fields stay Null.
    EXPECT_TRUE(rs->Field(QStringLiteral("強度(SI)")).isNull());
    EXPECT_TRUE(rs->Field(QStringLiteral("⊿θx")).isNull());
}

TEST_F(DatabaseTest, NamesMatchWithoutRegardToCaseAndFieldsKeepCreationOrder)
{
    AddNodes(db, {{7, 1}});
    RecordsetPtr rs = db->OpenRecordset(QStringLiteral("節点座標1"));
    EXPECT_EQ(rs->Field(QStringLiteral("no_")).toInteger(), 7);
    EXPECT_EQ(rs->Field(QStringLiteral("NO_")).toInteger(), 7);
    EXPECT_EQ(rs->Field(0).toInteger(), 7);
    EXPECT_EQ(rs->FieldName(4), QStringLiteral("順"));
    EXPECT_EQ(rs->FieldCount(), 5);
    EXPECT_EQ(RaisedNumber([&] { rs->Field(QStringLiteral("W")); }), rt::ErrItemNotFound);

    RecordsetPtr b = db->OpenRecordset(QStringLiteral("基本データ"));
    EXPECT_EQ(b->FieldName(1), QStringLiteral("Case"));   // an SQL keyword as a name
    EXPECT_TRUE(db->TableExists(QStringLiteral("基本データ")));
    EXPECT_FALSE(db->TableExists(QStringLiteral("荷重配置")));
    EXPECT_EQ(RaisedNumber([&] { db->OpenRecordset(QStringLiteral("荷重配置")); }), rt::ErrObjectNotFound);
    std::vector<dao::FieldDef> f = db->Fields(QStringLiteral("基本データ"));
    ASSERT_EQ(f.size(), 6u);
    EXPECT_EQ(f[3].name, QStringLiteral("強度(SI)"));
    EXPECT_EQ(f[5].type, FieldType::Boolean);
}

TEST_F(DatabaseTest, DynasetKeepsItsKeysetAndMovesLikeTheEngine)
{
    RecordsetPtr rs = db->OpenRecordset(QStringLiteral("節点座標1"));
    EXPECT_TRUE(rs->BOF());
    EXPECT_TRUE(rs->EOF_());
    EXPECT_EQ(RaisedNumber([&] { rs->MoveFirst(); }), rt::ErrNoCurrentRecord);
    EXPECT_EQ(RaisedNumber([&] { rs->Field(0); }), rt::ErrNoCurrentRecord);
    rs->Close();

    AddNodes(db, {{1, 3}, {2, 1}, {3, 2}, {4, 1}});
    RecordsetPtr plain = db->OpenRecordset(QStringLiteral("節点座標1"));
    plain->Sort = QStringLiteral("順 ASC");
    RecordsetPtr sorted = plain->OpenRecordset();
    // Ties keep the stored order.
    EXPECT_EQ(ReadNos(sorted), (std::vector<int>{2, 4, 3, 1}));

    // An edit does not re-sort; a row added through the recordset joins its end.
    sorted->MoveFirst();
    sorted->Edit();
    sorted->SetField(QStringLiteral("順"), Variant::Integer(9));
    sorted->Update();
    sorted->AddNew();
    sorted->SetField(QStringLiteral("No_"), Variant::Integer(5));
    sorted->SetField(QStringLiteral("順"), Variant::Integer(0));
    sorted->Update();
    EXPECT_EQ(ReadNos(sorted), (std::vector<int>{2, 4, 3, 1, 5}));
    EXPECT_EQ(sorted->RecordCount(), 5);

    // MoveNext at the end raises; MovePrevious walks back.
    EXPECT_TRUE(sorted->EOF_());
    EXPECT_EQ(RaisedNumber([&] { sorted->MoveNext(); }), rt::ErrNoCurrentRecord);
    sorted->MovePrevious();
    EXPECT_EQ(sorted->Field(QStringLiteral("No_")).toInteger(), 5);

    // Delete: the row is gone for reads, moves step over it.
    sorted->MoveFirst();
    sorted->MoveNext();    // No 4
    sorted->Delete();
    EXPECT_EQ(RaisedNumber([&] { sorted->Field(0); }), rt::ErrRecordDeleted);
    sorted->MoveNext();
    EXPECT_EQ(sorted->Field(QStringLiteral("No_")).toInteger(), 3);
    sorted->MovePrevious();
    EXPECT_EQ(sorted->Field(QStringLiteral("No_")).toInteger(), 2);
    EXPECT_EQ(sorted->RecordCount(), 4);

    // Filter in the recordset opened from it.
    plain->Filter = QStringLiteral("順 = 9");
    EXPECT_EQ(ReadNos(plain->OpenRecordset()), (std::vector<int>{2}));
    plain->Filter = QStringLiteral("順 = 1");
    EXPECT_TRUE(ReadNos(plain->OpenRecordset()).empty());
}

TEST_F(DatabaseTest, FindSearchesInTheRecordsetsOwnOrderWithBoundValues)
{
    AddNodes(db, {{10, 4}, {20, 3}, {30, 2}, {20, 1}});
    RecordsetPtr base = db->OpenRecordset(QStringLiteral("節点座標1"));
    base->Sort = QStringLiteral("順 ASC");
    RecordsetPtr rs = base->OpenRecordset();   // order 20(順1), 30, 20(順3), 10

    rs->FindFirst(QStringLiteral("no_ = 20"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Field(QStringLiteral("順")).toInteger(), 1);
    rs->FindNext(QStringLiteral("no_ =20"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Field(QStringLiteral("順")).toInteger(), 3);
    rs->FindNext(QStringLiteral("No_ = 20"));
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->Field(QStringLiteral("順")).toInteger(), 3);   // position kept

    rs->FindFirst(QStringLiteral("No_ = 20 AND 順 = 3"));
    EXPECT_FALSE(rs->NoMatch());
    rs->FindFirst(QStringLiteral("No_ =  30"));   // a number written with a leading blank
    EXPECT_FALSE(rs->NoMatch());
    rs->FindFirst(QStringLiteral("X = 15"));       // a Single field
    EXPECT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Field(QStringLiteral("No_")).toInteger(), 10);

    RecordsetPtr b = db->OpenRecordset(QStringLiteral("基本データ"));
    b->AddNew();
    b->SetField(QStringLiteral("工事名"), Variant::Text(QStringLiteral("O'Brien")));
    b->Update();
    b->MoveFirst();
    b->FindFirst(QStringLiteral("工事名 = 'x'' OR ''1''=''1'"));
    EXPECT_TRUE(b->NoMatch());   // a quoted value is only ever a value
    b->FindFirst(QStringLiteral("工事名 = 'O''Brien'"));
    EXPECT_FALSE(b->NoMatch());
    EXPECT_EQ(RaisedNumber([&] { b->FindFirst(QStringLiteral("工事名 = 1; DROP TABLE x")); }), rt::ErrSyntax);
    EXPECT_TRUE(db->TableExists(QStringLiteral("基本データ")));

    // Criteria given as they are: a value is matched whole, whatever it holds.
    using Criteria = std::vector<dao::Criterion>;
    b->FindFirst(Criteria{{QStringLiteral("工事名"), Variant::Text(QStringLiteral("x' OR '1'='1"))}});
    EXPECT_TRUE(b->NoMatch());
    b->FindFirst(Criteria{{QStringLiteral("工事名"), Variant::Text(QStringLiteral("O'Brien"))}});
    EXPECT_FALSE(b->NoMatch());
    rs->FindFirst(Criteria{{QStringLiteral("no_"), Variant::Integer(20)}, {QStringLiteral("順"), Variant::Integer(3)}});
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Field(QStringLiteral("順")).toInteger(), 3);
    rs->FindFirst(Criteria{{QStringLiteral("No_"), Variant::Integer(20), QStringLiteral(">")}});
    EXPECT_EQ(rs->Field(QStringLiteral("No_")).toInteger(), 30);
    EXPECT_EQ(RaisedNumber([&] { rs->FindFirst(Criteria{{QStringLiteral("No_"), Variant::Integer(1), QStringLiteral("= 1 OR")}}); }),
              rt::ErrSyntax);
    EXPECT_EQ(RaisedNumber([&] { rs->FindFirst(Criteria{}); }), rt::ErrSyntax);
}

TEST_F(DatabaseTest, ClonesAndBookmarksShareRowsButNotPosition)
{
    AddNodes(db, {{1, 1}, {2, 2}, {3, 3}});
    RecordsetPtr rs = db->OpenRecordset(QStringLiteral("節点座標1"));
    rs->MoveLast();
    RecordsetPtr c = rs->Clone();
    EXPECT_EQ(c->Field(QStringLiteral("No_")).toInteger(), 1);
    EXPECT_EQ(rs->Field(QStringLiteral("No_")).toInteger(), 3);
    c->SetBookmark(rs->GetBookmark());
    EXPECT_EQ(c->Field(QStringLiteral("No_")).toInteger(), 3);
    c->AddNew();
    c->SetField(QStringLiteral("No_"), Variant::Integer(4));
    c->Update();
    rs->MoveLast();
    EXPECT_EQ(rs->Field(QStringLiteral("No_")).toInteger(), 4);
    rs->SetBookmark(c->LastModified());
    EXPECT_EQ(rs->Field(QStringLiteral("No_")).toInteger(), 4);
}

TEST_F(DatabaseTest, ClosingTheConnectionClosesItsRecordsetsAndReleasesTheFile)
{
    AddNodes(db, {{1, 1}});
    RecordsetPtr rs = db->OpenRecordset(QStringLiteral("節点座標1"));
    rs->Field(0);
    // A second connection can write while the first has a recordset open.
    dao::DatabasePtr other = Database::Open(QStringLiteral("t.mdb"));
    AddNodes(other, {{2, 2}});
    other->Close();
    rs->Requery();
    EXPECT_EQ(rs->RecordCount(), 2);

    db->Close();
    EXPECT_FALSE(rs->IsOpen());
    EXPECT_EQ(RaisedNumber([&] { rs->MoveFirst(); }), rt::ErrObjectClosed);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("t.mdb-journal")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("t.mdb-wal")));
    ASSERT_TRUE(QFile::rename(QStringLiteral("t.mdb"), QStringLiteral("u.mdb")));
    dao::DatabasePtr again = Database::Open(QStringLiteral("u.mdb"));
    EXPECT_EQ(again->OpenRecordset(QStringLiteral("節点座標1"))->RecordCount(), 2);
}

TEST_F(DatabaseTest, TransactionsRollBackWholeAndBulkAppendCoerces)
{
    db->BeginTrans();
    AddNodes(db, {{1, 1}, {2, 2}});
    db->Rollback();
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("節点座標1"))->RecordCount(), 0);

    db->AppendRows(QStringLiteral("節点座標1"), {QStringLiteral("no_"), QStringLiteral("X"), QStringLiteral("順")},
                   {{Variant::Double(1.5), Variant::Double(0.1), Variant::Integer(1)},
                    {Variant::Long(3), Variant::Double(2), Variant::Integer(2)}});
    RecordsetPtr rs = db->OpenRecordset(QStringLiteral("節点座標1"));
    EXPECT_EQ(ReadNos(rs), (std::vector<int>{2, 3}));
    rs->MoveFirst();
    EXPECT_EQ(rs->Field(QStringLiteral("X")).toSingle(), 0.1f);
    // A failing row rolls the whole append back.
    EXPECT_EQ(RaisedNumber([&] {
                  db->AppendRows(QStringLiteral("節点座標1"), {QStringLiteral("No_")},
                                 {{Variant::Integer(9)}, {Variant::Long(40000)}});
              }),
              rt::ErrOverflow);
    EXPECT_EQ(db->OpenRecordset(QStringLiteral("節点座標1"))->RecordCount(), 2);
}

TEST_F(DatabaseTest, FilterAndFindTakeComparisons)
{
    AddNodes(db, {{101, 1}, {5, 2}, {1101, 3}, {100, 4}, {2, 5}});
    RecordsetPtr rs = db->OpenRecordset(QStringLiteral("節点座標1"));
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"No_ < 100", {5, 2}},
        {"No_ > 100", {101, 1101}},
        {"No_>100 AND No_ < 1000", {101}},
        {"No_ <= 5 AND No_ >= 5", {5}},
        {"No_ <> 100 AND 順 <3", {101, 5}},
    };
    for (const auto& [filter, nos] : cases) {
        rs->Filter = QString::fromUtf8(filter);
        EXPECT_EQ(ReadNos(rs->OpenRecordset()), nos) << filter;
    }
    rs->FindFirst(QStringLiteral("No_ > 1000"));
    EXPECT_EQ(rs->Field(QStringLiteral("No_")).toInteger(), 1101);
    EXPECT_EQ(RaisedNumber([&] { rs->FindFirst(QStringLiteral("No_ >< 3")); }), rt::ErrSyntax);
}

TEST_F(DatabaseTest, RowsReadInBulkFollowEveryChangeMadeInTheProgram)
{
    AddNodes(db, {{1, 1}, {2, 2}, {3, 3}, {4, 4}});
    RecordsetPtr base = db->OpenRecordset(QStringLiteral("節点座標1"));
    base->Filter = QStringLiteral("順 < 4");
    RecordsetPtr rs = base->OpenRecordset();
    EXPECT_EQ(ReadNos(rs), (std::vector<int>{1, 2, 3}));

    // Another connection changes and deletes rows: the next read sees it,
    // while the row stood on keeps what was read.
    rs->MoveFirst();
    EXPECT_EQ(rs->Field(QStringLiteral("X")).toDouble(), 1.5);
    dao::DatabasePtr other = Database::Open(QStringLiteral("t.mdb"));
    other->Execute(QStringLiteral("UPDATE \"節点座標1\" SET \"X\" = 9 WHERE \"No_\" IN (1, 2)"));
    other->Execute(QStringLiteral("DELETE FROM \"節点座標1\" WHERE \"No_\" = 3"));
    EXPECT_EQ(rs->Field(QStringLiteral("X")).toDouble(), 1.5);
    rs->MoveNext();
    EXPECT_EQ(rs->Field(QStringLiteral("X")).toDouble(), 9);
    rs->MoveNext();
    EXPECT_EQ(RaisedNumber([&] { rs->Field(0); }), rt::ErrRecordDeleted);
    rs->MoveFirst();
    EXPECT_EQ(rs->Field(QStringLiteral("X")).toDouble(), 9);

    // A row written through the recordset, or its clone, reads back as
    // written, also when it no longer meets the filter.
    RecordsetPtr clone = rs->Clone();
    for (int i = 0; !rs->EOF_(); rs->MoveNext(), ++i) {
        rs->Edit();
        rs->SetField(QStringLiteral("順"), Variant::Integer(int16_t(10 + i)));
        rs->Update();
    }
    std::vector<int> orders;
    for (clone->MoveFirst(); !clone->EOF_(); clone->MoveNext())
        orders.push_back(clone->Field(QStringLiteral("順")).toInteger());
    EXPECT_EQ(orders, (std::vector<int>{10, 11}));
    clone->AddNew();
    clone->SetField(QStringLiteral("No_"), Variant::Integer(5));
    clone->Update();
    rs->MoveLast();
    EXPECT_EQ(rs->Field(QStringLiteral("No_")).toInteger(), 5);
    EXPECT_TRUE(rs->Field(QStringLiteral("順")).isNull());

    // Rows appended in bulk by another connection show once read again.
    RecordsetPtr all = db->OpenRecordset(QStringLiteral("節点座標1"));
    all->MoveLast();
    EXPECT_EQ(all->Field(QStringLiteral("No_")).toInteger(), 5);
    other->AppendRows(QStringLiteral("節点座標1"), {QStringLiteral("No_")}, {{Variant::Integer(6)}});
    all->MoveFirst();
    all->Edit();
    all->SetField(QStringLiteral("X"), Variant::Integer(7));
    all->Update();
    all->Requery();
    EXPECT_EQ(ReadNos(all), (std::vector<int>{1, 2, 4, 5, 6}));
    all->MoveFirst();
    EXPECT_EQ(all->Field(QStringLiteral("X")).toDouble(), 7);
    other->Close();
}
