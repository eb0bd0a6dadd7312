#pragma once

#include "folivo_export.h"

#include <QtCore/QByteArray>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtWidgets/QWidget>

#include <chrono>
#include <functional>

class QBuffer;
class QTimer;
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

    // Bounds of a fetch over http. A fetch that exceeds one is abandoned: the connection is
    // closed at once and the browser is hidden, as after any other document that cannot be
    // shown. The whole document is held in memory, so its size is bounded; a server that stops
    // sending, or sends too slowly to finish, does not keep a fetch open for ever.
    struct RemoteLimits
    {
        qint64 maxBytes;                 // larger documents are refused
        std::chrono::milliseconds stall; // nothing at all arrives for this long
        std::chrono::milliseconds total; // the whole fetch, from the request on
    };
    // A documentation PDF is a few megabytes; 64 MiB leaves room for a manual full of scanned
    // pictures. At 64 MiB the total bound asks for about 2 Mbit/s; ordinary documents much less.
    static constexpr RemoteLimits DefaultRemoteLimits{64 * 1024 * 1024, std::chrono::seconds(30),
                                                      std::chrono::minutes(5)};
    RemoteLimits remoteLimits() const { return m_limits; }
    // Applies to fetches started afterwards.
    void setRemoteLimits(const RemoteLimits &limits) { m_limits = limits; }

    // Why the last fetch over http did not give a document, for a host that wants to say so.
    enum class RemoteFailure
    {
        None,     // no fetch yet, one under way, stopped by the host, or the document arrived
        TooLarge, // larger than RemoteLimits::maxBytes (announced or counted)
        TimedOut, // a stall or the whole fetch took too long
        Failed,   // the server or the network reported an error
    };
    RemoteFailure remoteFailure() const { return m_remoteFailure; }

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

    // Called when a fetch over http gave no document (the browser is then hidden), so that a
    // host may tell the person why. A plain member, not a signal: the control's published
    // members stay as they are.
    std::function<void(RemoteFailure)> remoteFailed;

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
    void remoteHeaders(QNetworkReply *reply);
    void remoteData(QNetworkReply *reply);
    bool takeRemoteBytes(QNetworkReply *reply);
    void remoteFinished(QNetworkReply *reply);
    void abandonRemote(RemoteFailure why);
    void failRemote(RemoteFailure why);
    void layoutBrowser();

    QString m_path;
    QString m_home;
    QPdfDocument *m_document = nullptr;
    QPdfView *m_browser = nullptr;
    QNetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_body; // what the fetch under way has brought so far
    QTimer *m_stallTimer = nullptr;
    QTimer *m_totalTimer = nullptr;
    RemoteLimits m_limits = DefaultRemoteLimits;
    RemoteFailure m_remoteFailure = RemoteFailure::None;
    QBuffer *m_buffer = nullptr;
};
