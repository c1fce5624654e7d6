// LZH archives on disk: list the members, extract one member to a chosen
// file, add a file as a member. Archives are read whole into memory and
// treated as untrusted; a stored path never decides where anything is
// written. Every output goes to a temporary file beside its target and is
// renamed over it only when every byte is written and synced, so a failure
// (a full disk included) leaves the target as it was.
#pragma once

#include "platform/lzh/LzhCore.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace lzh {

// The member name of the project database inside a project archive.
inline const QString kProjectMember = QStringLiteral("Zelkova.mdb");

// Archives and members larger than this are refused.
constexpr qint64 kMaxFileSize = qint64{1} << 30;

struct MemberInfo {
    QString name;          // file name without folder (Shift-JIS decoded)
    QString folder;        // stored folder, '/' separated, may be empty
    QString method;        // such as "-lh5-"
    int headerLevel = 0;
    quint64 packedSize = 0;
    quint64 unpackedSize = 0;
    quint16 crc = 0;
};

// Lists the members in stored order.
Status ListMembers(const QString& archivePath, std::vector<MemberInfo>& members);

// Extracts the first member whose file name equals `memberName` (without
// regard to case, any stored folder ignored) to `destinationPath`. The CRC is
// verified before the destination is replaced.
Status ExtractMember(const QString& archivePath, const QString& destinationPath,
                     const QString& memberName = kProjectMember);

// Adds the file `sourcePath` to the archive as `memberName` (header level 2,
// -lh5-), replacing every member of that file name and keeping all others in
// their order; creates the archive when it does not exist. An existing file
// that is not a readable archive is left untouched.
Status AddMember(const QString& archivePath, const QString& sourcePath,
                 const QString& memberName = kProjectMember);

// Decodes a stored (raw) name: Shift-JIS, as LZH tools on Japanese systems
// write it; plain ASCII and UTF-8 names come through unchanged.
QString DecodeName(const std::string& raw);

}  // namespace lzh
