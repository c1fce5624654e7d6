// Helpers of the archive tests: files, random contents and the independent
// `lhasa` command as a second reader of what our writer produced.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <random>

#include "common/FullDisk.h"
#include "platform/lzh/LzhCore.h"
#include <ostream>

namespace lzh {
inline void PrintTo(Status s, std::ostream* os) { *os << StatusName(s); }
}

namespace lzhtest {

inline QString FixturePath(const QString& name)
{
    return QStringLiteral(ZELKOVA_TEST_DATA "/lzh/") + name;
}

inline QByteArray RandomBytes(qsizetype n, uint32_t seed)
{
    std::mt19937 gen(seed);
    QByteArray b(n, '\0');
    for (qsizetype i = 0; i < n; ++i) b[i] = static_cast<char>(gen() & 0xFF);
    return b;
}

// Text and binary records with repeats near and far, as a database file has.
inline QByteArray MixedBytes(qsizetype n, uint32_t seed)
{
    std::mt19937 gen(seed);
    QByteArray b;
    b.reserve(n);
    int row = 0;
    while (b.size() < n) {
        switch (gen() % 4) {
        case 0:
            b += QStringLiteral("節点%1 X=%2 Y=%3 荷重ケース%4;").arg(row++).arg(gen() % 3000).arg(gen() % 90).arg(gen() % 10).toUtf8();
            break;
        case 1:
            for (int k = 0; k < 24; ++k) b += static_cast<char>(gen() & 0xFF);
            break;
        case 2:
            b += QByteArray(static_cast<qsizetype>(gen() % 600), '\0');
            break;
        default:
            if (b.size() > 4096) {
                const qsizetype from = static_cast<qsizetype>(gen() % static_cast<uint32_t>(b.size() - 300));
                b += b.mid(from, 40 + static_cast<qsizetype>(gen() % 250));
            }
        }
    }
    b.truncate(n);
    return b;
}

using testenv::FileSizeLimit;

// The path of the lhasa command, empty when it is not installed.
inline QString Lhasa() { return QStandardPaths::findExecutable(QStringLiteral("lhasa")); }

struct RunResult {
    int exitCode = -1;
    QByteArray output;
};

inline RunResult RunLhasa(const QStringList& args, const QString& folder = QString())
{
    QProcess p;
    if (!folder.isEmpty()) p.setWorkingDirectory(folder);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(Lhasa(), args);
    RunResult r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = p.readAll();
    return r;
}

// Names listed by `lhasa l` (the lines between the two rulers, last column).
inline QStringList LhasaNames(const QString& archive)
{
    const RunResult r = RunLhasa({QStringLiteral("l"), archive});
    QStringList names;
    bool inside = false;
    for (const QByteArray& line : r.output.split('\n')) {
        if (line.startsWith("----------")) {
            if (inside) break;
            inside = true;
            continue;
        }
        if (inside && !line.trimmed().isEmpty())
            names << QString::fromLatin1(line.mid(line.lastIndexOf(' ') + 1)).trimmed();
    }
    return names;
}

}  // namespace lzhtest
