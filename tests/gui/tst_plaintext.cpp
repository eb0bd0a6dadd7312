#include "app/BrowseDirectoryDialog.h"
#include "app/Installations.h"
#include "app/PortChooserDialog.h"
#include "app/PreferencesDialog.h"
#include "app/RecentFiles.h"
#include "common/MessageBox.h"
#include "editors/EditorRules.h"
#include "files/CompareWindow.h"
#include "files/ModuleFileDialogs.h"
#include "files/Report.h"
#include "files/ReportDocument.h"
#include "installation/Installation.h"
#include "protocol/ModuleState.h"
#include "support/Find.h"
#include "support/TestHome.h"
#include "support/WindowRig.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <QTreeWidget>
#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// A FIFO nobody writes to: whoever opens it to read waits for a writer. The watchdog plays that
// writer now and then (an open for writing that does not wait succeeds only while a reader is
// there), so a label that opened the FIFO gets an empty file and the test goes on, and the
// watchdog remembers that somebody did.
class FifoWatchdog
{
public:
    explicit FifoWatchdog(const QString &fifo)
        : m_fifo(QFile::encodeName(fifo)), m_thread([this] { watch(); })
    {
    }
    ~FifoWatchdog()
    {
        m_stop = true;
        m_thread.join();
    }
    FifoWatchdog(const FifoWatchdog &) = delete;
    FifoWatchdog &operator=(const FifoWatchdog &) = delete;
    // Whether somebody opened the FIFO since the last call.
    bool takeOpened() { return m_opened.exchange(false); }

private:
    void watch()
    {
        while (!m_stop) {
            const int fd = ::open(m_fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_opened = true;
                ::close(fd);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }

    QByteArray m_fifo;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_opened{false};
    std::thread m_thread;
};

// What a tip shows: a tip that looks like markup is read as markup, any other as it is.
QString shownTip(const QString &tip)
{
    return Qt::mightBeRichText(tip) ? QTextDocumentFragment::fromHtml(tip).toPlainText() : tip;
}
} // namespace

// Folder and file names come from outside the program and are shown as they are, never read as
// markup: a name holding an image tag would make a label load the file the tag names. Here that
// file is a FIFO, so a label that read a name as markup would wait for ever; the watchdog makes
// such a test fail instead. The folder is named `<img src="<the FIFO>">`: its name holds
// separators, so it is a chain of folders whose full path holds the tag.
class TestPlainText : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_fifo;
    QString m_folder;
    std::unique_ptr<FifoWatchdog> m_watchdog;

    // Lets the dialog lay itself out and paint, as the installer would see it.
    static void look(QWidget &w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.grab();
        QCoreApplication::processEvents();
    }
    // Shows the tip as the menu or list would when the mouse rests on an entry.
    static void hover(const QString &tip, QWidget *over)
    {
        QToolTip::showText(over->mapToGlobal(QPoint(4, 4)), tip, over);
        QCoreApplication::processEvents();
        QToolTip::hideText();
    }

private Q_SLOTS:
    void initTestCase()
    {
        MessageBox::setAutoAnswer(true);
        m_fifo = m_dir.filePath(u"fifo"_s);
        QVERIFY(::mkfifo(QFile::encodeName(m_fifo).constData(), 0600) == 0);
        m_folder = m_dir.path() + u"/<img src=\""_s + m_fifo + u"\">"_s;
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(QFileInfo(m_folder).isDir());
        TestUserHome::write(m_folder + u"/klant.QV1"_s, "");
        m_watchdog = std::make_unique<FifoWatchdog>(m_fifo);
    }
    void cleanup()
    {
        QVERIFY2(!m_watchdog->takeOpened(), "a name was read as markup: the FIFO it names was opened");
    }
    void cleanupTestCase() { m_watchdog.reset(); }

