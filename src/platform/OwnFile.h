// Reading a file the program keeps for itself (its settings records in the
// working folder, the settings file): only a regular file of that very name
// is read, without ever waiting (a pipe would never end a read). A symbolic
// link of the name points at someone else's file, whatever it holds, so it
// is never read through; neither is a folder or any other kind of file.
#pragma once

#include <QByteArray>
#include <QString>

namespace files {

enum class OwnFileRead {
    Absent,     // nothing of the name
    NotAFile,   // something else of the name: a link, a folder, a pipe, ...
    Read,       // `bytes` holds the file's bytes
    Failed,   // a regular file that could not be opened or read
};

// Reads at most `limit` bytes (the whole file when `limit` is negative) of
// the file `path` into `bytes`. On failure `error`, when given, says why.
OwnFileRead ReadOwnFile(const QString& path, QByteArray& bytes, qint64 limit = -1, QString* error = nullptr);

}  // namespace files
