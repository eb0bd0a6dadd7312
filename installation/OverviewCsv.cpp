#include "installation/OverviewCsv.h"

#include "installation/Overview.h"

#include <QHash>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <optional>

using namespace Qt::StringLiterals;

namespace OverviewCsv {
namespace {

// The columns of the file, in the order it writes them.
enum Column
{
    Id,
    Kind,
    Number,
    ModuleColumn,
    What,
    Name,
    FirstFunction,
    SecondFunction,
    PushButtonsColumn,
    ScenesColumn,
    GroupScene,
    Settings,
    ColumnCount
};

// The titles of the columns the import reads, in both languages.
const std::array<Lang::Text, 4> KeyTitles{Lang::Text{u"Id"_s, u"Id"_s}, Lang::Text{u"Soort"_s, u"Sorte"_s},
                                          Lang::Text{u"Nummer"_s, u"Numéro"_s},
                                          Lang::Text{u"Naam"_s, u"Nom"_s}};
constexpr std::array<Column, 4> KeyColumns{Id, Kind, Number, Name};

// The kind of a row, by the names list it belongs to (0 outputs, 1 push buttons, 2 scenes).
const std::array<Lang::Text, 3> Kinds{Lang::Text{u"Uitgang"_s, u"Sortie"_s},
                                      Lang::Text{u"Drukknop"_s, u"Bouton poussoir"_s},
                                      Lang::Text{u"Sfeer"_s, u"Contexte"_s}};
enum List
{
    OutputList,
    PushButtonList,
    SceneList
};

constexpr char16_t Separator = u';';
constexpr char16_t Apostrophe = u'\'';

// A text a spreadsheet would run: '=', '+', '-' or '@' first, after any apostrophes (so that a
// text that begins with an apostrophe before one of them keeps it too).
bool runnable(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == Apostrophe)
        ++i;
    return i < text.size() && QStringView(u"=+-@").contains(text[i]);
}

QString cellOf(const QString &text)
{
    QString cell = runnable(text) ? Apostrophe + text : text;
    if (cell.contains(Separator) || cell.contains(u'"') || cell.contains(u'\r') || cell.contains(u'\n'))
        cell = u'"' + cell.replace(u'"', u"\"\""_s) + u'"';
    return cell;
}

QString cellRead(const QString &cell)
{
    return cell.startsWith(Apostrophe) && runnable(cell) ? cell.mid(1) : cell;
}

void addRecord(QString &out, const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i) out += Separator;
        out += cellOf(fields[i]);
    }
    out += u"\r\n"_s;
}

// ---- Reading ------------------------------------------------------------------------------

// Windows-1252 is Latin-1 apart from 0x80..0x9F. Written out here rather than asked of Qt, whose
// named encodings come from a library some builds (Windows) leave out: a file must read the same
// everywhere. The five bytes the encoding leaves free read as the control characters of Latin-1,
// which the names check then drops.
QString fromWindows1252(QByteArrayView bytes)
{
    static constexpr std::array<char16_t, 32> High{
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte <= 0x9F ? High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

QString decoded(const QByteArray &file)
{
    QByteArrayView bytes(file);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                          : QStringConverter::Utf16BE,
                             QStringConverter::Flag::Stateless);
        return utf16(bytes.sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
    // Stateless: a sequence cut off at the end of the file is an error too.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(bytes);
    if (utf8.hasError()) return fromWindows1252(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}

struct Record
{
    int line = 0;
    QStringList fields;
};

struct Csv
{
    std::vector<Record> records;
    // Broken quoting: where and what (nothing when the file is sound).
    int brokenLine = 0;
    Lang::Text broken;
};

bool endsField(QChar c, QChar separator)
{
    return c == separator || c == u'\r' || c == u'\n';
}

// The records of `text`, each with the line it starts on (up to broken quoting, if any). Lines end
// in CR LF, LF or CR; a quoted field may hold any of them, and the separator and doubled quotes.
Csv readCsv(QStringView text, QChar separator)
{
    Csv csv;
    const auto fail = [&csv](int line, const QString &dutch, const QString &french) {
        csv.brokenLine = line;
        csv.broken = {dutch, french};
        return csv;
    };
    const qsizetype n = text.size();
    qsizetype i = 0;
    int line = 1;
    while (i < n) {
        Record record;
        record.line = line;
        for (;;) {
            QString field;
            if (i < n && text[i] == u'"') {
                const int opened = line;
                bool closed = false;
                for (++i; i < n; ++i) {
                    const QChar c = text[i];
                    if (c == u'"') {
                        if (i + 1 < n && text[i + 1] == u'"') {
                            field += c;
                            ++i;
                            continue;
                        }
                        closed = true;
                        ++i;
                        break;
                    }
                    if (c == u'\n' || (c == u'\r' && !(i + 1 < n && text[i + 1] == u'\n'))) ++line;
                    field += c;
                }
                if (!closed)
                    return fail(opened, u"een veld tussen aanhalingstekens wordt niet afgesloten"_s,
                                u"un champ entre guillemets n'est pas fermé"_s);
                if (i < n && !endsField(text[i], separator))
                    return fail(line, u"tekst na het aanhalingsteken dat een veld afsluit"_s,
                                u"du texte suit le guillemet qui ferme un champ"_s);
            } else {
                const qsizetype start = i;
                for (; i < n && !endsField(text[i], separator); ++i)
                    if (text[i] == u'"')
                        return fail(line, u"een aanhalingsteken in een veld dat er niet tussen staat"_s,
                                    u"un guillemet dans un champ qui n'est pas entre guillemets"_s);
                field = text.sliced(start, i - start).toString();
            }
            record.fields << field;
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            if (i < n) { // a line break ends the record
                if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
                ++i;
                ++line;
            }
            break;
        }
        csv.records.push_back(std::move(record));
    }
    return csv;
}

bool blank(const Record &record)
{
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const QString &f) { return f.trimmed().isEmpty(); });
}

// A value from the file as an explanation shows it: plain, on one line, not too long.
QString shown(const QString &value)
{
    const QString plain = typedName(value);
    return plain.size() > 40 ? plain.left(39) + u'…' : plain;
}

} // namespace

