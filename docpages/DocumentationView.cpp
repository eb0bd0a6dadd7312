#include "docpages/DocumentationView.h"

#include "common/Lang.h"
#include "common/MessageBox.h"
#include "common/Named.h"
#include "viewer/Folivo.h"

#include <QStackedWidget>

DocumentationView::DocumentationView(QStackedWidget *work, std::function<int()> language, QObject *parent)
    : QObject(parent), m_work(work), m_language(std::move(language))
{
}

Folivo *DocumentationView::viewer()
{
    if (m_viewer) return m_viewer;
    m_viewer = named(new Folivo(m_work), "Folivo1");
    m_work->addWidget(m_viewer);
    m_viewer->remoteFailed = [this](Folivo::RemoteFailure why) {
        using DocumentationPages::FetchFault;
        const FetchFault fault = why == Folivo::RemoteFailure::TooLarge   ? FetchFault::TooLarge
                                 : why == Folivo::RemoteFailure::TimedOut ? FetchFault::TimedOut
                                                                          : FetchFault::Failed;
        if (why != Folivo::RemoteFailure::None)
            MessageBox::information(m_work->window(), Lang::warningTitle(m_language()),
                                    DocumentationPages::notFetchedText(fault, m_language()));
    };
    return m_viewer;
}

QWidget *DocumentationView::show(DocumentationPages::Button button, const QString &typeEntry)
{
    const QString document = DocumentationPages::documentFor(button, typeEntry, m_language());
    if (document.isEmpty()) return nullptr;
    Folivo *v = viewer();
    m_work->setCurrentWidget(v);
    v->setPath(document);
    v->OpenPDF();
    return v;
}
