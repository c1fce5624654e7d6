// The preview document file: a versioned binary image of a Document.
//
//   "ZKPD", format version (u32 = 1),
//   font table:  count (u32), each: name (str), size (f64), style bits (u8)
//   pages:       count (u32), each: orientation (u8), margin (f64), header (str),
//                footer (str), header font (as above), border (i32), style (i32),
//                operation count (u32), each operation: kind (u8) and its fields
//   SHA-256 of everything before it (32 bytes).
//
// Integers and doubles are big-endian, texts are a byte count (u32) and
// UTF-8. The reader treats the file as untrusted: it checks the digest, every
// count and length against the bytes that remain before it allocates, and
// every value against its range.
#pragma once

#include "platform/preview/PreviewDocument.h"

#include <QByteArray>
#include <QString>

namespace preview {

QByteArray EncodeDocument(const Document& doc);
// False with the reason in `error` when `bytes` is not a whole, sound document.
bool DecodeDocument(const QByteArray& bytes, Document& doc, QString* error);

// Written whole through the safe writer, so a failed save leaves the old
// file as it was; false with the reason in `error`. A saved document is a
// work file of the program: a symbolic link of its name is replaced, never
// written through.
bool WriteDocumentFile(const Document& doc, const QString& path, QString* error);
bool ReadDocumentFile(const QString& path, Document& doc, QString* error);

}  // namespace preview
