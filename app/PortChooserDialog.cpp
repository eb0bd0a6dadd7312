#include "app/PortChooserDialog.h"

#include "app/Messages.h"
#include "common/Lang.h"
#include "common/MessageBox.h"
#include "common/Named.h"
#include "common/WidgetTexts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

enum Column
{
    DeviceColumn,
    DescriptionColumn,
    ManufacturerColumn,
    SerialNumberColumn,
    ColumnCount
};

// A control is read out under the caption or label the installer sees.
void nameFor(QWidget *w, const QString &caption)
{
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    w->setAccessibleName(plain);
}

} // namespace

PortChooserDialog::PortChooserDialog(PortBinding binding, int port, int language, QWidget *parent)
    : QDialog(parent), m_binding(std::move(binding)), m_port(port), m_language(language)
{
    setObjectName(u"PortChooser"_s);
    setModal(true);
    // Design-time texts are Dutch, as in the menus; the language sets its own below.
    setWindowTitle(u"Poort kiezen"_s);
    Lang::setWindowTitle(this, language, u"Poort kiezen"_s, u"Choisir le port"_s);

    PortLabel = named(new QLabel(this), "PortLabel");
    PortLabel->setTextFormat(Qt::PlainText);
    PortLabel->setWordWrap(true);

    ListLabel = named(new QLabel(u"Seriële poorten van deze computer:"_s, this), "ListLabel");

    ListLabel->setTextFormat(Qt::PlainText);
    Lang::setText(ListLabel, language, u"Seriële poorten van deze computer:"_s,
                  u"Ports série de cet ordinateur :"_s);
    PortList = named(new QTreeWidget(this), "PortList");
    PortList->setColumnCount(ColumnCount);
    PortList->setHeaderLabels(
        {text(u"Apparaat"_s, u"Périphérique"_s), text(u"Beschrijving"_s, u"Description"_s),
         text(u"Fabrikant"_s, u"Fabricant"_s), text(u"Serienummer"_s, u"Numéro de série"_s)});
    PortList->setRootIsDecorated(false);
    PortList->setUniformRowHeights(true);
    PortList->setAllColumnsShowFocus(true);
    PortList->setSelectionMode(QAbstractItemView::SingleSelection);
    PortList->header()->setStretchLastSection(true);
    PortList->setMinimumSize(560, 140);
    ListLabel->setBuddy(PortList);
    nameFor(ListLabel, ListLabel->text());
    nameFor(PortList, ListLabel->text());

    const QString noPorts =
        u"Geen seriële poorten gevonden. Sluit een adapter aan of typ hieronder de naam van een apparaat."_s;
    NoPortsLabel = named(new QLabel(noPorts, this), "NoPortsLabel");
    NoPortsLabel->setTextFormat(Qt::PlainText);
    Lang::setText(NoPortsLabel, language, noPorts,
                  u"Aucun port série trouvé. Branchez un adaptateur ou tapez ci-dessous le nom d'un "
                  u"périphérique."_s);
    NoPortsLabel->setWordWrap(true);
    nameFor(NoPortsLabel, NoPortsLabel->text());
    NoPortsLabel->hide();

    DeviceLabel = named(new QLabel(u"&Apparaat:"_s, this), "DeviceLabel");
    Lang::setText(DeviceLabel, language, u"&Apparaat:"_s, u"&Périphérique :"_s);
    DeviceEdit = named(new QLineEdit(this), "DeviceEdit");
#ifdef Q_OS_WIN
    DeviceEdit->setPlaceholderText(u"COM3"_s);
#else
    DeviceEdit->setPlaceholderText(u"/dev/ttyUSB0"_s);
#endif
    DeviceLabel->setBuddy(DeviceEdit);
    nameFor(DeviceLabel, DeviceLabel->text());
    nameFor(DeviceEdit, DeviceLabel->text());

    BindButton = named(new QPushButton(u"&Koppelen"_s, this), "BindButton");
    Lang::setText(BindButton, language, u"&Koppelen"_s, u"&Lier"_s);
    UnbindButton = named(new QPushButton(u"&Geen koppeling"_s, this), "UnbindButton");
    Lang::setText(UnbindButton, language, u"&Geen koppeling"_s, u"&Aucune liaison"_s);
    CloseButton = named(new QPushButton(u"&Sluiten"_s, this), "CloseButton");
    Lang::setText(CloseButton, language, u"&Sluiten"_s, u"&Fermer"_s);
    for (QPushButton *b : {BindButton, UnbindButton, CloseButton}) {
        b->setAutoDefault(false);
        nameFor(b, b->text());
    }
    BindButton->setDefault(true);
#ifdef Q_OS_WIN
    // A COM port has no binding to remove.
    UnbindButton->hide();
#endif

    auto *deviceRow = new QHBoxLayout;
    deviceRow->addWidget(DeviceLabel);
    deviceRow->addWidget(DeviceEdit, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BindButton);
    buttons->addWidget(UnbindButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PortLabel);
    layout->addWidget(ListLabel);
    layout->addWidget(PortList, 1);
    layout->addWidget(NoPortsLabel);
    layout->addLayout(deviceRow);
    layout->addLayout(buttons);

    // The row the installer selects (not merely the one the keyboard focus rests on) fills the field.
    connect(PortList, &QTreeWidget::itemSelectionChanged, this,
            [this] { rowChosen(PortList->selectedItems().value(0)); });
    connect(PortList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        rowChosen(item);
        BindButton_Click();
    });
    // A name typed by hand is no longer the row's.
    connect(DeviceEdit, &QLineEdit::textEdited, this, [this](const QString &typed) {
        const QList<QTreeWidgetItem *> chosen = PortList->selectedItems();
        if (!chosen.isEmpty() && chosen.first()->data(DeviceColumn, Qt::UserRole).toString() != typed) {
            const QSignalBlocker block(PortList);
            PortList->clearSelection();
        }
    });
    connect(DeviceEdit, &QLineEdit::textChanged, this, [this] { updateButtons(); });
    connect(BindButton, &QPushButton::clicked, this, &PortChooserDialog::BindButton_Click);
    connect(UnbindButton, &QPushButton::clicked, this, &PortChooserDialog::UnbindButton_Click);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    // Reading the list is cheap (a look into the system's device folders), so a plain poll finds
    // an adapter plugged in or pulled out within a second.
    RefreshTimer = named(new QTimer(this), "RefreshTimer");
    RefreshTimer->setInterval(kRefreshInterval);
    connect(RefreshTimer, &QTimer::timeout, this, &PortChooserDialog::refresh);
    RefreshTimer->start();

    refresh();
}

