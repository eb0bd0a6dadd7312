#pragma once

#include <QtCore/QObject>
#include <QtCore/QStringList>

class QWidget;

// Interface of the folivo plugin's root object: a host loads the plugin with QPluginLoader,
// casts the instance with qobject_cast<FolivoControlFactory *>() and creates controls by
// their programmatic name ("Folivant.Folivo").
class FolivoControlFactory
{
public:
    virtual ~FolivoControlFactory() = default;

    // Programmatic names of the controls this factory can create.
    virtual QStringList keys() const = 0;

    // A new control for `key` (compared without regard to case), owned by `parent`;
    // nullptr when the key is unknown.
    virtual QWidget *create(const QString &key, QWidget *parent = nullptr) = 0;
};

#define FolivoControlFactory_iid "Folivant.ControlFactory/1.0"
Q_DECLARE_INTERFACE(FolivoControlFactory, FolivoControlFactory_iid)
