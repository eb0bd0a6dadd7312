#include "files/ReportDocument.h"

#include "common/Lang.h"
#include "files/SafeFile.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextDocument>
#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr qreal MarginMillimetres = 15;
constexpr qreal FontPoints = 10;
// Tables wider than this many columns (the scenes of a relay module) get a smaller type.
constexpr qsizetype NarrowColumns = 6;
// The style that puts an element at the top of a new page.
const QString PageBreak = u" page-break-before: always;"_s;

QPageLayout a4()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(MarginMillimetres, MarginMillimetres, MarginMillimetres, MarginMillimetres),
                       QPageLayout::Millimeter);
}

QString cell(const char *tag, const QString &text, const QString &attributes = {})
{
    const QString t = QString::fromLatin1(tag);
    return u'<' + t + attributes + u'>' + text.toHtmlEscaped() + u"</"_s + t + u'>';
}

// A list of lines: the label of each line in bold, no rules.
void appendList(QString &html, const ReportSection &section, const QString &attributes)
{
    html += u"<table cellspacing=\"0\" cellpadding=\"2\""_s + attributes + u'>';
    for (const QStringList &row : section.rows) {
        html += u"<tr>"_s;
        for (qsizetype i = 0; i < row.size(); ++i)
            html += i == 0 && row.size() > 1 ? u"<td><b>"_s + row[i].toHtmlEscaped() + u"</b></td>"_s
                                             : cell("td", row[i]);
        html += u"</tr>"_s;
    }
    html += u"</table>"_s;
}

// A column title: "Uitgang 12" is the word "Uitgang" and the number "12"; a title that does
// not end in a number is a word only.
struct ColumnTitle
{
    QString word;
    QString number;
};

ColumnTitle split(const QString &title)
{
    static const QRegularExpression numbered(u"^(.*\\S)\\s+(\\d+)$"_s);
    const QRegularExpressionMatch m = numbered.match(title);
    if (!m.hasMatch()) return {title, QString()};
    return {m.captured(1), m.captured(2)};
}

// The column titles on a grey band, repeated on every page the table runs over. Neighbouring
// columns named by one word and a number ("Uitgang 1" .. "Uitgang 12") share the word over
// them and keep only their numbers, so a table of many channels keeps narrow columns.
void appendHeader(QString &html, const QStringList &columns, const QString &style)
{
    QList<ColumnTitle> titles;
    for (const QString &c : columns)
        titles << split(c);
    const auto sharesWord = [&titles](qsizetype i, qsizetype j) {
        return j < titles.size() && !titles[i].number.isEmpty() && !titles[j].number.isEmpty() &&
               titles[i].word == titles[j].word;
    };
    bool grouped = false;
    for (qsizetype i = 0; i + 1 < titles.size(); ++i)
        grouped = grouped || sharesWord(i, i + 1);

    const QString band = u" align=\"left\" bgcolor=\"#e6e6e6\""_s + style;
    if (!grouped) {
        html += u"<thead><tr>"_s;
        for (const QString &c : columns)
            html += cell("th", c, band);
        html += u"</tr></thead>"_s;
        return;
    }
    QString top = u"<tr>"_s;
    QString bottom = u"<tr>"_s;
    for (qsizetype i = 0; i < titles.size();) {
        qsizetype end = i + 1;
        while (sharesWord(i, end))
            ++end;
        if (end - i > 1) {
            top += cell("th", titles[i].word, u" colspan=\"%1\""_s.arg(end - i) + band);
            for (qsizetype j = i; j < end; ++j)
                bottom += cell("th", titles[j].number, band);
        } else {
            top += cell("th", columns[i], u" rowspan=\"2\""_s + band);
        }
        i = end;
    }
    html += u"<thead>"_s + top + u"</tr>"_s + bottom + u"</tr></thead>"_s;
}

// A table with ruled cells; the rows the section greys are shown in grey type.
void appendTable(QString &html, const ReportSection &section, const QString &pageBreak)
{
    const QString size = section.columns.size() > NarrowColumns ? u"font-size: 8pt;"_s : QString();
    const QString style = size.isEmpty() ? QString() : u" style=\""_s + size + u'"';
    const QString greyed = u" style=\""_s + size + u"color: #808080;\""_s;
    html += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\""
            u" style=\"border-collapse: collapse; border-color: #808080;"_s +
            pageBreak + u"\">"_s;
    appendHeader(html, section.columns, style);
    QList<int> grey = section.greyedRows;
    std::sort(grey.begin(), grey.end());
    for (qsizetype r = 0; r < section.rows.size(); ++r) {
        const QString &attributes =
            std::binary_search(grey.cbegin(), grey.cend(), static_cast<int>(r)) ? greyed : style;
        html += u"<tr>"_s;
        for (const QString &text : section.rows[r])
            html += cell("td", text, attributes);
        html += u"</tr>"_s;
    }
    html += u"</table>"_s;
}

// A long table is laid out in parts of at most this many rows, each from the top of a page (under
// its column titles, as on any page it runs over): drawing a page of a table takes longer with
// every page the table covers, and a table of thousands of rows would outgrow the layout's
// coordinates.
constexpr qsizetype RowsPerPart = 500;

