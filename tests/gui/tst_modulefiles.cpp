#include "app/ModulePage.h"
#include "common/MessageBox.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "support/FileSizeLimit.h"
#include "support/WindowRig.h"

#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// Saving and opening module files through the window and its dialogs.
class TestModuleFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void roundTripOfEveryType_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("relay") << 0;
        QTest::newRow("dim") << 1;
        QTest::newRow("velano") << 2;
        QTest::newRow("modular relay") << 3;
    }
    void roundTripOfEveryType()
    {
        QFETCH(int, type);
        WindowRig rig;
        TestWindow &w = rig.w();
        rig.attach(type).memory = Images::values(Images::pattern(type, type, 13));
        rig.memory()[40] = 1;
        QVERIFY(rig.read());
        const ModuleImage saved = *w.state().currentImage();

        rig.saveAs(QStringLiteral("klant"));
        const QString path = QDir::toNativeSeparators(rig.home.path() + QStringLiteral("klant.QV1"));
        QCOMPARE(w.state().ModuleFilePath, path);
        QCOMPARE(w.windowTitle(), QStringLiteral("QV Velano  -  ") + path);
        QCOMPARE(WindowRig::bytes(path).count("\r\n"), saved.size() + 1);
        QVERIFY(WindowRig::bytes(path).startsWith(QByteArray(" " + QByteArray::number(type) + " \r\n")));

        // Opening it again, over a changed image and another type read since.
        *w.state().currentImage() = Images::pattern(type, 500, 13);
        QVERIFY(rig.read(type == 1 ? 2 : 1));
        w.nieuw_Click();
        rig.openThroughDialog(QStringLiteral("klant.QV1"));
        QCOMPARE(w.state().ModuleType, type);
        QCOMPARE(*w.state().currentImage(), saved);
        QCOMPARE(w.state().ModuleFilePath, path);
        QCOMPARE(w.windowTitle(), QStringLiteral("QV Velano  -  ") + path);
        QVERIFY(w.Option1->isChecked() && w.Option1->isEnabled());
        QCOMPARE(w.state().MasterFlag, 1);
        const int version = saved.value(type == 1 || type == 2 ? 47 : 79);
        QCOMPARE(w.Label5->text(), QStringLiteral("Versie: %1").arg(version));
        const QStringList entries{u"ZK3412_ZK2412"_s, u"ZK24XX_ZK3447"_s, u"ZK2019"_s, u"ZK2018"_s};
        QCOMPARE(w.Combo1->currentText(), entries[type]);
        QVERIFY(w.Frame11->isVisible());
        QVERIFY(w.Bewaren->isEnabled() && w.Bewaren_als->isEnabled());
        QVERIFY(w.Command2->isEnabled());
        QCOMPARE(w.Text1->text(), QStringLiteral("Edit mode"));
        for (QWidget *b :
             std::initializer_list<QWidget *>{w.Command7, w.Command8, w.Command9, w.Command10, w.Command12})
            QVERIFY(b->isVisible() && b->isEnabled());
        if (type == 1) {
            QCOMPARE(byName<QPushButton>(w.Frame11, "Command33")->text(), QStringLiteral("Info ZK2447"));
            QCOMPARE(w.Frame11->title(), QStringLiteral("Dimmodule:"));
        }

        // Bewaren writes the same file again, without a dialog.
        w.state().currentImage()->set(41, 7);
        w.Bewaren->trigger();
        QCOMPARE(readModuleFile(path)->values[41], 7);
    }

    void frenchCaptionsAfterOpening()
    {
        WindowRig rig({.country = " 2 \r\n"});
        TestWindow &w = rig.w();
        QVERIFY(
            rig.openFile(1, ModuleImage(ModuleTypes::DimSlots), QStringLiteral("d.QV1"))); // slot 40: slave
        QCOMPARE(w.Frame11->title(), QStringLiteral("Module dimmer:"));
        QVERIFY(w.Option2->isChecked());
        QVERIFY(w.Label5->text().startsWith(QStringLiteral("Version: ")));
        QVERIFY(rig.openFile(3, ModuleImage(ModuleTypes::RelaySlots), QStringLiteral("r.QV1")));
        QCOMPARE(w.Command9->text(), QStringLiteral("Fonction des sorties"));
        QCOMPARE(w.Frame11->title(), QStringLiteral("Module relais:"));
        QCOMPARE(w.state().ModuleType, 3);
    }

    void damagedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("words");
        QByteArray dim = " 1 \r\n";
        for (int i = 0; i < 150; ++i)
            dim += " 5 \r\n";
        QTest::newRow("type 7") << QByteArray(" 7 \r\n") + dim.mid(5) << QStringLiteral("Regel 1");
        QTest::newRow("type text") << QByteArray("abc\r\n") << QStringLiteral("Regel 1");
        QTest::newRow("too short") << dim.left(dim.size() - 10) << QStringLiteral("regel 150 ontbreekt");
        QByteArray text = dim;
        text.replace(5 + 5 * 9, 5, "xyz\r\n");
        QTest::newRow("text value") << text << QStringLiteral("Regel 11");
        QByteArray big = dim;
        big.replace(5 + 5 * 19, 5, "1000\r");
        QTest::newRow("value too big") << big << QStringLiteral("Regel 21");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("Regel 1");
        QByteArray relayUnderDim = " 1 \r\n";
        for (int i = 0; i < 340; ++i)
            relayUnderDim += " 5 \r\n";
        QTest::newRow("relay file with type line 1")
            << relayUnderDim
            << QStringLiteral("Regel 1 geeft moduletype 1, maar het bestand telt 341 regels");
    }
    void damagedFilesChangeNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, words);
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.openFile(1, Images::pattern(1, 2, 13), QStringLiteral("dim.QV1")));
        QVERIFY(rig.openFile(0, Images::pattern(0, 1, 13), QStringLiteral("earlier.QV1")));
        const QString earlier = rig.home.file(QStringLiteral("earlier.QV1"));
        const ModuleState before = w.state();
        rig.home.write(QStringLiteral("bad.QV1"), content);

        rig.openThroughDialog(QStringLiteral("bad.QV1"));
        QCOMPARE(MessageBox::shownCount(), 1);
        QVERIFY2(MessageBox::lastText().contains(words), qPrintable(MessageBox::lastText()));
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("bad.QV1")));
        QCOMPARE(w.state().ModuleType, 0);
        QCOMPARE(w.state().ModuleFilePath, earlier);
        QCOMPARE(w.state().RelayImage, before.RelayImage);
        QCOMPARE(w.state().DimImage, before.DimImage);
        QCOMPARE(w.state().VelanoImage, before.VelanoImage);
        QCOMPARE(w.windowTitle(), QStringLiteral("QV Velano  -  ") + earlier);
        QVERIFY(w.Bewaren->isEnabled()); // still saves the earlier file
    }

    void openingWithoutAChoiceDoesNothing()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        rig.openThroughDialog(QString());
        QCOMPARE(MessageBox::shownCount(), 0);
        QCOMPARE(w.windowTitle(), QStringLiteral("QV Velano"));
    }

    void saveNameRules()
    {
        WindowRig rig;
        QVERIFY(rig.read(2));
        const QString folder = rig.home.path();
        QCOMPARE(SaveDialog::targetPath(folder, QStringLiteral("a.qv1")),
                 QDir::toNativeSeparators(folder + QStringLiteral("a.qv1.QV1")));
        QCOMPARE(SaveDialog::targetPath(folder, QStringLiteral("a.QV1")),
                 QDir::toNativeSeparators(folder + QStringLiteral("a.QV1")));
        QVERIFY(SaveDialog::hasName(QStringLiteral("b")) && SaveDialog::hasName(QStringLiteral(" b .QV1")));
        rig.saveAs(QStringLiteral("b.qv1"));
        QVERIFY(QFile::exists(folder + QStringLiteral("b.qv1.QV1")));
    }

    void clickingAnExistingFileOverwritesIt()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.read(0));
        rig.home.write(QStringLiteral("oud.QV1"), "old");
        QTimer::singleShot(0, &w, [&w] {
            auto *dialog = w.findChild<SaveDialog *>(QStringLiteral("Form3"));
            const auto items =
                byName<FileList>(dialog, "File1")->findItems(QStringLiteral("oud.QV1"), Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            Q_EMIT byName<FileList>(dialog, "File1")->itemClicked(items.first());
            QCOMPARE(byName<QLineEdit>(dialog, "Text1")->text(), QStringLiteral("oud.QV1"));
            byName<QPushButton>(dialog, "Command1")->click();
        });
        w.Bewaren_als_Click();
        const QByteArray expected = WindowRig::fileBytes(0, rig.module->image());
        QVERIFY(expected.startsWith(" 0 \r\n 3 \r\n 10 \r\n 17 \r\n"));
        QCOMPARE(WindowRig::bytes(rig.home.file(QStringLiteral("oud.QV1"))), expected);
    }

    void failedSaveKeepsTheOldFileAndTheTitle()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.openFile(0, Images::pattern(0, 3, 13), QStringLiteral("bewaard.QV1")));
        const QString path = rig.home.file(QStringLiteral("bewaard.QV1"));
        const QByteArray old = WindowRig::bytes(path);
        w.state().RelayImage = Images::pattern(0, 9, 13);
        {
            // Writes stop after 100 bytes: the save fails half-way.
            FileSizeLimit limit(100);
            QVERIFY(limit.active());
            w.Bewaren->trigger();
            rig.saveAs(QStringLiteral("ander"));
        }

        QCOMPARE(MessageBox::shownCount(), 2);
        QVERIFY(MessageBox::lastText().contains(QStringLiteral("ander.QV1")));
        QCOMPARE(WindowRig::bytes(path), old);
        QCOMPARE(w.state().ModuleFilePath, path);
        QCOMPARE(w.windowTitle(), QStringLiteral("QV Velano  -  ") + path);
        // A target that is a folder fails the same way.
        QDir(rig.home.path()).mkdir(QStringLiteral("map.QV1"));
        QVERIFY(!w.saveModuleFile(rig.home.file(QStringLiteral("map.QV1"))));
        QCOMPARE(MessageBox::shownCount(), 3);
    }

    void newFolderStaysInside()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        SaveDialog dialog(
            w.state(), [](const QString &) { return true; }, &w);
        auto *name = byName<QLineEdit>(&dialog, "Text2");
        auto *ok = byName<QPushButton>(&dialog, "Command2");
        auto *newFolder = byName<QPushButton>(&dialog, "Command3");
        QVERIFY(name->isHidden());
        QVERIFY(!ok->isEnabled());
        newFolder->click();
        QVERIFY(!name->isHidden() && newFolder->isHidden());
        QTest::keyClicks(name, QStringLiteral("Klant A"));
        QVERIFY(ok->isEnabled());
        ok->click();
        QVERIFY(QFileInfo(rig.home.file(QStringLiteral("Klant A"))).isDir());
        QVERIFY(name->isHidden() && !newFolder->isHidden() && !ok->isEnabled());
        QCOMPARE(name->text(), QString());
        for (const QString &bad :
             {QStringLiteral(".."), QStringLiteral("."), QStringLiteral("../uit"), QStringLiteral("a/b")})
            QVERIFY(!SaveDialog::createFolder(rig.home.path() + QStringLiteral("Klant A"), bad));
        QVERIFY(!QFileInfo::exists(rig.home.file(QStringLiteral("uit"))));
    }

    // A name that leads into another folder is refused like a new folder's name, and so is no
    // name at all (which would save a hidden, nameless ".QV1"): nothing is written anywhere, the
    // dialog stays open with the name to correct and the focus in the name field.
    void saveNameWithAFolderIsRefused()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.read(1));
        QDir(rig.home.path()).mkdir(QStringLiteral("sub"));
        const QStringList refused{QStringLiteral("sub/x"),
                                  QStringLiteral("../x"),
                                  QStringLiteral("sub\\x.QV1"),
                                  QStringLiteral("/tmp/x"),
                                  QString(),
                                  QStringLiteral("   "),
                                  QStringLiteral(".QV1"),
                                  QStringLiteral("  .QV1")};
        for (const QString &name : refused) {
            int saves = 0;
            SaveDialog dialog(
                w.state(), [&saves](const QString &) { return ++saves > 0; }, &w);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            byName<QLineEdit>(&dialog, "Text1")->setText(name);
            byName<QPushButton>(&dialog, "Command1")->setFocus();
            byName<QPushButton>(&dialog, "Command1")->click();
            QCOMPARE(saves, 0);
            QVERIFY2(dialog.isVisible(), qPrintable(name));
            QCOMPARE(byName<QLineEdit>(&dialog, "Text1")->text(), name);
            QTRY_VERIFY2(byName<QLineEdit>(&dialog, "Text1")->hasFocus(),
                         qPrintable(name)); // once the dialog has the focus
        }
        for (const QString &name : {QString(), QStringLiteral(".QV1")}) {
            rig.saveAs(name);
            QCOMPARE(QDir(rig.home.path()).entryList({QStringLiteral("*.QV1")}, QDir::Files | QDir::Hidden),
                     QStringList());
        }
        rig.saveAs(QStringLiteral("sub/x"));
        QVERIFY(QDir(rig.home.file(QStringLiteral("sub"))).isEmpty());
        QVERIFY(!QFileInfo::exists(rig.home.file(QStringLiteral("x.QV1"))));
        QCOMPARE(w.state().ModuleFilePath, QString());
        QCOMPARE(w.windowTitle(), QStringLiteral("QV Velano"));
        // A plain name still saves in the folder of the lists.
        rig.saveAs(QStringLiteral("x"));
        QVERIFY(QFileInfo::exists(rig.home.file(QStringLiteral("x.QV1"))));
    }

    // A FIFO (or a device) named like a module file is refused with a message at once, instead
    // of holding up the window; nothing changes.
    void openingSomethingElseThanAFileIsRefused()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        const QString fifo = rig.home.file(QStringLiteral("pijp.QV1"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
        QVERIFY(!w.openModuleFile(fifo));
        QCOMPARE(MessageBox::shownCount(), 1);
        QVERIFY2(MessageBox::lastText().contains(QStringLiteral("Dit is geen gewoon bestand")),
                 qPrintable(MessageBox::lastText()));
        QVERIFY(MessageBox::lastText().contains(fifo));
        QCOMPARE(w.state().ModuleFilePath, QString());
        QVERIFY(!w.Bewaren->isEnabled());
    }

    // Without QV_VELANO_HOME the dialogs fall back to the user's documents folder; the open
    // dialog's "Default directory" still shows the shipped files of the installation folder.
    void dialogsFallBackToTheDocumentsFolder()
    {
        TestUserHome m;
        QVERIFY(QDir(m.home()).mkdir(QStringLiteral("Documents")));
        MemoryLink link;
        TestWindow w(nullptr, &link);
        QCOMPARE(w.state().DefaultDirectory, QString());
        OpenDialog open(
            w.state(), [](const QString &) { return true; }, &w);
        QCOMPARE(QDir(byName<FolderList>(&open, "Dir1")->path()),
                 QDir(m.home() + QStringLiteral("Documents")));
        byName<QPushButton>(&open, "Command2")->click();
        QCOMPARE(QDir(byName<FolderList>(&open, "Dir1")->path()), QDir(m.shipped()));
        w.state().DefaultDirectory = QStringLiteral("/no/such/place");
        SaveDialog save(
            w.state(), [](const QString &) { return true; }, &w);
        QCOMPARE(QDir(byName<FolderList>(&save, "Dir1")->path()),
                 QDir(m.home() + QStringLiteral("Documents")));
    }

    void dialogsStartInTheDefaultFolder()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QDir(rig.home.path()).mkdir(QStringLiteral("sub"));
        rig.home.write(QStringLiteral("sub/x.QV1"), "");
        rig.home.write(QStringLiteral("sub/y.qv1"), "");
        rig.home.write(QStringLiteral("sub/z.txt"), "");
        w.state().DefaultDirectory = rig.home.file(QStringLiteral("sub"));
        OpenDialog open(
            w.state(), [](const QString &) { return true; }, &w);
        QCOMPARE(QDir(byName<FolderList>(&open, "Dir1")->path()), QDir(rig.home.file(QStringLiteral("sub"))));
        // Going to the start folder is a folder change: Label2 shows it from the start.
        QCOMPARE(byName<QLabel>(&open, "Label2")->text(),
                 QDir::toNativeSeparators(QDir::cleanPath(rig.home.file(QStringLiteral("sub")))));
        // The extension in any letter case; nothing else.
        QCOMPARE(byName<FileList>(&open, "File1")->count(), 2);
        QCOMPARE(byName<FileList>(&open, "File1")->item(0)->text(), QStringLiteral("x.QV1"));
        QCOMPARE(byName<FileList>(&open, "File1")->item(1)->text(), QStringLiteral("y.qv1"));
        byName<QPushButton>(&open, "Command2")->click();
        QCOMPARE(QDir(byName<FolderList>(&open, "Dir1")->path()), QDir(rig.home.path()));
        // A default folder that is gone, or none at all: the installation folder.
        w.state().DefaultDirectory = QStringLiteral("/no/such/place");
        SaveDialog save(
            w.state(), [](const QString &) { return true; }, &w);
        QCOMPARE(QDir(byName<FolderList>(&save, "Dir1")->path()), QDir(rig.home.path()));
        QCOMPARE(save.windowTitle(), QStringLiteral("Opslaan"));
        QVERIFY(byName<FileList>(&save, "File1")
                    ->findItems(QStringLiteral("y.qv1"), Qt::MatchExactly)
                    .isEmpty()); // in sub/
    }

    // A file written on another system: its extension in lower case, slots that hold nothing as
    // empty lines and a line after the last slot. It is listed, and opens with the empty slots
    // as 0.
    void aFileWrittenElsewhereOpens()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QByteArray content = " 2 \r\n";
        for (int slot = 0; slot < 230; ++slot)
            content += slot == 40       ? QByteArray(" 1 \r\n")
                       : slot % 10 == 3 ? QByteArray("\r\n")
                                        : QByteArray(" 8 \r\n");
        content += "einde\r\n";
        rig.home.write(QStringLiteral("klant.qv1"), content);
        w.state().VelanoImage = Images::pattern(2, 7, 13);

        rig.openThroughDialog(QStringLiteral("klant.qv1"));
        QCOMPARE(MessageBox::shownCount(), 0);
        QCOMPARE(w.state().ModuleType, 2);
        QCOMPARE(w.state().ModuleFilePath, rig.home.file(QStringLiteral("klant.qv1")));
        for (int slot = 0; slot < 230; ++slot)
            QCOMPARE(w.state().VelanoImage.value(slot), slot == 40 ? 1 : slot % 10 == 3 ? 0 : 8);
        QVERIFY(w.Option1->isChecked());
        QCOMPARE(w.Label5->text(), QStringLiteral("Versie: 8"));
    }

    // A double-click on a file name opens it as "Openen" does, and closes the dialog.
    void doubleClickOpensAFile()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        const ModuleImage saved = Images::pattern(1, 3, 13);
        QVERIFY(!rig.writeFile(1, saved, QStringLiteral("dubbel.QV1")).isEmpty());
        w.state().DimImage = Images::pattern(1, 8, 13);
        bool accepted = false;
        QTimer::singleShot(0, &w, [&w, &accepted] {
            auto *dialog = w.findChild<OpenDialog *>(QStringLiteral("Form2"));
            QVERIFY(dialog);
            const auto items =
                byName<FileList>(dialog, "File1")->findItems(QStringLiteral("dubbel.QV1"), Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            byName<FileList>(dialog, "File1")->setCurrentItem(items.first());
            Q_EMIT byName<FileList>(dialog, "File1")->itemDoubleClicked(items.first());
            accepted = dialog->result() == QDialog::Accepted && !dialog->isVisible();
            if (dialog->isVisible()) dialog->reject();
        });
        w.openen_Click();
        QVERIFY(accepted);
        QCOMPARE(w.state().ModuleType, 1);
        QCOMPARE(w.state().DimImage, saved);
        QCOMPARE(w.windowTitle(),
                 QStringLiteral("QV Velano  -  ") + rig.home.file(QStringLiteral("dubbel.QV1")));
    }

    void frenchCaptionsOfTheDialogs()
    {
        WindowRig rig({.country = " 2 \r\n"});
        TestWindow &w = rig.w();
        OpenDialog open(
            w.state(), [](const QString &) { return true; }, &w);
        QCOMPARE(open.windowTitle(), QStringLiteral("Ouvrir"));
        QCOMPARE(byName<QLabel>(&open, "Label1")->text(), QStringLiteral("Ouvrir dans:"));
        QCOMPARE(byName<QPushButton>(&open, "Command1")->text(), QStringLiteral("Ouvrir"));
        QCOMPARE(byName<QPushButton>(&open, "Command2")->text(), QStringLiteral("Default directory"));
        QCOMPARE(byName<QPushButton>(&open, "CancelButton")->text(), QStringLiteral("Annuler"));
        SaveDialog save(
            w.state(), [](const QString &) { return true; }, &w);
        QCOMPARE(save.windowTitle(), QStringLiteral("Sauver"));
        QCOMPARE(byName<QLabel>(&save, "Label1")->text(), QStringLiteral("Sauver ds:"));
        QCOMPARE(byName<QLabel>(&save, "Label2")->text(), QStringLiteral("Nom fichier"));
        QCOMPARE(byName<QPushButton>(&save, "Command1")->text(), QStringLiteral("Sauver"));
        QCOMPARE(byName<QPushButton>(&save, "Command3")->text(), QStringLiteral("Nouveau dossier"));
        QCOMPARE(byName<QPushButton>(&save, "Command2")->text(), QStringLiteral("OK !"));
        QCOMPARE(byName<QPushButton>(&save, "CancelButton")->text(), QStringLiteral("Annuler"));
    }

    void newModuleKeepsTheImages()
    {
        WindowRig rig;
        TestWindow &w = rig.w();
        QVERIFY(rig.openFile(2, Images::pattern(2, 4, 13), QStringLiteral("v.QV1")));
        const ModuleState before = w.state();
        w.nieuw->trigger();
        QCOMPARE(w.Combo1->currentText(), QString());
        QCOMPARE(w.windowTitle(), QStringLiteral("QV Velano"));
        for (QWidget *x : std::initializer_list<QWidget *>{w.Label5, w.Frame11, w.Command7, w.Command8,
                                                           w.Command9, w.Command10, w.Command12})
            QVERIFY(x->isHidden());
        QVERIFY(!w.Option1->isChecked() && !w.Option2->isChecked());
        QVERIFY(!w.Option1->isEnabled());
        QVERIFY(!w.Bewaren->isEnabled() && !w.Bewaren_als->isEnabled());
        QVERIFY(w.Command1->isEnabled() && !w.Command2->isEnabled());
        QCOMPARE(w.state().VelanoImage, before.VelanoImage);
        QCOMPARE(w.state().ModuleType, 2);
        QCOMPARE(w.state().ModuleFilePath, before.ModuleFilePath);
    }
};

QTEST_MAIN(TestModuleFiles)
#include "tst_modulefiles.moc"
