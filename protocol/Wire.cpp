#include "protocol/Wire.h"

#include "protocol/ModuleImage.h"

QByteArray Wire::commandFrame(const QString &command)
{
    return command.toLatin1() + "\n\r";
}

QByteArray Wire::slotFrame(int slot, int value)
{
    return "T" + threeDigits(slot).toLatin1() + threeDigits(value).toLatin1() + "\n\r";
}

QByteArray Wire::dBurst()
{
    return QByteArray(52, 'D');
}

QString Wire::outputCommand(int output)
{
    return QStringLiteral("T70") + QString::number(100 + output - 1).right(2);
}

std::optional<int> Wire::leadingNumber(const QString &field)
{
    int value = 0;
    bool any = false;
    for (const QChar c : field) {
        if (c == QLatin1Char(' ')) continue; // blanks are skipped anywhere in the field: "4 0" reads 40
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) break;
        value = value * 10 + (c.unicode() - '0');
        any = true;
        if (value > 1'000'000) break;
    }
    if (!any) return std::nullopt;
    return value;
}

std::optional<Wire::DataLine> Wire::parseDataLine(const QString &line)
{
    const auto slot = leadingNumber(line.mid(2, 3));
    if (!slot) return std::nullopt;
    return DataLine{*slot, leadingNumber(line.mid(5, 3)).value_or(0)};
}

std::optional<Wire::Announce> Wire::parseAnnounce(const QString &line)
{
    if (!line.startsWith(QLatin1Char('M'))) return std::nullopt;
    const auto digit = [&](int i) {
        return line.size() > i && line[i] >= QLatin1Char('0') && line[i] <= QLatin1Char('9')
                   ? line[i].unicode() - '0'
                   : -1;
    };
    return Announce{qMax(0, digit(1)), digit(2)};
}

std::optional<int> Wire::parsePushButtonIndex(const QString &line)
{
    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    if (line.size() < 3 || !isDigit(line[1]) || !isDigit(line[2])) return std::nullopt;
    return (line[1].unicode() - '0') * 10 + (line[2].unicode() - '0');
}

QString Wire::lineStatusValue(const QString &line)
{
    return line.mid(1, 4);
}

void LineReader::append(const QByteArray &bytes)
{
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype cr = bytes.indexOf('\r', from);
        const qsizetype end = cr < 0 ? bytes.size() : cr;
        if (!m_discarding) {
            const qsizetype room = MaxPending - m_unfinished;
            const qsizetype take = qMin(room, end - from);
            m_buffer.append(bytes.constData() + from, take);
            m_unfinished += take;
            m_discarding = end - from > room;
        }
        if (cr < 0) break;
        m_buffer.append('\r');
        m_unfinished = 0;
        m_discarding = false;
        from = cr + 1;
    }
    if (m_buffer.size() - m_unfinished > MaxBuffered) {
        // Lines nobody takes: keep the newest.
        const qsizetype cut = m_buffer.indexOf('\r', m_buffer.size() - m_unfinished - MaxBuffered);
        m_buffer.remove(0, cut + 1);
        m_searched = 0;
    }
}

void LineReader::clear()
{
    m_buffer.clear();
    m_unfinished = 0;
    m_discarding = false;
    m_searched = 0;
}

bool LineReader::hasLine() const
{
    if (m_buffer.indexOf('\r', m_searched) >= 0) return true;
    m_searched = m_buffer.size();
    return false;
}

std::optional<QString> LineReader::takeLine()
{
    const qsizetype cr = m_buffer.indexOf('\r', m_searched);
    if (cr < 0) {
        m_searched = m_buffer.size();
        return std::nullopt;
    }
    const QString line = QString::fromLatin1(m_buffer.constData(), cr);
    m_buffer.remove(0, cr + 1);
    m_searched = 0;
    return line;
}
