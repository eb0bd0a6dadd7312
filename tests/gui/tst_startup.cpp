#include "app/BrowseDirectoryDialog.h"
#include "app/Launcher.h"
#include "app/ModulePage.h"
#include "app/PreferencesDialog.h"
#include "common/MessageBox.h"
#include "support/WindowRig.h"

#include <QTest>
#include <memory>

// Start-up, settings files, menus and the preference dialogs.
class TestStartup : public QObject
{
    Q_OBJECT
    QStringList m_started;
    int m_quits = 0;

private Q_SLOTS:
    void initTestCase()
    {
        Launcher::setProgramStarter([this](const QString &program, const QStringList &) {
            m_started << program;
            return true;
        });
        Launcher::setQuitter([this] { ++m_quits; });
        MessageBox::setAutoAnswer(true);
    }
    void init()
    {
        m_started.clear();
        m_quits = 0;
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    // The captions of the window, its menus and its entries in both languages: one line per
    // control (object name, Dutch, French), one row per language.
    void captions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        const char *const table[][3] = {
            {"Form1", "QV Velano", "QV Velano"},
            {"Frame1", "Actie:", "Action:"},
            {"Frame2", "Module gegevens:", "Données module:"},
            {"Command1", "Verbinden", "Connecter"},
            {"Command2", "Versturen", "Envoyer"},
            {"Command7", "Drukknoppen", "Boutons poussoirs"},
            {"Command8", "Tijd 2de functie", "Temps 2ème fonction"},
            {"Command10", "Sferen", "Contextes"},
            {"bestand", "Bestand", "Fichier"},
            {"nieuw", "&Nieuwe module", "Nouveau module"},
            {"openen", "Module &Openen ...", "Ouvrir module ..."},
            {"Bewaren", "Module Op&slaan", "Sauver module"},
            {"Bewaren_als", "Module Opslaan als ...", "Sauver module dans ..."},
            {"Einde", "E&xit", "Exit"},
            {"taal", "Taal/langue", "Taal/langue"},
            {"instellingen", "Preferences ...", "Preferences ..."},
        };
        for (const auto &[name, dutch, french] : table) {
            QTest::addRow("%s nl", name) << QString::fromLatin1(name) << 1 << QString::fromUtf8(dutch);
            QTest::addRow("%s fr", name) << QString::fromLatin1(name) << 2 << QString::fromUtf8(french);
        }
    }
    void captions()
    {
        QFETCH(QString, name);
        QFETCH(int, language);
        QFETCH(QString, text);
        TestHome home;
        home.writeSettings(language == 1 ? " 1 \r\n" : " 2 \r\n");
        TestWindow w;
        QObject *control = name == w.objectName() ? &w : w.findChild<QObject *>(name);
        QVERIFY(control);
        QString shown;
        if (auto *box = qobject_cast<QGroupBox *>(control))
            shown = box->title();
        else if (auto *button = qobject_cast<QAbstractButton *>(control))
            shown = button->text();
        else if (auto *menu = qobject_cast<QMenu *>(control))
            shown = menu->title();
        else if (auto *action = qobject_cast<QAction *>(control))
            shown = action->text();
        else
            shown = qobject_cast<QWidget *>(control)->windowTitle();
        QCOMPARE(shown, text);
        // The language menu marks the language in use.
        QCOMPARE(w.ned->isChecked(), language == 1);
        QCOMPARE(w.frans->isChecked(), language == 2);
    }

