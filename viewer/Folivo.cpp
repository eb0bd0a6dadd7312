#include "Folivo.h"

#include "ReaderWindowCloser.h"

#include <algorithm>
#include <utility>

#include <QtCore/QBuffer>
#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtCore/QUrl>
#include <QtGui/QResizeEvent>
#include <QtGui/QShowEvent>
#include <QtNetwork/QNetworkAccessManager>
#include <QtNetwork/QNetworkReply>
#include <QtNetwork/QNetworkRequest>
#include <QtPdf/QPdfDocument>
#include <QtPdfWidgets/QPdfView>

namespace {

bool isRemote(const QString &cleaned)
{
    return cleaned.startsWith(QLatin1String("http"));
}

// How much the network layer may hold that has not been read yet: reading on every readyRead
// keeps the fetched bytes in one place, where they are counted against the size bound.
constexpr qint64 kReplyBufferBytes = 256 * 1024;

} // namespace

Folivo::Folivo(QWidget *parent) : QWidget(parent)
{
    m_document = new QPdfDocument(this);
    m_browser = new QPdfView(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setPageMode(QPdfView::PageMode::MultiPage);
    m_browser->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    m_browser->setDocument(m_document);
    m_browser->hide();
    layoutBrowser();

    m_stallTimer = new QTimer(this);
    m_stallTimer->setSingleShot(true);
    connect(m_stallTimer, &QTimer::timeout, this, [this] { abandonRemote(RemoteFailure::TimedOut); });
    m_totalTimer = new QTimer(this);
    m_totalTimer->setSingleShot(true);
    connect(m_totalTimer, &QTimer::timeout, this, [this] { abandonRemote(RemoteFailure::TimedOut); });
}

Folivo::~Folivo()
{
    closeDocument();
}

QString Folivo::path() const
{
    return m_path;
}

void Folivo::setPath(const QString &path)
{
    m_path = path;
}

QString Folivo::homeDocument() const
{
    return m_home;
}

QPdfDocument *Folivo::document() const
{
    return m_document;
}

QPdfView *Folivo::browser() const
{
    return m_browser;
}

bool Folivo::isOpening() const
{
    return !m_reply.isNull();
}

QString Folivo::cleanPath(const QString &path)
{
    QString cleaned = path;
    const qsizetype nul = cleaned.indexOf(QChar(u'\0'));
    if (nul >= 0) cleaned.truncate(nul);
    return cleaned.toLower().trimmed();
}

QString Folivo::resolveLocalFile(const QString &path)
{
    if (path.isEmpty()) return {};
    if (QFileInfo::exists(path)) return path;

    // The exact path is missing: on a file system that tells case apart, walk the absolute
    // path and match every component that does not exist as written against the directory's
    // entries without regard to case.
    const QString absolute = QDir::fromNativeSeparators(QFileInfo(path).absoluteFilePath());
    const QStringList parts = absolute.split(u'/');
    QString resolved = parts.first() + u'/'; // "" on Unix ("/"), "c:" on Windows ("c:/")
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            if (!part.isEmpty()) resolved += part + u'/';
            continue;
        }
        QString next = resolved + part;
        if (!QFileInfo::exists(next)) {
            const QStringList entries = QDir(resolved).entryList(
                QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
            const auto match = std::find_if(entries.cbegin(), entries.cend(), [&](const QString &e) {
                return e.compare(part, Qt::CaseInsensitive) == 0;
            });
            if (match == entries.cend()) return {};
            next = resolved + *match;
        }
        resolved = (i + 1 < parts.size()) ? next + u'/' : next;
    }
    return QFileInfo::exists(resolved) ? resolved : QString();
}

bool Folivo::OpenPDF(const QString &strPath)
{
    try {
        const QString requested = strPath.trimmed().isEmpty() ? m_path : strPath;
        return openCleaned(cleanPath(requested));
    } catch (...) {
        m_browser->hide();
        return false;
    }
}

bool Folivo::openCleaned(const QString &cleaned)
{
    if (cleaned.isEmpty() || !cleaned.endsWith(QLatin1String("pdf"))) {
        m_browser->hide();
        return false;
    }
    if (!isRemote(cleaned)) {
        const QFileInfo file(resolveLocalFile(cleaned));
        if (!file.isFile()) {
            m_browser->hide();
            return false;
        }
    }

    // Let the host repaint before a possibly long load; the host may delete the control
    // from one of these events, so nothing of it is touched afterwards in that case.
    QPointer<Folivo> self(this);
    QCoreApplication::processEvents();
    if (!self) return false;

    if (!navigate(cleaned)) {
        m_browser->hide();
        return false;
    }
    m_home = cleaned;
    m_browser->show();
    return true;
}

bool Folivo::navigate(const QString &cleaned)
{
    closeDocument();
    return isRemote(cleaned) ? navigateRemote(cleaned) : navigateLocal(cleaned);
}

bool Folivo::navigateLocal(const QString &cleaned)
{
    const QString file = resolveLocalFile(cleaned);
    return !file.isEmpty() && m_document->load(file) == QPdfDocument::Error::None;
}

