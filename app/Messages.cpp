#include "app/Messages.h"

#include "common/Lang.h"

#include <QDir>

namespace Messages {
namespace {
QString both(int language, const QString &dutch, const QString &french)
{
    return Lang::message(language, dutch, french);
}

// A button's caption: Dutch or French, or both on one line.
QString caption(int language, const QString &dutch, const QString &french)
{
    return Lang::text(language, dutch, french, dutch + QStringLiteral(" / ") + french);
}
} // namespace

std::optional<QString> status(ConversationStatus status, int language)
{
    switch (status) {
    case ConversationStatus::None:
        return std::nullopt;
    case ConversationStatus::Searching:
        return Lang::pick(language, QStringLiteral("Module zoeken..."),
                          QStringLiteral("Recherche module..."));
    case ConversationStatus::Loading:
        return Lang::pick(language, QStringLiteral("Inladen van de gegevens..."),
                          QStringLiteral("Chargement des données..."));
    case ConversationStatus::Sending:
        return Lang::pick(language, QStringLiteral("Versturen van de gegevens..."),
                          QStringLiteral("Envoyer les données..."));
    case ConversationStatus::EditMode:
        return QStringLiteral("Edit mode");
    case ConversationStatus::Ready:
        return QStringLiteral("Ready");
    case ConversationStatus::ReadingLineStatus:
        return Lang::pick(language, QStringLiteral("Inlezen lijnstatus..."),
                          QStringLiteral("Status de la ligne..."));
    case ConversationStatus::ReadingButtons:
        return Lang::pick(language, QStringLiteral("Inlezen drukknoppen..."),
                          QStringLiteral("Boutons poussoirs..."));
    case ConversationStatus::TestingOutputs:
        return Lang::pick(language, QStringLiteral("Test uitgangen..."),
                          QStringLiteral("Test des sorties..."));
    }
    return std::nullopt;
}

QString problem(ConversationProblem problem, int language, const QString &port, const QString &detail)
{
    const QString name = QDir::toNativeSeparators(port);
    switch (problem) {
    case ConversationProblem::PortNotFound:
        return both(
            language,
            QStringLiteral("Poort %1 bestaat niet. Kies een andere poort in het menu Settings.").arg(name),
            QStringLiteral("Le port %1 n'existe pas. Choisissez un autre port dans le menu Settings.")
                .arg(name));
    case ConversationProblem::PortInUse:
        return both(language, QStringLiteral("Poort %1 is in gebruik door een ander programma.").arg(name),
                    QStringLiteral("Le port %1 est utilisé par un autre programme.").arg(name));
    case ConversationProblem::NoPermission:
        return both(
            language,
            QStringLiteral(
                "Geen toegang tot poort %1. (Linux: de gebruiker moet lid zijn van de groep dialout.)")
                .arg(name),
            QStringLiteral(
                "Pas d'accès au port %1. (Linux: l'utilisateur doit faire partie du groupe dialout.)")
                .arg(name));
    case ConversationProblem::PortFailed:
        return both(
            language,
            QStringLiteral("Poort %1 kan niet geopend worden (%2).").arg(name, outsideText(detail, 80)),
            QStringLiteral("Le port %1 ne peut pas être ouvert (%2).").arg(name, outsideText(detail, 80)));
    case ConversationProblem::LineLost:
        return both(language,
                    QStringLiteral("De verbinding met de module op poort %1 is verbroken. De gegevens in het "
                                   "programma zijn onveranderd.")
                        .arg(name),
                    QStringLiteral("La connexion avec le module sur le port %1 est interrompue. Les données "
                                   "du programme sont inchangées.")
                        .arg(name));
    case ConversationProblem::UnsupportedModule:
        return both(language,
                    QStringLiteral("Dit type module wordt niet ondersteund (melding \"%1\").")
                        .arg(outsideText(detail)),
                    QStringLiteral("Ce type de module n'est pas supporté (annonce \"%1\").")
                        .arg(outsideText(detail)));
    }
    return QString();
}

QString wrongModule(int language)
{
    return both(language, QStringLiteral("Verkeerde type module !"),
                QStringLiteral("Module pas du bon type !"));
}

QString fileFault(const ModuleFileError &e, int language)
{
    const QString n = QString::number(e.line);
    switch (e.kind) {
    case ModuleFileError::Missing:
        return both(language, QStringLiteral("Het bestand bestaat niet."),
                    QStringLiteral("Le fichier n'existe pas."));
    case ModuleFileError::Unreadable:
        return both(language, QStringLiteral("Het bestand kan niet gelezen worden."),
                    QStringLiteral("Le fichier ne peut pas être lu."));
    case ModuleFileError::TooLarge:
        return both(language, QStringLiteral("Het bestand is te groot voor een modulebestand."),
                    QStringLiteral("Le fichier est trop grand pour un fichier module."));
    case ModuleFileError::BadType:
        return both(language, QStringLiteral("Regel 1 bevat geen geldig moduletype (0 tot 3)."),
                    QStringLiteral("La ligne 1 ne contient pas de type de module valable (0 à 3)."));
    case ModuleFileError::TooShort:
        return both(language, QStringLiteral("Het bestand is te kort: regel %1 ontbreekt.").arg(n),
                    QStringLiteral("Le fichier est trop court: la ligne %1 manque.").arg(n));
    case ModuleFileError::BadValue:
        return both(language, QStringLiteral("Regel %1 bevat geen geldige waarde (0 tot 999).").arg(n),
                    QStringLiteral("La ligne %1 ne contient pas de valeur valable (0 à 999).").arg(n));
    case ModuleFileError::OtherTypesLength:
        // A type line changed by hand: the values belong to another module type.
        return both(
            language,
            QStringLiteral(
                "Regel 1 geeft moduletype %1, maar het bestand telt %2 regels: de lengte van een ander "
                "moduletype. Het type en de waarden horen niet bij elkaar.")
                .arg(e.type)
                .arg(e.fileLines),
            QStringLiteral(
                "La ligne 1 indique le type de module %1, mais le fichier compte %2 lignes: la longueur "
                "d'un autre type de module. Le type et les valeurs ne vont pas ensemble.")
                .arg(e.type)
                .arg(e.fileLines));
    case ModuleFileError::NotAFile:
        return both(
            language, QStringLiteral("Dit is geen gewoon bestand (een map, apparaat of pijp)."),
            QStringLiteral("Ce n'est pas un fichier ordinaire (un dossier, un périphérique ou un tube)."));
    case ModuleFileError::None:
        break;
    }
    return QString();
}

QString fileNotOpened(const QString &path, const ModuleFileError &error, int language)
{
    return both(language,
                QStringLiteral("Het modulebestand\n%1\nkan niet geopend worden. Er werd niets gewijzigd.")
                    .arg(path),
                QStringLiteral("Le fichier module\n%1\nne peut pas être ouvert. Rien n'a été modifié.")
                    .arg(path)) +
           QStringLiteral("\n\n") + fileFault(error, language);
}

QString fileNotSaved(const QString &path, const QString &error, int language)
{
    return both(language,
                QStringLiteral("Het modulebestand\n%1\nkon niet bewaard worden (%2).\nEen bestaand bestand "
                               "blijft zoals het was.")
                    .arg(path, error),
                QStringLiteral(
                    "Le fichier module\n%1\nn'a pas pu être sauvé (%2).\nUn fichier existant reste inchangé.")
                    .arg(path, error));
}

QString settingNotSaved(const QString &path, int language)
{
    const QString shown = QDir::toNativeSeparators(path);
    return both(language, QStringLiteral("De instelling kon niet bewaard worden in\n%1").arg(shown),
                QStringLiteral("Le réglage n'a pas pu être sauvé dans\n%1").arg(shown));
}

QString restartFailed(int language)
{
    return both(
        language,
        QStringLiteral(
            "Het programma kon niet opnieuw gestart worden. De nieuwe taal geldt vanaf de volgende start."),
        QStringLiteral(
            "Le programme n'a pas pu être redémarré. La nouvelle langue sera active au prochain démarrage."));
}

Question<SendAnswer> stopTheSend(int language)
{
    return {both(language,
                 QStringLiteral(
                     "De gegevens worden nu in de module geschreven. Wie nu stopt, laat de module half "
                     "beschreven achter. Toch stoppen?"),
                 QStringLiteral(
                     "Les données sont en train d'être écrites dans le module. Arrêter maintenant laisse le "
                     "module à moitié écrit. Arrêter quand même ?")),
            {{SendAnswer::GoOn,
              caption(language, QStringLiteral("Verder versturen"), QStringLiteral("Continuer l'envoi"))},
             {SendAnswer::StopNow,
              caption(language, QStringLiteral("Nu stoppen"), QStringLiteral("Arrêter maintenant"))}}};
}

Question<CloseAnswer> closeDuringSend(int language)
{
    return {both(language,
                 QStringLiteral(
                     "De gegevens worden nu in de module geschreven. Wie nu sluit, laat de module half "
                     "beschreven achter."),
                 QStringLiteral(
                     "Les données sont en train d'être écrites dans le module. Fermer maintenant laisse le "
                     "module à moitié écrit.")),
            {{CloseAnswer::WhenDone, caption(language, QStringLiteral("Sluiten na het versturen"),
                                             QStringLiteral("Fermer après l'envoi"))},
             {CloseAnswer::Now,
              caption(language, QStringLiteral("Nu sluiten"), QStringLiteral("Fermer maintenant"))},
             {CloseAnswer::Stay, caption(language, QStringLiteral("Blijven"), QStringLiteral("Rester"))}}};
}

Question<LeaveAnswer> leaveWithChanges(int language)
{
    return {
        both(language,
             QStringLiteral("De gegevens zijn gewijzigd en nog niet verstuurd of bewaard. Toch afsluiten?"),
             QStringLiteral("Les données ont été modifiées et ne sont pas encore envoyées ni sauvées. "
                            "Quitter quand même ?")),
        {{LeaveAnswer::Save, caption(language, QStringLiteral("Bewaren"), QStringLiteral("Sauver"))},
         {LeaveAnswer::Discard, caption(language, QStringLiteral("Afsluiten zonder bewaren"),
                                        QStringLiteral("Quitter sans sauver"))},
         {LeaveAnswer::Stay, caption(language, QStringLiteral("Blijven"), QStringLiteral("Rester"))}}};
}

QString recentFileGone(const QString &path, int language)
{
    return both(language,
                QStringLiteral("Het bestand %1 bestaat niet meer. Het is uit de lijst gehaald.").arg(path),
                QStringLiteral("Le fichier %1 n'existe plus. Il a été retiré de la liste.").arg(path));
}

QString checkAllEqual(int count, int language)
{
    return both(language, QStringLiteral("Controle: alle %1 waarden gelijk").arg(count),
                QStringLiteral("Contrôle: les %1 valeurs sont identiques").arg(count));
}

QString checkDifferences(const QStringList &differences, const QStringList &versionOnly, int language)
{
    QString text;
    if (differences.isEmpty())
        text = both(language, QStringLiteral("Controle: alle waarden gelijk, behalve de versie"),
                    QStringLiteral("Contrôle: toutes les valeurs sont identiques, sauf la version"));
    else if (differences.size() == 1)
        text =
            both(language, QStringLiteral("Controle: 1 waarde verschilt tussen het programma en de module:"),
                 QStringLiteral("Contrôle: 1 valeur diffère entre le programme et le module:"));
    else
        text = both(language,
                    QStringLiteral("Controle: %1 waarden verschillen tussen het programma en de module:")
                        .arg(differences.size()),
                    QStringLiteral("Contrôle: %1 valeurs diffèrent entre le programme et le module:")
                        .arg(differences.size()));
    for (const QString &line : differences)
        text += QLatin1Char('\n') + line;
    if (!versionOnly.isEmpty()) {
        text += QLatin1String("\n\n") +
                both(language, QStringLiteral("Versie (geen fout, de module houdt ze zelf bij):"),
                     QStringLiteral("Version (pas une erreur, le module la garde lui-même):"));
        for (const QString &line : versionOnly)
            text += QLatin1Char('\n') + line;
    }
    return text;
}

QString checkResult(const ImageCompare::Result &result, int slotCount, int language)
{
    QStringList settings;
    QStringList version;
    for (const ImageCompare::Difference &d : result.differences)
        (d.kind == ImageCompare::Difference::Kind::Version ? version : settings) << ImageCompare::lines({d});
    if (settings.isEmpty() && version.isEmpty()) return checkAllEqual(slotCount, language);
    return checkDifferences(settings, version, language);
}

QString checkAbandoned(int language)
{
    return both(language, QStringLiteral("Controle afgebroken"), QStringLiteral("Contrôle interrompu"));
}

bool checkFoundDifferences(const ImageCompare::Result &result)
{
    for (const ImageCompare::Difference &d : result.differences)
        if (d.kind != ImageCompare::Difference::Kind::Version) return true;
    return false;
}

QString checkTitle(int language)
{
    return caption(language, QStringLiteral("Controle"), QStringLiteral("Contrôle"));
}

QString halfWritten(int written, int total, int language)
{
    return both(
        language,
        QStringLiteral("De module is maar gedeeltelijk beschreven (%1 van %2 waarden). Verstuur de "
                       "gegevens opnieuw.")
            .arg(written)
            .arg(total),
        QStringLiteral("Le module n'est que partiellement écrit (%1 sur %2 valeurs). Envoyez à nouveau "
                       "les données.")
            .arg(written)
            .arg(total));
}

QString outsideText(const QString &text, int maximum)
{
    QString shown;
    for (const QChar c : text.left(maximum))
        shown += c.isPrint() ? c : QLatin1Char('?');
    if (text.size() > maximum) shown += QStringLiteral("...");
    return shown;
}

} // namespace Messages