    void startState()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n", "2\r\n", "700\r\n", "/tmp\r\n");
        TestWindow w;
        QCOMPARE(w.state().Language, 1);
        QCOMPARE(w.state().ComPort, 2);
        QCOMPARE(w.state().PcDelay, 700);
        QCOMPARE(w.state().DefaultDirectory, QStringLiteral("/tmp"));
        QCOMPARE(w.state().ModuleType, 4);
        QCOMPARE(w.Einde->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
        QCOMPARE(w.Bewaren->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
        QVERIFY(w.p[1]->isChecked());
        QCOMPARE(std::count_if(w.p.begin(), w.p.end(), [](QAction *a) { return a->isChecked(); }), 1);

        // The start state of the window.
        w.show();
        QVERIFY(w.Frame1->isVisible());
        QVERIFY(w.Command1->isEnabled());
        QVERIFY(!w.Command2->isEnabled());
        QVERIFY(w.Frame2->isVisible());
        for (QWidget *b :
             std::initializer_list<QWidget *>{w.Command7, w.Command8, w.Command9, w.Command10, w.Command12}) {
            QVERIFY2(b->isHidden() && !b->isEnabled(), qPrintable(b->objectName()));
        }
        QVERIFY(!w.Option1->isEnabled() && !w.Option2->isEnabled());
        QVERIFY(!w.Option1->isChecked() && !w.Option2->isChecked());
        QVERIFY(w.Label5->isHidden());
        QVERIFY(w.Label1->isVisible() && w.Combo1->isVisible());
        QCOMPARE(w.Combo1->currentText(), QString());
        QCOMPARE(w.Combo1->count(), 4);
        QCOMPARE(w.Combo1->itemText(1), QStringLiteral("ZK24XX_ZK3447"));
        QVERIFY(w.Frame11->isHidden());
        QVERIFY(byName<QLabel>(w.Frame11, "Label2")->isHidden());
        for (QWidget *b : std::initializer_list<QWidget *>{
                 byName<QPushButton>(w.Frame11, "Command11"), byName<QPushButton>(w.Frame11, "Command13"),
                 byName<QPushButton>(w.Frame11, "Command14"), w.Command15})
            QVERIFY(b->isHidden());
        for (const char *f : {"Frame3", "Frame6", "Frame7", "Frame9", "Frame10", "Frame12"}) {
            QWidget *frame = w.findChild<QWidget *>(QString::fromLatin1(f));
            QVERIFY2(!frame || frame->isHidden(), f); // the panels are built when first shown
        }
        QVERIFY(!w.Bewaren->isEnabled() && !w.Bewaren_als->isEnabled());
        QVERIFY(w.ProgressBar1->isHidden());
    }

    void unknownLanguageKeepsDesignTexts()
    {
        TestHome home;
        home.writeSettings(" 3 \r\n");
        TestWindow w;
        QCOMPARE(w.state().Language, 3);
        QCOMPARE(w.Frame1->title(), QStringLiteral("Frame1"));
        QCOMPARE(w.Command1->text(), QStringLiteral("Command1"));
        QCOMPARE(w.Command7->text(), QStringLiteral("Command7"));
        QCOMPARE(w.Option1->text(), QStringLiteral("Master"));
        QCOMPARE(w.Option2->text(), QStringLiteral("Slave"));
        QCOMPARE(w.bestand->title(), QStringLiteral("Bestand"));
        QCOMPARE(w.openen->text(), QStringLiteral("Module &Openen ..."));
        QVERIFY(!w.ned->isChecked() && !w.frans->isChecked());
        // The web entry does nothing without a known language.
        int opened = 0;
        Launcher::setUrlOpener([&](const QString &) { return ++opened > 0; });
        w.Web->trigger();
        QCOMPARE(opened, 0);
        Launcher::setUrlOpener({});
    }

    void portOutsideTheMenu()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n", "9\r\n");
        TestWindow w;
        QCOMPARE(w.state().ComPort, 9);
        for (QAction *a : w.p)
            QVERIFY(!a->isChecked());
    }

    void missingSettingsFilesStillStart()
    {
        TestHome home; // empty folder: no settings at all
        TestWindow w;
        QCOMPARE(w.state().Language, 1);
        QCOMPARE(w.state().ComPort, 1);
        QCOMPARE(w.state().PcDelay, 300);
        QCOMPARE(w.state().DefaultDirectory, QString());
        QCOMPARE(w.Command1->text(), QStringLiteral("Verbinden"));
        QVERIFY(w.p[0]->isChecked());
        // A damaged value counts as missing.
        home.writeSettings("x\r\n", "\r\n", "fast\r\n");
        TestWindow w2;
        QCOMPARE(w2.state().Language, 1);
        QCOMPARE(w2.state().ComPort, 1);
        QCOMPARE(w2.state().PcDelay, 300);
    }

