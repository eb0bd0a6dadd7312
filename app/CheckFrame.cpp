#include "app/CheckFrame.h"

#include "common/Lang.h"
#include "common/Named.h"
#include "common/WidgetTexts.h"
#include "installation/InstallationCheck.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using InstallationCheck::Severity;

CheckFrame::CheckFrame(QWidget *parent) : QGroupBox(parent)
{
    setObjectName(u"Controle"_s);
    m_count = named(new QLabel(this), "bevindingenAantal");
    m_count->setTextFormat(Qt::PlainText);
    m_list = named(new QTreeWidget(this), "bevindingen");
    m_list->setColumnCount(3);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->header()->setStretchLastSection(true);
    m_count->setBuddy(m_list);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_count);
    layout->addWidget(m_list, 1);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        const int index = m_list->indexOfTopLevelItem(item);
        if (index >= 0 && index < static_cast<int>(m_places.size()))
            Q_EMIT placeChosen(m_places[static_cast<size_t>(index)]);
    });
    hide();
}

void CheckFrame::showInstallation(const Installation &installation, int language)
{
    const Lang::Language lang = Lang::Language(language).readable();
    const auto say = [lang](const QString &dutch, const QString &french) {
        return Lang::text(lang, dutch, french);
    };
    setTitle(say(u"Installatie controleren:"_s, u"Vérifier l'installation:"_s));
    setAccessibleName(title());
    m_list->setHeaderLabels(
        {say(u"Ernst"_s, u"Gravité"_s), say(u"Module"_s, u"Module"_s), say(u"Bevinding"_s, u"Constat"_s)});
    const std::vector<InstallationCheck::Finding> findings = InstallationCheck::check(installation, lang);
    int counts[3] = {0, 0, 0};
    m_list->clear();
    m_places.clear();
    QList<QTreeWidgetItem *> items;
    for (const InstallationCheck::Finding &f : findings) {
        ++counts[static_cast<int>(f.severity)];
        QStringList modules;
        for (int m : f.modules)
            modules << Overview::moduleText(installation.modules[static_cast<size_t>(m)]);
        auto *item = new QTreeWidgetItem(
            {InstallationCheck::severityText(f.severity, lang), modules.join(u"; "_s), f.text});
        item->setToolTip(2, Lang::plainToolTip(f.text));
        if (f.severity == Severity::Error) {
            QFont bold = item->font(0);
            bold.setBold(true);
            item->setFont(0, bold);
        }
        items << item;
        m_places.push_back(f.place);
    }
    m_list->addTopLevelItems(items);
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);
    const auto count = [&say](int n, const QString &dutchOne, const QString &dutchMore,
                              const QString &frenchOne, const QString &frenchMore) -> QString {
        return QString::number(n) + u' ' + (n == 1 ? say(dutchOne, frenchOne) : say(dutchMore, frenchMore));
    };
    m_count->setText(
        findings.empty()
            ? say(u"Geen bevindingen: niets vergeten."_s, u"Aucun constat : rien n'est oublié."_s)
            : count(counts[0], u"fout"_s, u"fouten"_s, u"erreur"_s, u"erreurs"_s) + u", "_s +
                  count(counts[1], u"waarschuwing"_s, u"waarschuwingen"_s, u"avertissement"_s,
                        u"avertissements"_s) +
                  u", "_s + count(counts[2], u"info"_s, u"info"_s, u"info"_s, u"info"_s));
    // A tree is not named after its label for a screen reader: the list goes by the count.
    m_list->setAccessibleName(m_count->text());
}
