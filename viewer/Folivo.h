#pragma once

#include "folivo_export.h"

#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtWidgets/QWidget>

class QBuffer;
class QNetworkAccessManager;
class QNetworkReply;
class QPdfDocument;
class QPdfView;

// Folivo: an embeddable PDF viewer control.
//
// The control hosts one child, "WebBrowser1", that fills the whole control and shows the
// document. The browser is hidden until OpenPDF succeeds and is hidden again whenever an
// OpenPDF call fails, so a host never shows a stale document after a failed open.
//
// The members a host drives by name (Path, GoHome, Quit, StopOpening, OpenPDF, CloseAcrobat)
// are published through the meta-object in that order; each one's description is a class
// info entry under the member's name. None of them ever throws: failures are reported
// through the result (or ignored, for the methods without one).
class FOLIVO_EXPORT Folivo : public QWidget
{
    Q_OBJECT
    Q_CLASSINFO("ProgId", "Folivant.Folivo")
    Q_CLASSINFO("Path", "Returns/sets PDF file path.")
    Q_CLASSINFO("GoHome", "Method to go to the home PDF file (the last PDF opened with method OpenPDF).")
    Q_CLASSINFO("Quit", "Method to close the current open file.")
    Q_CLASSINFO("StopOpening", "Method to stop opening the file.")
    Q_CLASSINFO("OpenPDF", "Method to open a PDF file.")
    Q_CLASSINFO("CloseAcrobat", "Method to close Acrobat.")
    Q_PROPERTY(QString Path READ path WRITE setPath)

public:
    static constexpr const char *ProgId = "Folivant.Folivo";

    explicit Folivo(QWidget *parent = nullptr);
    ~Folivo() override;

    QString path() const;
    void setPath(const QString &path);

    // The cleaned path (lower case, trimmed) of the last document OpenPDF opened; GoHome
    // returns to it. Empty until the first successful OpenPDF.
    QString homeDocument() const;

    QPdfDocument *document() const;
    QPdfView *browser() const;
    // True while a document is still being fetched over http.
    bool isOpening() const;

    Q_INVOKABLE void GoHome();
    Q_INVOKABLE void Quit();
    Q_INVOKABLE void StopOpening();
    Q_INVOKABLE bool OpenPDF(const QString &strPath = QString());
    Q_INVOKABLE bool CloseAcrobat();

    // The path as OpenPDF works with it: cut at the first NUL, lower case, trimmed.
    static QString cleanPath(const QString &path);
    // `path` itself when it exists; otherwise the existing file whose path matches it without
    // regard to case, component by component; empty when there is none.
    static QString resolveLocalFile(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool openCleaned(const QString &cleaned);
    bool navigate(const QString &cleaned);
    bool navigateLocal(const QString &cleaned);
    bool navigateRemote(const QString &cleaned);
    void cancelRemote();
    void closeDocument();
    void remoteFinished(QNetworkReply *reply);
    void layoutBrowser();

    QString m_path;
    QString m_home;
    QPdfDocument *m_document = nullptr;
    QPdfView *m_browser = nullptr;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QBuffer *m_buffer = nullptr;
};
