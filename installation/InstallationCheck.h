#pragma once

#include "common/Lang.h"
#include "installation/Installation.h"
#include "installation/Overview.h"

#include <QString>
#include <vector>

// The whole-installation check, without widgets: what an installer may have forgotten before
// leaving the site, found from the modules' slots and what the installation records of each real
// module, nothing else. Only reads the installation.
namespace InstallationCheck {

enum class Severity
{
    Error,
    Warning,
    Info,
};

struct Finding
{
    Severity severity = Severity::Info;
    std::vector<int> modules; // indexes into Installation::modules, in the panel's order
    Overview::Place place;    // where a double-click leads
    QString text;
};

// Every finding, errors first, then warnings, then information; within each, in the panel's
// order of the modules. In Dutch, or French for language 2.
//  - error: a push button whose function points at an output the module does not have; a module
//    whose last check found differences; a module sent part-way;
//  - warning: a push button that has a name but no function; a scene that a push button of its
//    module calls but that sets nothing there; changes not sent; a module never read nor sent;
//    modules that share one name;
//  - info: an output that no push button and no scene of its module reaches; a scene that sets
//    outputs but that no push button of its module calls (a group scene of a master module
//    excepted); a group scene on a module that is no master.
std::vector<Finding> check(const Installation &installation, Lang::Language language);

// "fout" / "erreur", "waarschuwing" / "avertissement", "info".
QString severityText(Severity severity, Lang::Language language);

} // namespace InstallationCheck
