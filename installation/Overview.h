#pragma once

#include "common/Lang.h"
#include "installation/Installation.h"

#include <QString>
#include <QStringList>
#include <vector>

// The installation at a glance, without widgets: what every push button of every module does,
// what reaches every output, and what every scene in use sets, in the editors' words and with
// the names the installer gave (SlotWords). Only reads the installation.
namespace Overview {

// Where a row or a finding leads: a push button, output (or channel) or scene of a module, or the
// module itself.
struct Place
{
    enum class Kind
    {
        Module,
        PushButton,
        Output,
        Scene,
    };
    Kind kind = Kind::Module;
    int module = -1; // index into Installation::modules
    int number = 0;  // 1-based push button, output or scene; 0 for the module
    bool operator==(const Place &) const = default;
};

struct Row
{
    Place place;
    QStringList cells;   // one per column
    bool unused = false; // a push button with no function on either press: shown greyed
    QString tip;         // a scene function's row: what that scene sets on its module
};

struct Table
{
    QStringList columns;
    std::vector<Row> rows;
};

// One row per push button of every module: module, push button, name, first and second function.
// A push button with no function on either press reads "(niet gebruikt)" / "(non utilisé)".
Table pushButtons(const Installation &installation, Lang::Language language);
// One row per output or channel of every module: module, output, name, the push buttons that
// switch it (first or second function) and the scenes that set it.
Table outputs(const Installation &installation, Lang::Language language);
// One row per scene of every module that sets something or that a push button calls: module,
// scene, name, group scene, what it sets and the push buttons that call it.
Table scenes(const Installation &installation, Lang::Language language);

// Whether `m` holds an image that fits its type (a module without one has no rows and no findings).
bool fits(const InstallationModule &m);
// The scene (1-based) a push button's function value calls; 0 for none or an output.
int sceneOf(int value);

// How a module is called in every row: its name, with its place when it has one.
QString moduleText(const InstallationModule &m);
// What scene `scene` (1-based) sets on module `m`, channel by channel ("Uitgang 1 – Keuken: Aan;
// Uitgang 3: 30%"); empty when it leaves every channel as it is.
QString sceneSettings(const InstallationModule &m, int scene, Lang::Language language);
// Whether scene `scene` (1-based) of `m` sets any channel.
bool sceneSetsSomething(const InstallationModule &m, int scene);
// Whether scene `scene` (1-based) of `m` sets output or channel `output` (1-based).
bool sceneSetsOutput(const InstallationModule &m, int scene, int output);

// The table's rows whose text contains `filter` (case-insensitive; every row for an empty filter).
std::vector<int> matching(const Table &table, const QString &filter);

} // namespace Overview
