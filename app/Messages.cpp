#include "app/Messages.h"

#include "common/Lang.h"
#include "common/UserFolders.h"
#include "serial/PortBinding.h"

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

QString failureText(const Failure &f, int language)
{
    using Kind = Failure::Kind;
    const QString n = QString::number(f.line);
    const QString path = QDir::toNativeSeparators(f.path);
    const QString detail = f.detail.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(f.detail);
    switch (f.kind) {
    case Kind::None:
        break;
    case Kind::Missing:
        return both(language, QStringLiteral("Het bestand bestaat niet."),
                    QStringLiteral("Le fichier n'existe pas."));
    case Kind::Unreadable:
        return both(language, QStringLiteral("Het bestand kan niet gelezen worden."),
                    QStringLiteral("Le fichier ne peut pas être lu."));
    case Kind::TooLarge:
        return both(language, QStringLiteral("Het bestand is te groot voor een modulebestand."),
                    QStringLiteral("Le fichier est trop grand pour un fichier module."));
    case Kind::BadType:
        return both(language, QStringLiteral("Regel 1 bevat geen geldig moduletype (0 tot 3)."),
                    QStringLiteral("La ligne 1 ne contient pas de type de module valable (0 à 3)."));
    case Kind::TooShort:
        return both(language, QStringLiteral("Het bestand is te kort: regel %1 ontbreekt.").arg(n),
                    QStringLiteral("Le fichier est trop court: la ligne %1 manque.").arg(n));
    case Kind::BadValue:
        return both(language, QStringLiteral("Regel %1 bevat geen geldige waarde (0 tot 999).").arg(n),
                    QStringLiteral("La ligne %1 ne contient pas de valeur valable (0 à 999).").arg(n));
    case Kind::OtherTypesLength: {
        // A type line changed by hand: the values belong to another module type.
        const int type = f.figures.value(0);
        const int lines = f.figures.value(1);
        return both(
            language,
            QStringLiteral(
                "Regel 1 geeft moduletype %1, maar het bestand telt %2 regels: de lengte van een ander "
                "moduletype. Het type en de waarden horen niet bij elkaar.")
                .arg(type)
                .arg(lines),
            QStringLiteral(
                "La ligne 1 indique le type de module %1, mais le fichier compte %2 lignes: la longueur "
                "d'un autre type de module. Le type et les valeurs ne vont pas ensemble.")
                .arg(type)
                .arg(lines));
    }
    case Kind::NotAFile:
        return both(
            language, QStringLiteral("Dit is geen gewoon bestand (een map, apparaat of pijp)."),
            QStringLiteral("Ce n'est pas un fichier ordinaire (un dossier, un périphérique ou un tube)."));
    case Kind::NotJson:
    case Kind::NotAnInstallation:
        return both(language, QStringLiteral("Dit is geen installatiebestand."),
                    QStringLiteral("Ce n'est pas un fichier d'installation."));
    case Kind::TooLargeInstallation:
        return both(language, QStringLiteral("Het bestand is te groot voor een installatiebestand."),
                    QStringLiteral("Le fichier est trop grand pour un fichier d'installation."));
    case Kind::UnknownVersion:
        return both(language,
                    QStringLiteral("Het bestand is van versie %1, die dit programma niet kent.")
                        .arg(f.figures.value(0)),
                    QStringLiteral("Le fichier est de la version %1, que ce programme ne connaît pas.")
                        .arg(f.figures.value(0)));
    case Kind::BadField:
        return both(language, QStringLiteral("Het veld %1 ontbreekt of is ongeldig.").arg(f.text),
                    QStringLiteral("Le champ %1 manque ou n'est pas valable.").arg(f.text));
    case Kind::TooLong:
        return both(
            language,
            QStringLiteral("De tekst %1 is langer dan %2 tekens.").arg(f.text).arg(f.figures.value(0)),
            QStringLiteral("Le texte %1 dépasse %2 caractères.").arg(f.text).arg(f.figures.value(0)));
    case Kind::ControlCharacter:
        return both(language, QStringLiteral("De tekst %1 bevat een stuurteken.").arg(f.text),
                    QStringLiteral("Le texte %1 contient un caractère de contrôle.").arg(f.text));
    case Kind::TooManyModules:
        return both(language, QStringLiteral("Het bestand telt meer dan %1 modules.").arg(f.figures.value(0)),
                    QStringLiteral("Le fichier compte plus de %1 modules.").arg(f.figures.value(0)));
    case Kind::BadImage:
        return both(language, QStringLiteral("De gegevens %1 zijn onvolledig of ongeldig.").arg(f.text),
                    QStringLiteral("Les données %1 sont incomplètes ou non valables.").arg(f.text));
    case Kind::DuplicateId:
        return both(language, QStringLiteral("De module %1 heeft dezelfde id als een andere.").arg(f.text),
                    QStringLiteral("Le module %1 a le même identifiant qu'un autre.").arg(f.text));
    // A file that could not be written: what the system said.
    case Kind::NotAModuleImage:
    case Kind::NotWritten:
    case Kind::FolderUnreadable:
        return f.detail;
    case Kind::BadPortNumber:
        return both(
            language,
            QStringLiteral(
                "Poort %1 kan niet gekoppeld worden: alleen de poorten 1 tot %2 hebben een koppeling.")
                .arg(path, QString::number(PortBinding::kLastPort)),
            QStringLiteral("Le port %1 ne peut pas être lié : seuls les ports 1 à %2 ont une liaison.")
                .arg(path, QString::number(PortBinding::kLastPort)));
    case Kind::NoDevice:
        return both(language, QStringLiteral("Kies een poort in de lijst of typ de naam van een apparaat."),
                    QStringLiteral("Choisissez un port dans la liste ou tapez le nom d'un périphérique."));
    case Kind::NotAbsolute:
        return both(
            language,
            QStringLiteral("Geef de volledige naam van het apparaat, bijvoorbeeld /dev/ttyUSB0 (niet %1).")
                .arg(path),
            QStringLiteral("Indiquez le nom complet du périphérique, par exemple /dev/ttyUSB0 (et non %1).")
                .arg(path));
    case Kind::NoSuchDevice:
        return both(language, QStringLiteral("%1 bestaat niet. Is de adapter aangesloten?").arg(path),
                    QStringLiteral("%1 n'existe pas. L'adaptateur est-il branché ?").arg(path));
    case Kind::RegularFile:
        return both(language, QStringLiteral("%1 is een gewoon bestand, geen seriële poort.").arg(path),
                    QStringLiteral("%1 est un fichier ordinaire, pas un port série.").arg(path));
    case Kind::Folder:
        return both(language, QStringLiteral("%1 is een map, geen seriële poort.").arg(path),
                    QStringLiteral("%1 est un dossier, pas un port série.").arg(path));
    case Kind::NotCharacterDevice:
    case Kind::NotTerminal:
        return both(language, QStringLiteral("%1 is geen seriële poort.").arg(path),
                    QStringLiteral("%1 n'est pas un port série.").arg(path));
    case Kind::Occupied:
        return both(
            language,
            QStringLiteral("%1 is geen koppeling maar een bestand of map. Het programma laat het staan; "
                           "verwijder of hernoem het zelf.")
                .arg(path),
            QStringLiteral("%1 n'est pas une liaison mais un fichier ou un dossier. Le programme n'y touche "
                           "pas ; supprimez-le ou renommez-le vous-même.")
                .arg(path));
    case Kind::NotOpened:
        return both(language,
                    QStringLiteral("%1 kan niet geopend worden om te zien of het een seriële poort is%2.")
                        .arg(path, detail),
                    QStringLiteral("%1 ne peut pas être ouvert pour voir s'il s'agit d'un port série%2.")
                        .arg(path, detail));
    case Kind::FolderIsLink:
        return UserFolders::unusedFolderText(f.path, UserFolders::FolderState::Link, language);
    case Kind::FolderNotAFolder:
        return UserFolders::unusedFolderText(f.path, UserFolders::FolderState::NotAFolder, language);
    case Kind::FolderNotOwned:
        return UserFolders::unusedFolderText(f.path, UserFolders::FolderState::NotOwned, language);
    case Kind::FolderOpenToOthers:
        return UserFolders::unusedFolderText(f.path, UserFolders::FolderState::WritableByOthers, language);
    case Kind::FolderNotMade:
        return both(language, QStringLiteral("De map %1 kan niet gemaakt worden.").arg(path),
                    QStringLiteral("Le dossier %1 ne peut pas être créé.").arg(path));
    case Kind::LinkFailed:
        return both(language, QStringLiteral("De koppeling %1 kan niet gemaakt worden%2.").arg(path, detail),
                    QStringLiteral("La liaison %1 ne peut pas être créée%2.").arg(path, detail));
    case Kind::RemoveFailed:
        return both(language,
                    QStringLiteral("De koppeling %1 kan niet verwijderd worden%2.").arg(path, detail),
                    QStringLiteral("La liaison %1 ne peut pas être supprimée%2.").arg(path, detail));
    case Kind::Unsupported:
        return both(language, QStringLiteral("Op dit systeem heeft een poort geen koppeling."),
                    QStringLiteral("Sur ce système, un port n'a pas de liaison."));
    }
    return QString();
}

