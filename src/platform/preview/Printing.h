// Printing and PDF export of a document. Printing goes through a print
// target: the system's printers normally, a recording one in tests.
#pragma once

#include "platform/preview/PreviewDocument.h"

#include <QString>
#include <QStringList>
#include <memory>

class QPrinter;

namespace preview {

class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    // Installed printers by device name, in the order the system lists them.
    virtual QStringList PrinterNames() = 0;
    virtual QString DefaultPrinterName() = 0;
    // Prints pages `first` to `last` (from 1, a valid range) of `doc` on the
    // printer `printer` as one job, each page in its own orientation.
    virtual bool Print(const Document& doc, int first, int last, const QString& printer) = 0;
};

// Prints through Qt's printer support (CUPS on Linux).
class SystemPrintTarget : public PrintTarget {
public:
    QStringList PrinterNames() override;
    QString DefaultPrinterName() override;
    bool Print(const Document& doc, int first, int last, const QString& printer) override;
};

// Paints pages `first` to `last` (from 1) on a printer that is set up but
// not begun, as one job, each page on a whole A4 sheet in its orientation.
bool PrintOn(QPrinter& printer, const Document& doc, int first, int last);

// The print target in force (the system's unless one was set). Setting one
// (nullptr: the system's) returns the one it replaces.
PrintTarget& CurrentPrintTarget();
std::shared_ptr<PrintTarget> SetPrintTarget(std::shared_ptr<PrintTarget> target);

// Writes every page of `doc` as one A4 page of a PDF file, each in its own
// orientation; false with the reason in `error` when it cannot. The file
// replaces `path` only when it is whole: after a failure `path` is as it was
// and nothing is left beside it.
bool ExportPdf(const Document& doc, const QString& path, QString* error = nullptr);
// The same for pages `first` to `last` (from 1), the range `copies` times
// over, one copy after the other.
bool ExportPdf(const Document& doc, int first, int last, int copies, const QString& path, QString* error = nullptr);

}  // namespace preview
