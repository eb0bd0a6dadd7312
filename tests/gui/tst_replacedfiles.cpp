#include "common/MessageBox.h"
#include "files/Backups.h"
#include "files/BackupsDialog.h"
#include "files/ModuleFile.h"
#include "files/ModuleFileDialogs.h"
#include "support/WindowRig.h"

#include <QTest>
#include <QTextDocument>

using namespace Qt::StringLiterals;

// A module file saved over through the window: what it held before is kept among the backups,
// listed by the file's name, and opens as a backup does.
class TestReplacedFiles : public QObject
{
    Q_OBJECT

    // A dim module image, master, with values from `seed`.
    static ModuleImage imageOf(int seed)
    {
        ModuleImage image = Images::pattern(1, seed, 7);
        image.set(ModuleTypes::MasterSlot, 1);
        return image;
    }

    // Saves through "Module Opslaan als ..." by clicking an existing file's name.
    static void saveOverThroughDialog(TestWindow &w, const QString &fileName)
    {
        QTimer::singleShot(0, &w, [&w, fileName] {
            auto *dialog = w.findChild<SaveDialog *>(u"Form3"_s);
            QVERIFY(dialog);
            auto *files = byName<FileList>(dialog, "File1");
            const auto items = files->findItems(fileName, Qt::MatchExactly);
            QCOMPARE(items.size(), 1);
            Q_EMIT files->itemClicked(items.first());
            byName<QPushButton>(dialog, "Command1")->click();
            if (dialog->isVisible()) dialog->reject();
        });
        w.Bewaren_als->trigger();
    }

    // The installer opens a customer's file and makes it a slave module.
    static void openAndEdit(WindowRig &rig, const QString &fileName)
    {
        TestWindow &w = rig.w();
        rig.openThroughDialog(fileName);
        QVERIFY(w.Option1->isChecked());
        w.Option2->click();
        QVERIFY(w.state().hasChanges());
    }

private Q_SLOTS:
    void init()
    {
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
    }

