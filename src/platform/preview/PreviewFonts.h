// Fonts of the document and their metrics in twips. The report's Japanese
// font names are served by the IPA fonts: "ＭＳ ゴシック" by the fixed-pitch
// IPA Gothic, in which a double-byte character is exactly two half-width
// cells, and "ＭＳ Ｐゴシック" by its proportional face. Fonts are sized in
// pixels of one twip with design (unhinted) metrics, so measures are linear,
// the same on every device, and independent of the screen's resolution.
#pragma once

#include "platform/preview/PreviewDocument.h"

#include <QFont>
#include <QString>

namespace preview {

// The installed face that serves a font name.
QString FaceFor(const QString& fontName);

// The font for a painter whose user space is in twips.
const QFont& FontFor(const PrintFont& font);

// Advance width of one line of text, blanks counted (leading and trailing
// ones too).
double TextWidth(const PrintFont& font, const QString& text);
// Distance from one line's top to the next.
double LineHeight(const PrintFont& font);
// Distance from a line's top to its baseline.
double Ascent(const PrintFont& font);

}  // namespace preview
