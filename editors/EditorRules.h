#pragma once

#include "common/Lang.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The rules of the four configuration editors, free of widgets: which slot holds what, the
// entries of their lists, and what a confirmed choice writes. How a slot and its value read in
// words is SlotWords'. The frames only bind these to their controls.
//
// Texts that differ between Dutch (language 1) and French (language 2) come back empty for any
// other language: the program sets no run-time text then.
namespace EditorRules {

// A slot and the value it receives.
struct SlotValue
{
    int slot;
    int value;
    bool operator==(const SlotValue &) const = default;
};

// The entries "first".."last" of a number list.
QStringList numberEntries(int first, int last);
// The number a text stands for when it is exactly the entry of one of first..last ("7"; not
// " 7", "07" or "7.0"); nothing otherwise.
std::optional<int> entryNumber(const QString &text, int first, int last);

// ---- Push buttons -------------------------------------------------------------------------
// Push button n (1..20) keeps its first function in slot n-1 and its second in slot n+19.
// A function value is 42 for "no function", 50..69 for scene 1..20, and any other value for
// output value+1.
constexpr int PushButtonCount = 20;
constexpr int PushButtonSlots = 2 * PushButtonCount;
constexpr int NoFunction = 42;
constexpr int SceneCount = 20;
constexpr int FirstSceneValue = 50;
constexpr int LastSceneValue = FirstSceneValue + SceneCount - 1;

int firstFunctionSlot(int button);
int secondFunctionSlot(int button);
// The number of outputs a push button can switch on a module type: 12 relay, 4 dim, 8 Velano;
// nothing for a type without an image.
std::optional<int> outputCount(int moduleType);

enum class FunctionKind
{
    Output,
    Scene,
    None
};
// The value that stores a chosen function: output 1..outputCount, scene 1..20, or no function
// (number ignored). Nothing for a number outside its range.
std::optional<int> pushButtonFunctionValue(FunctionKind kind, int number, int outputCount);
// The values of slots 0..39 that give a module type its base functions: push button n switches
// output n as first function (relay 1..12, dim 1..4, Velano 1..8); on the dim and Velano modules
// push buttons 1..4 also switch outputs 1..4 as second function; everything else has no
// function. Empty for a type without an image.
std::vector<int> baseFunctions(int moduleType);

// ---- Second-function time -----------------------------------------------------------------
// Slot 41 holds the press time of the second function in half seconds, 1..8.
constexpr int SecondFunctionTimeDefault = 5;
QStringList secondTimeEntries();
// A number of half seconds in seconds with a decimal comma: 3 -> "1,5", 4 -> "2", 0 -> "0".
QString halfSecondsText(int halfSeconds);
// The half seconds of an entry of the list (1..8); nothing for any other text.
std::optional<int> secondTimeValue(const QString &text);

// ---- Output functions of the relay modules ------------------------------------------------
// Output n (1..12): slot 41+n function code 0..5, slot 53+n time 1..15, slot 65+n linked output.
constexpr int RelayOutputCount = 12;
constexpr int OutputFunctionCount = 6;
constexpr int MaxOutputTime = 15;

int outputFunctionSlot(int output);
int outputTimeSlot(int output);
int linkedOutputSlot(int output);

enum class TimeUnit
{
    None,
    Minutes,
    Seconds
};
// The unit of the time of a function code; None for code 0 and for an unknown code.
TimeUnit timeUnit(int code);
// "Min." or "Sec." (the same in both languages); empty for None.
QString timeUnitLabel(TimeUnit unit);
// Functions 4 and 5 act together with another output.
bool usesLinkedOutput(int code);
// The entries of the function list in code order.
QStringList outputFunctionEntries(Lang::Language language);
// What confirming a function writes. Fields the installer left empty are passed as 0. Empty
// when the entry is incomplete or out of range (no function, no output, no time for codes 1..5,
// no linked output or the output itself for codes 4 and 5). The time and linked output are
// written only for the codes that use them, the other slots keep their values.
std::vector<SlotValue> outputFunctionWrites(int output, int code, int time, int linked);

// ---- Dim start values ---------------------------------------------------------------------
// Slots 42..45 hold the start value of dim channels 1..4 in tens of percent, 1..9.
constexpr int DimChannelCount = 4;
constexpr int MaxDimStart = 9;

int dimStartSlot(int channel);
QStringList dimStartEntries();
// A stored value as a percentage: 3 -> "30%", 0 -> "0%".
QString dimStartText(int value);

} // namespace EditorRules