QString typedName(const QString &typed)
{
    return installationText(typed, InstallationFormat::MaxNameLength).trimmed();
}

Lang::Text UnplacedRow::text() const
{
    return {u"Regel %1: "_s.arg(line) + why.dutch, u"Ligne %1 : "_s.arg(line) + why.french};
}

QByteArray exportCsv(const Installation &installation, Lang::Language language)
{
    const Lang::Language words = language.readable();
    const Overview::Table tables[] = {Overview::outputs(installation, words),
                                      Overview::pushButtons(installation, words),
                                      Overview::scenes(installation, words)};
    // Where each table's cells go.
    const std::array<std::vector<Column>, 3> places{
        std::vector<Column>{ModuleColumn, What, Name, PushButtonsColumn, ScenesColumn},
        std::vector<Column>{ModuleColumn, What, Name, FirstFunction, SecondFunction},
        std::vector<Column>{ModuleColumn, What, Name, GroupScene, Settings, PushButtonsColumn}};

    QStringList header(ColumnCount);
    for (size_t k = 0; k < KeyColumns.size(); ++k)
        header[KeyColumns[k]] = *KeyTitles[k].in(words);
    header[What] = Lang::text(words, u"Wat"_s, u"Quoi"_s);
    for (List list : {OutputList, PushButtonList, SceneList})
        for (size_t c = 0; c < places[list].size(); ++c)
            if (header[places[list][c]].isEmpty()) header[places[list][c]] = tables[list].columns.value(c);

    QString out;
    addRecord(out, header);
    for (List list : {PushButtonList, OutputList, SceneList}) {
        const QString kind = *Kinds[list].in(words);
        for (const Overview::Row &row : tables[list].rows) {
            QStringList fields(ColumnCount);
            fields[Id] = installation.modules[static_cast<size_t>(row.place.module)].id;
            fields[Kind] = kind;
            fields[Number] = QString::number(row.place.number);
            for (size_t c = 0; c < places[list].size(); ++c)
                fields[places[list][c]] = row.cells.value(c);
            addRecord(out, fields);
        }
    }
    return "\xEF\xBB\xBF" + out.toUtf8();
}

