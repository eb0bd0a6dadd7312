#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// What goes over the serial line, as plain functions: the frames the program sends, the line
// reader for what the module sends, and the reading of announce and data lines.
namespace Wire {

// Command frame: the five characters of the command, line feed, carriage return.
QByteArray commandFrame(const QString &command);
// Slot frame: "T", three digits of the slot, three digits of the value, line feed, carriage return.
QByteArray slotFrame(int slot, int value);
// The answer to an announce line: 52 single "D" characters.
QByteArray dBurst();
// "T7000".."T7011": switches output 1..12 in the output test.
QString outputCommand(int output);

// A decimal field as the module's lines are read: blanks skipped wherever they stand, digits up
// to the first other character. nullopt when the field has no digit at all.
std::optional<int> leadingNumber(const QString &field);

struct DataLine
{
    int slot;
    int value;
};
// A data line: slot at positions 3..5, value at 6..8 (counted from 1). nullopt when the slot
// field holds no number; a value field without digits counts as 0.
std::optional<DataLine> parseDataLine(const QString &line);

struct Announce
{
    int masterFlag; // second character as a number (0 when it is no digit)
    int typeDigit;  // third character as a digit, -1 when it is none
};
// An announce line begins with "M": master flag at position 2, module type at position 3.
std::optional<Announce> parseAnnounce(const QString &line);

// A push-button report: the button index (from 0) in positions 2..3. nullopt unless both are digits.
std::optional<int> parsePushButtonIndex(const QString &line);
// A line-status report: the four characters at positions 2..5, as received.
QString lineStatusValue(const QString &line);

} // namespace Wire

// Collects the characters received from the module and hands on each complete line: the
// characters up to a carriage return, without it. A line feed is kept like any character.
// What it keeps is bounded whatever arrives: a line is cut at MaxPending characters (the rest
// of it, up to its carriage return, is thrown away, so the next line starts where the module
// meant it to), and complete lines nobody takes are dropped, oldest first, past MaxBuffered.
class LineReader
{
public:
    void append(const QByteArray &bytes);
    bool hasLine() const;
    std::optional<QString> takeLine();
    void clear();
    bool isEmpty() const { return m_buffer.isEmpty(); }
    qsizetype size() const { return m_buffer.size(); }

    static constexpr qsizetype MaxPending = 64 * 1024;
    static constexpr qsizetype MaxBuffered = 1024 * 1024;

private:
    QByteArray m_buffer;
    // Characters of the line not finished yet (after the last carriage return kept).
    qsizetype m_unfinished = 0;
    // The unfinished line reached MaxPending: characters are dropped up to the next carriage return.
    bool m_discarding = false;
    // Characters already known to hold no carriage return, so a long line is not searched anew
    // each time a few more characters arrive.
    mutable qsizetype m_searched = 0;
};
