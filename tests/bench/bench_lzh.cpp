// Throughput of the LZH encoder and decoder on a realistic 5 MB project
// database, beside the `lhasa` command's decoding of the same archive.
// Run by hand: bench_lzh [--gtest_filter=...]; prints one figure per line.
#include "bench/BenchTiming.h"
#include "common/TestEnv.h"
#include "platform/lzh/LzhArchive.h"
#include "app/ProjectFiles.h"
#include "platform/lzh/LzhCore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <random>

namespace {

// A SQLite database of about 5 MB shaped like a large project: node and
// member tables with numbers and Japanese texts, result tables of floats.
QByteArray MakeDatabase(const QString& path)
{
    QFile::remove(path);
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    auto exec = [&](const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); };
    exec("PRAGMA journal_mode=OFF; BEGIN;");
    exec("CREATE TABLE 基本データ (工事名 TEXT, 設計者 TEXT, Note TEXT, Unit TEXT, \"Case\" SMALLINT, E FLOAT, γ FLOAT)");
    exec("INSERT INTO 基本データ VALUES ('ベンチマーク', '', '', 'True', 1, 2050, 790)");
    exec("CREATE TABLE 節点座標1 (No_ INTEGER, X REAL, Y REAL, Z REAL, 順 INTEGER)");
    exec("CREATE TABLE 要素情報 (No_ INTEGER, iTan INTEGER, jTan INTEGER, 材料番号 INTEGER, 順 INTEGER)");
    exec("CREATE TABLE Analyze部材応力 (No_ INTEGER, \"Case\" INTEGER, N REAL, Qy REAL, Qz REAL, Mx REAL, My REAL, Mz REAL, 備考 TEXT)");
    std::mt19937 gen(42);
    std::uniform_real_distribution<double> val(-500.0, 500.0);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO 節点座標1 VALUES (?,?,?,?,?)", -1, &st, nullptr);
    for (int i = 1; i <= 300; ++i) {
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_double(st, 2, (i % 10) * 600.0);
        sqlite3_bind_double(st, 3, (i / 10 % 5) * 450.0);
        sqlite3_bind_double(st, 4, (i / 50) * 350.0);
        sqlite3_bind_int(st, 5, i);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_prepare_v2(db, "INSERT INTO Analyze部材応力 VALUES (?,?,?,?,?,?,?,?,?)", -1, &st, nullptr);
    for (int row = 0; QFileInfo(path).size() < 5'000'000; ++row) {
        sqlite3_bind_int(st, 1, row % 500 + 1);
        sqlite3_bind_int(st, 2, row % 10 + 1);
        for (int k = 3; k <= 8; ++k) sqlite3_bind_double(st, k, static_cast<float>(val(gen)));
        sqlite3_bind_text(st, 9, row % 7 ? "i端" : "j端 (ピン)", -1, SQLITE_STATIC);
        sqlite3_step(st);
        sqlite3_reset(st);
        if (row % 2000 == 1999) exec("COMMIT; BEGIN;");
    }
    sqlite3_finalize(st);
    exec("COMMIT;");
    sqlite3_close(db);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

double Best(int runs, const std::function<void()>& fn) { return bench::BestMs(runs, fn) / 1e3; }

void Report(const char* what, double seconds, qsizetype bytes)
{
    std::printf("%-40s %8.1f ms  %7.1f MB/s\n", what, seconds * 1e3, bytes / 1e6 / seconds);
}

TEST(LzhBench, EncoderAndDecoderThroughput)
{
    const QByteArray db = MakeDatabase("Zelkova.mdb");
    ASSERT_GT(db.size(), 4'500'000);
    const std::span<const uint8_t> in(reinterpret_cast<const uint8_t*>(db.constData()), static_cast<size_t>(db.size()));
    std::printf("database: %lld bytes\n", static_cast<long long>(db.size()));

    std::vector<uint8_t> packed;
    const double enc = Best(3, [&] { packed = lzh::core::EncodeLh5(in); });
    std::printf("compressed: %zu bytes (%.1f%%)\n", packed.size(), 100.0 * packed.size() / db.size());
    Report("encode -lh5- (memory)", enc, db.size());

    const uint16_t crc = lzh::core::Crc16(in.data(), in.size());
    const double dec = Best(5, [&] {
        const lzh::core::Sink sink = [](const uint8_t*, size_t) { return true; };
        ASSERT_EQ(lzh::core::DecodeMember("-lh5-", packed, in.size(), crc, sink), lzh::Status::Ok);
    });
    Report("decode -lh5- with CRC (memory)", dec, db.size());

    const double add = Best(3, [&] {
        QFile::remove("p.lzh");
        ASSERT_EQ(lzh::AddMember("p.lzh", "Zelkova.mdb"), lzh::Status::Ok);
    });
    Report("AddMember (file to archive, verified)", add, db.size());
    const double ext = Best(3, [&] { ASSERT_EQ(lzh::ExtractMember("p.lzh", "back.mdb"), lzh::Status::Ok); });
    Report("ExtractMember (archive to file)", ext, db.size());

    const QString lhasa = QStandardPaths::findExecutable("lhasa");
    if (lhasa.isEmpty()) GTEST_SKIP() << "lhasa is not installed";
    const QString archive = QFileInfo("p.lzh").absoluteFilePath();
    auto runLhasa = [&](const QStringList& args) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(lhasa, args);
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0);
    };
    Report("lhasa t (process, decode + CRC)", Best(3, [&] { runLhasa({"t", archive}); }), db.size());
    QDir().mkpath("x");
    Report("lhasa e -f (process, decode + write)", Best(3, [&] {
        QProcess p;
        p.setWorkingDirectory("x");
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(lhasa, {"ef", archive});
        ASSERT_TRUE(p.waitForFinished(60000));
    }), db.size());
}

TEST(LzhBench, SaveAndOpenCommandsOnA5MBProject)
{
    const QByteArray db = MakeDatabase("Zelkova.mdb");
    std::printf("database: %lld bytes\n", static_cast<long long>(db.size()));
    const QString archive = QFileInfo("bench.lzh").absoluteFilePath();
    ui::ScriptedServices& script = testenv::ResetScript();
    QElapsedTimer t;
    t.start();
    script.saveFiles.push_back(archive);
    SaveProject();
    Report("SaveProject (compact + archive)", t.nsecsElapsed() / 1e9, db.size());
    t.restart();
    script.openFiles.push_back(archive);
    OpenProject();
    Report("OpenProject (extract + verify + refresh)", t.nsecsElapsed() / 1e9, db.size());
    std::printf("messages shown: %lld (the bench database lacks the input tables)\n",
                static_cast<long long>(script.messages.size()));
}

}  // namespace
