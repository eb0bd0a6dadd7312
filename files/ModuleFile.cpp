#include "files/ModuleFile.h"

#include "files/SafeFile.h"

namespace {

constexpr int kMinValue = 0;
constexpr int kMaxValue = 999;
constexpr qsizetype kShownChars = 40; // of an offending line, in messages

// A number as written in module files: sign position, digits, trailing blank.
QByteArray numberText(int n)
{
    const QByteArray digits = QByteArray::number(n < 0 ? -static_cast<qint64>(n) : n);
    return (n < 0 ? '-' : ' ') + digits + ' ';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The lines of the content without their ends. CR LF, LF and a lone CR each end a line; a last
// line without an end still counts, the empty remainder after a final line end does not.
std::vector<QByteArrayView> splitLines(const QByteArray &content)
{
    std::vector<QByteArrayView> lines;
    const qsizetype n = content.size();
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < n) {
        const char c = content[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(content.constData() + start, i - start);
            if (c == '\r' && i + 1 < n && content[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n) lines.emplace_back(content.constData() + start, n - start);
    return lines;
}

bool isEmptyLine(QByteArrayView line)
{
    for (char c : line)
        if (!isBlank(c)) return false;
    return true;
}

enum class NumberStatus
{
    Ok,
    Empty,
    NotANumber,
    OutOfRange
};

// One value per line: leading blanks skipped, the value runs to the first comma or the line end,
// and must be a whole number (blanks around it allowed) within min..max. Empty when nothing but
// blanks comes before the comma or the line end.
NumberStatus readNumber(QByteArrayView line, int min, int max, int *value)
{
    qsizetype i = 0;
    qsizetype end = line.size();
    for (qsizetype k = 0; k < line.size(); ++k) {
        if (line[k] == ',') {
            end = k;
            break;
        }
    }
    while (i < end && isBlank(line[i]))
        ++i;
    while (end > i && isBlank(line[end - 1]))
        --end;
    if (i == end) return NumberStatus::Empty;
    bool negative = false;
    if (i < end && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    if (i == end) return NumberStatus::NotANumber;
    qint64 magnitude = 0;
    for (; i < end; ++i) {
        const char c = line[i];
        if (c < '0' || c > '9') return NumberStatus::NotANumber;
        if (magnitude < 1000000000) // far beyond any slot value; stop growing
            magnitude = magnitude * 10 + (c - '0');
    }
    const qint64 n = negative ? -magnitude : magnitude;
    if (n < min || n > max) return NumberStatus::OutOfRange;
    *value = static_cast<int>(n);
    return NumberStatus::Ok;
}

QString shown(QByteArrayView line)
{
    QString s = QString::fromLatin1(line.first(qMin(line.size(), kShownChars)));
    for (QChar &c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = QLatin1Char('?');
    if (line.size() > kShownChars) s += QStringLiteral("...");
    return s;
}

// A fault in the content; its detail starts with the line it is on ("line 21: ...").
Failure fault(Failure::Kind kind, int line, const QString &text, const QString &message)
{
    Failure f{kind};
    f.line = line;
    f.text = text;
    f.detail = line > 0 ? QStringLiteral("line %1: %2").arg(line).arg(message) : message;
    return f;
}

Failure notAModuleImage(const QString &why)
{
    return Failure{Failure::Kind::NotAModuleImage, QString(), why};
}

} // namespace

int ModuleFile::slotCount(int type)
{
    const ModuleTypeInfo *info = ModuleTypes::info(type);
    return info ? info->slotCount : 0;
}

ModuleImage ModuleFileData::image() const
{
    ModuleImage image(ModuleFile::slotCount(type));
    for (int slot = 0; slot < image.size() && slot < int(values.size()); ++slot)
        image.set(slot, values[size_t(slot)]);
    return image;
}

Checked<QByteArray> moduleFileContent(int type, const ModuleImage &image)
{
    const int count = ModuleFile::slotCount(type);
    if (count == 0) {
        // No module identified: such a file could never be opened again.
        return notAModuleImage(QStringLiteral("module type %1 is not 0..3; nothing to save").arg(type));
    }
    if (image.size() != count)
        return notAModuleImage(QStringLiteral("a type-%1 module has %2 slots, the image has %3")
                                   .arg(type)
                                   .arg(count)
                                   .arg(image.size()));
    QByteArray out;
    out.reserve((count + 1) * 7);
    out += numberText(type) + "\r\n";
    for (int slot = 0; slot < count; ++slot) {
        const int v = image.value(slot);
        if (v < kMinValue || v > kMaxValue)
            return notAModuleImage(QStringLiteral("slot %1 holds %2, outside 0..999").arg(slot).arg(v));
        out += numberText(v) + "\r\n";
    }
    return out;
}

Failure writeModuleFile(const QString &path, int type, const ModuleImage &image)
{
    const Checked<QByteArray> content = moduleFileContent(type, image);
    if (!content) {
        Failure f = content.failure();
        f.path = path;
        return f;
    }
    // Every byte is written and flushed before the rename, so a write cut short (disk full, size
    // limit) fails here and the old file stays.
    return SafeFile::replace(path, *content);
}

Checked<ModuleFileData> parseModuleFile(const QByteArray &content)
{
    if (content.size() > ModuleFile::MaxSize) {
        return fault(Failure::Kind::TooLarge, 0, QString(),
                     QStringLiteral("%1 bytes is too large for a module file").arg(content.size()));
    }
    const std::vector<QByteArrayView> lines = splitLines(content);
    if (lines.empty()) {
        return fault(Failure::Kind::BadType, 1, QString(),
                     QStringLiteral("the file is empty; a module type 0..3 expected"));
    }

    ModuleFileData data;
    if (readNumber(lines[0], 0, 3, &data.type) != NumberStatus::Ok) {
        return fault(Failure::Kind::BadType, 1, shown(lines[0]),
                     QStringLiteral("\"%1\" is not a module type 0..3").arg(shown(lines[0])));
    }

    const int count = ModuleFile::slotCount(data.type);
    const qsizetype available = static_cast<qsizetype>(lines.size()) - 1;
    if (available < count) {
        const int missing = static_cast<int>(available) + 2;
        return fault(Failure::Kind::TooShort, missing, QString(),
                     QStringLiteral("the file ends after %1 of the %2 slots of a type-%3 module")
                         .arg(available)
                         .arg(count)
                         .arg(data.type));
    }

    data.values.resize(static_cast<size_t>(count));
    for (int slot = 0; slot < count; ++slot) {
        const QByteArrayView line = lines[static_cast<size_t>(slot) + 1];
        const int lineNo = slot + 2;
        int &value = data.values[static_cast<size_t>(slot)];
        switch (readNumber(line, kMinValue, kMaxValue, &value)) {
        case NumberStatus::Ok:
            break;
        case NumberStatus::Empty:
            value = 0; // a slot that holds nothing
            break;
        case NumberStatus::NotANumber:
            return fault(Failure::Kind::BadValue, lineNo, shown(line),
                         QStringLiteral("slot %1: \"%2\" is not a number").arg(slot).arg(shown(line)));
        case NumberStatus::OutOfRange:
            return fault(Failure::Kind::BadValue, lineNo, shown(line),
                         QStringLiteral("slot %1: \"%2\" is outside 0..999").arg(slot).arg(shown(line)));
        }
    }

    // What follows the last slot is not read, but a file that runs on with values to exactly the
    // length of another type is that type's file under a changed type line: loading it would give
    // an image made of another module's values, ready to be sent.
    size_t used = lines.size();
    while (used > 0 && isEmptyLine(lines[used - 1]))
        --used;
    if (used > static_cast<size_t>(count) + 1) {
        for (int other = 0; other <= 3; ++other) {
            if (static_cast<size_t>(ModuleFile::slotCount(other)) + 1 != used) continue;
            Failure f =
                fault(Failure::Kind::OtherTypesLength, 1, shown(lines[0]),
                      QStringLiteral("module type %1, but the file has the %2 lines of a type-%3 module")
                          .arg(data.type)
                          .arg(used)
                          .arg(other));
            f.figures = {data.type, static_cast<int>(used)};
            return f;
        }
    }
    return data;
}

Checked<ModuleFileData> readModuleFile(const QString &path)
{
    const Checked<QByteArray> file = SafeFile::read(path, ModuleFile::MaxSize);
    Failure f = file.failure();
    if (file) {
        Checked<ModuleFileData> data = parseModuleFile(*file);
        if (data) return data;
        f = data.failure();
    } else if (f.kind == Failure::Kind::TooLarge) {
        f.detail = QStringLiteral("%1 is too large for a module file").arg(path);
    }
    f.path = path;
    return f;
}