bool Folivo::navigateRemote(const QString &cleaned)
{
    // Anything that merely starts with "http" but is no usable web address cannot be fetched;
    // a request for it would only fail later, after OpenPDF had reported success.
    const QUrl url(cleaned);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return false;

    if (!m_network) m_network = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    // The document as it is stored: a compressed body would be inflated out of sight of the
    // size bound, and its announced length would say nothing about the document's.
    request.setRawHeader("Accept-Encoding", "identity");
    QNetworkReply *reply = m_network->get(request);
    reply->setReadBufferSize(kReplyBufferBytes);
    m_reply = reply;
    m_remoteFailure = RemoteFailure::None;
    m_body.clear();
    connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] { remoteHeaders(reply); });
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { remoteData(reply); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { remoteFinished(reply); });
    m_stallTimer->start(m_limits.stall);
    m_totalTimer->start(m_limits.total);
    return true;
}

void Folivo::remoteHeaders(QNetworkReply *reply)
{
    try {
        if (reply != m_reply) return;
        m_stallTimer->start(m_limits.stall);
        // A server that announces more than the bound is not listened to any further.
        bool known = false;
        const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong(&known);
        if (known && announced > m_limits.maxBytes) abandonRemote(RemoteFailure::TooLarge);
    } catch (...) {
        abandonRemote(RemoteFailure::Failed);
    }
}

void Folivo::remoteData(QNetworkReply *reply)
{
    try {
        if (reply != m_reply) return;
        m_stallTimer->start(m_limits.stall);
        if (!takeRemoteBytes(reply)) abandonRemote(RemoteFailure::TooLarge);
    } catch (...) {
        abandonRemote(RemoteFailure::Failed);
    }
}

bool Folivo::takeRemoteBytes(QNetworkReply *reply)
{
    // Never more than one byte past the bound is taken: that byte tells the document is too
    // large, whatever the server announced.
    m_body += reply->read(m_limits.maxBytes - m_body.size() + 1);
    return m_body.size() <= m_limits.maxBytes;
}

void Folivo::abandonRemote(RemoteFailure why)
{
    QNetworkReply *reply = m_reply;
    if (!reply) return;
    cancelRemote();
    failRemote(why);
}

void Folivo::failRemote(RemoteFailure why)
{
    m_remoteFailure = why;
    m_browser->hide();
    if (remoteFailed) remoteFailed(why);
}

void Folivo::remoteFinished(QNetworkReply *reply)
{
    try {
        reply->deleteLater();
        if (reply != m_reply) return; // superseded by a later navigation, stopped or abandoned
        m_reply.clear();
        m_stallTimer->stop();
        m_totalTimer->stop();

        if (reply->error() != QNetworkReply::NoError) {
            m_body.clear();
            if (reply->error() != QNetworkReply::OperationCanceledError) failRemote(RemoteFailure::Failed);
            return;
        }
        if (!takeRemoteBytes(reply)) { // whatever came with the end
            m_body.clear();
            failRemote(RemoteFailure::TooLarge);
            return;
        }

        // QPdfDocument cannot read a network reply directly: hand it the complete body in a
        // buffer that lives as long as the document uses it.
        auto *buffer = new QBuffer(this);
        buffer->setData(std::exchange(m_body, QByteArray()));
        buffer->open(QIODevice::ReadOnly);
        m_buffer = buffer;
        m_document->load(buffer);
        if (m_document->status() == QPdfDocument::Status::Error)
            m_browser->hide();
        else
            connect(m_document, &QPdfDocument::statusChanged, buffer, [this](QPdfDocument::Status s) {
                if (s == QPdfDocument::Status::Error) m_browser->hide();
            });
    } catch (...) {
        m_browser->hide();
    }
}

void Folivo::cancelRemote()
{
    m_stallTimer->stop();
    m_totalTimer->stop();
    m_body.clear();
    if (QNetworkReply *reply = m_reply) {
        m_reply.clear();
        reply->abort();
    }
}

void Folivo::closeDocument()
{
    cancelRemote();
    m_document->close();
    // The buffer of a fetched document goes with it, and so does its error watch.
    delete m_buffer;
    m_buffer = nullptr;
}

void Folivo::GoHome()
{
    try {
        if (m_home.isEmpty()) return;
        navigate(m_home);
    } catch (...) {
    }
}

void Folivo::Quit()
{
    try {
        closeDocument();
    } catch (...) {
    }
}

void Folivo::StopOpening()
{
    try {
        cancelRemote();
    } catch (...) {
    }
}

bool Folivo::CloseAcrobat()
{
    try {
        return folivo::closeReaderWindow();
    } catch (...) {
        return false;
    }
}

void Folivo::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Start with an empty area rather than a blank viewer. A document that is open or on its
    // way stays visible: the control is shown again after every tab switch or restore.
    if (m_document->status() != QPdfDocument::Status::Ready &&
        m_document->status() != QPdfDocument::Status::Loading && !isOpening())
        m_browser->hide();
    layoutBrowser();
}

void Folivo::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutBrowser();
}

void Folivo::layoutBrowser()
{
    m_browser->setGeometry(0, 0, width(), height());
}
