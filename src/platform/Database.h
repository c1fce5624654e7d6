// The project database as the program sees it: connections, table
// definitions with four field types, and dynaset recordsets, stored in one
// SQLite file through the sqlite3 C API.
//
// A recordset reads its rows in bulk, one SELECT for the whole keyset, and
// serves them until a change made through this layer in this process touches
// the table (a change through another program shows after a requery); the
// row it stands on keeps the values read until it moves. The layer is used
// from one thread.
//
// Field types are enforced on every write: Integer is 16-bit (a value outside
// -32768..32767 is an Overflow, a real is rounded half to even), Single goes
// through float, Boolean is stored as -1/0 and reads True as -1, Text is text.
// Table and field names are always quoted and matched without regard to ASCII
// case. No statement is left running between calls, so the file can be copied
// or renamed as soon as every connection is closed, and a second connection
// can write at any time.
#pragma once

#include "platform/Runtime.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace dao {

using rt::Variant;

enum class FieldType { Boolean, Integer, Single, Text };

struct FieldDef {
    QString name;
    FieldType type;
};

struct TableDef {
    QString name;
    std::vector<FieldDef> fields;
};

// The declared SQL type of each field type in the file, and back.
QString SqlTypeName(FieldType type);
bool FieldTypeFromSql(const QString& declared, FieldType* type);

// A value converted to what a field of `type` stores (Overflow, Type mismatch).
Variant CoerceToField(FieldType type, const Variant& value);

class Recordset;
class Database;
using DatabasePtr = std::shared_ptr<Database>;
using RecordsetPtr = std::shared_ptr<Recordset>;

class Database : public std::enable_shared_from_this<Database> {
public:
    // Creates a new file (error when the file exists). Texts compare by their
    // code points.
    static DatabasePtr Create(const QString& path);
    // Opens an existing file without creating it. A missing file raises
    // ErrCannotOpenFile, a file that is not one of our databases ErrNotADatabase.
    static DatabasePtr Open(const QString& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Closes every recordset opened on this connection, then the file.
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    QString Path() const { return path_; }

    // Catalogue.
    bool TableExists(const QString& table);
    QStringList TableNames();
    void CreateTable(const TableDef& def);
    // The table's fields in creation order with their types (ErrObjectNotFound).
    std::vector<FieldDef> Fields(const QString& table);
    // The stored spelling of a table name (ErrObjectNotFound).
    QString ResolveTable(const QString& table);

    // A dynaset on a whole table in stored order; ErrObjectNotFound when the
    // table does not exist.
    RecordsetPtr OpenRecordset(const QString& table);

    // Transactions (nestable only once: BeginTrans while one is open raises).
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    bool InTransaction() const;

    // Runs SQL that returns no rows (used for DELETE FROM and the like, and by
    // tests). Identifiers in `sql` must already be quoted.
    void Execute(const QString& sql, const std::vector<Variant>& params = {});
    // Number of rows changed by the last Execute.
    int RowsAffected() const;

    // Deletes every row of a table.
    void ClearTable(const QString& table);
    // Appends rows through one prepared statement inside the caller's
    // transaction (or an implicit one). `fields` name the columns written;
    // each row gives their values in that order, coerced to the field types.
    void AppendRows(const QString& table, const QStringList& fields,
                    const std::vector<std::vector<Variant>>& rows);

    // The raw handle for the layer's own classes.
    sqlite3* Handle() const { return db_; }

    // Internal: recordsets register so that Close closes them.
    void Register(Recordset* rs);
    void Unregister(Recordset* rs);

private:
    explicit Database(const QString& path);
    void Check(int rc, const QString& what);

    sqlite3* db_ = nullptr;
    QString path_;
    std::vector<Recordset*> recordsets_;
    int changes_ = 0;
};

// A write transaction on a connection, unless one is open already (then the
// writes belong to that one): committed by Commit, rolled back whole when
// the guard goes out of scope without. A null connection is left alone.
class WriteTransaction {
public:
    explicit WriteTransaction(Database* db);
    explicit WriteTransaction(Database& db) : WriteTransaction(&db) {}
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void Commit();

private:
    Database* db_;
    bool open_ = false;
};

// A read transaction for as long as the guard lives: one consistent view of
// the tables read in it, and the file's lock taken once instead of for every
// row. Its end changes nothing, so an end that fails is ignored.
class ReadTransaction {
public:
    explicit ReadTransaction(Database& db);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database& db_;
};

// Criteria of the forms the program uses for Filter and FindFirst/FindNext:
// `name = number` and `name = 'text'` (also "name=number", a number with
// blanks before it), and the comparisons <, >, <=, >=, <> in place of =,
// joined by AND. Values reach SQL only as bound parameters.
struct Criterion {
    QString field;
    Variant value;
    QString op = QStringLiteral("=");
};
std::vector<Criterion> ParseCriteria(const QString& text);

class Recordset : public std::enable_shared_from_this<Recordset> {
public:
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    QString TableName() const { return table_; }
    // The connection the recordset was opened on (nullptr once closed).
    Database* Connection() const { return db_; }

