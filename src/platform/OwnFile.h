// Reading a file the program keeps for itself in the working folder (its
// settings records): only a regular file of that very name is read. A
// symbolic link of the name points at someone else's file, whatever it holds,
// so it is never read through; like a folder or any other kind of file of
// the name, it counts as no file at all.
#pragma once

#include <QByteArray>
#include <QString>

namespace files {

enum class OwnFileRead {
    Absent,   // no regular file of the name: missing, a link, a folder, ...
    Read,     // `bytes` holds the file's bytes
    Failed,   // a regular file that could not be opened or read
};

// Reads at most `limit` bytes (the whole file when `limit` is negative) of
// the file `path` into `bytes`. On failure `error`, when given, says why.
OwnFileRead ReadOwnFile(const QString& path, QByteArray& bytes, qint64 limit = -1, QString* error = nullptr);

}  // namespace files
