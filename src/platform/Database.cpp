#include "platform/Database.h"

#include <QFileInfo>
#include <QHash>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

namespace dao {

namespace {

bool AsciiEqualNoCase(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return false;
    for (int i = 0; i < a.size(); ++i) {
        QChar x = a[i], y = b[i];
        if (x == y) continue;
        ushort ux = x.unicode(), uy = y.unicode();
        if (ux < 128 && uy < 128 && std::tolower(ux) == std::tolower(uy)) continue;
        return false;
    }
    return true;
}

QString FromSqlite(const void* text16, int bytes)
{
    return QString(reinterpret_cast<const QChar*>(text16), bytes / 2);
}

void BindValue(sqlite3_stmt* st, int index, const Variant& v)
{
    switch (v.kind()) {
    case Variant::Kind::Null: sqlite3_bind_null(st, index); break;
    case Variant::Kind::Boolean: sqlite3_bind_int(st, index, v.toBool() ? -1 : 0); break;
    case Variant::Kind::Integer:
    case Variant::Kind::Long: sqlite3_bind_int(st, index, v.toLong()); break;
    case Variant::Kind::Single:
    case Variant::Kind::Double: sqlite3_bind_double(st, index, v.toDouble()); break;
    case Variant::Kind::Text: {
        QString s = v.toString();
        sqlite3_bind_text16(st, index, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
        break;
    }
    }
}

// A column value read back as the field type says.
Variant ReadColumn(sqlite3_stmt* st, int col, FieldType type)
{
    int t = sqlite3_column_type(st, col);
    if (t == SQLITE_NULL) return Variant();
    switch (type) {
    case FieldType::Boolean: return Variant::Boolean(sqlite3_column_int64(st, col) != 0);
    case FieldType::Integer: {
        if (t == SQLITE_TEXT) {
            QString s = FromSqlite(sqlite3_column_text16(st, col), sqlite3_column_bytes16(st, col));
            return Variant::Text(s);
        }
        double d = sqlite3_column_double(st, col);
        if (d >= -32768.0 && d <= 32767.0 && d == std::floor(d)) return Variant::Integer(int16_t(d));
        // A value another program stored outside the field's range: kept as
        // it is, so that using it as an Integer raises Overflow.
        return Variant::Double(d);
    }
    case FieldType::Single:
        if (t == SQLITE_TEXT)
            return Variant::Text(FromSqlite(sqlite3_column_text16(st, col), sqlite3_column_bytes16(st, col)));
        return Variant::Single(float(sqlite3_column_double(st, col)));
    case FieldType::Text:
        return Variant::Text(FromSqlite(sqlite3_column_text16(st, col), sqlite3_column_bytes16(st, col)));
    }
    return Variant();
}

// A prepared statement that is reset and finalised when it goes out of scope,
// so that no statement stays open between calls.
class Stmt {
public:
    Stmt(sqlite3* db, const QString& sql)
    {
        if (!db) rt::Raise(rt::ErrObjectClosed, QStringLiteral("データベースは閉じられています。"));
        int rc = sqlite3_prepare16_v2(db, sql.utf16(), int(sql.size() * 2), &st_, nullptr);
        if (rc != SQLITE_OK) {
            QString msg = QString::fromUtf8(sqlite3_errmsg(db));
            if (st_) sqlite3_finalize(st_);
            st_ = nullptr;
            if (rc == SQLITE_NOTADB) rt::Raise(rt::ErrNotADatabase, msg);
            if (msg.contains(QLatin1String("no such table"))) rt::Raise(rt::ErrObjectNotFound, msg);
            if (msg.contains(QLatin1String("no such column"))) rt::Raise(rt::ErrItemNotFound, msg);
            rt::Raise(rt::ErrDatabaseIO, msg + QStringLiteral(" [") + sql + QStringLiteral("]"));
        }
        db_ = db;
    }
    ~Stmt() { if (st_) sqlite3_finalize(st_); }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    sqlite3_stmt* get() const { return st_; }
    void Bind(int index, const Variant& v) { BindValue(st_, index, v); }
    // Steps once; true when a row is there.
    bool Step()
    {
        int rc = sqlite3_step(st_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        if (rc == SQLITE_NOTADB) rt::Raise(rt::ErrNotADatabase, msg);
        rt::Raise(rt::ErrDatabaseIO, msg);
    }
    void Reset() { sqlite3_reset(st_); sqlite3_clear_bindings(st_); }

private:
    sqlite3* db_ = nullptr;
    sqlite3_stmt* st_ = nullptr;
};

// Every change made through this layer in this process moves one clock on;
// the time of each table's last change, and of the last change that may have
// touched any table (SQL run as it is, a commit, a rollback), tell a
// recordset whether the rows it read are still current.
uint64_t g_clock = 1;
uint64_t g_anyTableChanged = 0;
QHash<QString, uint64_t> g_tableChanged;   // by lower-case name

void NoteChange(const QString& table = QString())
{
    ++g_clock;
    if (table.isEmpty()) g_anyTableChanged = g_clock;
    else g_tableChanged.insert(table.toLower(), g_clock);
}

uint64_t LastChange(const QString& table)
{
    return std::max(g_anyTableChanged, g_tableChanged.value(table.toLower()));
}

QString NotFoundText(const QString& table)
{
    return QStringLiteral("テーブル '%1' が見つかりません。").arg(table);
}

// Parses "name ASC, name DESC" into an ORDER BY clause.
QString SortToSql(const QString& sort)
{
    QStringList parts;
    for (QString item : sort.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        item = item.trimmed();
        if (item.isEmpty()) continue;
        QString dir;
        QStringList words = item.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() >= 2) {
            QString last = words.last().toUpper();
            if (last == QLatin1String("ASC") || last == QLatin1String("DESC")) {
                dir = last;
                words.removeLast();
            }
        }
        QString name = words.join(QLatin1Char(' '));
        if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'))) name = name.mid(1, name.size() - 2);
        parts << QuoteIdent(name) + (dir.isEmpty() ? QString() : QStringLiteral(" ") + dir);
    }
    return parts.join(QStringLiteral(", "));
}

void CriteriaToSql(const std::vector<Criterion>& criteria, QString* where, std::vector<Variant>* params)
{
    static const QStringList comparisons = {QStringLiteral("="), QStringLiteral("<"), QStringLiteral(">"),
                                            QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>")};
    if (criteria.empty()) rt::Raise(rt::ErrSyntax, QStringLiteral("検索条件がありません"));
    QStringList terms;
    for (const Criterion& c : criteria) {
        if (!comparisons.contains(c.op)) rt::Raise(rt::ErrSyntax, QStringLiteral("検索条件を解釈できません: ") + c.op);
        if (c.value.kind() == Variant::Kind::Text)
            terms << QuoteIdent(c.field) + QLatin1Char(' ') + c.op + QStringLiteral(" ? COLLATE NOCASE");
        else
            terms << QuoteIdent(c.field) + QLatin1Char(' ') + c.op + QStringLiteral(" ?");
        params->push_back(c.value);
    }
    *where = terms.join(QStringLiteral(" AND "));
}

}  // namespace

// ---- types ----------------------------------------------------------------

QString SqlTypeName(FieldType type)
{
    switch (type) {
    case FieldType::Boolean: return QStringLiteral("BOOLEAN");
    case FieldType::Integer: return QStringLiteral("SMALLINT");
    case FieldType::Single: return QStringLiteral("FLOAT");
    case FieldType::Text: return QStringLiteral("TEXT");
    }
    return QStringLiteral("TEXT");
}

bool FieldTypeFromSql(const QString& declared, FieldType* type)
{
    QString d = declared.trimmed().toUpper();
    if (d == QLatin1String("BOOLEAN") || d == QLatin1String("BIT")) { *type = FieldType::Boolean; return true; }
    if (d == QLatin1String("SMALLINT")) { *type = FieldType::Integer; return true; }
    if (d == QLatin1String("FLOAT") || d == QLatin1String("SINGLE") || d == QLatin1String("REAL")) {
        *type = FieldType::Single;
        return true;
    }
    if (d == QLatin1String("TEXT")) { *type = FieldType::Text; return true; }
    // Files written by other tools: by the column's affinity.
    if (d.contains(QLatin1String("INT"))) { *type = FieldType::Integer; return true; }
    if (d.contains(QLatin1String("CHAR")) || d.contains(QLatin1String("CLOB")) || d.contains(QLatin1String("TEXT"))) {
        *type = FieldType::Text;
        return true;
    }
    if (d.contains(QLatin1String("REAL")) || d.contains(QLatin1String("FLOA")) || d.contains(QLatin1String("DOUB"))) {
        *type = FieldType::Single;
        return true;
    }
    *type = FieldType::Text;
    return false;
}

Variant CoerceToField(FieldType type, const Variant& value)
{
    if (value.isNull()) return value;
    switch (type) {
    case FieldType::Boolean:
        return Variant::Boolean(value.toBool());
    case FieldType::Integer:
        return Variant::Integer(value.toInteger());
    case FieldType::Single: {
        double d = value.toDouble();
        return Variant::Single(rt::CSng(d));
    }
    case FieldType::Text: {
        QString s = value.toString();
        // The engine refuses the empty text in a text field; writers store a
        // blank for an empty entry.
        if (s.isEmpty()) rt::Raise(3315, QStringLiteral("このフィールドには長さ 0 の文字列を入力できません。"));
        return Variant::Text(s);
    }
    }
    return value;
}

QString QuoteIdent(const QString& name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

// ---- criteria ---------------------------------------------------------------

std::vector<Criterion> ParseCriteria(const QString& text)
{
    std::vector<Criterion> out;
    const QString s = text;
    int i = 0;
    const int n = s.size();
    auto skipBlanks = [&] { while (i < n && s[i].isSpace()) ++i; };
    auto fail = [&]() -> void {
        rt::Raise(rt::ErrSyntax, QStringLiteral("検索条件を解釈できません: ") + text);
    };
    while (true) {
        skipBlanks();
        if (i >= n) fail();
        // Field name: [bracketed] or up to the operator.
        QString name;
        if (s[i] == QLatin1Char('[')) {
            int close = s.indexOf(QLatin1Char(']'), i);
            if (close < 0) fail();
            name = s.mid(i + 1, close - i - 1);
            i = close + 1;
        } else {
            int start = i;
            while (i < n && s[i] != QLatin1Char('=') && s[i] != QLatin1Char('<') && s[i] != QLatin1Char('>')
                   && !s[i].isSpace())
                ++i;
            name = s.mid(start, i - start);
        }
        if (name.isEmpty()) fail();
        skipBlanks();
        // The comparison: =, <, >, <=, >= or <>.
        QString op;
        if (i < n && s[i] == QLatin1Char('=')) {
            op = QStringLiteral("=");
            ++i;
        } else if (i < n && (s[i] == QLatin1Char('<') || s[i] == QLatin1Char('>'))) {
            op = s[i++];
            if (i < n && (s[i] == QLatin1Char('=') || (op == QLatin1String("<") && s[i] == QLatin1Char('>'))))
                op += s[i++];
        } else {
            fail();
        }
        skipBlanks();
        if (i >= n) fail();
        Variant value;
        if (s[i] == QLatin1Char('\'') || s[i] == QLatin1Char('"')) {
            QChar q = s[i++];
            QString v;
            while (true) {
                if (i >= n) fail();
                if (s[i] == q) {
                    if (i + 1 < n && s[i + 1] == q) { v += q; i += 2; continue; }
                    ++i;
                    break;
                }
                v += s[i++];
            }
            value = Variant::Text(v);
        } else {
            int start = i;
            while (i < n && !s[i].isSpace()) ++i;
            QString num = s.mid(start, i - start);
            if (!rt::IsNumeric(num)) fail();
            double d = rt::Val(num);
            value = Variant::Double(d);
        }
        out.push_back({name, value, op});
        skipBlanks();
        if (i >= n) break;
        // AND
        if (i + 3 <= n && s.mid(i, 3).compare(QLatin1String("AND"), Qt::CaseInsensitive) == 0
            && (i + 3 == n || s[i + 3].isSpace())) {
            i += 3;
            continue;
        }
        fail();
    }
    return out;
}

// ---- Database --------------------------------------------------------------

Database::Database(const QString& path) : path_(path) {}

Database::~Database()
{
    try {
        Close();
    } catch (...) {
    }
}

DatabasePtr Database::Create(const QString& path)
{
    if (QFileInfo::exists(path))
        rt::Raise(3204, QStringLiteral("データベース '%1' は既に存在します。").arg(path));
    DatabasePtr db(new Database(path));
    QByteArray p = path.toUtf8();
    int rc = sqlite3_open_v2(p.constData(), &db->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = db->db_ ? QString::fromUtf8(sqlite3_errmsg(db->db_)) : QString();
        if (db->db_) sqlite3_close(db->db_);
        db->db_ = nullptr;
        rt::Raise(rt::ErrDatabaseIO, QStringLiteral("データベース '%1' を作成できません。%2").arg(path, msg));
    }
    sqlite3_busy_timeout(db->db_, 5000);
    // Writing the header now makes the file a database even before its first table.
    try {
        db->Execute(QStringLiteral("PRAGMA user_version = 141"));
    } catch (...) {
        sqlite3_close(db->db_);
        db->db_ = nullptr;
        QFile::remove(path);
        throw;
    }
    return db;
}

DatabasePtr Database::Open(const QString& path)
{
    QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile())
        rt::Raise(rt::ErrCannotOpenFile, QStringLiteral("ファイル '%1' が見つかりません。").arg(path));
    DatabasePtr db(new Database(path));
    QByteArray p = path.toUtf8();
    int rc = sqlite3_open_v2(p.constData(), &db->db_, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        QString msg = db->db_ ? QString::fromUtf8(sqlite3_errmsg(db->db_)) : QString();
        if (db->db_) sqlite3_close(db->db_);
        db->db_ = nullptr;
        rt::Raise(rt::ErrCannotOpenFile, QStringLiteral("データベース '%1' を開けません。%2").arg(path, msg));
    }
    sqlite3_busy_timeout(db->db_, 5000);
    // Reading the catalogue tells a database from any other file.
    try {
        Stmt st(db->db_, QStringLiteral("SELECT count(*) FROM sqlite_master"));
        st.Step();
    } catch (const rt::Error& e) {
        sqlite3_close(db->db_);
        db->db_ = nullptr;
        rt::Raise(rt::ErrNotADatabase,
                  QStringLiteral("'%1' はデータベースではないか、壊れています。").arg(path));
    }
    return db;
}

void Database::Close()
{
    // Closing the connection closes what was opened on it.
    std::vector<Recordset*> open = recordsets_;
    for (Recordset* rs : open) rs->DatabaseClosing();
    recordsets_.clear();
    if (db_) {
        if (sqlite3_get_autocommit(db_) == 0) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            NoteChange();
        }
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

void Database::Register(Recordset* rs) { recordsets_.push_back(rs); }

void Database::Unregister(Recordset* rs)
{
    recordsets_.erase(std::remove(recordsets_.begin(), recordsets_.end(), rs), recordsets_.end());
}

void Database::Check(int rc, const QString& what)
{
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
    rt::Raise(rt::ErrDatabaseIO, what + QStringLiteral(": ") + QString::fromUtf8(sqlite3_errmsg(db_)));
}

bool Database::TableExists(const QString& table)
{
    // Anything in the catalogue under the name counts: such a name cannot be
    // given to a new table, whether or not it can be read.
    Stmt st(db_, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type IN ('table', 'view') AND name = ? COLLATE NOCASE"));
    st.Bind(1, Variant::Text(table));
    return st.Step();
}

QStringList Database::TableNames()
{
    Stmt st(db_, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid"));
    QStringList out;
    while (st.Step())
        out << FromSqlite(sqlite3_column_text16(st.get(), 0), sqlite3_column_bytes16(st.get(), 0));
    return out;
}

QString Database::ResolveTable(const QString& table)
{
    Stmt st(db_, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    st.Bind(1, Variant::Text(table));
    if (!st.Step()) rt::Raise(rt::ErrObjectNotFound, NotFoundText(table));
    return FromSqlite(sqlite3_column_text16(st.get(), 0), sqlite3_column_bytes16(st.get(), 0));
}

void Database::CreateTable(const TableDef& def)
{
    if (def.fields.empty()) rt::Raise(3264, QStringLiteral("フィールドがありません。"));
    if (TableExists(def.name))
        rt::Raise(rt::ErrTableExists, QStringLiteral("テーブル '%1' は既に存在します。").arg(def.name));
    QStringList cols;
    for (const FieldDef& f : def.fields) cols << QuoteIdent(f.name) + QLatin1Char(' ') + SqlTypeName(f.type);
    Execute(QStringLiteral("CREATE TABLE ") + QuoteIdent(def.name) + QStringLiteral(" (") + cols.join(QStringLiteral(", "))
            + QStringLiteral(")"));
}

std::vector<FieldDef> Database::Fields(const QString& table)
{
    QString stored = ResolveTable(table);
    Stmt st(db_, QStringLiteral("PRAGMA table_info(") + QuoteIdent(stored) + QStringLiteral(")"));
    std::vector<FieldDef> out;
    while (st.Step()) {
        FieldDef f;
        f.name = FromSqlite(sqlite3_column_text16(st.get(), 1), sqlite3_column_bytes16(st.get(), 1));
        QString declared = FromSqlite(sqlite3_column_text16(st.get(), 2), sqlite3_column_bytes16(st.get(), 2));
        FieldTypeFromSql(declared, &f.type);
        out.push_back(f);
    }
    return out;
}

RecordsetPtr Database::OpenRecordset(const QString& table)
{
    if (!db_) rt::Raise(rt::ErrObjectClosed, QStringLiteral("データベースは閉じられています。"));
    QString stored = ResolveTable(table);
    RecordsetPtr rs(new Recordset(this, stored, QString(), {}, QString()));
    rs->Load();
    return rs;
}

void Database::BeginTrans()
{
    if (InTransaction()) rt::Raise(3034, QStringLiteral("トランザクションは既に開始されています。"));
    Execute(QStringLiteral("BEGIN IMMEDIATE"));
}

void Database::CommitTrans()
{
    if (!InTransaction()) rt::Raise(3034, QStringLiteral("トランザクションが開始されていません。"));
    Execute(QStringLiteral("COMMIT"));
}

void Database::Rollback()
{
    if (!InTransaction()) rt::Raise(3034, QStringLiteral("トランザクションが開始されていません。"));
    Execute(QStringLiteral("ROLLBACK"));
}

bool Database::InTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }

WriteTransaction::WriteTransaction(Database* db) : db_(db)
{
    if (db_ && !db_->InTransaction()) {
        db_->BeginTrans();
        open_ = true;
    }
}

WriteTransaction::~WriteTransaction()
{
    if (!open_) return;
    try {
        db_->Rollback();
    } catch (...) {
    }
}

void WriteTransaction::Commit()
{
    if (!open_) return;
    db_->CommitTrans();
    open_ = false;
}

ReadTransaction::ReadTransaction(Database& db) : db_(db) { db_.Execute(QStringLiteral("BEGIN")); }

ReadTransaction::~ReadTransaction()
{
    try {
        if (db_.IsOpen() && db_.InTransaction()) db_.Execute(QStringLiteral("COMMIT"));
    } catch (...) {
    }
}

void Database::Execute(const QString& sql, const std::vector<Variant>& params)
{
    Stmt st(db_, sql);
    for (size_t k = 0; k < params.size(); ++k) st.Bind(int(k) + 1, params[k]);
    // Counted before it runs: a statement that fails half-way may have changed rows.
    NoteChange();
    while (st.Step()) {
    }
    changes_ = sqlite3_changes(db_);
}

int Database::RowsAffected() const { return changes_; }

void Database::ClearTable(const QString& table)
{
    Execute(QStringLiteral("DELETE FROM ") + QuoteIdent(ResolveTable(table)));
}

void Database::AppendRows(const QString& table, const QStringList& fields,
                          const std::vector<std::vector<Variant>>& rows)
{
    QString stored = ResolveTable(table);
    std::vector<FieldDef> defs = Fields(stored);
    std::vector<FieldType> types;
    QStringList cols, marks;
    for (const QString& f : fields) {
        auto it = std::find_if(defs.begin(), defs.end(), [&](const FieldDef& d) { return AsciiEqualNoCase(d.name, f); });
        if (it == defs.end()) rt::Raise(rt::ErrItemNotFound, QStringLiteral("フィールド '%1' が見つかりません。").arg(f));
        types.push_back(it->type);
        cols << QuoteIdent(it->name);
        marks << QStringLiteral("?");
    }
    const bool own = !InTransaction();
    if (own) BeginTrans();
    try {
        Stmt st(db_, QStringLiteral("INSERT INTO ") + QuoteIdent(stored) + QStringLiteral(" (") + cols.join(QStringLiteral(", "))
                         + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QStringLiteral(")"));
        for (const auto& row : rows) {
            if (row.size() != types.size()) rt::Raise(rt::ErrDatabaseIO, QStringLiteral("値の数が合いません。"));
            for (size_t k = 0; k < row.size(); ++k) st.Bind(int(k) + 1, CoerceToField(types[k], row[k]));
            st.Step();
            st.Reset();
        }
    } catch (...) {
        NoteChange(stored);
        if (own) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    NoteChange(stored);
    if (own) CommitTrans();
}

// ---- Recordset -------------------------------------------------------------

struct Recordset::Keyset {
    std::vector<long long> rowids;
    std::vector<char> deleted;
    // The rows read, by keyset position, current while no change has touched
    // the table since `readAt`. The first row wanted is read alone (a caller
    // may want no other); a second one brings all of them in one SELECT.
    uint64_t readAt = 0;
    bool inBulk = false;
    int readAlone = 0;
    std::vector<std::shared_ptr<const std::vector<Variant>>> rows;   // null: not read
};

Recordset::Recordset(Database* db, const QString& table, const QString& where,
                     const std::vector<Variant>& whereParams, const QString& orderBy)
    : db_(db), table_(table), where_(where), whereParams_(whereParams), orderBy_(orderBy)
{
    db_->Register(this);
}

Recordset::~Recordset()
{
    if (db_) db_->Unregister(this);
}

void Recordset::Close()
{
    if (db_) db_->Unregister(this);
    db_ = nullptr;
    keyset_.reset();
    current_.reset();
    mode_ = EditMode::None;
}

void Recordset::DatabaseClosing()
{
    db_ = nullptr;
    keyset_.reset();
    current_.reset();
    mode_ = EditMode::None;
}

void Recordset::RequireOpen() const
{
    if (!db_ || !db_->IsOpen() || !keyset_)
        rt::Raise(rt::ErrObjectClosed, QStringLiteral("レコードセットは閉じられています。"));
}

void Recordset::Load()
{
    if (!db_ || !db_->IsOpen()) rt::Raise(rt::ErrObjectClosed, QStringLiteral("レコードセットは閉じられています。"));
    fields_ = db_->Fields(table_);
    QString sql = QStringLiteral("SELECT rowid FROM ") + QuoteIdent(table_);
    if (!where_.isEmpty()) sql += QStringLiteral(" WHERE ") + where_;
    sql += QStringLiteral(" ORDER BY ");
    if (!orderBy_.isEmpty()) sql += orderBy_ + QStringLiteral(", ");
    sql += QStringLiteral("rowid");
    auto ks = std::make_shared<Keyset>();
    Stmt st(db_->Handle(), sql);
    for (size_t k = 0; k < whereParams_.size(); ++k) st.Bind(int(k) + 1, whereParams_[k]);
    while (st.Step()) ks->rowids.push_back(sqlite3_column_int64(st.get(), 0));
    ks->deleted.assign(ks->rowids.size(), 0);
    keyset_ = ks;
    current_.reset();
    mode_ = EditMode::None;
    if (keyset_->rowids.empty()) {
        pos_ = -1;
        bof_ = eof_ = true;
    } else {
        pos_ = 0;
        bof_ = eof_ = false;
    }
}

long long Recordset::RowIdAt(int pos) const { return keyset_->rowids[size_t(pos)]; }
bool Recordset::IsDeletedAt(int pos) const { return keyset_->deleted[size_t(pos)] != 0; }

bool Recordset::BOF() const
{
    RequireOpen();
    return bof_;
}

bool Recordset::EOF_() const
{
    RequireOpen();
    return eof_;
}

int Recordset::RecordCount() const
{
    RequireOpen();
    return int(std::count(keyset_->deleted.begin(), keyset_->deleted.end(), 0));
}

int Recordset::AbsolutePosition() const
{
    RequireOpen();
    if (bof_ || eof_ || pos_ < 0 || pos_ >= int(keyset_->rowids.size())) return -1;
    int n = 0;
    for (int k = 0; k < pos_; ++k)
        if (!IsDeletedAt(k)) ++n;
    return n;
}

void Recordset::SetAbsolutePosition(int index)
{
    RequireOpen();
    int n = 0;
    for (int k = 0; k < int(keyset_->rowids.size()); ++k) {
        if (IsDeletedAt(k)) continue;
        if (n == index) return StandOn(k);
        ++n;
    }
    rt::Raise(rt::ErrNoCurrentRecord, QStringLiteral("カレント レコードがありません。"));
}

int Recordset::LiveFrom(int start, int step) const
{
    const int size = int(keyset_->rowids.size());
    for (int k = start; k >= 0 && k < size; k += step)
        if (!IsDeletedAt(k)) return k;
    return -1;
}

void Recordset::StandOn(int k)
{
    pos_ = k;
    bof_ = eof_ = false;
    current_.reset();
}

void Recordset::MoveFirst()
{
    RequireOpen();
    if (mode_ != EditMode::None) CancelUpdate();
    int k = LiveFrom(0, 1);
    if (k < 0) rt::Raise(rt::ErrNoCurrentRecord, QStringLiteral("カレント レコードがありません。"));
    StandOn(k);
}

void Recordset::MoveLast()
{
    RequireOpen();
    if (mode_ != EditMode::None) CancelUpdate();
    int k = LiveFrom(int(keyset_->rowids.size()) - 1, -1);
    if (k < 0) rt::Raise(rt::ErrNoCurrentRecord, QStringLiteral("カレント レコードがありません。"));
    StandOn(k);
}

void Recordset::MoveNext()
{
    RequireOpen();
    if (eof_) rt::Raise(rt::ErrNoCurrentRecord, QStringLiteral("カレント レコードがありません。"));
    if (mode_ != EditMode::None) CancelUpdate();
    int k = LiveFrom(bof_ ? 0 : pos_ + 1, 1);
    if (k >= 0) return StandOn(k);
    pos_ = int(keyset_->rowids.size());
    eof_ = true;
    bof_ = RecordCount() == 0;
    current_.reset();
}

void Recordset::MovePrevious()
{
    RequireOpen();
    if (bof_) rt::Raise(rt::ErrNoCurrentRecord, QStringLiteral("カレント レコードがありません。"));
    if (mode_ != EditMode::None) CancelUpdate();
    int k = LiveFrom(eof_ ? int(keyset_->rowids.size()) - 1 : pos_ - 1, -1);
    if (k >= 0) return StandOn(k);
    pos_ = -1;
    bof_ = true;
    eof_ = RecordCount() == 0;
    current_.reset();
}

int Recordset::FieldCount() const
{
    RequireOpen();
    return int(fields_.size());
}

QString Recordset::FieldName(int index) const
{
    RequireOpen();
    if (index < 0 || index >= int(fields_.size()))
        rt::Raise(rt::ErrItemNotFound, QStringLiteral("このコレクションには項目がありません。"));
    return fields_[size_t(index)].name;
}

FieldType Recordset::FieldTypeAt(int index) const
{
    RequireOpen();
    if (index < 0 || index >= int(fields_.size()))
        rt::Raise(rt::ErrItemNotFound, QStringLiteral("このコレクションには項目がありません。"));
    return fields_[size_t(index)].type;
}

int Recordset::FieldIndex(const QString& name) const
{
    RequireOpen();
    for (size_t k = 0; k < fields_.size(); ++k)
        if (AsciiEqualNoCase(fields_[k].name, name)) return int(k);
    rt::Raise(rt::ErrItemNotFound, QStringLiteral("フィールド '%1' が見つかりません。").arg(name));
}

void Recordset::RequireCurrent() const
{
    RequireOpen();
    if (bof_ || eof_ || pos_ < 0 || pos_ >= int(keyset_->rowids.size()))
        rt::Raise(rt::ErrNoCurrentRecord, QStringLiteral("カレント レコードがありません。"));
    if (IsDeletedAt(pos_)) rt::Raise(rt::ErrRecordDeleted, QStringLiteral("レコードは削除されています。"));
}

bool Recordset::RowsAreCurrent() const
{
    Keyset& ks = *keyset_;
    if (ks.readAt == 0) return false;
    if (ks.readAt == g_clock) return true;
    if (LastChange(table_) > ks.readAt) return false;
    ks.readAt = g_clock;   // nothing since has touched the table
    return true;
}

const std::vector<Variant>& Recordset::CurrentRow() const
{
    // The row stays as read while the recordset stands on it.
    if (current_) return *current_;
    RequireCurrent();
    Keyset& ks = *keyset_;
    if (!RowsAreCurrent()) {
        ks.rows.assign(ks.rowids.size(), nullptr);
        ks.inBulk = false;
        ks.readAlone = 0;
        ks.readAt = g_clock;
    }
    ks.rows.resize(ks.rowids.size());
    if (!ks.rows[size_t(pos_)] && !ks.inBulk && ks.readAlone > 0) ReadRowsInBulk();
    if (!ks.rows[size_t(pos_)]) {
        ReadRow(pos_);
        ++ks.readAlone;
    }
    current_ = ks.rows[size_t(pos_)];
    return *current_;
}

std::vector<Variant> Recordset::ReadValues(sqlite3_stmt* st, int first) const
{
    std::vector<Variant> row(fields_.size());
    const int cols = std::min(sqlite3_column_count(st) - first, int(fields_.size()));
    for (int c = 0; c < cols; ++c) row[size_t(c)] = ReadColumn(st, c + first, fields_[size_t(c)].type);
    return row;
}

void Recordset::ReadRowsInBulk() const
{
    Keyset& ks = *keyset_;
    std::unordered_map<long long, size_t> position;
    position.reserve(ks.rowids.size());
    for (size_t k = 0; k < ks.rowids.size(); ++k) position.emplace(ks.rowids[k], k);
    // The rows of the keyset that still match its criteria; any other (one
    // added or changed through the recordset) is read alone when wanted.
    QString sql = QStringLiteral("SELECT rowid, * FROM ") + QuoteIdent(table_);
    if (!where_.isEmpty()) sql += QStringLiteral(" WHERE ") + where_;
    Stmt st(db_->Handle(), sql);
    for (size_t k = 0; k < whereParams_.size(); ++k) st.Bind(int(k) + 1, whereParams_[k]);
    while (st.Step()) {
        const auto it = position.find(sqlite3_column_int64(st.get(), 0));
        if (it == position.end() || ks.rows[it->second]) continue;
        ks.rows[it->second] = std::make_shared<const std::vector<Variant>>(ReadValues(st.get(), 1));
    }
    ks.inBulk = true;
}

void Recordset::ReadRow(int pos) const
{
    Stmt st(db_->Handle(), QStringLiteral("SELECT * FROM ") + QuoteIdent(table_) + QStringLiteral(" WHERE rowid = ?"));
    sqlite3_bind_int64(st.get(), 1, RowIdAt(pos));
    if (!st.Step()) {
        // Deleted through another connection.
        keyset_->deleted[size_t(pos)] = 1;
        rt::Raise(rt::ErrRecordDeleted, QStringLiteral("レコードは削除されています。"));
    }
    keyset_->rows[size_t(pos)] = std::make_shared<const std::vector<Variant>>(ReadValues(st.get(), 0));
}

void Recordset::WroteRow(bool rowsWereCurrent, int pos)
{
    NoteChange(table_);
    Keyset& ks = *keyset_;
    if (!rowsWereCurrent) return;
    ks.readAt = g_clock;
    ks.rows.resize(ks.rowids.size());
    if (pos >= 0) ks.rows[size_t(pos)].reset();
}

Variant Recordset::Field(int index) const
{
    RequireOpen();
    if (index < 0 || index >= int(fields_.size()))
        rt::Raise(rt::ErrItemNotFound, QStringLiteral("このコレクションには項目がありません。"));
    if (mode_ != EditMode::None) return buffer_[size_t(index)];
    return CurrentRow()[size_t(index)];
}

Variant Recordset::Field(const QString& name) const { return Field(FieldIndex(name)); }

void Recordset::SetField(int index, const Variant& value)
{
    RequireOpen();
    if (index < 0 || index >= int(fields_.size()))
        rt::Raise(rt::ErrItemNotFound, QStringLiteral("このコレクションには項目がありません。"));
    if (mode_ == EditMode::None)
        rt::Raise(rt::ErrUpdateWithoutEdit, QStringLiteral("AddNew または Edit を実行せずに更新しようとしました。"));
    buffer_[size_t(index)] = CoerceToField(fields_[size_t(index)].type, value);
    dirty_[size_t(index)] = true;
}

void Recordset::SetField(const QString& name, const Variant& value) { SetField(FieldIndex(name), value); }

void Recordset::AddNew()
{
    RequireOpen();
    if (mode_ != EditMode::None) CancelUpdate();
    buffer_.assign(fields_.size(), Variant());
    dirty_.assign(fields_.size(), false);
    mode_ = EditMode::AddNew;
}

void Recordset::Edit()
{
    RequireOpen();
    if (mode_ != EditMode::None) CancelUpdate();
    buffer_ = CurrentRow();
    dirty_.assign(fields_.size(), false);
    editRowId_ = RowIdAt(pos_);
    mode_ = EditMode::Edit;
}

void Recordset::CancelUpdate()
{
    mode_ = EditMode::None;
    buffer_.clear();
    dirty_.clear();
}

void Recordset::Update()
{
    RequireOpen();
    if (mode_ == EditMode::None)
        rt::Raise(rt::ErrUpdateWithoutEdit, QStringLiteral("AddNew または Edit を実行せずに更新しようとしました。"));
    QStringList cols;
    std::vector<Variant> vals;
    for (size_t k = 0; k < fields_.size(); ++k) {
        if (!dirty_[k]) continue;
        cols << QuoteIdent(fields_[k].name);
        vals.push_back(buffer_[k]);
    }
    sqlite3* h = db_->Handle();
    const bool rowsWereCurrent = RowsAreCurrent();
    if (mode_ == EditMode::AddNew) {
        QString sql;
        if (cols.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + QuoteIdent(table_) + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks;
            for (int k = 0; k < cols.size(); ++k) marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO ") + QuoteIdent(table_) + QStringLiteral(" (") + cols.join(QStringLiteral(", "))
                + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QStringLiteral(")");
        }
        Stmt st(h, sql);
        for (size_t k = 0; k < vals.size(); ++k) st.Bind(int(k) + 1, vals[k]);
        st.Step();
        long long id = sqlite3_last_insert_rowid(h);
        // Rows added through a dynaset join the end of its keyset.
        keyset_->rowids.push_back(id);
        keyset_->deleted.push_back(0);
        lastModified_ = id;
        WroteRow(rowsWereCurrent, int(keyset_->rowids.size()) - 1);
    } else {
        if (!cols.isEmpty()) {
            QStringList sets;
            for (const QString& c : cols) sets << c + QStringLiteral(" = ?");
            Stmt st(h, QStringLiteral("UPDATE ") + QuoteIdent(table_) + QStringLiteral(" SET ") + sets.join(QStringLiteral(", "))
                           + QStringLiteral(" WHERE rowid = ?"));
            size_t k = 0;
            for (; k < vals.size(); ++k) st.Bind(int(k) + 1, vals[k]);
            sqlite3_bind_int64(st.get(), int(k) + 1, editRowId_);
            st.Step();
            const bool here = pos_ >= 0 && pos_ < int(keyset_->rowids.size()) && RowIdAt(pos_) == editRowId_;
            WroteRow(rowsWereCurrent && here, pos_);
        }
        lastModified_ = editRowId_;
    }
    mode_ = EditMode::None;
    buffer_.clear();
    dirty_.clear();
    current_.reset();
}

void Recordset::Delete()
{
    RequireCurrent();
    if (mode_ != EditMode::None) CancelUpdate();
    Stmt st(db_->Handle(), QStringLiteral("DELETE FROM ") + QuoteIdent(table_) + QStringLiteral(" WHERE rowid = ?"));
    sqlite3_bind_int64(st.get(), 1, RowIdAt(pos_));
    const bool rowsWereCurrent = RowsAreCurrent();
    st.Step();
    keyset_->deleted[size_t(pos_)] = 1;
    WroteRow(rowsWereCurrent, pos_);
    current_.reset();
}

Recordset::Bookmark Recordset::GetBookmark() const
{
    RequireCurrent();
    return RowIdAt(pos_);
}

void Recordset::SetBookmark(Bookmark bm)
{
    RequireOpen();
    if (mode_ != EditMode::None) CancelUpdate();
    for (int k = 0; k < int(keyset_->rowids.size()); ++k) {
        if (keyset_->rowids[size_t(k)] == bm && !IsDeletedAt(k)) return StandOn(k);
    }
    rt::Raise(3159, QStringLiteral("ブックマークが正しくありません。"));
}

bool Recordset::Find(const QString& criteria, int start, int step)
{
    return Find(ParseCriteria(criteria), start, step);
}

bool Recordset::Find(const std::vector<Criterion>& criteria, int start, int step)
{
    RequireOpen();
    if (mode_ != EditMode::None) CancelUpdate();
    QString where;
    std::vector<Variant> params;
    CriteriaToSql(criteria, &where, &params);
    // The rows that match, looked up once; the order is the recordset's own.
    Stmt st(db_->Handle(), QStringLiteral("SELECT rowid FROM ") + QuoteIdent(table_) + QStringLiteral(" WHERE ") + where);
    for (size_t k = 0; k < params.size(); ++k) st.Bind(int(k) + 1, params[k]);
    std::unordered_set<long long> hits;
    while (st.Step()) hits.insert(sqlite3_column_int64(st.get(), 0));
    int size = int(keyset_->rowids.size());
    for (int k = start; k >= 0 && k < size; k += step) {
        if (IsDeletedAt(k)) continue;
        if (hits.count(keyset_->rowids[size_t(k)])) {
            StandOn(k);
            noMatch_ = false;
            return true;
        }
    }
    noMatch_ = true;
    return false;
}

void Recordset::FindFirst(const QString& criteria) { Find(criteria, 0, 1); }
void Recordset::FindFirst(const std::vector<Criterion>& criteria) { Find(criteria, 0, 1); }
void Recordset::FindLast(const QString& criteria) { Find(criteria, int(keyset_ ? keyset_->rowids.size() : 0) - 1, -1); }

void Recordset::FindNext(const QString& criteria)
{
    RequireOpen();
    int start = bof_ ? 0 : (eof_ ? int(keyset_->rowids.size()) : pos_ + 1);
    Find(criteria, start, 1);
}

void Recordset::FindPrevious(const QString& criteria)
{
    RequireOpen();
    int start = eof_ ? int(keyset_->rowids.size()) - 1 : (bof_ ? -1 : pos_ - 1);
    Find(criteria, start, -1);
}

RecordsetPtr Recordset::OpenRecordset()
{
    RequireOpen();
    QString where = where_;
    std::vector<Variant> params = whereParams_;
    if (!Filter.trimmed().isEmpty()) {
        QString w;
        std::vector<Variant> p;
        CriteriaToSql(ParseCriteria(Filter), &w, &p);
        where = where.isEmpty() ? w : QStringLiteral("(") + where + QStringLiteral(") AND (") + w + QStringLiteral(")");
        params.insert(params.end(), p.begin(), p.end());
    }
    QString order = Sort.trimmed().isEmpty() ? orderBy_ : SortToSql(Sort);
    RecordsetPtr rs(new Recordset(db_, table_, where, params, order));
    rs->Load();
    return rs;
}

RecordsetPtr Recordset::Clone()
{
    RequireOpen();
    RecordsetPtr rs(new Recordset(db_, table_, where_, whereParams_, orderBy_));
    rs->fields_ = fields_;
    rs->keyset_ = keyset_;
    int first = LiveFrom(0, 1);
    if (first < 0) {
        rs->pos_ = -1;
        rs->bof_ = rs->eof_ = true;
    } else {
        rs->StandOn(first);
    }
    return rs;
}

void Recordset::Requery() { Load(); }

}  // namespace dao
