// Paints the pages of a document. One painter routine serves the preview,
// the printer and PDF export alike.
#pragma once

#include "platform/preview/PreviewDocument.h"

#include <QImage>

class QPainter;

namespace preview {

// Paints page `index` (from 0) of `doc`: the drawing operations in order,
// then the header, the footer and the border rules. The painter's user space
// must be in twips from the paper's top-left corner; the paper is not filled.
void RenderPage(QPainter& painter, const Document& doc, int index);

// The page on white paper at `pixelsPerTwip` (1/15 is 100 % on screen).
QImage RenderPageImage(const Document& doc, int index, double pixelsPerTwip);

}  // namespace preview
