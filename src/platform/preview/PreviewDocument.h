// A paged document as the report and the frame diagram build it: pages of
// A4 paper, each with its own settings (orientation, margins, header and
// footer) and its drawing operations in the order they were made. Lengths
// are twips from the paper's top-left corner; colours are 24-bit numbers with
// blue in the high byte (&HBBGGRR).
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace preview {

constexpr double TwipsPerInch = 1440.0;
constexpr double TwipsPerPoint = 20.0;
// A4 paper, 210 x 297 mm.
constexpr double A4ShortSide = 11906.0;
constexpr double A4LongSide = 16838.0;

enum Orientation : int { Portrait = 1, Landscape = 2 };

// The colours the program draws with.
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kCyan = 0xFFFF00;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kButtonFace = 0x8000000F;   // the system's colour of buttons

// A colour given as &HBBGGRR; values with the high bit set name a system
// colour (only the button face is known; others show black).
QColor ToQColor(uint32_t colour);

struct PrintFont {
    QString name;        // as the caller gave it ("ＭＳ ゴシック")
    double size = 10;    // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    bool operator==(const PrintFont&) const = default;
};

// PageBorder values: bit 1 a rule below the header, bit 2 a rule above the
// footer (3 both).
enum BorderRule : int { BorderNone = 0, BorderBelowHeader = 1, BorderAboveFooter = 2 };

struct PageSettings {
    int orientation = Portrait;
    double margin = 1000;        // all four sides, twips
    QString headerText;          // "left|centre|right"
    QString footerText;
    PrintFont headerFont;         // header and footer
    int border = BorderNone;
    int style = 0;               // kept with the page; no effect on drawing

    double Width() const { return orientation == Landscape ? A4LongSide : A4ShortSide; }
    double Height() const { return orientation == Landscape ? A4ShortSide : A4LongSide; }
    bool operator==(const PageSettings&) const = default;
};

// The three parts of a header or footer text ("left|centre|right"); missing
// parts are empty.
QStringList SplitHeaderText(const QString& text);

struct Pen {
    uint32_t colour = 0;
    double width = 0;   // twips; 0 is the thinnest line the device draws
    bool operator==(const Pen&) const = default;
};

enum class OpKind : uint8_t { Text = 1, Line = 2, Rectangle = 3, Circle = 4, TextBox = 5 };

// One drawing operation. The coordinates mean, by kind:
//   Text:      (x1, y1) top-left of the line box, x2 its advance width;
//   Line:      from (x1, y1) to (x2, y2);
//   Rectangle, TextBox: corners (x1, y1) and (x2, y2);
//   Circle:    centre (x1, y1), radius x2.
struct DrawOp {
    OpKind kind = OpKind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Pen pen;                 // Line, Rectangle, Circle, TextBox
    uint32_t brush = 0;      // fill of Rectangle, Circle, TextBox
    bool filled = true;      // TextBox
    int font = 0;            // Text, TextBox: index into Document::fonts
    QString text;            // Text, TextBox

    bool operator==(const DrawOp&) const = default;
};

struct Page {
    PageSettings settings;
    std::vector<DrawOp> ops;
    bool operator==(const Page&) const = default;
};

struct Document {
    std::vector<PrintFont> fonts;   // every font a text operation uses
    std::vector<Page> pages;

    // The index of `font` in the font table, added when it is new.
    int FontIndex(const PrintFont& font);
    bool operator==(const Document&) const = default;
};

}  // namespace preview
