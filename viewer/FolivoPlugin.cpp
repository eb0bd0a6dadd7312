#include "FolivoPlugin.h"

#include "Folivo.h"

FolivoPlugin::FolivoPlugin(QObject *parent) : QObject(parent) {}

QStringList FolivoPlugin::keys() const
{
    return {QString::fromLatin1(Folivo::ProgId)};
}

QWidget *FolivoPlugin::create(const QString &key, QWidget *parent)
{
    if (key.compare(QLatin1String(Folivo::ProgId), Qt::CaseInsensitive) != 0) return nullptr;
    return new Folivo(parent);
}
