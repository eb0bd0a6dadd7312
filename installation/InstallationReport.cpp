#include "installation/InstallationReport.h"

#include "editors/EditorRules.h"
#include "installation/InstallationCheck.h"
#include "installation/Overview.h"
#include "protocol/ModuleTypes.h"

using namespace Qt::StringLiterals;

namespace {

struct Words
{
    Lang::Language language;

    QString operator()(const QString &dutch, const QString &french) const
    {
        return Lang::text(language, dutch, french);
    }
};

bool fits(const InstallationModule &m)
{
    const ModuleTypeInfo *info = ModuleTypes::info(m.type);
    return info && m.image.size() == info->slotCount;
}

// What heads a module's pages: its name and place as every table shows them; a module without a
// name is called by its number in the installation.
QString moduleHeading(const InstallationModule &m, size_t index)
{
    if (!m.name.isEmpty()) return Overview::moduleText(m);
    InstallationModule numbered;
    numbered.name = u"Module %1"_s.arg(index + 1);
    numbered.place = m.place;
    return Overview::moduleText(numbered);
}

ReportSection cover(const Installation &installation, const Words &tr, const QDateTime &when)
{
    ReportSection s;
    s.title = installation.name;
    s.rows << QStringList{tr(u"Adres:"_s, u"Adresse :"_s), installation.address};
    if (when.isValid())
        s.rows << QStringList{tr(u"Datum:"_s, u"Date :"_s), when.toString(u"dd/MM/yyyy HH:mm"_s)};
    s.rows << QStringList{tr(u"Modules:"_s, u"Modules :"_s), QString::number(installation.modules.size())};
    return s;
}

ReportSection table(const QString &title, const Overview::Table &table)
{
    ReportSection s;
    s.title = title;
    s.newPage = true;
    s.columns = table.columns;
    for (size_t r = 0; r < table.rows.size(); ++r) {
        s.rows << table.rows[r].cells;
        if (table.rows[r].unused) s.greyedRows << static_cast<int>(r);
    }
    return s;
}

// The overview's three tables, those with rows, under one heading.
QList<ReportSection> overview(const Installation &installation, const Words &tr)
{
    QList<ReportSection> tables{
        table(tr(u"Drukknoppen"_s, u"Boutons poussoirs"_s), Overview::pushButtons(installation, tr.language)),
        table(tr(u"Uitgangen"_s, u"Sorties"_s), Overview::outputs(installation, tr.language)),
        table(tr(u"Sferen"_s, u"Contextes"_s), Overview::scenes(installation, tr.language))};
    tables.removeIf([](const ReportSection &s) { return s.rows.isEmpty(); });
    if (!tables.isEmpty()) tables.first().heading = tr(u"Overzicht"_s, u"Vue d'ensemble"_s);
    return tables;
}

// A module's report as it is printed alone, headed by the module's name and place.
QList<ReportSection> moduleReport(const InstallationModule &m, size_t index, const Words &tr)
{
    const Report report = makeReport(m.image, m.type, tr.language.code(), QString(), QDateTime(), &m.names);
    QList<ReportSection> sections = report.sections;
    if (sections.isEmpty()) return sections;
    sections.first().heading = moduleHeading(m, index);
    sections.first().title = report.title;
    sections.first().newPage = true;
    return sections;
}

// The push buttons of a module and their names, to keep in the distribution board.
ReportSection sheet(const InstallationModule &m, size_t index, const Words &tr)
{
    ReportSection s;
    s.heading = moduleHeading(m, index);
    s.newPage = true;
    s.columns = QStringList{tr(u"Drukknop"_s, u"Bouton poussoir"_s), tr(u"Naam"_s, u"Nom"_s)};
    for (int button = 1; button <= EditorRules::PushButtonCount; ++button)
        s.rows << QStringList{QString::number(button), ModuleNames::of(m.names.pushButtons, button)};
    return s;
}

ReportSection findings(const Installation &installation, const std::vector<InstallationCheck::Finding> &found,
                       const Words &tr)
{
    ReportSection s;
    s.heading = tr(u"Controle van de installatie"_s, u"Vérification de l'installation"_s);
    s.newPage = true;
    s.columns = QStringList{tr(u"Ernst"_s, u"Gravité"_s), tr(u"Module"_s, u"Module"_s),
                            tr(u"Bevinding"_s, u"Constat"_s)};
    for (const InstallationCheck::Finding &f : found) {
        QStringList modules;
        for (const int m : f.modules)
            modules << moduleHeading(installation.modules[static_cast<size_t>(m)], static_cast<size_t>(m));
        s.rows << QStringList{InstallationCheck::severityText(f.severity, tr.language), modules.join(u"; "_s),
                              f.text};
    }
    return s;
}

} // namespace

Report installationReport(const Installation &installation, Lang::Language language, const QDateTime &when)
{
    const Words tr{language.readable()};
    Report report;
    report.language = tr.language.code();
    report.title = tr(u"Installatierapport"_s, u"Rapport d'installation"_s);
    report.sections << cover(installation, tr, when);
    report.sections << overview(installation, tr);
    for (size_t i = 0; i < installation.modules.size(); ++i)
        if (fits(installation.modules[i])) report.sections << moduleReport(installation.modules[i], i, tr);
    for (size_t i = 0; i < installation.modules.size(); ++i)
        if (fits(installation.modules[i])) report.sections << sheet(installation.modules[i], i, tr);
    if (const auto found = InstallationCheck::check(installation, tr.language); !found.empty())
        report.sections << findings(installation, found, tr);
    return report;
}
