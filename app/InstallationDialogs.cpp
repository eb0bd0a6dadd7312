#include "app/InstallationDialogs.h"

#include "common/Lang.h"
#include "common/Named.h"
#include "installation/Installation.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

PropertiesDialog::PropertiesDialog(const Values &values, int language, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"Eigenschappen"_s);
    const auto say = [language](const QString &dutch, const QString &french) {
        return Lang::text(language, dutch, french, dutch + u" / "_s + french);
    };
    setWindowTitle(say(u"Eigenschappen van de installatie"_s, u"Propriétés de l'installation"_s));
    naam = named(new QLineEdit(values.name, this), "naam");
    adres = named(new QLineEdit(values.address, this), "adres");
    notities = named(new QPlainTextEdit(values.notes, this), "notities");
    naam->setMaxLength(InstallationFormat::MaxNameLength);
    adres->setMaxLength(InstallationFormat::MaxNameLength);
    notities->setTabChangesFocus(true);
    auto *form = new QFormLayout;
    form->addRow(say(u"&Naam"_s, u"&Nom"_s), naam);
    form->addRow(say(u"&Adres / klant"_s, u"&Adresse / client"_s), adres);
    form->addRow(say(u"N&otities"_s, u"N&otes"_s), notities);
    auto *buttons =
        named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this), "knoppen");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    resize(460, 300);
}

PropertiesDialog::Values PropertiesDialog::values() const
{
    return {installationText(naam->text(), InstallationFormat::MaxNameLength),
            installationText(adres->text(), InstallationFormat::MaxNameLength),
            installationText(notities->toPlainText(), InstallationFormat::MaxNotesLength, true)};
}

AssignDialog::AssignDialog(const QString &question, const std::vector<Candidate> &candidates, int preselected,
                           int language, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Toewijzen"_s);
    const auto say = [language](const QString &dutch, const QString &french) {
        return Lang::text(language, dutch, french, dutch + u" / "_s + french);
    };
    setWindowTitle(say(u"Welke module is dit?"_s, u"Quel module est-ce ?"_s));
    auto *label = named(new QLabel(question, this), "vraag");
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    kandidaten = named(new QListWidget(this), "kandidaten");
    label->setBuddy(kandidaten);
    kandidaten->setAccessibleName(say(u"Modules van de installatie"_s, u"Modules de l'installation"_s));
    for (const Candidate &c : candidates) {
        auto *item = new QListWidgetItem(c.text, kandidaten);
        item->setData(Qt::UserRole, c.module);
        if (c.module == preselected) kandidaten->setCurrentItem(item);
    }
    // No current row at all: the list would otherwise make its first row current once it has
    // the focus, and Enter would assign a module the installer never chose.
    if (preselected < 0) kandidaten->setCurrentIndex(QModelIndex());
    dezeModule = named(new QPushButton(say(u"Deze module"_s, u"Ce module"_s), this), "dezeModule");
    nieuweModule =
        named(new QPushButton(
                  say(u"Nieuwe module in de installatie"_s, u"Nouveau module dans l'installation"_s), this),
              "nieuweModule");
    nietInInstallatie =
        named(new QPushButton(say(u"Niet in de installatie"_s, u"Pas dans l'installation"_s), this),
              "nietInInstallatie");
    dezeModule->setEnabled(kandidaten->currentItem() != nullptr);
    // Enter takes the module chosen only when one is: otherwise it changes nothing.
    dezeModule->setAutoDefault(false);
    nieuweModule->setAutoDefault(false);
    nietInInstallatie->setAutoDefault(false);
    dezeModule->setDefault(kandidaten->currentItem() != nullptr);
    connect(kandidaten, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *current) {
        dezeModule->setEnabled(current != nullptr);
        dezeModule->setDefault(current != nullptr);
    });
    connect(kandidaten, &QListWidget::itemActivated, dezeModule, &QPushButton::click);
    connect(dezeModule, &QPushButton::clicked, this, [this] {
        if (!kandidaten->currentItem()) return;
        m_choice = Choice::Module;
        m_module = kandidaten->currentItem()->data(Qt::UserRole).toInt();
        accept();
    });
    connect(nieuweModule, &QPushButton::clicked, this, [this] {
        m_choice = Choice::NewModule;
        accept();
    });
    connect(nietInInstallatie, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { m_choice = Choice::NotInInstallation; });
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(dezeModule);
    buttons->addWidget(nieuweModule);
    buttons->addStretch();
    buttons->addWidget(nietInInstallatie);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(kandidaten, 1);
    layout->addLayout(buttons);
    resize(520, 360);
}