// The report cut where a section starts a new page, and where a long table reaches RowsPerPart
// rows: the first part under the report's title, each further part on pages of its own.
QList<Report> parts(const Report &report)
{
    QList<Report> out{Report{report.language, report.title, {}}};
    const auto newPart = [&out, &report] {
        if (!out.last().sections.isEmpty()) out << Report{report.language, QString(), {}};
    };
    for (const ReportSection &section : report.sections) {
        if (section.newPage) newPart();
        if (section.columns.isEmpty() || section.rows.size() <= RowsPerPart) {
            out.last().sections << section;
            out.last().sections.last().newPage = false;
            continue;
        }
        for (qsizetype from = 0; from < section.rows.size(); from += RowsPerPart) {
            if (from > 0) newPart();
            ReportSection piece;
            if (from == 0) {
                piece.heading = section.heading;
                piece.title = section.title;
            }
            piece.columns = section.columns;
            piece.rows = section.rows.mid(from, RowsPerPart);
            for (const int row : section.greyedRows)
                if (row >= from && row < from + RowsPerPart) piece.greyedRows << static_cast<int>(row - from);
            if (from + RowsPerPart >= section.rows.size()) piece.note = section.note;
            out.last().sections << piece;
        }
    }
    return out;
}

} // namespace

namespace ReportDocument {

QString html(const Report &report)
{
    QString html = u"<html><head><title>"_s + report.title.toHtmlEscaped() + u"</title></head><body>"_s;
    if (!report.title.isEmpty()) html += cell("h1", report.title);
    for (const ReportSection &section : report.sections) {
        // A section on a new page breaks before its first element.
        QString pageBreak = section.newPage ? PageBreak : QString();
        const auto breakHere = [&pageBreak] {
            const QString attribute = pageBreak.isEmpty() ? QString() : u" style=\""_s + pageBreak + u'"';
            pageBreak.clear();
            return attribute;
        };
        if (!section.heading.isEmpty()) html += cell("h1", section.heading, breakHere());
        if (!section.title.isEmpty()) html += cell("h2", section.title, breakHere());
        if (section.columns.isEmpty())
            appendList(html, section, breakHere());
        else if (!section.rows.isEmpty())
            appendTable(html, section, std::exchange(pageBreak, QString()));
        if (!section.note.isEmpty())
            html += u"<p"_s + breakHere() + u"><i>"_s + section.note.toHtmlEscaped() + u"</i></p>"_s;
    }
    html += u"</body></html>"_s;
    return html;
}

std::unique_ptr<QTextDocument> document(const Report &report)
{
    auto doc = std::make_unique<QTextDocument>();
    QFont font = doc->defaultFont();
    font.setPointSizeF(FontPoints);
    doc->setDefaultFont(font);
    doc->setHtml(html(report));
    doc->setMetaInformation(QTextDocument::DocumentTitle, report.title);
    return doc;
}

int paint(const Report &report, QPagedPaintDevice *device)
{
    QPainter painter;
    if (!device || !painter.begin(device)) return 0;
    // Each part is laid out on its own: the pages of one part never wait for the layout of the
    // others, and a page is drawn from its part alone, so a report of many modules takes time in
    // proportion to its pages.
    struct LaidOut
    {
        std::unique_ptr<QTextDocument> document;
        int pages = 0;
    };
    std::vector<LaidOut> laidOut;
    QFont font;
    QSizeF body;
    qreal footer = 0;
    int pages = 0;
    for (const Report &part : parts(report)) {
        LaidOut l{document(part)};
        // Laid out in the device's own units, so the type has its size in points on paper.
        l.document->documentLayout()->setPaintDevice(device);
        if (laidOut.empty()) {
            font = l.document->defaultFont();
            footer = 2 * QFontMetricsF(font, device).height();
            body = QSizeF(device->width(), device->height() - footer);
        }
        l.document->setPageSize(body);
        l.pages = l.document->pageCount();
        // A part too long for the layout's coordinates counts no pages: nothing is printed.
        if (l.pages <= 0) {
            painter.end();
            return 0;
        }
        pages += l.pages;
        laidOut.push_back(std::move(l));
    }

    const QPageRanges ranges = device->pageRanges();
    bool first = true;
    int number = 0;
    for (const LaidOut &part : laidOut) {
        QAbstractTextDocumentLayout *layout = part.document->documentLayout();
        for (int page = 1; page <= part.pages; ++page) {
            ++number;
            if (!ranges.isEmpty() && !ranges.contains(number)) continue;
            if (!first && !device->newPage()) return pages;
            first = false;
            const QRectF area(QPointF(0, (page - 1) * body.height()), body);
            painter.save();
            painter.translate(0, -area.top());
            painter.setClipRect(area);
            QAbstractTextDocumentLayout::PaintContext context;
            context.clip = area;
            layout->draw(&painter, context);
            painter.restore();
            painter.setFont(font);
            painter.drawText(QRectF(0, body.height(), body.width(), footer), Qt::AlignRight | Qt::AlignBottom,
                             u"%1 / %2"_s.arg(number).arg(pages));
        }
    }
    return pages;
}

Failure exportPdf(const Report &report, const QString &path)
{
    if (report.isEmpty())
        return Failure{Failure::Kind::NotWritten, path, u"cannot write %1: no module to report"_s.arg(path)};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(a4());
        writer.setTitle(report.title);
        writer.setCreator(u"QV Velano5"_s);
        if (paint(report, &writer) == 0)
            return Failure{Failure::Kind::NotWritten, path,
                           u"cannot write %1: the report could not be laid out on PDF pages"_s.arg(path)};
    }
    return SafeFile::replace(path, buffer.data());
}

void print(const Report &report, QPrinter *printer)
{
    if (!report.isEmpty()) paint(report, printer);
}

void print(const Report &report, QWidget *parent)
{
    if (report.isEmpty()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(a4());
    printer.setDocName(report.title);
    printer.setCreator(u"QV Velano5"_s);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(u"ReportPrintDialog"_s);
    dialog.setWindowTitle(Lang::text(report.language, u"Afdrukken"_s, u"Imprimer"_s));
    // The report is printed whole or by pages; there is no selection or current page.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted) return;
    print(report, &printer);
}

} // namespace ReportDocument
