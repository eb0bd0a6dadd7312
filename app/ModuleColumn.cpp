#include "app/ModuleColumn.h"

#include "common/Controls.h"
#include "common/Named.h"
#include "common/WidgetTexts.h"
#include "editors/SlotWords.h"
#include "protocol/ModuleTypes.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

ModuleColumn::ModuleColumn(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ModuleColumn"));
    Frame1 = named(new QGroupBox(QStringLiteral("Frame1"), this), "Frame1");
    Command1 = Controls::button("Command1", Frame1);
    Command2 = Controls::button("Command2", Frame1);
    auto *actions = new QHBoxLayout(Frame1);
    actions->addWidget(Command1);
    actions->addWidget(Command2);

    Frame2 = named(new QGroupBox(QStringLiteral("Frame2"), this), "Frame2");
    Command7 = Controls::button("Command7", Frame2);
    Command8 = Controls::button("Command8", Frame2);
    Command9 = Controls::button("Command9", Frame2);
    Command10 = Controls::button("Command10", Frame2);
    Command12 = Controls::button("Command12", Frame2);
    namenKnop = Controls::button("namenKnop", Frame2);
    namenKnop->setText(QStringLiteral("Namen"));
    namenKnop->hide();
    Option1 = Controls::option("Option1", SlotWords::masterSlave(1), Frame2);
    Option2 = Controls::option("Option2", SlotWords::masterSlave(0), Frame2);
    Label5 = named(new QLabel(Frame2), "Label5");
    Label5->setTextFormat(Qt::PlainText);
    Label5->hide();
    auto *data = new QGridLayout(Frame2);
    int row = 0;
    for (QPushButton *b : editorButtons())
        data->addWidget(b, row++, 0, 1, 2);
    data->addWidget(namenKnop, row++, 0, 1, 2);
    data->addWidget(Option1, row, 0);
    data->addWidget(Option2, row++, 1);
    data->addWidget(Label5, row, 0, 1, 2);

    Label1 = named(new QLabel(QStringLiteral("Module:"), this), "Label1");

    Label1->setTextFormat(Qt::PlainText);
    Combo1 = named(new QComboBox(this), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // Typing is never completed into a module type: a text outside the list is emptied, and a
    // completion would then fill the emptied field with the first type.
    Combo1->setCompleter(nullptr);
    Label1->setBuddy(Combo1);
    {
        const QSignalBlocker block(Combo1);
        Combo1->addItems(ModuleTypes::comboEntries());
        Combo1->setCurrentIndex(-1);
        Combo1->setEditText(QString());
    }
    Command15 = Controls::button("Command15", this);
    Command15->hide();

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Frame1);
    column->addWidget(Frame2);
    auto *moduleRow = new QHBoxLayout;
    moduleRow->addWidget(Label1);
    moduleRow->addWidget(Combo1, 1);
    column->addLayout(moduleRow);
    column->addStretch(1);
    column->addWidget(Command15);

    connect(Command1, &QPushButton::clicked, this, &ModuleColumn::readRequested);
    connect(Command2, &QPushButton::clicked, this, &ModuleColumn::sendRequested);
    connect(Command7, &QPushButton::clicked, this, &ModuleColumn::pushButtonsRequested);
    connect(Command8, &QPushButton::clicked, this, &ModuleColumn::secondTimeRequested);
    connect(Command9, &QPushButton::clicked, this, &ModuleColumn::outputsRequested);
    connect(Command10, &QPushButton::clicked, this, &ModuleColumn::scenesRequested);
    connect(Command12, &QPushButton::clicked, this, &ModuleColumn::diagnosticsRequested);
    connect(namenKnop, &QPushButton::clicked, this, &ModuleColumn::namesRequested);
    connect(Command15, &QPushButton::clicked, this, &ModuleColumn::documentationClosed);
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Q_EMIT masterChosen(true);
    });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Q_EMIT masterChosen(false);
    });
    connect(Combo1, &QComboBox::textActivated, this, &ModuleColumn::typeActivated);
    connect(Combo1, &QComboBox::editTextChanged, this, &ModuleColumn::typeEdited);
}

QString ModuleColumn::typeEntry() const
{
    return Combo1->currentText();
}

void ModuleColumn::showTypeEntry(const QString &entry)
{
    Combo1->setEditText(entry);
}

