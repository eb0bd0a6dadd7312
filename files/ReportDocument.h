#pragma once

#include "common/Failure.h"
#include "files/Report.h"

#include <QString>
#include <memory>

class QPagedPaintDevice;
class QPrinter;
class QTextDocument;
class QWidget;

// The configuration report on paper or in a PDF file: A4 pages with margins of 15 mm, a table
// per section (its column titles repeated on every page it runs over) and the page number at the
// bottom of each page ("2 / 3"). A report made of parts (the installation report) starts each
// section marked for it on a new page, under its heading, and greys the rows the section names.
namespace ReportDocument {

// The report as HTML. Every text of the report is escaped: a file name, a stored value or a name
// is shown as it is, never read as markup. A section on a new page breaks the page before it.
QString html(const Report &report);
// A text document holding html(report).
std::unique_ptr<QTextDocument> document(const Report &report);

// Lays the report out on the pages of `device` and paints those its page ranges name (none:
// every page). The device keeps its page size and margins. Each part that starts on a new page is
// laid out on its own, and a table of more than 500 rows goes on from the top of a new page every
// 500 rows, so the time taken grows with the number of pages, not with its square.
// Returns the number of pages of the report; 0 when nothing was painted (the device could not be
// painted on, or a part is too long for the layout's coordinates).
int paint(const Report &report, QPagedPaintDevice *device);

// Writes the report as a PDF file at `path`. The file is replaced whole: on failure (or for an
// empty report) nothing at that name changes and the failure (NotWritten) says why.
Failure exportPdf(const Report &report, const QString &path);

// Prints the report on a printer that is set up already (the pages it was given are kept).
void print(const Report &report, QPrinter *printer);
// Asks for a printer with the system's print dialog (modal over `parent`) and prints the report
// there; nothing happens when the installer cancels. An empty report prints nothing.
void print(const Report &report, QWidget *parent);

} // namespace ReportDocument
