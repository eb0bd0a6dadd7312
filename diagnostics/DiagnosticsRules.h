#pragma once

#include <QString>
#include <QTime>
#include <array>
#include <optional>

// The rules of the diagnostic tests that need no widget: which output each output button
// switches, what the history lists hold and which push-button reports count.
namespace Diagnostics {

constexpr int OutputButtonCount = 12;

// For each of the twelve output buttons (Command21..Command32, two rows of six), the output it
// switches on a module of `moduleType`; 0 where that type has no output (the button is hidden).
// An unknown type gets no outputs at all.
std::array<int, OutputButtonCount> outputLayout(int moduleType);

// The heading the history lists always show: Dutch, French, or `designText` for any other language.
QString historyHeading(int language, const QString &designText);

// The time of day as the push-button history writes it: "HH:mm:ss", 24-hour clock.
QString timeOfDay(const QTime &time);

// One entry of the push-button history. French for language 2, Dutch for any other, so that
// no press goes unrecorded. A push button that has a name reads with it after its number:
// "Tijd: 14:03:27  Knop: 13 – Voordeur".
QString pushButtonEntry(int language, const QString &time, int number, const QString &name = {});

// Weighs one push-button report received at `time`: the button number (counted from 1) when it
// counts; nullopt when the line names no button (positions 2..3 are not both digits) or a press
// was already taken within this clock second. `lastPressTime` is the time of the last press
// taken; it is updated when this one counts.
std::optional<int> takePushButtonReport(const QString &line, const QString &time, QString &lastPressTime);

} // namespace Diagnostics