QString fileNotOpened(const QString &path, const Failure &failure, int language)
{
    return both(language,
                QStringLiteral("Het modulebestand\n%1\nkan niet geopend worden. Er werd niets gewijzigd.")
                    .arg(path),
                QStringLiteral("Le fichier module\n%1\nne peut pas être ouvert. Rien n'a été modifié.")
                    .arg(path)) +
           QStringLiteral("\n\n") + failureText(failure, language);
}

QString fileNotSaved(const QString &path, const Failure &failure, int language)
{
    const QString &error = failure.detail;
    return both(language,
                QStringLiteral("Het modulebestand\n%1\nkon niet bewaard worden (%2).\nEen bestaand bestand "
                               "blijft zoals het was.")
                    .arg(path, error),
                QStringLiteral(
                    "Le fichier module\n%1\nn'a pas pu être sauvé (%2).\nUn fichier existant reste inchangé.")
                    .arg(path, error));
}

QString fileNotKept(const QString &original, const Failure &failure, int language)
{
    const QString path = QDir::toNativeSeparators(original);
    return both(language,
                QStringLiteral(
                    "Het bestand %1 is vervangen, maar er is geen kopie van de vorige inhoud bewaard (%2).")
                    .arg(path, failure.detail),
                QStringLiteral("Le fichier %1 a été remplacé, mais aucune copie de son contenu précédent n'a "
                               "été gardée (%2).")
                    .arg(path, failure.detail));
}

