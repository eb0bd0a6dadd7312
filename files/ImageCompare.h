#pragma once

#include "protocol/ModuleImage.h"

#include <QList>
#include <QString>
#include <QStringList>

struct ModuleNames;

// Compares the image in hand with another image of a module (a module file, a backup, or what a
// module holds after a send) and says every difference in the words of the editors: push button
// 5's first function "Uitgang 3" -> "Sfeer 2", the function, time and linked output of an
// output, the second-function time, the start value of a dim channel, a channel of a scene, the
// group-scene flag, master/slave and the module's version. A slot that no editor shows is named
// by its number.
//
// The relay modules (types 0 and 3) keep one image layout and are compared with each other; the
// type itself is then listed as a difference. Images of other, different types are not compared.
//
// Texts are Dutch (language 1) or French (language 2); any other language gives Dutch, the
// texts the windows show before a language is set.
namespace ImageCompare {

struct Difference
{
    enum class Kind
    {
        Setting,    // a setting of the module: a failure when a module was just written
        ModuleType, // relay module 0 against relay module 3
        Version     // the module's firmware version: listed apart, never a failure
    };
    Kind kind = Kind::Setting;
    QList<int> slotNumbers; // the slots concerned; empty for the module type
    QString what;           // "Drukknop 5, 1ste functie" / "Bouton poussoir 5, 1ère fonction"
    QString before;         // as the image in hand has it
    QString after;          // as the other image has it
    bool operator==(const Difference &) const = default;
};

enum class Outcome
{
    Compared,
    OtherType,      // the two modules are of types that keep different images
    NothingInHand,  // no module type in hand, or an image that does not fit its type
    NothingInOther, // the same for the other image
};

struct Result
{
    Outcome outcome = Outcome::NothingInHand;
    // In the order the installer meets them: module type, push buttons (first and second function
    // of each), master/slave, second-function time, outputs or dim channels, scenes (channels,
    // then the group flag), slots no editor shows, the version last.
    QList<Difference> differences;

    bool compared() const { return outcome == Outcome::Compared; }
    // The differences that count: all but the version.
    int failures() const;
    bool versionDiffers() const;
};

// Compares the image in hand (`typeInHand`, `inHand`) with another one (`otherType`, `other`).
// `before` of each difference describes the image in hand, `after` the other one. With `names`
// (those of the module in hand), outputs, push buttons and scenes read with their names.
Result compare(int typeInHand, const ModuleImage &inHand, int otherType, const ModuleImage &other,
               int language, const ModuleNames *names = nullptr);

// Why a result that was not compared could not be, as a message (in both languages when the
// language is neither Dutch nor French); empty for a compared result.
QString cannotCompareMessage(const Result &result, int typeInHand, int otherType, int language);

// A line for the count of differences: "Geen verschillen", "1 verschil", "3 verschillen";
// a different version is added ("... en een andere versie") but never counted.
QString summary(const Result &result, int language);

// One plain text line per difference: "Drukknop 5, 1ste functie: Uitgang 3 → Sfeer 2".
QStringList lines(const QList<Difference> &differences);

} // namespace ImageCompare
