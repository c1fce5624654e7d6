// Test support of the input framework and the screens: a fresh working
// database, rows written and read behind the screens' backs, and small test
// windows that carry the named entry boxes of a screen.
#pragma once

#include "common/TestEnv.h"
#include "core/MakeDatabase.h"
#include "input/InputControls.h"
#include "platform/Database.h"
#include "platform/Forms.h"
#include "core/ProgramState.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace inputtest {

inline void MakeEmptyDatabase()
{
    int16_t mode = 0;
    MakeDatabase(mode);
}

// Runs SQL on a connection of its own.
inline void Exec(const QString& sql, const std::vector<rt::Variant>& params = {})
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    db->Execute(sql, params);
    db->Close();
}

inline void AppendRows(const QString& table, const QStringList& fields, const std::vector<std::vector<rt::Variant>>& rows)
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    db->AppendRows(table, fields, rows);
    db->Close();
}

// n nodes numbered 1..n with 順 1..n and X = number.
inline void AddNodes(int n, int firstNo = 1)
{
    std::vector<std::vector<rt::Variant>> rows;
    for (int i = 0; i < n; ++i)
        rows.push_back({rt::Variant::Integer(int16_t(firstNo + i)), rt::Variant::Double(firstNo + i), rt::Variant::Double(0),
                        rt::Variant::Double(0), rt::Variant::Integer(int16_t(i + 1))});
    AppendRows(QStringLiteral("節点座標1"), {"No_", "X", "Y", "Z", "順"}, rows);
}

// How Rows writes a number: as its text, or with every digit it holds (the
// digits a rounding would lose).
enum class Digits { AsText, Every };

// Every row of a table in 順 order (stored order when `sortBy` is empty),
// each row the texts of the named fields joined by "|".
inline QStringList Rows(const QString& table, const QStringList& fields, const QString& sortBy = QStringLiteral("順"),
                        Digits digits = Digits::AsText)
{
    dao::DatabasePtr db = dao::Database::Open(kWorkingDatabase);
    dao::RecordsetPtr rs = db->OpenRecordset(table);
    if (!sortBy.isEmpty() && !(rs->BOF() && rs->EOF_())) {
        rs->Sort = sortBy + QStringLiteral(" ASC");
        rs = rs->OpenRecordset();
    }
    QStringList out;
    if (!(rs->BOF() && rs->EOF_())) {
        rs->MoveFirst();
        while (!rs->EOF_()) {
            QStringList row;
            for (const QString& f : fields) {
                const rt::Variant v = rs->Field(f);
                if (digits == Digits::Every && v.kind() == rt::Variant::Kind::Single) row << QString::number(v.toSingle(), 'g', 9);
                else if (digits == Digits::Every && v.kind() == rt::Variant::Kind::Double) row << QString::number(v.toDouble(), 'g', 17);
                else row << v.toStringOrEmpty();
            }
            out << row.join(QLatin1Char('|'));
            rs->MoveNext();
        }
    }
    rs->Close();
    db->Close();
    return out;
}

// A window named like a screen with the given boxes ("txtP(1)" for arrays).
class TestWindow : public forms::Form {
public:
    TestWindow(const QString& name, const QStringList& boxes) : forms::Form(name)
    {
        for (const QString& b : boxes) {
            QWidget* w;
            if (b.startsWith(QStringLiteral("cbo"))) {
                auto* c = new QComboBox(this);
                c->addItems({"z 部材系", "y 部材系", "--------", "X 絶対系", "Y 絶対系", "Z 絶対系"});
                w = c;
            } else if (b.startsWith(QStringLiteral("lbl"))) {
                w = new QLabel(this);
            } else {
                w = new QLineEdit(this);
            }
            w->setObjectName(b);
        }
    }
    void Set(const QString& box, const QString& text) { SetControlText(this, box, text); }
    QString Get(const QString& box) { return ControlText(this, box); }
};

inline QStringList Array(const QString& name, int first, int last)
{
    QStringList l;
    for (int i = first; i <= last; ++i) l << ControlName(name, i);
    return l;
}

inline QString Info(const QString& text) { return QStringLiteral("message=information|") + text; }
inline QString Question(const QString& text) { return QStringLiteral("message=question|") + text; }
inline QString Exclamation(const QString& text) { return QStringLiteral("message=exclamation|") + text; }

inline const QString kInvalid = QStringLiteral("入力したデータのなかに不正な値があります");
inline const QString kDatabaseAccess = QStringLiteral(
    "データベースにアクセスできません。\r\n"
    "もしデータベースをオープンしている場合はデータベースを閉じて、もう一度処理を実行して下さい。\r\n"
    "それでもエラーが発生する場合はメインメニューで[クリア]を実行して下さい。");

}  // namespace inputtest