    // "Openen" and "Opslaan": the folder, and the folder with the file chosen.
    void moduleFileDialogs()
    {
        TestHome home;
        ModuleState state;
        state.Language = 1;
        state.DefaultDirectory = m_folder;
        OpenDialog open(state, [](const QString &) { return false; });
        look(open);
        auto *chosen = byName<QLabel>(&open, "Label2");
        auto *files = byName<FileList>(&open, "File1");
        QCOMPARE(chosen->text(), QDir::toNativeSeparators(m_folder));
        const auto items = files->findItems(u"klant.QV1"_s, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        files->setCurrentItem(items.first());
        Q_EMIT files->itemClicked(items.first());
        open.grab();
        QCOMPARE(chosen->text(), QDir::toNativeSeparators(m_folder + u"/klant.QV1"_s));
        QCOMPARE(byName<FolderList>(&open, "Dir1")->path(), m_folder);

        SaveDialog save(state, [](const QString &) { return false; });
        look(save);
        auto *folders = byName<FolderList>(&save, "Dir1");
        QCOMPARE(folders->path(), m_folder);
        QVERIFY(!folders->findItems(u"fifo\">"_s, Qt::MatchEndsWith).isEmpty());
    }

    // "Browse directory" and "Preferences": the stored folder.
    void folderDialogs()
    {
        TestHome home;
        home.writeSettings(" 1 \r\n", "1\r\n", "300\r\n", m_folder.toLocal8Bit() + "\r\n");
        ModuleState state;
        state.Language = 1;
        PreferencesDialog form4(state);
        look(form4);
        QCOMPARE(byName<QLabel>(&form4, "Label1")->text(), QDir::toNativeSeparators(m_folder));
        BrowseDirectoryDialog form5(state, &form4);
        look(form5);
        QCOMPARE(byName<QLabel>(&form5, "Label3")->text(), QDir::toNativeSeparators(m_folder));
    }

    // The recent files: the entry names the file, the tip and the status tip show the path.
    void recentFiles()
    {
        TestHome home;
        QMenu menu;
        QAction *after = menu.addSeparator();
        QAction *before = menu.addSeparator();
        RecentFiles recent(&menu, after, before);
        const QString markup = m_folder + u"/klant.QV1"_s;
        const QString plain = home.file(u"a & b.QV1"_s);
        recent.add(plain);
        recent.add(markup);
        auto *entry = menu.findChild<QAction *>(u"recent1"_s);
        QVERIFY(entry);
        QCOMPARE(entry->text(), u"&1 klant.QV1"_s);
        QCOMPARE(shownTip(entry->toolTip()), markup);
        QCOMPARE(entry->statusTip(), markup);
        hover(entry->toolTip(), &menu);
        // A path that does not look like markup is its own tip.
        QCOMPARE(menu.findChild<QAction *>(u"recent2"_s)->toolTip(), plain);
    }

    // The port chooser: a binding and an adapter's stable name that lead into that folder.
    void portChooser()
    {
        TestHome home;
        const QString stable = m_folder + u"/usb-Maker_Cable"_s;
        QVERIFY(QFile::link(stable, home.file(u"com1"_s)));
        const SerialPortList ports{
            {u"/dev/ttyUSB93"_s, u"<img src=\"%1\">"_s.arg(m_fifo), {}, {}, stable, true}};
        PortChooserDialog dialog(PortBinding([ports] { return ports; }), 1, 1);
        look(dialog);
        QCOMPARE(byName<QLabel>(&dialog, "PortLabel")->text(),
                 u"Poort 1: Gekoppeld aan %1 (niet aangesloten)"_s.arg(stable));
        auto *list = byName<QTreeWidget>(&dialog, "PortList");
        QTreeWidgetItem *row = list->topLevelItem(0);
        QCOMPARE(row->text(1), ports[0].description);
        QCOMPARE(shownTip(row->toolTip(0)), u"Vaste naam: "_s + stable);
        hover(row->toolTip(0), list);
    }

    // An installation's names made of markup show as typed wherever a module's outputs, push
    // buttons and scenes are shown: the editors' tables, the labels beside their lists, the
    // captions of scene fields and dim channels, the panel's tip, undo's step name, the
    // comparison and the report.
    void installationNames()
    {
        const QString markup = u"<img src=\"%1\">"_s.arg(m_fifo);
        WindowRig rig;
        Installation plan;
        plan.name = markup;
        for (int type : {0, 1}) {
            InstallationModule m;
            m.id = QString::number(type);
            m.name = markup;
            m.notes = markup;
            m.type = type;
            m.image = Images::pattern(type, 1);
            m.image.set(EditorRules::firstFunctionSlot(1), 0); // output 1
            m.names = ModuleNames::forType(type);
            for (auto *list : {&m.names.outputs, &m.names.pushButtons, &m.names.scenes})
                std::fill(list->begin(), list->end(), markup);
            plan.modules.push_back(m);
        }
        const QString path = rig.home.file(u"huis.qvi"_s);
        TestUserHome::write(path, installationContent(plan));
        TestWindow &w = rig.w();
        QVERIFY(w.installations()->openInstallation(path));
        QVERIFY(w.installations()->selectModule(0));
        auto *panel = byName<QTreeWidget>(&w, "modulesLijst");
        hover(panel->topLevelItem(0)->toolTip(0), panel);

        w.Command7_Click();
        auto *grid = byName<QTableWidget>(&w, "Grid1");
        QCOMPARE(grid->item(1, 1)->text(), u"Uitgang 1 – "_s + markup);
        auto *buttons = byName<QComboBox>(&w, "Combo2");
        buttons->setCurrentIndex(0);
        QCOMPARE(byName<QLabel>(&w, "Combo2Naam")->text(), markup);
        byName<QRadioButton>(&w, "Option3")->setChecked(true);
        auto *outputs = byName<QComboBox>(&w, "Combo3");
        outputs->setCurrentIndex(1);
        byName<QPushButton>(&w, "Command3")->click();
        QCOMPARE(rig.action("ongedaan")->text(),
                 u"Ongedaan maken: Drukknop 1 – "_s + markup + u", 1ste functie"_s);
        w.grab();
        w.Command9_Click();
        QCOMPARE(byName<QTableWidget>(&w, "Grid2")->item(1, 3)->text(), markup);
        w.grab();
        w.Command10_Click();
        w.Frame9->selectScene(0);
        QCOMPARE(byName<QLabel>(&w, "Combo25Naam")->text(), markup);
        QCOMPARE(byName<QLabel>(&w, "Label12_0")->text(), u"Uitgang 1 – "_s + markup + u':');
        w.grab();
        QVERIFY(w.installations()->selectModule(1));
        w.Command9_Click();
        QCOMPARE(byName<QLabel>(&w, "Label26")->text(), u"Kanaal 1 – "_s + markup + u':');
        w.grab();
        for (QLabel *label : w.findChildren<QLabel *>())
            if (label->text().contains(markup)) QCOMPARE(label->textFormat(), Qt::PlainText);

        const ModuleNames &names = plan.modules[0].names;
        ModuleImage other = plan.modules[0].image;
        other.set(EditorRules::firstFunctionSlot(1), 51);
        CompareWindow compared(1, path, ImageCompare::compare(0, plan.modules[0].image, 0, other, 1, &names));
        look(compared);
        auto *differences = byName<QTreeWidget>(&compared, "DifferenceList");
        QVERIFY(differences->topLevelItemCount() > 0);
        QCOMPARE(differences->topLevelItem(0)->text(0), u"Drukknop 1 – "_s + markup + u", 1ste functie"_s);

        const auto document = ReportDocument::document(
            makeReport(plan.modules[0].image, 0, 1, path, QDateTime::currentDateTime(), &names));
        QVERIFY(document->toPlainText().contains(u"Uitgang 1 – "_s + markup));
        const QString pdf = m_dir.filePath(u"names.pdf"_s);
        QVERIFY(
            ReportDocument::exportPdf(makeReport(plan.modules[0].image, 0, 1, path, QDateTime(), &names), pdf)
                .ok());
    }

    // The comparison names the file in its title.
    void compareWindow()
    {
        const QString file = m_folder + u"/<b>klant.QV1"_s;
        CompareWindow window(1, file, ImageCompare::Result{});
        look(window);
        QCOMPARE(window.windowTitle(), u"Vergelijken met <b>klant.QV1"_s);
    }
};

QTEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"
