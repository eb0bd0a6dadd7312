#include "app/AdapterOfferQuestion.h"
#include "app/PortChooserDialog.h"
#include "common/MessageBox.h"
#include "serial/AdapterOffer.h"
#include "support/Find.h"
#include "support/Terminal.h"
#include "support/TestHome.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The port chooser on a port list of the test's own, changed while the dialog is open as an
// installer plugs adapters in and out. The adapter and a terminal typed by hand are
// pseudo-terminals of the test; the other entries are only shown.
class TestPortChooser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_stable;
    std::shared_ptr<SerialPortList> m_ports;
    Terminal m_cable;
    Terminal m_typed;

    SerialPortEntry cable() const
    {
        return {m_cable.device(), u"USB <b>cable</b>"_s, u"Maker"_s, u"A1"_s, m_stable, true};
    }
    static SerialPortEntry builtIn() { return {u"/dev/null"_s, u"Built-in"_s, {}, {}, {}, false}; }
    PortBinding binding() const
    {
        return PortBinding([ports = m_ports] { return *ports; });
    }
    static QStringList row(QTreeWidgetItem *item)
    {
        return {item->text(0), item->text(1), item->text(2), item->text(3)};
    }

private Q_SLOTS:
    void initTestCase()
    {
#ifdef Q_OS_WIN
        QSKIP("ports are bound by links on POSIX systems");
#endif
        if (m_cable.device().isEmpty() || m_typed.device().isEmpty())
            QSKIP("this system gives no pseudo-terminals to stand for serial ports");
        m_stable = m_dir.filePath(u"usb-Maker_cable_A1-if00-port0"_s);
        QVERIFY(QFile::link(m_cable.device(), m_stable));
    }
    void init()
    {
        m_ports = std::make_shared<SerialPortList>(SerialPortList{builtIn(), cable()});
        MessageBox::resetRecord();
        MessageBox::setAutoAnswer(true);
        AdapterOffer::forgetDeclined();
    }

    // The rows as the adapter describes itself (plain text), refreshed while the dialog is open;
    // the installer's choice survives a refresh; the keyboard resting on a row chooses nothing.
    void listsAndFollowsThePorts()
    {
        TestHome home;
        PortChooserDialog dialog(binding(), 3, 2);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto *portLabel = byName<QLabel>(&dialog, "PortLabel");
        auto *list = byName<QTreeWidget>(&dialog, "PortList");
        auto *edit = byName<QLineEdit>(&dialog, "DeviceEdit");
        auto *bind = byName<QPushButton>(&dialog, "BindButton");
        QCOMPARE(dialog.windowTitle(), u"Choisir le port"_s);
        QCOMPARE(portLabel->text(), u"Port 3 : "_s + PortBinding::describe(PortBinding::deviceFor(3), 2));
        QCOMPARE(row(list->topLevelItem(1)),
                 (QStringList{m_cable.device(), u"USB <b>cable</b>"_s, u"Maker"_s, u"A1"_s}));
        list->setFocus(Qt::TabFocusReason);
        QVERIFY(edit->text().isEmpty() && !bind->isEnabled());
        QVERIFY(!byName<QPushButton>(&dialog, "UnbindButton")->isEnabled());
        for (QWidget *w : std::initializer_list<QWidget *>{list, edit, bind})
            QVERIFY(!w->accessibleName().isEmpty());
        QCOMPARE(edit->accessibleName(), u"Périphérique :"_s);

        list->topLevelItem(1)->setSelected(true);
        QCOMPARE(edit->text(), m_cable.device());
        m_ports->prepend({u"/dev/full"_s, u"Second"_s, {}, {}, {}, true});
        QTRY_COMPARE_WITH_TIMEOUT(list->topLevelItemCount(), 3, 3000);
        QCOMPARE(list->selectedItems().value(0)->text(0), m_cable.device());
        m_ports->clear();
        QTRY_VERIFY_WITH_TIMEOUT(byName<QLabel>(&dialog, "NoPortsLabel")->isVisible(), 3000);
        QCOMPARE(list->topLevelItemCount(), 0);
    }

    // "Koppelen" binds the chosen row (to its stable name) or a typed name, Enter too;
    // "Geen koppeling" removes it; a refusal is said in a message and changes nothing.
    void bindAndUnbind()
    {
        TestHome home;
        const QString link = home.file(u"com2"_s);
        PortChooserDialog dialog(binding(), 2, 1);
        dialog.show();
        auto *portLabel = byName<QLabel>(&dialog, "PortLabel");
        auto *list = byName<QTreeWidget>(&dialog, "PortList");
        auto *edit = byName<QLineEdit>(&dialog, "DeviceEdit");
        auto *bind = byName<QPushButton>(&dialog, "BindButton");
        auto *unbind = byName<QPushButton>(&dialog, "UnbindButton");
        list->topLevelItem(1)->setSelected(true);
        bind->click();
        QCOMPARE(QFile::symLinkTarget(link), m_stable);
        QCOMPARE(portLabel->text(), u"Poort 2: Gekoppeld aan %1 (nu %2)"_s.arg(m_stable, m_cable.device()));

        edit->clear();
        QTest::keyClicks(edit, m_typed.device());
        QVERIFY(list->selectedItems().isEmpty());
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(QFile::symLinkTarget(link), m_typed.device());

        // Only terminals: a file, a device that is none (also one the list shows) and the alias
        // of the program's own terminal are refused.
        home.write(u"notes"_s, "x");
        const QList<std::pair<QString, QString>> refused{
            {home.file(u"notes"_s), home.file(u"notes"_s) + u" is een gewoon bestand, geen seriële poort."_s},
            {u"/dev/null"_s, u"/dev/null is geen seriële poort."_s},
            {u"/dev/tty"_s, u"/dev/tty is geen seriële poort."_s}};
        for (const auto &[typed, message] : refused) {
            edit->setText(typed);
            bind->click();
            QCOMPARE(MessageBox::lastTitle(), u"Opgelet !"_s);
            QCOMPARE(MessageBox::lastText(), message);
            QCOMPARE(QFile::symLinkTarget(link), m_typed.device());
        }
        list->topLevelItem(0)->setSelected(true);
        bind->click();
        QCOMPARE(MessageBox::lastText(), u"/dev/null is geen seriële poort."_s);
        QCOMPARE(QFile::symLinkTarget(link), m_typed.device());

        QVERIFY(unbind->isEnabled());
        unbind->click();
        QVERIFY(!QFileInfo(link).isSymLink());
        QVERIFY(portLabel->text().startsWith(u"Poort 2: /dev/ttyS1 (geen koppeling"_s));
        QVERIFY(!unbind->isEnabled());
        QCOMPARE(MessageBox::shownCount(), 4);
    }

    // The offer: only with no binding and exactly one USB adapter; "no" is not asked again.
    void offersTheOneAdapter()
    {
        TestHome home;
        const QString link = home.file(u"com5"_s);
        *m_ports = {builtIn(), cable(), {u"/dev/full"_s, {}, {}, {}, {}, true}};
        QVERIFY(!askToBindAdapter(nullptr, AdapterOffer(binding()), 5, 1));
        *m_ports = {builtIn(), cable()};
        MessageBox::setNextChoice(1);
        QVERIFY(!askToBindAdapter(nullptr, AdapterOffer(binding()), 5, 1));
        QCOMPARE(MessageBox::lastText(),
                 u"Er is één USB-seriële adapter aangesloten: USB <b>cable</b> (%1).\nPoort 5 heeft geen "
                 u"koppeling en zou /dev/ttyS4 openen.\n\nPoort 5 aan deze adapter koppelen?"_s.arg(
                     m_cable.device()));
        QCOMPARE(MessageBox::lastButtons(), (QStringList{u"Ja"_s, u"Nee"_s}));
        QVERIFY(!askToBindAdapter(nullptr, AdapterOffer(binding()), 5, 1));
        QCOMPARE(MessageBox::shownCount(), 1);
        QVERIFY(!QFileInfo(link).isSymLink());

        AdapterOffer::forgetDeclined();
        MessageBox::setNextChoice(0);
        QVERIFY(askToBindAdapter(nullptr, AdapterOffer(binding()), 5, 2));
        QVERIFY(MessageBox::lastText().endsWith(u"Lier le port 5 à cet adaptateur ?"_s));
        QCOMPARE(QFile::symLinkTarget(link), m_stable);
        QVERIFY(!askToBindAdapter(nullptr, AdapterOffer(binding()), 5, 2));
        QCOMPARE(MessageBox::shownCount(), 2);
    }
};

QTEST_MAIN(TestPortChooser)
#include "tst_portchooser.moc"
