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

using namespace Qt::StringLiterals;

namespace {

constexpr qreal MarginMillimetres = 15;
constexpr qreal FontPoints = 10;
// Tables wider than this many columns (the scenes of a relay module) get a smaller type.
constexpr qsizetype NarrowColumns = 6;

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
void appendList(QString &html, const ReportSection &section)
{
    html += u"<table cellspacing=\"0\" cellpadding=\"2\">"_s;
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

// A table with ruled cells.
void appendTable(QString &html, const ReportSection &section)
{
    const QString size = section.columns.size() > NarrowColumns ? u" style=\"font-size: 8pt;\""_s : QString();
    html += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\""
            u" style=\"border-collapse: collapse; border-color: #808080;\">"_s;
    appendHeader(html, section.columns, size);
    for (const QStringList &row : section.rows) {
        html += u"<tr>"_s;
        for (const QString &text : row)
            html += cell("td", text, size);
        html += u"</tr>"_s;
    }
    html += u"</table>"_s;
}

} // namespace

namespace ReportDocument {

QString html(const Report &report)
{
    QString html = u"<html><head><title>"_s + report.title.toHtmlEscaped() + u"</title></head><body>"_s;
    html += cell("h1", report.title);
    for (const ReportSection &section : report.sections) {
        if (!section.title.isEmpty()) html += cell("h2", section.title);
        if (section.columns.isEmpty())
            appendList(html, section);
        else if (!section.rows.isEmpty())
            appendTable(html, section);
        if (!section.note.isEmpty()) html += u"<p><i>"_s + section.note.toHtmlEscaped() + u"</i></p>"_s;
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
    const std::unique_ptr<QTextDocument> doc = document(report);
    // Laid out in the device's own units, so the type has its size in points on paper.
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    layout->setPaintDevice(device);
    const QFontMetricsF metrics(doc->defaultFont(), device);
    const qreal footer = 2 * metrics.height();
    const QSizeF body(device->width(), device->height() - footer);
    doc->setPageSize(body);

    const int pages = doc->pageCount();
    const QPageRanges ranges = device->pageRanges();
    bool first = true;
    for (int page = 1; page <= pages; ++page) {
        if (!ranges.isEmpty() && !ranges.contains(page)) continue;
        if (!first && !device->newPage()) break;
        first = false;
        const QRectF area(QPointF(0, (page - 1) * body.height()), body);
        painter.save();
        painter.translate(0, -area.top());
        painter.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        layout->draw(&painter, context);
        painter.restore();
        painter.setFont(doc->defaultFont());
        painter.drawText(QRectF(0, body.height(), body.width(), footer), Qt::AlignRight | Qt::AlignBottom,
                         u"%1 / %2"_s.arg(page).arg(pages));
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
                           u"cannot write %1: the PDF writer did not start"_s.arg(path)};
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
