// The window's message and status texts, as the functions of what happened and the language
// that they are.
#include "app/Messages.h"
#include "common/UserFolders.h"
#include "docpages/DocumentationPages.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(Failure)

class TestMessages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusTexts()
    {
        using S = ConversationStatus;
        QCOMPARE(Messages::status(S::Searching, 1).value(), QStringLiteral("Module zoeken..."));
        QCOMPARE(Messages::status(S::Searching, 2).value(), QStringLiteral("Recherche module..."));
        QCOMPARE(Messages::status(S::Loading, 2).value(), QStringLiteral("Chargement des données..."));
        QCOMPARE(Messages::status(S::Sending, 1).value(), QStringLiteral("Versturen van de gegevens..."));
        // The same in every language, also one that is neither Dutch nor French.
        for (int language : {1, 2, 3}) {
            QCOMPARE(Messages::status(S::EditMode, language).value(), QStringLiteral("Edit mode"));
            QCOMPARE(Messages::status(S::Ready, language).value(), QStringLiteral("Ready"));
        }
        // Another language: the field keeps what it shows.
        QVERIFY(!Messages::status(S::Loading, 3));
        QVERIFY(!Messages::status(S::None, 1));
    }

    void problems_data()
    {
        QTest::addColumn<int>("problem");
        QTest::addColumn<QString>("dutch");
        QTest::addColumn<QString>("french");
        using P = ConversationProblem;
        QTest::newRow("missing") << int(P::PortNotFound) << "Poort /dev/ttyS7 bestaat niet"
                                 << "Le port /dev/ttyS7 n'existe pas";
        QTest::newRow("busy") << int(P::PortInUse) << "in gebruik"
                              << "utilisé par un autre programme";
        QTest::newRow("permission") << int(P::NoPermission) << "groep dialout"
                                    << "groupe dialout";
        QTest::newRow("failed") << int(P::PortFailed) << "kan niet geopend worden (why)"
                                << "ne peut pas être ouvert (why)";
        QTest::newRow("lost") << int(P::LineLost) << "is verbroken"
                              << "est interrompue";
        QTest::newRow("unsupported") << int(P::UnsupportedModule) << "niet ondersteund (melding \"why\")"
                                     << "pas supporté (annonce \"why\")";
    }
    void problems()
    {
        QFETCH(int, problem);
        QFETCH(QString, dutch);
        QFETCH(QString, french);
        const auto p = ConversationProblem(problem);
        const QString nl = Messages::problem(p, 1, QStringLiteral("/dev/ttyS7"), QStringLiteral("why"));
        const QString fr = Messages::problem(p, 2, QStringLiteral("/dev/ttyS7"), QStringLiteral("why"));
        QVERIFY2(nl.contains(dutch), qPrintable(nl));
        QVERIFY2(fr.contains(french), qPrintable(fr));
        // Neither language: both.
        const QString both = Messages::problem(p, 0, QStringLiteral("/dev/ttyS7"), QStringLiteral("why"));
        QVERIFY(both.contains(dutch) && both.contains(french));
    }

    // What a module or the system said is shown as plain, printable text, cut short.
    void outsideTextIsTamed()
    {
        QCOMPARE(Messages::outsideText(QStringLiteral("M19\x01<b>x</b>")), QStringLiteral("M19?<b>x</b>"));
        const QString long100 = QString(100, QLatin1Char('A'));
        QCOMPARE(Messages::outsideText(long100), QString(40, QLatin1Char('A')) + QStringLiteral("..."));
        const QString text = Messages::problem(ConversationProblem::UnsupportedModule, 1, QString(), long100);
        QVERIFY(!text.contains(QString(41, QLatin1Char('A'))));
    }

    // Each failure of the file and port layers in the installer's words, from the one place
    // that words them.
    void failures_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        Failure shortFile(Failure::Kind::TooShort, u"/a/b.QV1"_s);
        shortFile.line = 151;
        Failure otherType(Failure::Kind::OtherTypesLength);
        otherType.figures = {1, 341};
        QTest::newRow("too short nl") << shortFile << 1 << u"Het bestand is te kort: regel 151 ontbreekt."_s;
        QTest::newRow("too short fr")
            << shortFile << 2 << u"Le fichier est trop court: la ligne 151 manque."_s;
        QTest::newRow("other type's length")
            << otherType << 1
            << u"Regel 1 geeft moduletype 1, maar het bestand telt 341 regels: de lengte van een ander "
               u"moduletype. Het type en de waarden horen niet bij elkaar."_s;
        QTest::newRow("no device fr") << Failure(Failure::Kind::NoSuchDevice, u"/dev/ttyUSB7"_s) << 2
                                      << u"/dev/ttyUSB7 n'existe pas. L'adaptateur est-il branché ?"_s;
        QTest::newRow("link failed nl")
            << Failure(Failure::Kind::LinkFailed, u"/h/com2"_s, u"Permission denied"_s) << 1
            << u"De koppeling /h/com2 kan niet gemaakt worden (Permission denied)."_s;
        QTest::newRow("port 100 nl")
            << Failure(Failure::Kind::BadPortNumber, u"100"_s) << 1
            << u"Poort 100 kan niet gekoppeld worden: alleen de poorten 1 tot 99 hebben een koppeling."_s;
        QTest::newRow("folder open to others fr")
            << Failure(Failure::Kind::FolderOpenToOthers, u"/h/cfg"_s) << 2
            << UserFolders::unusedFolderText(u"/h/cfg"_s, UserFolders::FolderState::WritableByOthers, 2);
        QTest::newRow("not written: what the system said")
            << Failure(Failure::Kind::NotWritten, u"/a/b.QV1"_s, u"cannot write /a/b.QV1: disk full"_s) << 1
            << u"cannot write /a/b.QV1: disk full"_s;
        QTest::newRow("none") << Failure() << 1 << QString();
    }
    void failures()
    {
        QFETCH(Failure, failure);
        QFETCH(int, language);
        QFETCH(QString, text);
        QCOMPARE(Messages::failureText(failure, language), text);
    }

    void messagesAroundAFailure()
    {
        Failure e(Failure::Kind::OtherTypesLength);
        e.figures = {1, 341};
        const QString opened = Messages::fileNotOpened(u"/a/b.QV1"_s, e, 2);
        QVERIFY(opened.startsWith(u"Le fichier module\n/a/b.QV1\nne peut pas être ouvert."_s));
        QVERIFY(opened.endsWith(u"Le type et les valeurs ne vont pas ensemble."_s));
        const Failure disk(Failure::Kind::NotWritten, u"/a/b.QV1"_s, u"disk full"_s);
        QCOMPARE(Messages::fileNotSaved(u"/a/b.QV1"_s, disk, 1),
                 u"Het modulebestand\n/a/b.QV1\nkon niet bewaard worden (disk full).\nEen bestaand bestand "
                 u"blijft zoals het was."_s);
        QCOMPARE(Messages::fileNotKept(u"/a/b.QV1"_s, disk, 2),
                 u"Le fichier /a/b.QV1 a été remplacé, mais aucune copie de son contenu précédent n'a été "
                 u"gardée (disk full)."_s);
        QVERIFY(
            Messages::backupNotWritten(disk, 0).contains(u"(disk full).\nDe gegevens zijn wel gelezen."_s));
        QVERIFY(
            Messages::backupNotWritten(disk, 0).contains(u"(disk full).\nLes données ont bien été lues."_s));
    }

    void questionsOfASend()
    {
        const auto stop = Messages::stopTheSend(2);
        QCOMPARE(stop.buttons(),
                 (QStringList{QStringLiteral("Continuer l'envoi"), QStringLiteral("Arrêter maintenant")}));
        const auto close = Messages::closeDuringSend(1);
        QCOMPARE(close.buttons(), (QStringList{QStringLiteral("Sluiten na het versturen"),
                                               QStringLiteral("Nu sluiten"), QStringLiteral("Blijven")}));
        // Neither language: a button carries both captions on one line.
        QCOMPARE(Messages::stopTheSend(3).buttons().first(),
                 QStringLiteral("Verder versturen / Continuer l'envoi"));
    }

    void smallMessages()
    {
        QCOMPARE(Messages::wrongModule(1), QStringLiteral("Verkeerde type module !"));
        QCOMPARE(Messages::wrongModule(2), QStringLiteral("Module pas du bon type !"));
        QVERIFY(Messages::settingNotSaved(QStringLiteral("/home/x/.config/qv-velano5/port.vdm"), 2)
                    .endsWith(QStringLiteral("/home/x/.config/qv-velano5/port.vdm")));
        QVERIFY(Messages::restartFailed(1).contains(QStringLiteral("volgende start")));
        using F = DocumentationPages::FetchFault;
        QVERIFY(DocumentationPages::notFetchedText(F::TooLarge, 2).contains(QStringLiteral("trop grand")));
        QVERIFY(DocumentationPages::notFetchedText(F::TimedOut, 1).contains(QStringLiteral("niet op tijd")));
        QVERIFY(DocumentationPages::notFetchedText(F::Failed, 2).contains(QStringLiteral("téléchargé")));
    }
};

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