QString backupNotWritten(const Failure &failure, int language)
{
    return both(language,
                QStringLiteral("De reservekopie van deze module kon niet bewaard worden (%1).\nDe "
                               "gegevens zijn wel gelezen.")
                    .arg(failure.detail),
                QStringLiteral("La copie de sécurité de ce module n'a pas pu être sauvée (%1).\nLes "
                               "données ont bien été lues.")
                    .arg(failure.detail));
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

// ---- Installations ----------------------------------------------------------------------------

namespace {
QList<std::pair<LeaveAnswer, QString>> leaveOptions(int language, const QString &discardDutch,
                                                    const QString &discardFrench)
{
    return {{LeaveAnswer::Save, caption(language, QStringLiteral("Bewaren"), QStringLiteral("Sauver"))},
            {LeaveAnswer::Discard, caption(language, discardDutch, discardFrench)},
            {LeaveAnswer::Stay, caption(language, QStringLiteral("Blijven"), QStringLiteral("Rester"))}};
}

QString dateText(const QDateTime &when, int language)
{
    return when.toLocalTime().toString(language == 2 ? QStringLiteral("dd/MM/yyyy HH:mm")
                                                     : QStringLiteral("dd-MM-yyyy HH:mm"));
}
} // namespace

Question<LeaveAnswer> leaveInstallation(Unsaved unsaved, int language)
{
    const bool both_ = unsaved == Unsaved::Both;
    return {
        both(language,
             both_ ? QStringLiteral("De installatie en de module in het venster zijn gewijzigd en nog niet "
                                    "bewaard. Toch afsluiten?")
                   : QStringLiteral("De installatie is gewijzigd en nog niet bewaard. Toch afsluiten?"),
             both_ ? QStringLiteral("L'installation et le module dans la fenêtre ont été modifiés et ne sont "
                                    "pas encore sauvés. Quitter quand même ?")
                   : QStringLiteral("L'installation a été modifiée et n'est pas encore sauvée. "
                                    "Quitter quand même ?")),
        leaveOptions(language, QStringLiteral("Afsluiten zonder bewaren"),
                     QStringLiteral("Quitter sans sauver"))};
}

Question<LeaveAnswer> closeInstallation(int language)
{
    return {
        both(language, QStringLiteral("De installatie is gewijzigd en nog niet bewaard. Toch sluiten?"),
             QStringLiteral("L'installation a été modifiée et n'est pas encore sauvée. Fermer quand même ?")),
        leaveOptions(language, QStringLiteral("Sluiten zonder bewaren"),
                     QStringLiteral("Fermer sans sauver"))};
}

Question<LeaveAnswer> replaceLooseImage(int language)
{
    return {
        both(language,
             QStringLiteral("De module in het venster is gewijzigd en nog niet verstuurd of bewaard. "
                            "Toch een module van de installatie tonen?"),
             QStringLiteral("Le module dans la fenêtre a été modifié et n'est pas encore envoyé ni sauvé. "
                            "Afficher quand même un module de l'installation ?")),
        leaveOptions(language, QStringLiteral("Niet bewaren"), QStringLiteral("Ne pas sauver"))};
}

Question<bool> sendModule(const QString &name, const QString &place, int language)
{
    const QString where = place.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(place);
    return {both(language, QStringLiteral("Module '%1'%2 versturen?").arg(name, where),
                 QStringLiteral("Envoyer le module « %1 »%2 ?").arg(name, where)),
            {{true, caption(language, QStringLiteral("Versturen"), QStringLiteral("Envoyer"))},
             {false, caption(language, QStringLiteral("Niet versturen"), QStringLiteral("Ne pas envoyer"))}}};
}

Question<VersionAnswer> keepWhichVersion(const QString &name, int language)
{
    return {
        both(language,
             QStringLiteral("Module '%1' heeft in de installatie wijzigingen die nog niet verstuurd zijn, "
                            "en de module houdt iets anders. Welke versie komt in de installatie?")
                 .arg(name),
             QStringLiteral("Le module « %1 » a dans l'installation des modifications pas encore envoyées, "
                            "et le module contient autre chose. Quelle version garder dans l'installation ?")
                 .arg(name)),
        {{VersionAnswer::Installation,
          caption(language, QStringLiteral("Die van de installatie (wijzigingen behouden)"),
                  QStringLiteral("Celle de l'installation (garder les modifications)"))},
         {VersionAnswer::Module, caption(language, QStringLiteral("Die van de module (gelezen)"),
                                         QStringLiteral("Celle du module (lue)"))}}};
}

Question<bool> removeModule(const QString &name, int language)
{
    return {both(language, QStringLiteral("Module '%1' uit de installatie verwijderen?").arg(name),
                 QStringLiteral("Retirer le module « %1 » de l'installation ?").arg(name)),
            {{true, caption(language, QStringLiteral("Verwijderen"), QStringLiteral("Retirer"))},
             {false, caption(language, QStringLiteral("Annuleren"), QStringLiteral("Annuler"))}}};
}

Question<bool> offerNewerCopy(const QString &path, const QDateTime &copyTime, int language)
{
    const QString shown = QDir::toNativeSeparators(path);
    return {
        both(language,
             QStringLiteral("Er is een herstelkopie van %1 van %2, nieuwer dan het bestand: de installatie "
                            "was niet bewaard toen het programma stopte. De herstelkopie openen? "
                            "(Een kopie die u niet opent, blijft bij de reservekopieën.)")
                 .arg(shown, dateText(copyTime, language)),
             QStringLiteral("Il existe une copie de récupération de %1 du %2, plus récente que le fichier : "
                            "l'installation n'était pas sauvée quand le programme s'est arrêté. Ouvrir la "
                            "copie de récupération ? (Une copie non ouverte reste parmi les copies de "
                            "sécurité.)")
                 .arg(shown, dateText(copyTime, language))),
        {{true, caption(language, QStringLiteral("Herstelkopie openen"), QStringLiteral("Ouvrir la copie"))},
         {false,
          caption(language, QStringLiteral("Het bestand openen"), QStringLiteral("Ouvrir le fichier"))}}};
}

Question<bool> offerUnsavedCopy(const QString &name, const QDateTime &copyTime, int language)
{
    return {
        both(language,
             QStringLiteral("Er is een herstelkopie van de installatie '%1' van %2, die nooit bewaard is. "
                            "Openen? (Een kopie die u niet opent, blijft bij de reservekopieën.)")
                 .arg(name, dateText(copyTime, language)),
             QStringLiteral("Il existe une copie de récupération de l'installation « %1 » du %2, jamais "
                            "sauvée. L'ouvrir ? (Une copie non ouverte reste parmi les copies de sécurité.)")
                 .arg(name, dateText(copyTime, language))),
        {{true, caption(language, QStringLiteral("Openen"), QStringLiteral("Ouvrir"))},
         {false, caption(language, QStringLiteral("Niet openen"), QStringLiteral("Ne pas ouvrir"))}}};
}

QString notImported(const QStringList &reasons, int language)
{
    return both(language, QStringLiteral("Niet ingelezen:\n"), QStringLiteral("Non importés :\n")) +
           reasons.join(QLatin1Char('\n'));
}

Question<ReportAnswer> installationReport(int language)
{
    return {
        both(language, QStringLiteral("Het installatierapport afdrukken of als PDF-bestand bewaren?"),
             QStringLiteral("Imprimer le rapport d'installation ou le sauver en fichier PDF ?")),
        {{ReportAnswer::Print, caption(language, QStringLiteral("Afdrukken"), QStringLiteral("Imprimer"))},
         {ReportAnswer::Pdf,
          caption(language, QStringLiteral("Als PDF bewaren"), QStringLiteral("Sauver en PDF"))},
         {ReportAnswer::Cancel, caption(language, QStringLiteral("Annuleren"), QStringLiteral("Annuler"))}}};
}

QString namesImported(int names, int modules, const QStringList &unplaced, int language)
{
    const QString dutch =
        (names == 1 ? QStringLiteral("1 naam") : QStringLiteral("%1 namen").arg(names)) +
        QStringLiteral(" gewijzigd in ") +
        (modules == 1 ? QStringLiteral("1 module.") : QStringLiteral("%1 modules.").arg(modules));
    const QString french =
        (names == 1 ? QStringLiteral("1 nom modifié") : QStringLiteral("%1 noms modifiés").arg(names)) +
        QStringLiteral(" dans ") +
        (modules == 1 ? QStringLiteral("1 module.") : QStringLiteral("%1 modules.").arg(modules));
    QString text = names == 0 ? both(language, QStringLiteral("Geen namen gewijzigd."),
                                     QStringLiteral("Aucun nom modifié."))
                              : both(language, dutch, french);
    if (!unplaced.isEmpty())
        text +=
            both(language, QStringLiteral("\n\nNiet geplaatst:\n"), QStringLiteral("\n\nNon placés :\n")) +
            unplaced.join(QLatin1Char('\n'));
    return text;
}

QString namesFileDamaged(const QString &path, const QString &problem, int language)
{
    return both(language, QStringLiteral("De namen uit %1 zijn niet ingelezen; er is niets gewijzigd.\n\n"),
                QStringLiteral("Les noms de %1 ne sont pas importés ; rien n'est modifié.\n\n"))
               .arg(QDir::toNativeSeparators(path)) +
           problem;
}

QString installationFull(int maximum, int language)
{
    return both(language, QStringLiteral("Een installatie heeft ten hoogste %1 modules.").arg(maximum),
                QStringLiteral("Une installation a au plus %1 modules.").arg(maximum));
}

QString recoveryNotWritten(const Failure &failure, int language)
{
    return both(language, QStringLiteral("De herstelkopie van de installatie kon niet geschreven worden."),
                QStringLiteral("La copie de récupération de l'installation n'a pas pu être écrite.")) +
           QLatin1Char('\n') + failureText(failure, language);
}

} // namespace Messages
