#pragma once

#include "FolivoFactory.h"

#include <QtCore/QObject>

// Root object of the folivo plugin: creates Folivo controls by programmatic name.
class FolivoPlugin : public QObject, public FolivoControlFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID FolivoControlFactory_iid FILE "folivo.json")
    Q_INTERFACES(FolivoControlFactory)

public:
    explicit FolivoPlugin(QObject *parent = nullptr);

    QStringList keys() const override;
    QWidget *create(const QString &key, QWidget *parent = nullptr) override;
};
