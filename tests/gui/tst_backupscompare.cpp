#include "files/Backups.h"
#include "files/BackupsDialog.h"
#include "files/CompareWindow.h"
#include "support/Find.h"
#include "support/TestHome.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace Qt::StringLiterals;

// The list of backups and the compare window as the installer sees them.
class TestBackupsCompare : public QObject
{
    Q_OBJECT

    static ModuleImage imageOf(int type, int version, int master)
    {
        ModuleImage image(ModuleTypes::info(type)->slotCount);
        image.set(type == 1 || type == 2 ? 47 : 79, version); // the version slot
        image.set(ModuleTypes::MasterSlot, master);
        return image;
    }

    // The texts of a row, or of the header row (-1).
    static QStringList row(const QTreeWidget *list, int index)
    {
        QStringList texts;
        const QTreeWidgetItem *item = index < 0 ? list->headerItem() : list->topLevelItem(index);
        for (int column = 0; item && column < list->columnCount(); ++column)
            texts << item->text(column);
        return texts;
    }

private Q_SLOTS:
    void backupList()
    {
        for (int language : {1, 2}) {
            const bool nl = language == 1;
            TestHome home;
            const auto older =
                Backups::write(1, imageOf(1, 17, 0), QDateTime(QDate(2026, 5, 4), QTime(9, 5, 0)));
            const auto newer =
                Backups::write(2, imageOf(2, 229, 1), QDateTime(QDate(2026, 12, 8), QTime(14, 3, 27)));
            home.write(u"backups/klant.QV1"_s, "not listed");
            home.write(u"backups/2026-12-09_10-00-00_ZK2018_v3.QV1"_s, "damaged");

            BackupsDialog dialog(language);
            auto *list = byName<QTreeWidget>(&dialog, "BackupList");
            auto *open = byName<QPushButton>(&dialog, "OpenButton");
            QCOMPARE(dialog.windowTitle(), nl ? u"Reservekopieën"_s : u"Copies de sécurité"_s);
            QCOMPARE(byName<QLabel>(&dialog, "ListLabel")->text(),
                     nl ? u"Reservekopieën, de nieuwste eerst:"_s
                        : u"Copies de sécurité, les plus récentes d'abord:"_s);
            QCOMPARE(open->text(), nl ? u"Openen"_s : u"Ouvrir"_s);
            QCOMPARE(byName<QPushButton>(&dialog, "CancelButton")->text(),
                     nl ? u"Annuleren"_s : u"Annuler"_s);
            for (QWidget *w : std::initializer_list<QWidget *>{list, open})
                QVERIFY(!w->accessibleName().isEmpty());
            const QString d = nl ? u"-"_s : u"/"_s;
            QCOMPARE(row(list, -1),
                     (nl ? QStringList{u"Datum"_s, u"Tijd"_s, u"Model"_s, u"Versie"_s, u"Master/Slave"_s}
                         : QStringList{u"Date"_s, u"Heure"_s, u"Modèle"_s, u"Version"_s, u"Master/Slave"_s}));
            QCOMPARE(list->topLevelItemCount(), 3);
            QCOMPARE(row(list, 0), (QStringList{u"09"_s + d + u"12"_s + d + u"2026"_s, u"10:00:00"_s,
                                                u"ZK2018"_s, u"3"_s, nl ? u"onleesbaar"_s : u"illisible"_s}));
            QCOMPARE(row(list, 1), (QStringList{u"08"_s + d + u"12"_s + d + u"2026"_s, u"14:03:27"_s,
                                                u"ZK2019"_s, u"229"_s, u"Master"_s}));
            QCOMPARE(row(list, 2), (QStringList{u"04"_s + d + u"05"_s + d + u"2026"_s, u"09:05:00"_s,
                                                u"ZK24XX_ZK3447"_s, u"17"_s, u"Slave"_s}));
            QCOMPARE(list->topLevelItem(1)->toolTip(0), QDir::toNativeSeparators(*newer));

            // The newest is chosen at first; the installer picks another one and opens it.
            QCOMPARE(list->currentItem(), list->topLevelItem(0));
            list->setCurrentItem(list->topLevelItem(2));
            open->click();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.chosenPath(), *older);
            // A double click opens the row clicked; Cancel chooses nothing.
            BackupsDialog again(language);
            auto *againList = byName<QTreeWidget>(&again, "BackupList");
            emit againList->itemDoubleClicked(againList->topLevelItem(1), 0);
            QCOMPARE(again.chosenPath(), *newer);
            BackupsDialog cancelled(language);
            byName<QPushButton>(&cancelled, "CancelButton")->click();
            QCOMPARE(cancelled.result(), int(QDialog::Rejected));
            QVERIFY(cancelled.chosenPath().isEmpty());
        }
    }

    void noBackups()
    {
        TestHome home;
        BackupsDialog dialog(2);
        QCOMPARE(byName<QLabel>(&dialog, "ListLabel")->text(),
                 u"Il n'y a pas encore de copies de sécurité."_s);
        QVERIFY(!byName<QPushButton>(&dialog, "OpenButton")->isEnabled());
        dialog.OpenButton_Click();
        QVERIFY(dialog.chosenPath().isEmpty());
    }

    // Two edited settings and another version: two counted rows, the version last in italics.
    void compareWindow()
    {
        ModuleImage inHand = imageOf(1, 5, 1);
        ModuleImage file = inHand;
        inHand.set(4, 2);
        file.set(4, 51);
        inHand.set(43, 3);
        file.set(43, 7);
        file.set(47, 6);
        for (int language : {1, 2}) {
            const bool nl = language == 1;
            CompareWindow window(language, u"/tmp/a folder/klant [*] <b>1.QV1"_s,
                                 ImageCompare::compare(1, inHand, 1, file, language));
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            auto *differences = byName<QTreeWidget>(&window, "DifferenceList");
            auto *count = byName<QLabel>(&window, "CountLabel");
            auto *close = byName<QPushButton>(&window, "CloseButton");
            // As the window system shows it: the file's name as it is, markup and "[*]" too.
            QCOMPARE(window.windowHandle()->title(),
                     nl ? u"Vergelijken met klant [*] <b>1.QV1"_s : u"Comparer avec klant [*] <b>1.QV1"_s);
            QCOMPARE(row(differences, -1),
                     (nl ? QStringList{u"Instelling"_s, u"In het programma"_s, u"In het bestand"_s}
                         : QStringList{u"Réglage"_s, u"Dans le programme"_s, u"Dans le fichier"_s}));
            QCOMPARE(differences->topLevelItemCount(), 3);
            QCOMPARE(
                row(differences, 0),
                (nl ? QStringList{u"Drukknop 5, 1ste functie"_s, u"Uitgang 3"_s, u"Sfeer 2"_s}
                    : QStringList{u"Bouton poussoir 5, 1ère fonction"_s, u"Sortie 3"_s, u"Contexte 2"_s}));
            QCOMPARE(row(differences, 2), (QStringList{nl ? u"Versie"_s : u"Version"_s, u"5"_s, u"6"_s}));
            QVERIFY(differences->topLevelItem(2)->font(0).italic());
            QVERIFY(!differences->topLevelItem(1)->font(0).italic());
            QCOMPARE(differences->topLevelItem(1)->toolTip(0),
                     nl ? u"Geheugenplaats 43"_s : u"Emplacement 43"_s);
            QCOMPARE(count->text(),
                     nl ? u"2 verschillen en een andere versie"_s : u"2 différences et une autre version"_s);
            QCOMPARE(count->textFormat(), Qt::PlainText);
            QVERIFY(!close->accessibleName().isEmpty());
            close->click();
            QVERIFY(!window.isVisible());
        }
        const ModuleImage same = imageOf(0, 80, 0);
        CompareWindow none(2, u"x.QV1"_s, ImageCompare::compare(0, same, 0, same, 2));
        QCOMPARE(byName<QTreeWidget>(&none, "DifferenceList")->topLevelItemCount(), 0);
        QCOMPARE(byName<QLabel>(&none, "CountLabel")->text(), u"Aucune différence"_s);
    }
};

QTEST_MAIN(TestBackupsCompare)
#include "tst_backupscompare.moc"
