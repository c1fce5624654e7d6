// Documents for the preview tests: a report-like page with a table heading
// block in the table font, Japanese and Latin columns, lines, a circle and
// labels, and a landscape layout page.
#pragma once

#include "platform/preview/DocumentBuilder.h"

#include <QString>

namespace previewtest {

inline const QString TableFont = QStringLiteral("ＭＳ ゴシック");
inline const QString CoverFont = QStringLiteral("ＭＳ Ｐゴシック");

// The heading block of the members table in SI units (column names, unit
// line with ideographic spaces, column template).
inline const QStringList MemberHeading = {
    QStringLiteral("                                   <             接合状態             >"),
    QStringLiteral("     部材NO.   形状NO.   節点NO.      x軸回り      y軸回り     z軸回り"),
    QStringLiteral("     　　      　　      　　         kN･m/rad    kN･m/rad    kN･m/rad"),
    QStringLiteral("      +---+     +---+     +---+     +-----.--+  +-----.--+  +-----.--+"),
};

// Report page format: portrait, table font 8 pt, project header, page
// number footer, rules below the header and above the footer.
inline void SetReportPageFormat(preview::DocumentBuilder& b, const QString& footer)
{
    b.SetOrientation(preview::Portrait);
    b.SetPageMargins(1000);
    b.SetFontName(TableFont);
    b.SetFontSize(8);
    b.SetHeaderFontName(CoverFont);
    b.SetHeaderFontSize(11);
    b.SetHeaderText(QStringLiteral("工事名 : 試験棟 A||ZELKOVA(for 32bit Windows)"));
    b.SetFooterText(footer);
    b.SetPageBorder(3);
    b.SetPenColor(0);
    b.SetPenWidth(0);
    b.SetBrushColor(0xFFFFFF);
}

// Two pages: the report page, then a landscape layout page.
inline void BuildSampleDocument(preview::DocumentBuilder& b)
{
    b.SetNewPageHandler(nullptr);
    b.StartDocument();
    SetReportPageFormat(b, QStringLiteral("|-   1 -|"));
    b.PrintParagraph(QStringLiteral("1.3 部材と接合状態"));
    b.PrintParagraph(QString());
    for (const QString& line : MemberHeading) b.PrintParagraph(line);
    // Rows: a head by PrintText, then columns placed at the template's
    // positions; every column text is ten cells wide.
    b.MeasureText(QStringLiteral("+-----.--+  "));
    const double step = b.MeasuredTextWidth();
    const QStringList rows[] = {
        {QStringLiteral("          1        11         1    "), QStringLiteral("        剛"), QStringLiteral("      ピン"), QStringLiteral("        剛")},
        {QStringLiteral("         12      1001        23    "), QStringLiteral("  1250.000"), QStringLiteral("        剛"), QStringLiteral("    -0.500")},
        {QStringLiteral("        305      9999       300    "), QStringLiteral("        剛"), QStringLiteral("        剛"), QStringLiteral("        剛")},
    };
    for (const QStringList& row : rows) {
        b.PrintText(row[0]);
        const double origin = b.CurrentX();
        for (int k = 1; k <= 3; ++k) {
            b.SetCurrentX(origin + (k - 1) * step);
            b.PrintText(row[k]);
        }
        b.PrintText(QStringLiteral("\r\n"));
    }
    // A small frame: heavy members with end dots, thin lines, labels.
    b.SetBrushColor(0);
    b.SetPenWidth(30);
    const double x0 = 2500, y0 = 9000;
    const double pts[][4] = {{x0, y0, x0, y0 - 3000}, {x0, y0 - 3000, x0 + 5000, y0 - 3000}, {x0 + 5000, y0 - 3000, x0 + 5000, y0}};
    for (const auto& p : pts) {
        b.DrawLine(p[0], p[1], p[2], p[3]);
        b.DrawCircle(p[0], p[1], 25);
        b.DrawCircle(p[2], p[3], 25);
    }
    b.SetPenWidth(0);
    b.SetShapeX1(x0 - 500);
    b.SetShapeY1(y0 + 200);
    b.SetShapeX2(x0 + 5500);
    b.SetShapeY2(y0 + 200);
    b.DrawShape(1);
    b.SetBrushColor(0xFFFFFF);
    b.SetPenColor(0xFFFFFF);
    b.MeasureText(QStringLiteral("12"));
    b.DrawTextBox(QStringLiteral("12"), x0 + 2500 - b.MeasuredTextWidth() / 2, y0 - 3000 - b.MeasuredTextHeight() / 2,
                  b.MeasuredTextWidth(), b.MeasuredTextHeight());
    b.MeasureText(QStringLiteral("[1001]"));
    b.DrawTextBox(QStringLiteral("[1001]"), x0 + 2500 - b.MeasuredTextWidth() / 2, y0 - 3000 + b.MeasuredTextHeight() / 2,
                  b.MeasuredTextWidth(), b.MeasuredTextHeight());
    b.SetPenColor(0xFF);
    b.SetBrushColor(0xFF);
    b.DrawCircle(x0 + 5000, y0, 60);
    b.SetPenColor(0);
    b.SetBrushColor(0xFFFFFF);

    b.NewPage();
    b.SetOrientation(preview::Landscape);
    b.SetHeaderText(QString());
    b.SetFooterText(QString());
    b.SetPageBorder(0);
    b.SetPageStyle(1);
    b.SetBrushColor(0xFFFF00);
    b.SetPenColor(0xFF0000);
    b.SetShapeX1(1000);
    b.SetShapeY1(2000);
    b.SetShapeX2(5000);
    b.SetShapeY2(4000);
    b.DrawShape(2);
    b.SetBrushColor(0x8000000F);
    b.SetShapeX1(5000);
    b.SetShapeX2(9000);
    b.DrawShape(2);
    b.SetPenColor(0xFF);
    b.DrawTextBox(QStringLiteral("   "), 2000, 2500, 600, 200);
    b.DrawLine(1000, 4500, 9000, 4500);
    b.PrintParagraph(QStringLiteral("配置 layout page"));
    b.EndDocument();
}

}  // namespace previewtest