NamesImport importNames(const QByteArray &file, const Installation &installation)
{
    NamesImport result;
    const auto damaged = [&result](const Lang::Text &why) {
        result.damaged = true;
        result.problem = why;
        return result;
    };
    if (file.size() > MaxFileSize)
        return damaged({u"Het bestand is groter dan %1 MB."_s.arg(MaxFileSize / (1024 * 1024)),
                        u"Le fichier dépasse %1 Mo."_s.arg(MaxFileSize / (1024 * 1024))});
    const QString text = decoded(file);

    // The header is the first row with any text; the separator is the one that gives it the key
    // columns.
    const auto columnOf = [](const QStringList &fields, const Lang::Text &title) {
        std::vector<int> found;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QString f = fields[i].trimmed();
            if (f.compare(title.dutch, Qt::CaseInsensitive) == 0 ||
                f.compare(title.french, Qt::CaseInsensitive) == 0)
                found.push_back(static_cast<int>(i));
        }
        return found;
    };
    Csv csv;
    std::vector<Record>::const_iterator header;
    bool found = false;
    for (const QChar separator : {QChar(u';'), QChar(u','), QChar(u'\t')}) {
        csv = readCsv(text, separator);
        header =
            std::find_if(csv.records.cbegin(), csv.records.cend(), [](const Record &r) { return !blank(r); });
        found = header != csv.records.cend() &&
                std::all_of(KeyTitles.begin(), KeyTitles.end(),
                            [&](const Lang::Text &t) { return !columnOf(header->fields, t).empty(); });
        if (found) break;
    }
    if (!found)
        return damaged(
            {u"Het bestand heeft geen kopregel met de kolommen Id, Soort, Nummer en Naam."_s,
             u"Le fichier n'a pas de ligne d'en-tête avec les colonnes Id, Sorte, Numéro et Nom."_s});
    if (csv.brokenLine)
        return damaged({u"Regel %1: "_s.arg(csv.brokenLine) + csv.broken.dutch + u'.',
                        u"Ligne %1 : "_s.arg(csv.brokenLine) + csv.broken.french + u'.'});
    std::array<int, 4> at{};
    for (size_t k = 0; k < KeyTitles.size(); ++k) {
        const std::vector<int> columns = columnOf(header->fields, KeyTitles[k]);
        if (columns.size() != 1)
            return damaged({u"De kolom %1 staat meer dan eens in de kopregel."_s.arg(KeyTitles[k].dutch),
                            u"La colonne %1 figure plus d'une fois dans la ligne d'en-tête."_s.arg(
                                KeyTitles[k].french)});
        at[k] = columns.front();
    }

    QHash<QString, int> moduleById;
    for (size_t m = installation.modules.size(); m-- > 0;)
        moduleById.insert(installation.modules[m].id, static_cast<int>(m));
    // Where each module, list and number was named first.
    QHash<QString, int> namedOn;
    std::vector<std::vector<NameChange>> changes(installation.modules.size());

    for (auto r = header + 1; r != csv.records.cend(); ++r) {
        if (blank(*r)) continue;
        const auto unplaced = [&result, r](const QString &dutch, const QString &french) {
            result.unplaced.push_back({r->line, {dutch, french}});
        };
        std::array<QString, 4> value;
        std::optional<size_t> missing;
        for (size_t k = 0; k < KeyTitles.size(); ++k) {
            value[k] = at[k] < r->fields.size() ? cellRead(r->fields[at[k]]) : QString();
            const bool absent =
                at[k] >= r->fields.size() || (KeyColumns[k] != Name && value[k].trimmed().isEmpty());
            if (absent && !missing) missing = k;
        }
        if (missing) {
            unplaced(u"het veld %1 ontbreekt"_s.arg(KeyTitles[*missing].dutch),
                     u"le champ %1 manque"_s.arg(KeyTitles[*missing].french));
            continue;
        }
        const QString id = value[0];
        const auto module = moduleById.constFind(id);
        if (module == moduleById.constEnd()) {
            unplaced(u"geen module met id “%1”"_s.arg(shown(id)),
                     u"aucun module avec l'id « %1 »"_s.arg(shown(id)));
            continue;
        }
        const QString kindText = value[1].trimmed();
        const auto kind = std::find_if(Kinds.begin(), Kinds.end(), [&kindText](const Lang::Text &k) {
            return kindText.compare(k.dutch, Qt::CaseInsensitive) == 0 ||
                   kindText.compare(k.french, Qt::CaseInsensitive) == 0;
        });
        if (kind == Kinds.end()) {
            unplaced(u"onbekende soort “%1”"_s.arg(shown(kindText)),
                     u"sorte inconnue « %1 »"_s.arg(shown(kindText)));
            continue;
        }
        const int list = static_cast<int>(kind - Kinds.begin());
        const InstallationModule &m = installation.modules[static_cast<size_t>(*module)];
        const std::vector<QString> &names = list == OutputList       ? m.names.outputs
                                            : list == PushButtonList ? m.names.pushButtons
                                                                     : m.names.scenes;
        bool isNumber = false;
        const int number = value[2].trimmed().toInt(&isNumber);
        if (!isNumber) {
            unplaced(u"geen nummer: “%1”"_s.arg(shown(value[2])),
                     u"pas un numéro : « %1 »"_s.arg(shown(value[2])));
            continue;
        }
        const int count = static_cast<int>(names.size());
        if (number < 1 || number > count) {
            unplaced(
                u"%1 %2 bestaat niet in deze module (1 tot %3)"_s.arg(kind->dutch).arg(number).arg(count),
                u"%1 %2 n'existe pas dans ce module (1 à %3)"_s.arg(kind->french).arg(number).arg(count));
            continue;
        }
        const QString key =
            QString::number(*module) + u'/' + QString::number(list) + u'/' + QString::number(number);
        if (const auto earlier = namedOn.constFind(key); earlier != namedOn.constEnd()) {
            unplaced(
                u"%1 %2 van deze module staat al op regel %3"_s.arg(kind->dutch).arg(number).arg(*earlier),
                u"%1 %2 de ce module figure déjà à la ligne %3"_s.arg(kind->french)
                    .arg(number)
                    .arg(*earlier));
            continue;
        }
        namedOn.insert(key, r->line);
        const QString before = names[static_cast<size_t>(number - 1)];
        const QString after = typedName(value[3]);
        if (after != before) changes[static_cast<size_t>(*module)].push_back({list, number, before, after});
    }

    for (size_t m = 0; m < changes.size(); ++m) {
        if (changes[m].empty()) continue;
        std::sort(changes[m].begin(), changes[m].end(), [](const NameChange &a, const NameChange &b) {
            return std::pair(a.list, a.number) < std::pair(b.list, b.number);
        });
        result.modules.push_back({static_cast<int>(m), std::move(changes[m])});
    }
    return result;
}

} // namespace OverviewCsv