    void choosingAPortRewritesPortFile()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n", "2\r\n");
        TestWindow w;
        w.p[2]->trigger();
        QCOMPARE(home.read(QStringLiteral("port.vdm")), QByteArray("3\r\n"));
        QCOMPARE(w.state().ComPort, 3);
        QVERIFY(w.p[2]->isChecked());
        QVERIFY(!w.p[1]->isChecked());
        // The entry that is already checked keeps its check mark and rewrites the file.
        home.write(QStringLiteral("port.vdm"), "junk");
        w.p[2]->trigger();
        QVERIFY(w.p[2]->isChecked());
        QCOMPARE(home.read(QStringLiteral("port.vdm")), QByteArray("3\r\n"));
        QCOMPARE(MessageBox::shownCount(), 0);
    }

    void portFileThatCannotBeWrittenIsReported()
    {
        TestHome home;
        home.writeSettings(" 2 \r\n");
        TestWindow w;
        QFile::remove(home.file(QStringLiteral("port.vdm")));
        QDir(home.path()).mkdir(QStringLiteral("port.vdm"));
        w.p[4]->trigger();
        QCOMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Attention !"));
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("port.vdm")));
        QVERIFY(w.p[4]->isChecked());
    }

    void languageSwitchRewritesAndRestarts()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n");
        TestWindow w;
        w.frans->trigger();
        QCOMPARE(home.read(QStringLiteral("country.vdm")), QByteArray(" 2 \r\n"));
        QCOMPARE(m_started.size(), 1);
        QCOMPARE(m_started.first(), QCoreApplication::applicationFilePath());
        QCOMPARE(m_quits, 1);
        w.ned->trigger();
        QCOMPARE(home.read(QStringLiteral("country.vdm")), QByteArray(" 1 \r\n"));
        QCOMPARE(m_quits, 2);
    }

    void languageSwitchThatCannotRestartKeepsRunning()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n");
        TestWindow w;
        Launcher::setProgramStarter([](const QString &, const QStringList &) { return false; });
        w.frans->trigger();
        Launcher::setProgramStarter([this](const QString &program, const QStringList &) {
            m_started << program;
            return true;
        });
        QCOMPARE(home.read(QStringLiteral("country.vdm")), QByteArray(" 2 \r\n"));
        QCOMPARE(m_quits, 0);
        QCOMPARE(MessageBox::shownCount(), 1);
        // This instance stays Dutch until it ends: its message, the check marks and later texts.
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Opgelet !"));
        QVERIFY2(MessageBox::lastText().startsWith(
                     QStringLiteral("Het programma kon niet opnieuw gestart worden.")),
                 qPrintable(MessageBox::lastText()));
        QCOMPARE(w.state().Language, 1);
        QVERIFY(w.ned->isChecked() && !w.frans->isChecked());
        QCOMPARE(w.Command1->text(), QStringLiteral("Verbinden"));
    }

    // A country.vdm that cannot be written: nothing changes, no restart, and the window goes on
    // in its own language (the later message about another setting is Dutch too).
    void languageSwitchThatCannotBeStoredChangesNothing()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n");
        TestWindow w;
        QFile::remove(home.file(QStringLiteral("country.vdm")));
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("country.vdm")));
        w.frans->trigger();
        QCOMPARE(m_started.size(), 0);
        QCOMPARE(m_quits, 0);
        QCOMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Opgelet !"));
        QVERIFY2(MessageBox::lastText().startsWith(QStringLiteral("De instelling kon niet bewaard worden")),
                 qPrintable(MessageBox::lastText()));
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("country.vdm")));
        QCOMPARE(w.state().Language, 1);
        QVERIFY(w.ned->isChecked());
        QVERIFY(!w.frans->isChecked());
        QCOMPARE(w.bestand->title(), QStringLiteral("Bestand"));

        QFile::remove(home.file(QStringLiteral("port.vdm")));
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("port.vdm")));
        w.p[3]->trigger();
        QCOMPARE(MessageBox::shownCount(), 2);
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Opgelet !"));
        QVERIFY(MessageBox::lastText().startsWith(QStringLiteral("De instelling kon niet bewaard worden")));

        // Choosing the language already in use, in French, keeps its single mark as well.
        TestHome french;
        french.writeSettings(" 2 \r\n");
        TestWindow f;
        QFile::remove(french.file(QStringLiteral("country.vdm")));
        QVERIFY(QDir(french.path()).mkdir(QStringLiteral("country.vdm")));
        f.ned->trigger();
        QCOMPARE(f.state().Language, 2);
        QVERIFY(f.frans->isChecked() && !f.ned->isChecked());
        QCOMPARE(MessageBox::lastTitle(), QStringLiteral("Attention !"));
    }

    // "Einde" ends the program at once: no question, no restart, nothing written.
    void eindeEndsTheProgram()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n", "2\r\n");
        TestWindow w;
        w.Einde->trigger();
        QCOMPARE(m_quits, 1);
        QCOMPARE(m_started.size(), 0);
        QCOMPARE(MessageBox::shownCount(), 0);
        QCOMPARE(home.read(QStringLiteral("country.vdm")), QByteArray(" 1 \r\n"));
        QCOMPARE(home.read(QStringLiteral("port.vdm")), QByteArray("2\r\n"));
    }

    // The port stays open after a read; choosing a port closes it, and the next conversation
    // opens the port chosen, its device looked up at that moment.
    void portChoiceClosesTheOpenPort()
    {
        WindowRig rig({.pc = "0\r\n"});
        TestWindow &w = rig.w();
        TestHome &home = rig.home;
        MemoryLink &link = rig.link;
        QVERIFY(rig.read(1));
        ScriptedModule &module = *rig.module;
        QVERIFY(link.isOpen());
        QCOMPARE(link.openCount(), 1);
        QCOMPARE(link.portName(), serialPortName(1));

        home.write(QStringLiteral("com3"), ""); // the installer links port 3 to a device
        w.p[2]->trigger();
        QVERIFY(!link.isOpen());
        QCOMPARE(w.state().ComPort, 3);
        QCOMPARE(link.openCount(), 1);

        link.takeWritten();
        w.Command1->click();
        QVERIFY(link.isOpen());
        QCOMPARE(link.openCount(), 2);
        QCOMPARE(link.portName(), home.file(QStringLiteral("com3")));
        module.announce();
        QTRY_COMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        QVERIFY(link.written().startsWith(QByteArray(QByteArray(52, 'D') + "T3600\n\r")));

        // The entry already checked closes the port too.
        w.p[2]->trigger();
        QVERIFY(!link.isOpen());
        QVERIFY(w.p[2]->isChecked());
    }

    void webOpensTheMakersSite()
    {
        TestHome home;
        home.writeSettings(" 2 \r\n");
        TestWindow w;
        QString opened;
        Launcher::setUrlOpener([&](const QString &url) {
            opened = url;
            return true;
        });
        w.Web->trigger();
        Launcher::setUrlOpener({});
        QCOMPARE(opened, QString::fromLatin1(Launcher::MakerWebAddress));
        QCOMPARE(w.Web->text(), opened);
    }

    void preferencesRereadTheFolder()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n", "1\r\n", "500\r\n", "/tmp\r\n");
        TestWindow w;
        home.write(QStringLiteral("directory.vdm"), "/var/Klant, Peeters\r\n");
        PreferencesDialog form4(w.state(), &w);
        QCOMPARE(form4.windowTitle(), QStringLiteral("Preferences"));
        QCOMPARE(byName<QLabel>(&form4, "Label1")->text(), QStringLiteral("/var/Klant, Peeters"));
        QCOMPARE(w.state().DefaultDirectory, QStringLiteral("/var/Klant, Peeters"));
        QCOMPARE(byName<QLabel>(&form4, "Label2")->text(), QStringLiteral("QV1 Directory:"));
        // A file emptied since: no folder stored, as at start-up.
        home.write(QStringLiteral("directory.vdm"), "\r\n");
        PreferencesDialog again(w.state(), &w);
        QCOMPARE(byName<QLabel>(&again, "Label1")->text(), QString());
        QCOMPARE(w.state().DefaultDirectory, QString());
    }

    // With QV_VELANO_HOME the folder that replaces a lost one is that folder.
    void browseFallsBackToTheInstallationFolder()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n", "1\r\n", "500\r\n", "/no/such/folder\r\n");
        TestWindow w;
        BrowseDirectoryDialog form5(w.state(), &w);
        QCOMPARE(w.state().DefaultDirectory, home.path());
        QCOMPARE(home.read(QStringLiteral("directory.vdm")), home.path().toLocal8Bit() + "\r\n");
        QCOMPARE(QDir(byName<FolderList>(&form5, "Dir1")->path()), QDir(home.path()));
        QCOMPARE(QDir(byName<QLabel>(&form5, "Label3")->text()), QDir(home.path()));
    }

    // An empty directory.vdm holds no folder: "Browse directory" shows the fallback folder but
    // stores nothing unless the installer selects it; Cancel stores nothing.
    void browseWithoutAStoredFolderStoresNothing()
    {
        TestUserHome m;
        QVERIFY(QDir(m.home()).mkdir(QStringLiteral("Documents")));
        const QString documents = m.home() + QStringLiteral("Documents");
        m.write(m.shipped(QStringLiteral("directory.vdm")), "\r\n");
        TestWindow w;
        QCOMPARE(w.state().DefaultDirectory, QString());
        PreferencesDialog form4(w.state(), &w);
        QCOMPARE(byName<QLabel>(&form4, "Label1")->text(), QString());
        {
            BrowseDirectoryDialog form5(w.state(), &form4);
            QCOMPARE(QDir(byName<FolderList>(&form5, "Dir1")->path()), QDir(documents));
            QCOMPARE(QDir(byName<QLabel>(&form5, "Label3")->text()), QDir(documents));
            QCOMPARE(w.state().DefaultDirectory, QString());
            byName<QPushButton>(&form5, "Command2")->click();
            QCOMPARE(form5.result(), int(QDialog::Rejected));
        }
        QCOMPARE(w.state().DefaultDirectory, QString());
        QVERIFY(!QFileInfo::exists(m.user(QStringLiteral("directory.vdm"))));
        QVERIFY(!QFileInfo::exists(m.user()));
        QCOMPARE(m.read(m.shipped(QStringLiteral("directory.vdm"))), QByteArray("\r\n"));
        QCOMPARE(MessageBox::shownCount(), 0);

        // Through Form4's "Browse...": cancelled, the label stays empty.
        QTimer::singleShot(0, &form4, [&form4] {
            auto *form5 = form4.findChild<BrowseDirectoryDialog *>(QStringLiteral("Form5"));
            QVERIFY(form5);
            byName<QPushButton>(form5, "Command2")->click();
        });
        byName<QPushButton>(&form4, "Command1")->click();
        QCOMPARE(byName<QLabel>(&form4, "Label1")->text(), QString());
        QVERIFY(!QFileInfo::exists(m.user(QStringLiteral("directory.vdm"))));

        // Selected, the fallback folder is stored like any other.
        BrowseDirectoryDialog form5(w.state(), &form4);
        byName<QPushButton>(&form5, "Command1")->click();
        QCOMPARE(QDir(w.state().DefaultDirectory), QDir(documents));
        QCOMPARE(m.read(m.user(QStringLiteral("directory.vdm"))),
                 QDir::toNativeSeparators(documents).toLocal8Bit() + "\r\n");
    }

    void browseSelectsAFolder()
    {
        TestHome home;
        QDir(home.path()).mkpath(QStringLiteral("Klant, Janssens"));
        const QString start = home.path() + QStringLiteral("Klant, Janssens");
        home.writeSettings(" 1 \r\n", "1\r\n", "500\r\n", start.toLocal8Bit() + "\r\n");
        TestWindow w;
        PreferencesDialog form4(w.state(), &w);
        BrowseDirectoryDialog form5(w.state(), &form4);
        QCOMPARE(byName<QLabel>(&form5, "Label3")->text(), start);
        // "Default" moves the list to the documents folder (with QV_VELANO_HOME: that folder)
        // without storing anything.
        byName<QPushButton>(&form5, "Command3")->click();
        QCOMPARE(QDir(byName<FolderList>(&form5, "Dir1")->path()), QDir(home.path()));
        QCOMPARE(home.read(QStringLiteral("directory.vdm")), start.toLocal8Bit() + "\r\n");
        // Entering the subfolder by its list entry, then "Select directory", stores it whole.
        const auto items = byName<FolderList>(&form5, "Dir1")
                               ->findItems(QStringLiteral("Klant, Janssens"), Qt::MatchEndsWith);
        QCOMPARE(items.size(), 1);
        Q_EMIT byName<FolderList>(&form5, "Dir1")->itemActivated(items.first());
        QCOMPARE(byName<QLabel>(&form5, "Label3")->text(), start);
        byName<QPushButton>(&form5, "Command1")->click();
        QCOMPARE(home.read(QStringLiteral("directory.vdm")), start.toLocal8Bit() + "\r\n");
        QCOMPARE(w.state().DefaultDirectory, start);
        QCOMPARE(form5.result(), int(QDialog::Accepted));
    }

    // Each user keeps their own settings: read from the user's file, else the administrator's,
    // else the shipped one; a change is written to the user's private folder only.
    void settingsAreThoseOfTheUser()
    {
        TestUserHome m;
        m.write(m.shipped(QStringLiteral("country.vdm")), " 2 \r\n");
        m.write(m.shipped(QStringLiteral("port.vdm")), "1\r\n");
        m.write(m.shipped(QStringLiteral("pc.vdm")), "300\r\n");
        m.write(m.shipped(QStringLiteral("directory.vdm")), "\r\n");
        m.write(m.admin(QStringLiteral("port.vdm")), "4\r\n");
        m.write(m.admin(QStringLiteral("pc.vdm")), "800\r\n");
        {
            TestWindow w;
            QCOMPARE(w.state().Language, 2);
            QCOMPARE(w.state().ComPort, 4);
            QCOMPARE(w.state().PcDelay, 800);
            QCOMPARE(w.Command1->text(), QStringLiteral("Connecter"));
            w.p[2]->trigger();
            w.ned->trigger();
            QCOMPARE(m_quits, 1);
        }
        QCOMPARE(m.read(m.user(QStringLiteral("port.vdm"))), QByteArray("3\r\n"));
        QCOMPARE(m.read(m.user(QStringLiteral("country.vdm"))), QByteArray(" 1 \r\n"));
        QCOMPARE(QFileInfo(m.user()).permissions() & 0x0077, QFile::Permissions());
        QCOMPARE(m.read(m.shipped(QStringLiteral("port.vdm"))), QByteArray("1\r\n"));
        QCOMPARE(m.read(m.shipped(QStringLiteral("country.vdm"))), QByteArray(" 2 \r\n"));
        QCOMPARE(m.read(m.admin(QStringLiteral("port.vdm"))), QByteArray("4\r\n"));
        QCOMPARE(
            QDir(m.user()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList({QStringLiteral("country.vdm"), QStringLiteral("port.vdm")}));
        TestWindow again;
        QCOMPARE(again.state().Language, 1);
        QCOMPARE(again.state().ComPort, 3);
        QVERIFY(again.p[2]->isChecked());
        QCOMPARE(MessageBox::shownCount(), 0);
    }

    // The message names the user's file, where the change should have gone.
    void unsavedSettingNamesTheUsersFile()
    {
        TestUserHome m;
        m.write(m.shipped(QStringLiteral("country.vdm")), " 1 \r\n");
        QVERIFY(QDir().mkpath(m.user(QStringLiteral("port.vdm"))));
        TestWindow w;
        w.p[5]->trigger();
        QCOMPARE(MessageBox::shownCount(), 1);
        QVERIFY2(
            MessageBox::lastText().contains(QDir::toNativeSeparators(m.user(QStringLiteral("port.vdm")))),
            qPrintable(MessageBox::lastText()));
        QVERIFY(w.p[5]->isChecked());
        QVERIFY(!QFileInfo::exists(m.shipped(QStringLiteral("port.vdm"))));
    }

    // "Browse directory" repairs a folder that is gone with the user's documents folder, stored
    // in the user's directory.vdm; "Default" shows the documents folder too.
    void browseFallsBackToTheDocumentsFolder()
    {
        TestUserHome m;
        QVERIFY(QDir(m.home()).mkdir(QStringLiteral("Documents")));
        const QString documents = m.home() + QStringLiteral("Documents/");
        m.write(m.shipped(QStringLiteral("directory.vdm")), "/no/such/folder\r\n");
        TestWindow w;
        {
            BrowseDirectoryDialog form5(w.state(), &w);
            QCOMPARE(w.state().DefaultDirectory, documents);
            QCOMPARE(m.read(m.user(QStringLiteral("directory.vdm"))), documents.toLocal8Bit() + "\r\n");
            QCOMPARE(QDir(byName<FolderList>(&form5, "Dir1")->path()), QDir(documents));
        }
        QCOMPARE(m.read(m.shipped(QStringLiteral("directory.vdm"))), QByteArray("/no/such/folder\r\n"));
        QVERIFY(QDir(m.home()).mkdir(QStringLiteral("klant")));
        w.state().DefaultDirectory = m.home() + QStringLiteral("klant");
        BrowseDirectoryDialog form5(w.state(), &w);
        QCOMPARE(QDir(byName<FolderList>(&form5, "Dir1")->path()), QDir(m.home() + QStringLiteral("klant")));
        byName<QPushButton>(&form5, "Command3")->click();
        QCOMPARE(QDir(byName<FolderList>(&form5, "Dir1")->path()), QDir(documents));
        QCOMPARE(QDir(byName<QLabel>(&form5, "Label3")->text()), QDir(documents));
    }

    void moduleTypeList()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n");
        TestWindow w;
        w.show();
        w.Combo1->setEditText(QStringLiteral("ZK9999"));
        QCOMPARE(w.Combo1->currentText(), QString());
        w.chooseType(QStringLiteral("ZK24XX_ZK3447"));
        QCOMPARE(w.modulePageShown(), 1);
        QVERIFY(w.Frame11->isVisible());
        QCOMPARE(w.Frame11->title(), QStringLiteral("Dimmodule:"));
        QCOMPARE(byName<QLabel>(w.Frame11, "Label2")->text(), QStringLiteral("Dimmodule"));
        QVERIFY(byName<QPushButton>(w.Frame11, "Command13")->isVisible() &&
                byName<QPushButton>(w.Frame11, "Command14")->isVisible() &&
                byName<QPushButton>(w.Frame11, "Command33")->isVisible());
        QCOMPARE(byName<QPushButton>(w.Frame11, "Command33")->text(), QStringLiteral("ZK3447 ZK2447"));
        QVERIFY(byName<QPushButton>(w.Frame11, "Command11")->isHidden());
        QVERIFY(!byName<QLabel>(w.Frame11, "Picture2")->pixmap().isNull() ||
                !QFile::exists(home.file(QStringLiteral("dimmer.bmp"))));
        w.chooseType(QStringLiteral("ZK2018"));
        QCOMPARE(byName<QLabel>(w.Frame11, "Label2")->text(), QStringLiteral("Relaismodule"));
        QVERIFY(byName<QPushButton>(w.Frame11, "Command13")->isHidden() &&
                byName<QPushButton>(w.Frame11, "Command14")->isHidden() &&
                byName<QPushButton>(w.Frame11, "Command33")->isHidden());
        QVERIFY(byName<QPushButton>(w.Frame11, "Command11")->isVisible());
        QCOMPARE(byName<QPushButton>(w.Frame11, "Command11")->text(), QStringLiteral("Meer info..."));
        QCOMPARE(w.state().ModuleType, 4); // picking a page never changes the module type
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
