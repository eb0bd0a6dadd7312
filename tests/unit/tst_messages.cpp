// The window's message and status texts, as the functions of what happened and the language
// that they are.
#include "app/Messages.h"
#include "docpages/DocumentationPages.h"

#include <QTest>

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

    void fileFaults()
    {
        ModuleFileError e;
        e.kind = ModuleFileError::TooShort;
        e.line = 151;
        QCOMPARE(Messages::fileFault(e, 1), QStringLiteral("Het bestand is te kort: regel 151 ontbreekt."));
        QCOMPARE(Messages::fileFault(e, 2),
                 QStringLiteral("Le fichier est trop court: la ligne 151 manque."));
        e.kind = ModuleFileError::OtherTypesLength;
        e.type = 1;
        e.fileLines = 341;
        QVERIFY(Messages::fileFault(e, 1).startsWith(
            QStringLiteral("Regel 1 geeft moduletype 1, maar het bestand telt 341 regels")));
        const QString opened = Messages::fileNotOpened(QStringLiteral("/a/b.QV1"), e, 2);
        QVERIFY(opened.startsWith(QStringLiteral("Le fichier module\n/a/b.QV1\nne peut pas être ouvert.")));
        QVERIFY(opened.endsWith(Messages::fileFault(e, 2)));
        e.kind = ModuleFileError::None;
        QVERIFY(Messages::fileFault(e, 1).isEmpty());
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