QString PortChooserDialog::text(const QString &dutch, const QString &french) const
{
    return Lang::text(m_language, dutch, french, dutch);
}

void PortChooserDialog::refresh()
{
    const SerialPortList ports = m_binding.ports();
    if (!m_listed || ports != m_shown) showRows(ports);
    showPort();
    updateButtons();
}

void PortChooserDialog::showRows(const SerialPortList &ports)
{
    m_listed = true;
    m_shown = ports;
    const QList<QTreeWidgetItem *> selected = PortList->selectedItems();
    const QString chosen =
        selected.isEmpty() ? QString() : selected.first()->data(DeviceColumn, Qt::UserRole).toString();

    const QSignalBlocker block(PortList);
    PortList->clear();
    for (const SerialPortEntry &entry : ports) {
        auto *item = new QTreeWidgetItem(PortList);
        // Texts that come from an adapter are shown as they are, never read as markup.
        item->setText(DeviceColumn, QDir::toNativeSeparators(entry.device));
        item->setText(DescriptionColumn, entry.description);
        item->setText(ManufacturerColumn, entry.manufacturer);
        item->setText(SerialNumberColumn, entry.serialNumber);
        item->setData(DeviceColumn, Qt::UserRole, entry.device);
        if (!entry.stablePath.isEmpty()) {
            // A tip may be read as markup: the name is escaped.
            const QString tip = u"<qt>%1</qt>"_s.arg(
                text(u"Vaste naam: %1"_s, u"Nom stable : %1"_s).arg(entry.stablePath).toHtmlEscaped());
            for (int c = 0; c < ColumnCount; ++c)
                item->setToolTip(c, tip);
        }
        if (entry.device == chosen) {
            PortList->setCurrentItem(item);
            item->setSelected(true);
        }
    }
    for (int c = 0; c + 1 < ColumnCount; ++c)
        PortList->resizeColumnToContents(c);
    NoPortsLabel->setVisible(ports.isEmpty());
}

void PortChooserDialog::showPort()
{
    const PortDevice device = PortBinding::deviceFor(m_port);
    const QString now = PortBinding::describe(device, Lang::Language(m_language).readable());
    PortLabel->setText(text(u"Poort %1: %2"_s, u"Port %1 : %2"_s).arg(QString::number(m_port), now));
    PortLabel->setAccessibleName(PortLabel->text());
}

PortChooserDialog::Facts PortChooserDialog::facts() const
{
    return {.deviceNamed = !DeviceEdit->text().trimmed().isEmpty(),
            .ownBinding = PortBinding::deviceFor(m_port).source == PortDevice::Source::UserLink};
}

void PortChooserDialog::updateButtons()
{
    const Facts f = facts();
    BindButton->setEnabled(f.deviceNamed);
    UnbindButton->setEnabled(f.ownBinding);
}

void PortChooserDialog::rowChosen(QTreeWidgetItem *item)
{
    if (item) DeviceEdit->setText(item->data(DeviceColumn, Qt::UserRole).toString());
    updateButtons();
}

void PortChooserDialog::warn(const PortBinding::Outcome &outcome)
{
    MessageBox::information(this, Lang::warningTitle(m_language),
                            Messages::failureText(outcome.failure, m_language));
}

void PortChooserDialog::BindButton_Click()
{
    const PortBinding::Outcome outcome = m_binding.bind(m_port, DeviceEdit->text());
    if (!outcome.ok()) {
        warn(outcome);
        return;
    }
    if (outcome.portNumber != m_port) {
        m_port = outcome.portNumber;
        Q_EMIT portNumberChosen(m_port);
    }
    refresh();
    Q_EMIT bindingChanged(m_port);
    CloseButton->setFocus();
}

void PortChooserDialog::UnbindButton_Click()
{
    const PortBinding::Outcome outcome = m_binding.unbind(m_port);
    if (!outcome.ok()) {
        warn(outcome);
        return;
    }
    refresh();
    Q_EMIT bindingChanged(m_port);
}
