#pragma once

#include "docpages/DocumentationPages.h"

#include <QObject>
#include <functional>

class QStackedWidget;
class QWidget;
class Folivo;

// The documentation of a module model in the main window's work area: the viewer control,
// built the first time a document is shown, and what the installer is told when a document
// fetched over http does not come.
class DocumentationView : public QObject
{
    Q_OBJECT
public:
    // `work` is the area the viewer becomes a page of; messages speak the language `language()`.
    DocumentationView(QStackedWidget *work, std::function<int()> language, QObject *parent = nullptr);

    // Shows the document of `button` for the module type list entry `typeEntry`; returns the
    // viewer page, or nullptr when that button has no document (nothing is shown then).
    QWidget *show(DocumentationPages::Button button, const QString &typeEntry);

private:
    Folivo *viewer();

    QStackedWidget *m_work;
    std::function<int()> m_language;
    Folivo *m_viewer = nullptr;
};
