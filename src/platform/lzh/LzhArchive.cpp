#include "platform/lzh/LzhArchive.h"

#include "platform/SafeFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <span>

namespace lzh {

namespace {

std::span<const uint8_t> Bytes(const QByteArray& b)
{
    return {reinterpret_cast<const uint8_t*>(b.constData()), static_cast<size_t>(b.size())};
}

// Reads a whole file of at most kMaxFileSize bytes.
Status ReadWhole(const QString& path, QByteArray& out)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return Status::CannotOpen;
    if (f.size() > kMaxFileSize) return Status::TooLarge;
    out = f.readAll();
    if (f.error() != QFileDevice::NoError) return Status::CannotOpen;
    return Status::Ok;
}

MemberInfo Describe(const core::Header& h)
{
    MemberInfo m;
    m.name = DecodeName(core::BaseName(h.name));
    m.folder = DecodeName(h.folder);
    while (m.folder.endsWith('/')) m.folder.chop(1);
    m.method = QString::fromLatin1(h.method.data(), static_cast<qsizetype>(h.method.size()));
    m.headerLevel = h.level;
    m.packedSize = h.packedSize;
    m.unpackedSize = h.unpackedSize;
    m.crc = h.crc;
    return m;
}

bool Matches(const core::Header& h, const QString& name)
{
    return h.method != "-lhd-" && DecodeName(core::BaseName(h.name)).compare(name, Qt::CaseInsensitive) == 0;
}

}  // namespace

QString DecodeName(const std::string& raw)
{
    const QByteArray b(raw.data(), static_cast<qsizetype>(raw.size()));
    bool ascii = true;
    for (char c : raw)
        if (static_cast<uint8_t>(c) >= 0x80) ascii = false;
    if (ascii) return QString::fromLatin1(b);
    QStringDecoder sjis("Shift_JIS");
    if (sjis.isValid()) {
        QString s = sjis(b);
        if (!sjis.hasError()) return s;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString s = utf8(b);
    if (!utf8.hasError()) return s;
    return QString::fromLatin1(b);
}

Status ListMembers(const QString& archivePath, std::vector<MemberInfo>& members)
{
    members.clear();
    QByteArray data;
    Status s = ReadWhole(archivePath, data);
    if (s != Status::Ok) return s;
    std::vector<core::Header> headers;
    s = core::ParseArchive(Bytes(data), headers);
    if (s != Status::Ok) return s;
    for (const auto& h : headers) members.push_back(Describe(h));
    return Status::Ok;
}

Status ExtractMember(const QString& archivePath, const QString& destinationPath, const QString& memberName)
{
    QByteArray data;
    Status s = ReadWhole(archivePath, data);
    if (s != Status::Ok) return s;
    const auto bytes = Bytes(data);
    // Walk the headers up to the member wanted; damage after it does not matter.
    size_t off = 0;
    core::Header h;
    bool found = false;
    for (bool first = true;; first = false) {
        bool atEnd = false;
        s = core::ParseHeader(bytes, off, h, atEnd);
        if (s != Status::Ok) return first ? s : Status::Damaged;
        if (atEnd) break;
        if (Matches(h, memberName)) {
            found = true;
            break;
        }
        off = h.dataEnd;
    }
    if (!found) return Status::NoSuchMember;
    if (!core::IsSupportedMethod(h.method)) return Status::UnsupportedMethod;
    if (h.unpackedSize > static_cast<quint64>(kMaxFileSize)) return Status::TooLarge;

    files::SafeFile out(destinationPath);
    if (!out.Open()) return Status::WriteError;
    const core::Sink sink = [&out](const uint8_t* p, size_t n) { return out.Write(p, n); };
    s = core::DecodeMember(h.method, bytes.subspan(h.dataStart, static_cast<size_t>(h.packedSize)),
                           h.unpackedSize, h.crc, sink);
    if (s != Status::Ok) return s;  // the destination stays as it was
    return out.Commit() ? Status::Ok : Status::WriteError;
}

Status AddMember(const QString& archivePath, const QString& sourcePath, const QString& memberName)
{
    QByteArray source;
    Status s = ReadWhole(sourcePath, source);
    if (s != Status::Ok) return s;
    const auto src = Bytes(source);

    // The archive as it stands; an existing file must be a readable archive.
    QByteArray old;
    std::vector<core::Header> headers;
    if (QFileInfo::exists(archivePath)) {
        if (!QFileInfo(archivePath).isFile()) return Status::CannotOpen;
        s = ReadWhole(archivePath, old);
        if (s != Status::Ok) return s;
        s = core::ParseArchive(Bytes(old), headers);
        if (s != Status::Ok) return s;
    }

    // Stored names are Shift-JIS, as LZH tools on Japanese systems expect.
    QByteArray stored = memberName.toLatin1();
    QStringEncoder sjis("Shift_JIS");
    if (sjis.isValid()) stored = sjis(memberName);
    const std::string name(stored.constData(), static_cast<size_t>(stored.size()));
    const uint16_t crc = core::Crc16(src.data(), src.size());
    std::vector<uint8_t> packed = core::EncodeLh5(src);
    // Never write an archive that would not give the file back.
    {
        std::vector<uint8_t> check;
        check.reserve(src.size());
        const core::Sink sink = [&check](const uint8_t* p, size_t n) {
            check.insert(check.end(), p, p + n);
            return true;
        };
        if (core::DecodeMember("-lh5-", packed, src.size(), crc, sink) != Status::Ok ||
            check.size() != src.size() || !std::equal(check.begin(), check.end(), src.begin()))
            return Status::WriteError;
    }
    const qint64 mtime = QFileInfo(sourcePath).lastModified().toSecsSinceEpoch();
    const std::vector<uint8_t> header = core::MakeLevel2Header(
        name, packed.size(), src.size(), crc, static_cast<uint32_t>(std::max<qint64>(0, mtime)));

    files::SafeFile out(archivePath);
    if (!out.Open()) return Status::WriteError;
    auto write = [&out](const uint8_t* p, size_t n) { out.Write(p, n); };
    bool placed = false;
    for (const auto& h : headers) {
        if (Matches(h, memberName)) {
            if (!placed) {
                write(header.data(), header.size());
                write(packed.data(), packed.size());
                placed = true;
            }
            continue;
        }
        write(reinterpret_cast<const uint8_t*>(old.constData()) + h.headerStart, h.dataEnd - h.headerStart);
    }
    if (!placed) {
        write(header.data(), header.size());
        write(packed.data(), packed.size());
    }
    const uint8_t endMark = 0;
    write(&endMark, 1);
    return out.Commit() ? Status::Ok : Status::WriteError;
}

}  // namespace lzh