void ModuleColumn::setTypeEntryQuietly(const QString &entry, bool unselect)
{
    const QSignalBlocker block(Combo1);
    if (unselect) Combo1->setCurrentIndex(-1);
    Combo1->setEditText(entry);
}

void ModuleColumn::chooseMaster(bool master)
{
    QRadioButton *option = master ? Option1 : Option2;
    if (option->isChecked())
        Q_EMIT masterChosen(master); // already selected: its operation runs all the same
    else
        option->setChecked(true);
}

std::array<QPushButton *, 5> ModuleColumn::editorButtons() const
{
    return {Command7, Command8, Command9, Command10, Command12};
}

void ModuleColumn::setCaptions(int lang)
{
    Lang::setText(Frame1, lang, QStringLiteral("Actie:"), QStringLiteral("Action:"));
    Lang::setText(Frame2, lang, QStringLiteral("Module gegevens:"), QStringLiteral("Données module:"));
    Lang::setText(Command1, lang, QStringLiteral("Verbinden"), QStringLiteral("Connecter"));
    Lang::setText(Command2, lang, QStringLiteral("Versturen"), QStringLiteral("Envoyer"));
    if (Lang::Language(lang).isSet()) {
        Option1->setText(SlotWords::masterSlave(1));
        Option2->setText(SlotWords::masterSlave(0));
    }
    Lang::setText(Command7, lang, SlotWords::titleText(SlotWords::Part::PushButtons));
    Lang::setText(Command8, lang, SlotWords::titleText(SlotWords::Part::SecondFunctionTime));
    Lang::setText(Command10, lang, SlotWords::titleText(SlotWords::Part::Scenes));
    Lang::setText(Command15, lang, QStringLiteral("Sluiten"), QStringLiteral("Fermer"));
    Lang::setText(namenKnop, lang, QStringLiteral("Namen"), QStringLiteral("Noms"));
}

void ModuleColumn::captionEditorButtons(int type, ModulePage::Origin origin, int lang)
{
    Lang::setText(Command7, lang, SlotWords::titleText(SlotWords::Part::PushButtons));
    Lang::setText(Command8, lang, SlotWords::titleText(SlotWords::Part::SecondFunctionTime));
    if (ModuleTypes::isKnown(type)) {
        const bool dim = ModuleTypes::hasDimChannels(type);
        Lang::Text caption =
            SlotWords::titleText(dim ? SlotWords::Part::DimStartValues : SlotWords::Part::OutputFunctions);
        // After a module file was opened, the relay modules' button has always read "Fonction des
        // sorties" in French.
        if (!dim && origin == ModulePage::Origin::ModuleFile)
            caption.french = QStringLiteral("Fonction des sorties");
        if (const auto text = caption.in(lang)) Command9->setText(*text);
    }
    Lang::setText(Command10, lang, SlotWords::titleText(SlotWords::Part::Scenes));
    Lang::setText(Command12, lang, QStringLiteral("Diagnose"), QStringLiteral("Diagnostics"));
}

void ModuleColumn::showVersion(int version, int lang)
{
    const QString v = QString::number(version);
    Lang::setText(Label5, lang, QStringLiteral("Versie: ") + v, QStringLiteral("Version: ") + v);
    Label5->show();
}

void ModuleColumn::hideVersion()
{
    Label5->hide();
}

void ModuleColumn::clearOptions()
{
    Controls::clearOptions({Option1, Option2});
}

void ModuleColumn::offer(bool idle, bool editable, bool editorsShown, bool documentation)
{
    Frame1->setVisible(!documentation);
    Frame2->setVisible(!documentation);
    Command15->setVisible(documentation);
    Command1->setEnabled(idle);
    Command2->setEnabled(editable);
    Combo1->setEnabled(idle && !documentation);
    for (QPushButton *b : editorButtons()) {
        b->setVisible(editorsShown);
        b->setEnabled(editable);
    }
    Controls::setEnabled({Option1, Option2}, editable);
}

void ModuleColumn::offerNames(bool shown, bool enabled)
{
    namenKnop->setVisible(shown);
    namenKnop->setEnabled(enabled);
}

void ModuleColumn::showMaster(int flag)
{
    const QSignalBlocker block1(Option1);
    const QSignalBlocker block2(Option2);
    clearOptions();
    if (flag == 1)
        Option1->setChecked(true);
    else if (flag == 0)
        Option2->setChecked(true);
}