    // Position.
    bool BOF() const;
    bool EOF_() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    // Rows of the keyset not deleted (all of them are known from the start).
    int RecordCount() const;
    // Position of the current row among the rows not deleted, 0-based, or -1.
    int AbsolutePosition() const;
    void SetAbsolutePosition(int index);

    // Fields.
    int FieldCount() const;
    QString FieldName(int index) const;
    FieldType FieldTypeAt(int index) const;
    int FieldIndex(const QString& name) const;   // ErrItemNotFound
    Variant Field(const QString& name) const;
    Variant Field(int index) const;
    void SetField(const QString& name, const Variant& value);
    void SetField(int index, const Variant& value);

    // Editing.
    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    void Delete();
    enum class EditMode { None, Edit, AddNew };
    EditMode Mode() const { return mode_; }

    // Bookmarks: the row's identity, valid in clones of this recordset.
    using Bookmark = long long;
    Bookmark GetBookmark() const;
    void SetBookmark(Bookmark bm);
    Bookmark LastModified() const { return lastModified_; }

    // Searching in this recordset's own order.
    void FindFirst(const QString& criteria);
    // The same with the criteria as they are, not read from a text: their
    // values, whatever they hold, reach SQL only as bound parameters.
    void FindFirst(const std::vector<Criterion>& criteria);
    void FindNext(const QString& criteria);
    void FindLast(const QString& criteria);
    void FindPrevious(const QString& criteria);
    bool NoMatch() const { return noMatch_; }

    // Sort ("順 ASC", "No_ DESC, Case") and Filter take effect in the
    // recordset opened from this one.
    QString Sort;
    QString Filter;
    RecordsetPtr OpenRecordset();
    RecordsetPtr Clone();
    // Reads the table again (a requery): new rows of other connections appear.
    void Requery();

    // Internal.
    void DatabaseClosing();

private:
    friend class Database;
    Recordset(Database* db, const QString& table, const QString& where,
              const std::vector<Variant>& whereParams, const QString& orderBy);
    struct Keyset;
    void Load();
    // The current row's values, from the rows read in bulk.
    const std::vector<Variant>& CurrentRow() const;
    bool RowsAreCurrent() const;
    void ReadRowsInBulk() const;
    void ReadRow(int pos) const;
    std::vector<Variant> ReadValues(sqlite3_stmt* st, int firstColumn) const;
    // After a write through this keyset: the rows read stay current except
    // the one at `pos` (-1: none), which is read again when needed.
    void WroteRow(bool rowsWereCurrent, int pos);
    void RequireCurrent() const;
    void RequireOpen() const;
    bool Find(const QString& criteria, int start, int step);
    bool Find(const std::vector<Criterion>& criteria, int start, int step);
    long long RowIdAt(int pos) const;
    // The first row not deleted from `start` on in steps of `step`, or -1.
    int LiveFrom(int start, int step) const;
    void StandOn(int pos);
    bool IsDeletedAt(int pos) const;

    Database* db_ = nullptr;
    QString table_;         // stored spelling
    QString where_;         // SQL with ? parameters, may be empty
    std::vector<Variant> whereParams_;
    QString orderBy_;       // SQL, may be empty
    std::vector<FieldDef> fields_;
    std::shared_ptr<Keyset> keyset_;
    mutable std::shared_ptr<const std::vector<Variant>> current_;   // the row stood on, as read
    int pos_ = -1;          // -1 BOF, keyset size EOF
    bool bof_ = true, eof_ = true;
    EditMode mode_ = EditMode::None;
    std::vector<Variant> buffer_;
    std::vector<bool> dirty_;
    long long editRowId_ = 0;
    long long lastModified_ = 0;
    bool noMatch_ = true;
};

// Quotes an identifier for SQL ("name" with inner quotes doubled).
QString QuoteIdent(const QString& name);

}  // namespace dao
