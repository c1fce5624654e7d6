// The text of a preview document as a reader sees it, page by page: the
// header and footer parts and the printed lines, each line in cells of the
// table font (a double-byte character is two cells; a move of the print
// position becomes blanks up to its cell; empty lines between printed ones
// are kept).
#pragma once

#include "platform/preview/PreviewDocument.h"

#include <QString>
#include <QStringList>

namespace testenv {

// "portrait" or "landscape".
QString OrientationName(const preview::Page& page);
// "left|centre|right" of a header or footer text.
QString HeaderParts(const QString& text);
// The printed lines of page `index` (from 0).
QStringList PageLines(const preview::Document& doc, int index);
// Width of a text in cells of the table font.
int TextCells(const QString& text);

}  // namespace testenv