    void language_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("Dutch") << 1;
        QTest::newRow("French") << 2;
    }

    // "Module Opslaan" and "Module Opslaan als ..." replace a file without a question, and what
    // the file held is listed among the backups by its name; saving it unchanged keeps nothing
    // more. Opened from the list, it is in hand as a backup is: no file open.
    void savingOverKeepsTheOldFile_data() { language_data(); }
    void savingOverKeepsTheOldFile()
    {
        QFETCH(int, language);
        const bool nl = language == 1;
        WindowRig rig({.country = language == 2 ? " 2 \r\n" : " 1 \r\n"});
        TestWindow &w = rig.w();
        const QByteArray klantBefore = WindowRig::fileBytes(1, imageOf(1));
        const QByteArray anderBefore = WindowRig::fileBytes(1, imageOf(2));
        rig.home.write(u"klant.QV1"_s, klantBefore);
        rig.home.write(u"ander.QV1"_s, anderBefore);
        const QString klant = rig.home.file(u"klant.QV1"_s);

        openAndEdit(rig, u"klant.QV1"_s);
        w.Bewaren->trigger();
        const QByteArray saved = WindowRig::fileBytes(1, w.state().DimImage);
        QCOMPARE(WindowRig::bytes(klant), saved);
        QVERIFY(saved != klantBefore);
        w.Bewaren->trigger();
        QCOMPARE(WindowRig::bytes(klant), saved);
        saveOverThroughDialog(w, u"ander.QV1"_s);
        QCOMPARE(WindowRig::bytes(rig.home.file(u"ander.QV1"_s)), saved);
        QCOMPARE(MessageBox::shownCount(), 0);
        QCOMPARE(Backups::listReplaced().size(), 2);

        bool listed = false;
        QTimer::singleShot(0, &w, [&] {
            auto *dialog = w.findChild<BackupsDialog *>(u"BackupsDialog"_s);
            QVERIFY(dialog);
            auto *list = byName<QTreeWidget>(dialog, "BackupList");
            QCOMPARE(list->topLevelItemCount(), 2);
            QTreeWidgetItem *newest = list->topLevelItem(0);
            QTreeWidgetItem *older = list->topLevelItem(1);
            QCOMPARE(newest->text(2), nl ? u"vervangen: ander.QV1"_s : u"remplacé : ander.QV1"_s);
            QCOMPARE(older->text(2), nl ? u"vervangen: klant.QV1"_s : u"remplacé : klant.QV1"_s);
            QCOMPARE(older->text(4), u"Master"_s);
            QVERIFY(older->toolTip(0).startsWith(QDir::toNativeSeparators(klant) + u"\n"_s));
            list->setCurrentItem(older);
            byName<QPushButton>(dialog, "OpenButton")->click();
            listed = true;
        });
        w.findChild<QAction *>(u"Reservekopieen"_s)->trigger();
        QVERIFY(listed);
        QCOMPARE(WindowRig::fileBytes(1, w.state().DimImage), klantBefore);
        QVERIFY(w.Option1->isChecked());
        QCOMPARE(w.state().ModuleFilePath, QString());
        QCOMPARE(w.windowTitle(), u"QV Velano"_s);
        QVERIFY(!w.Bewaren->isEnabled());
        QCOMPARE(WindowRig::bytes(klant), saved);
    }

    // A file's name is shown as the text it is, in the list and in its tooltip, never as markup.
    void namesAreShownAsText()
    {
        TestHome home;
        const QString name = u"<img src=\"pijp\"> & <b>klant.QV1"_s;
        home.write(name, WindowRig::fileBytes(1, imageOf(1)));
        QCOMPARE(
            Backups::keepReplaced(home.file(name), WindowRig::fileBytes(1, imageOf(2)), QDateTime()).status,
            Backups::Replaced::Made);
        BackupsDialog dialog(1);
        QTreeWidgetItem *row = byName<QTreeWidget>(&dialog, "BackupList")->topLevelItem(0);
        QVERIFY(row);
        QCOMPARE(row->text(2), u"vervangen: "_s + name);
        QTextDocument shown;
        shown.setHtml(row->toolTip(2));
        QVERIFY(Qt::mightBeRichText(row->toolTip(2)));
        QCOMPARE(shown.toPlainText().section(u'\n', 0, 0), QDir::toNativeSeparators(home.file(name)));
    }

    // A file whose content cannot be kept (here: a file stands where the backups' folder should
    // be) is replaced all the same, and the installer is told that no copy was kept.
    void aFileThatCannotBeKeptIsStillReplaced_data() { language_data(); }
    void aFileThatCannotBeKeptIsStillReplaced()
    {
        QFETCH(int, language);
        WindowRig rig({.country = language == 2 ? " 2 \r\n" : " 1 \r\n"});
        TestWindow &w = rig.w();
        rig.home.write(u"klant.QV1"_s, WindowRig::fileBytes(1, imageOf(1)));
        rig.home.write(u"backups"_s, "not a folder");
        const QString klant = rig.home.file(u"klant.QV1"_s);

        openAndEdit(rig, u"klant.QV1"_s);
        w.Bewaren->trigger();
        QCOMPARE(WindowRig::bytes(klant), WindowRig::fileBytes(1, w.state().DimImage));
        QVERIFY(!w.state().hasChanges());
        QCOMPARE(MessageBox::shownCount(), 1);
        QCOMPARE(MessageBox::lastTitle(), language == 1 ? u"Opgelet !"_s : u"Attention !"_s);
        const QString why =
            u"cannot make the folder "_s + QDir::toNativeSeparators(rig.home.path()) + u"backups/"_s;
        QCOMPARE(
            MessageBox::lastText(),
            language == 1
                ? u"Het bestand %1 is vervangen, maar er is geen kopie van de vorige inhoud bewaard (%2)."_s
                      .arg(klant, why)
                : u"Le fichier %1 a été remplacé, mais aucune copie de son contenu précédent n'a été gardée (%2)."_s
                      .arg(klant, why));
        QCOMPARE(rig.home.read(u"backups"_s), QByteArray("not a folder"));
    }
};

QTEST_MAIN(TestReplacedFiles)
#include "tst_replacedfiles.moc"
