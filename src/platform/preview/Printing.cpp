#include "platform/preview/Printing.h"

#include "platform/preview/PageRenderer.h"

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace preview {

namespace {

std::shared_ptr<PrintTarget>& Target()
{
    static std::shared_ptr<PrintTarget> target = std::make_shared<SystemPrintTarget>();
    return target;
}

// The whole sheet: the document places everything itself, margins included.
QPageLayout LayoutOf(const PageSettings& s)
{
    QPageLayout layout(QPageSize(QPageSize::A4),
                       s.orientation == Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

// Paints the pages on a paged device whose painter is scaled to twips; the
// layout of each page is set before it begins.
bool PaintPages(QPagedPaintDevice& device, const Document& doc, int first, int last, double dotsPerInch)
{
    if (!device.setPageLayout(LayoutOf(doc.pages[first - 1].settings))) return false;
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (int page = first; page <= last; ++page) {
        if (page > first) {
            device.setPageLayout(LayoutOf(doc.pages[page - 1].settings));
            if (!device.newPage()) return false;
        }
        painter.resetTransform();
        painter.scale(dotsPerInch / TwipsPerInch, dotsPerInch / TwipsPerInch);
        RenderPage(painter, doc, page - 1);
    }
    return painter.end();
}

}  // namespace

QStringList SystemPrintTarget::PrinterNames() { return QPrinterInfo::availablePrinterNames(); }

QString SystemPrintTarget::DefaultPrinterName() { return QPrinterInfo::defaultPrinterName(); }

bool SystemPrintTarget::Print(const Document& doc, int first, int last, const QString& printer)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer);
    if (info.isNull()) return false;
    QPrinter device(info, QPrinter::HighResolution);
    device.setDocName(QStringLiteral("ZELKOVA"));
    return PrintOn(device, doc, first, last);
}

bool PrintOn(QPrinter& printer, const Document& doc, int first, int last)
{
    if (first < 1 || first > last || last > static_cast<int>(doc.pages.size())) return false;
    printer.setFullPage(true);
    return PaintPages(printer, doc, first, last, printer.resolution());
}

PrintTarget& CurrentPrintTarget() { return *Target(); }

void SetPrintTarget(std::shared_ptr<PrintTarget> target)
{
    Target() = target ? std::move(target) : std::make_shared<SystemPrintTarget>();
}

bool ExportPdf(const Document& doc, const QString& path, QString* error)
{
    if (doc.pages.empty()) {
        if (error) *error = QStringLiteral("the document has no pages");
        return false;
    }
    bool ok = false;
    {
        QPdfWriter writer(path);
        writer.setCreator(QStringLiteral("ZELKOVA"));
        // Device units of one twip.
        writer.setResolution(static_cast<int>(TwipsPerInch));
        ok = PaintPages(writer, doc, 1, static_cast<int>(doc.pages.size()), TwipsPerInch);
    }
    if (!ok) {
        QFile::remove(path);
        if (error) *error = QStringLiteral("cannot write %1").arg(path);
    }
    return ok;
}

}  // namespace preview
