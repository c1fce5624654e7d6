#include "platform/preview/Printing.h"

#include "platform/SafeFile.h"
#include "platform/preview/PageRenderer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <utility>

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

// Paints pages `first` to `last`, `copies` times over, on a paged device
// whose painter is scaled to twips; the layout of each page is set before it
// begins. Each copy is painted from the document itself, so nothing grows
// with the copies but the output.
bool PaintPages(QPagedPaintDevice& device, const Document& doc, int first, int last, double dotsPerInch, int copies = 1)
{
    if (!device.setPageLayout(LayoutOf(doc.pages[first - 1].settings))) return false;
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (int copy = 1; copy <= copies; ++copy) {
        for (int page = first; page <= last; ++page) {
            if (copy > 1 || page > first) {
                device.setPageLayout(LayoutOf(doc.pages[page - 1].settings));
                if (!device.newPage()) return false;
            }
            painter.resetTransform();
            painter.scale(dotsPerInch / TwipsPerInch, dotsPerInch / TwipsPerInch);
            RenderPage(painter, doc, page - 1);
        }
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

std::shared_ptr<PrintTarget> SetPrintTarget(std::shared_ptr<PrintTarget> target)
{
    return std::exchange(Target(), target ? std::move(target) : std::make_shared<SystemPrintTarget>());
}

bool ExportPdf(const Document& doc, const QString& path, QString* error)
{
    return ExportPdf(doc, 1, static_cast<int>(doc.pages.size()), 1, path, error);
}

bool ExportPdf(const Document& doc, int first, int last, int copies, const QString& path, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (doc.pages.empty()) return fail(QStringLiteral("the document has no pages"));
    if (first < 1 || first > last || last > static_cast<int>(doc.pages.size()) || copies < 1)
        return fail(QStringLiteral("no pages to write"));
    // The file is written beside the target and takes its place only when
    // whole; on any failure it goes and the target stays as it was.
    files::SafeFileStream out(path);
    // The system's reason, where it gave one ("No space left on device").
    auto cannotWrite = [&out, &path] {
        const QString why = out.ErrorString();
        return why.isEmpty() ? QStringLiteral("cannot write %1").arg(path) : QStringLiteral("cannot write %1: %2").arg(path, why);
    };
    if (!out.Begin()) return fail(cannotWrite());
    bool painted = false;
    {
        QPdfWriter writer(&out);
        writer.setCreator(QStringLiteral("ZELKOVA"));
        // Device units of one twip.
        writer.setResolution(static_cast<int>(TwipsPerInch));
        painted = PaintPages(writer, doc, first, last, TwipsPerInch, copies);
    }
    if (!painted || !out.Commit()) return fail(cannotWrite());
    return true;
}

}  // namespace preview
