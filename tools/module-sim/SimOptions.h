#pragma once

#include "tools/module-sim/ModuleSim.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace Sim {

// Everything the command line sets.
struct Options
{
    Config config;
    bool typeGiven = false;
    std::optional<bool> master; // --master / --slave
    bool versionGiven = false;
    bool fast = false;
    bool help = false;
    QString link;
    QString logFile;
    QString loadFile;
    QString saveFile;
};

// `arguments` without the program name. nullopt (and *error set) on a mistake.
std::optional<Options> parseArguments(const QStringList &arguments, QString *error);

// The module's memory at start: loaded from --load (type, master flag and version taken from the
// file unless given on the command line) or the factory pattern. Settles options.config.type
// and options.config.version. Empty (and *error set) on a mistake.
std::vector<int> initialMemory(Options &options, QString *error);

QString helpText();

// The faults of a configuration as --fault names them ("garbage,stop-after=9"), "none" without.
QByteArray faultNames(const Config &config);

} // namespace Sim
