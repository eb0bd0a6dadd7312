#pragma once

#include "common/Lang.h"
#include "files/Report.h"
#include "installation/Installation.h"

#include <QDateTime>

// The installation report (the handover pack): the whole installation as one printed document,
// in the texts of a module's report (ReportDocument lays it out, prints it and writes its PDF).
// Its parts, each starting on a new page:
//  1. the cover: the installation's name, its address, the date (`when`) and the number of
//     modules ("Installatierapport" / "Rapport d'installation");
//  2. the overview's tables of push buttons, outputs and scenes, as the overview shows them (the
//     push buttons that do nothing greyed), under the heading "Overzicht" / "Vue d'ensemble"; a
//     table without rows is left out;
//  3. each module's report (makeReport with the module's names, without file or date: the cover
//     has the date), headed by the module's name and place;
//  4. a sheet per module for the distribution board: its twenty push buttons with their names,
//     headed by the module's name and place;
//  5. the whole-installation check's findings (severity, module or modules, text), when there
//     are any.
// In Dutch, or French for language 2 (Dutch for any other value, so a report is always readable).
// A module whose image does not fit its type has no report and no sheet.
Report installationReport(const Installation &installation, Lang::Language language, const QDateTime &when);
