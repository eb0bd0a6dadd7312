#include "viewer/Folivo.h"
#include "viewer/FolivoFactory.h"

#include <QtCore/QHash>
#include <QtCore/QPluginLoader>
#include <QtCore/QProcess>
#include <QtCore/QTimer>
#include <QtGui/QPainter>
#include <QtGui/QPdfWriter>
#include <QtNetwork/QTcpServer>
#include <QtNetwork/QTcpSocket>
#include <QtPdf/QPdfDocument>
#include <QtPdfWidgets/QPdfView>
#include <QtTest/QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A PDF of `pages` pages, drawn with shapes only so that no font is needed.
QByteArray pdfBytes(int pages)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        QPainter painter(&writer);
        for (int page = 0; page < pages; ++page) {
            if (page > 0) writer.newPage();
            painter.drawRect(100, 100, 800, 600);
        }
    }
    return buffer.data();
}

bool shown(const Folivo &f)
{
    return !f.browser()->isHidden();
}

// Serves /doc.pdf (two pages), /page.pdf (HTML), /slow.pdf (a few bytes, then nothing) and 404
// for anything else; and the servers a fetch must be protected from:
//   /nolength.pdf   the two pages without Content-Length, ended by closing the connection
//   /huge.pdf       announces 1 GiB, then sends nothing
//   /flood.pdf      no Content-Length, 16 KiB every 2 ms until the client goes (at most 64 MiB)
//   /silent.pdf     headers, then nothing
//   /trickle.pdf    headers, then one byte every 20 ms
class PdfServer : public QTcpServer
{
public:
    PdfServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                serve(socket);
        });
    }
    QString url(const char *name) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(QLatin1String(name));
    }

    int slowRequests = 0;
    int slowDisconnects = 0;
    QHash<QByteArray, int> disconnects; // by target
    QHash<QByteArray, qint64> bodySent; // by target, summed over requests

private:
    // Sends `chunk` every `everyMs` until the client goes or `limit` bytes are out.
    void stream(QTcpSocket *socket, const QByteArray &target, const QByteArray &chunk, int everyMs,
                qint64 limit)
    {
        auto *timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, [this, socket, target, chunk, limit, timer] {
            if (socket->state() != QAbstractSocket::ConnectedState || bodySent[target] >= limit) {
                timer->stop();
                return;
            }
            socket->write(chunk);
            bodySent[target] += chunk.size();
        });
        timer->start(everyMs);
    }

    void serve(QTcpSocket *socket)
    {
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            *request += socket->readAll();
            if (!request->contains("\r\n\r\n")) return;
            const QByteArray target = request->split(' ').value(1);
            connect(socket, &QTcpSocket::disconnected, this, [this, target] { ++disconnects[target]; });
            QByteArray status = "200 OK", body = pdfBytes(2);
            if (target == "/slow.pdf") {
                ++slowRequests;
                connect(socket, &QTcpSocket::disconnected, this, [this] { ++slowDisconnects; });
                socket->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                              "\r\n\r\n" + body.left(64));
                return;
            }
            if (target == "/nolength.pdf") {
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Type: application/pdf\r\nConnection: close\r\n\r\n" + body);
                socket->disconnectFromHost();
                return;
            }
            if (target == "/huge.pdf") {
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Type: application/pdf\r\nContent-Length: 1073741824\r\n\r\n");
                return;
            }
            if (target == "/flood.pdf") {
                socket->write(
                    "HTTP/1.1 200 OK\r\nContent-Type: application/pdf\r\nConnection: close\r\n\r\n");
                stream(socket, target, QByteArray(16 * 1024, 'x'), 2, 64 * 1024 * 1024);
                return;
            }
            if (target == "/silent.pdf" || target == "/trickle.pdf") {
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/pdf\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\n\r\n");
                if (target == "/trickle.pdf") stream(socket, target, body.left(1), 20, body.size() - 1);
                return;
            }
            if (target == "/page.pdf")
                body = "<html><body>not a document</body></html>";
            else if (target != "/doc.pdf")
                status = "404 Not Found";
            socket->write("HTTP/1.1 " + status + "\r\nContent-Type: application/pdf\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
    }
};

} // namespace

class TestFolivo : public QObject
{
    Q_OBJECT

    QString file(const QString &relative) const { return m_root + u'/' + relative; }

    // Named in lower case, so that only the tests meant to rely on resolving names without
    // regard to case do so.
    QString m_root;
    PdfServer m_server;

private slots:
    void cleanupTestCase() { QDir(m_root).removeRecursively(); }

    void initTestCase()
    {
        m_root = QDir::tempPath() + QStringLiteral("/tst_folivo_%1").arg(QCoreApplication::applicationPid());
        const QList<QPair<QString, QByteArray>> files = {
            {u"manuals/handbook.pdf"_s, pdfBytes(2)},
            {u"manuals/notes.txt"_s, QByteArray("plain text")},
            {u"manuals/broken.pdf"_s, QByteArray("this is not a document")},
            {u"Mixed_Docs/ZK2412_NL.pdf"_s, pdfBytes(3)},
            {u"twins/zk2412_nl.pdf"_s, pdfBytes(1)},
            {u"twins/ZK2412_NL.pdf"_s, pdfBytes(3)},
        };
        for (const auto &[name, data] : files) {
            QVERIFY(QDir().mkpath(QFileInfo(file(name)).absolutePath()));
            QFile out(file(name));
            QVERIFY(out.open(QIODevice::WriteOnly) && out.write(data) == data.size());
        }
        QVERIFY(QDir().mkpath(file(u"manuals/folder.pdf"_s)));
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
    }

    void upperCasePathOpensLowerCaseFileAndBecomesHome()
    {
        Folivo f;
        QVERIFY(f.OpenPDF(u"  "_s + file(u"manuals/handbook.pdf"_s).toUpper() + u"  "_s));
        QCOMPARE(f.document()->pageCount(), 2);
        QVERIFY(shown(f));
        QCOMPARE(f.homeDocument(), file(u"manuals/handbook.pdf"_s).toLower());
        QVERIFY(f.path().isEmpty());

        // Everything from the first NUL on is ignored.
        QVERIFY(f.OpenPDF(file(u"twins/zk2412_nl.pdf"_s) + QChar(u'\0') + u"junk.txt"_s));
        QCOMPARE(f.homeDocument(), file(u"twins/zk2412_nl.pdf"_s).toLower());
    }

    void openWithoutArgumentUsesPath()
    {
        Folivo f;
        QVERIFY(!f.OpenPDF());
        QVERIFY(!shown(f));

        // Path set through the meta-object, OpenPDF called without argument or with blanks.
        QVERIFY(f.setProperty("Path", file(u"manuals/handbook.pdf"_s)));
        bool opened = false;
        QVERIFY(QMetaObject::invokeMethod(&f, "OpenPDF", Q_RETURN_ARG(bool, opened)));
        QVERIFY(opened);
        QCOMPARE(f.document()->pageCount(), 2);
        f.setPath(file(u"twins/zk2412_nl.pdf"_s));
        QVERIFY(f.OpenPDF(u"   "_s));
        QCOMPARE(f.document()->pageCount(), 1);
        QVERIFY(shown(f));

        f.setPath(QString());
        QVERIFY(!f.OpenPDF());
        QVERIFY(!shown(f));
        QCOMPARE(f.homeDocument(), file(u"twins/zk2412_nl.pdf"_s).toLower());
    }

    void rejectedPathsHideTheDocument_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << file(u"manuals/absent.pdf"_s);
        QTest::newRow("text file") << file(u"manuals/notes.txt"_s);
        QTest::newRow("text file before NUL") << file(u"manuals/notes.txt"_s) + QChar(u'\0') + u".pdf"_s;
        QTest::newRow("NUL first") << QChar(u'\0') + file(u"manuals/handbook.pdf"_s);
        QTest::newRow("not a document") << file(u"manuals/broken.pdf"_s);
        QTest::newRow("directory") << file(u"manuals/folder.pdf"_s);
        QTest::newRow("no dot before pdf") << file(u"manuals/handbookpdf"_s);
        QTest::newRow("no web address") << QStringLiteral("httpdocs/handbook.pdf");
    }

    void rejectedPathsHideTheDocument()
    {
        QFETCH(QString, path);
        Folivo f;
        QVERIFY(f.OpenPDF(file(u"manuals/handbook.pdf"_s)));
        QVERIFY(!f.OpenPDF(path));
        QVERIFY(!shown(f));
        QCOMPARE(f.homeDocument(), file(u"manuals/handbook.pdf"_s).toLower());
    }

    void goHome()
    {
        Folivo f;
        f.GoHome();
        QCOMPARE(f.document()->status(), QPdfDocument::Status::Null);
        QVERIFY(!shown(f));

        QVERIFY(f.OpenPDF(file(u"manuals/handbook.pdf"_s)));
        f.Quit();
        QCOMPARE(f.document()->pageCount(), 0);
        f.GoHome();
        QCOMPARE(f.document()->pageCount(), 2);

        // After a failed open, going home reopens the document but leaves it hidden.
        QVERIFY(!f.OpenPDF(file(u"manuals/absent.pdf"_s)));
        f.GoHome();
        QCOMPARE(f.document()->pageCount(), 2);
        QVERIFY(!shown(f));
    }

    void caseInsensitiveResolution()
    {
        Folivo f;
        QVERIFY(f.OpenPDF(file(u"Mixed_Docs/ZK2412_NL.pdf"_s)));
        QCOMPARE(f.document()->pageCount(), 3);
        QCOMPARE(f.homeDocument(), file(u"mixed_docs/zk2412_nl.pdf"_s).toLower());
        f.Quit();
        f.GoHome();
        QCOMPARE(f.document()->pageCount(), 3);

        // When the lower-case name exists it is the one opened.
        QVERIFY(f.OpenPDF(file(u"twins/ZK2412_NL.pdf"_s)));
        QCOMPARE(f.document()->pageCount(), 1);
        QVERIFY(Folivo::resolveLocalFile(file(u"mixed_docs/zk2412_nl.pdf/x"_s)).isEmpty());
    }

    void httpDocumentOpens()
    {
        Folivo f;
        QVERIFY(f.OpenPDF(m_server.url("doc.pdf").toUpper()));
        QVERIFY(shown(f));
        QCOMPARE(f.homeDocument(), m_server.url("doc.pdf"));
        QTRY_COMPARE(f.document()->status(), QPdfDocument::Status::Ready);
        QCOMPARE(f.document()->pageCount(), 2);
        QVERIFY(!f.isOpening());
        QVERIFY(shown(f));

        f.Quit();
        f.GoHome();
        QTRY_COMPARE(f.document()->pageCount(), 2);
    }

    void httpFailureHidesBrowser()
    {
        for (const char *name : {"missing.pdf", "page.pdf"}) {
            Folivo f;
            QVERIFY(f.OpenPDF(m_server.url(name))); // an address is not checked before the request
            QVERIFY(shown(f));
            QTRY_VERIFY2(!shown(f), name);
            QVERIFY(!f.isOpening());
            QCOMPARE(f.remoteFailure(), qstrcmp(name, "missing.pdf") == 0 ? Folivo::RemoteFailure::Failed
                                                                          : Folivo::RemoteFailure::None);
        }
    }

    void stopOpeningCancelsSlowLoad()
    {
        Folivo f;
        const int before = m_server.slowDisconnects;
        QVERIFY(f.OpenPDF(m_server.url("slow.pdf")));
        QVERIFY(f.isOpening());
        QTRY_COMPARE(m_server.slowRequests, 1);
        f.StopOpening();
        QVERIFY(!f.isOpening());
        QCOMPARE(f.remoteFailure(), Folivo::RemoteFailure::None); // stopped, not failed
        QTRY_COMPARE(m_server.slowDisconnects, before + 1);
        QVERIFY(f.document()->status() != QPdfDocument::Status::Ready);

        // A later open supersedes a load still under way.
        QVERIFY(f.OpenPDF(m_server.url("slow.pdf")));
        QTRY_COMPARE(m_server.slowRequests, 2);
        QVERIFY(f.OpenPDF(file(u"twins/zk2412_nl.pdf"_s)));
        QVERIFY(!f.isOpening());
        QTRY_COMPARE(m_server.slowDisconnects, before + 2);
        QCOMPARE(f.document()->pageCount(), 1);
    }

    // The size bound holds to the byte, whether the server announces the length or not.
    void httpSizeBoundIsExact_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("announced") << QByteArray("doc.pdf");
        QTest::newRow("counted") << QByteArray("nolength.pdf");
    }
    void httpSizeBoundIsExact()
    {
        QFETCH(QByteArray, name);
        const qint64 size = pdfBytes(2).size();
        Folivo f;
        QCOMPARE(f.remoteLimits().maxBytes, qint64(64) * 1024 * 1024);
        f.setRemoteLimits({size, std::chrono::seconds(10), std::chrono::seconds(10)});
        QVERIFY(f.OpenPDF(m_server.url(name.constData())));
        QTRY_COMPARE(f.document()->status(), QPdfDocument::Status::Ready);
        QVERIFY(shown(f));
        QCOMPARE(f.remoteFailure(), Folivo::RemoteFailure::None);

        f.setRemoteLimits({size - 1, std::chrono::seconds(10), std::chrono::seconds(10)});
        QVERIFY(f.OpenPDF(m_server.url(name.constData())));
        QTRY_VERIFY(!f.isOpening());
        QCOMPARE(f.remoteFailure(), Folivo::RemoteFailure::TooLarge);
        QVERIFY(!shown(f));
        QVERIFY(f.document()->status() != QPdfDocument::Status::Ready);
    }

    // A server that announces or sends more than the bound is dropped at once: the fetch does
    // not wait for the body, nor read on past the bound.
    void httpOversizedFetchIsAbandoned_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("announced") << QByteArray("huge.pdf");
        QTest::newRow("counted") << QByteArray("flood.pdf");
    }
    void httpOversizedFetchIsAbandoned()
    {
        QFETCH(QByteArray, name);
        const QByteArray target = '/' + name;
        const int before = m_server.disconnects.value(target);
        const qint64 sentBefore = m_server.bodySent.value(target);
        Folivo f;
        // Time-outs far beyond the test's wait: only the size bound can end these fetches.
        f.setRemoteLimits({256 * 1024, std::chrono::minutes(1), std::chrono::minutes(1)});
        QList<Folivo::RemoteFailure> failed;
        f.remoteFailed = [&](Folivo::RemoteFailure why) { failed << why; };
        QVERIFY(f.OpenPDF(m_server.url(name.constData())));
        QVERIFY(shown(f));
        QTRY_VERIFY(!f.isOpening());
        QCOMPARE(f.remoteFailure(), Folivo::RemoteFailure::TooLarge);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first(), Folivo::RemoteFailure::TooLarge);
        QVERIFY(!shown(f));
        QTRY_COMPARE(m_server.disconnects.value(target), before + 1);
        QVERIFY2(m_server.bodySent.value(target) - sentBefore < 8 * 1024 * 1024,
                 QByteArray::number(m_server.bodySent.value(target) - sentBefore).constData());
        QCOMPARE(f.homeDocument(), m_server.url(name.constData())); // OpenPDF itself had succeeded

        // The control goes on working, and a fetch that succeeds leaves no timer behind.
        f.setRemoteLimits({256 * 1024, std::chrono::milliseconds(100), std::chrono::milliseconds(300)});
        QVERIFY(f.OpenPDF(m_server.url("doc.pdf")));
        QTRY_COMPARE(f.document()->status(), QPdfDocument::Status::Ready);
        QTest::qWait(400);
        QVERIFY(shown(f));
        QCOMPARE(f.remoteFailure(), Folivo::RemoteFailure::None);
    }

    // A server that stops sending, or sends too slowly to finish, is given up on.
    void httpFetchTimesOut_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("headers, then nothing") << QByteArray("silent.pdf");
        QTest::newRow("a byte now and then") << QByteArray("trickle.pdf");
    }
    void httpFetchTimesOut()
    {
        QFETCH(QByteArray, name);
        const QByteArray target = '/' + name;
        const int before = m_server.disconnects.value(target);
        Folivo f;
        // The trickle's bytes come 20 ms apart, well within the stall bound: only the total
        // bound ends it.
        f.setRemoteLimits({Folivo::DefaultRemoteLimits.maxBytes, std::chrono::milliseconds(200),
                           std::chrono::milliseconds(600)});
        QList<Folivo::RemoteFailure> failed;
        f.remoteFailed = [&](Folivo::RemoteFailure why) { failed << why; };
        QVERIFY(f.OpenPDF(m_server.url(name.constData())));
        QVERIFY(f.isOpening());
        QTRY_VERIFY(!f.isOpening());
        QCOMPARE(f.remoteFailure(), Folivo::RemoteFailure::TimedOut);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first(), Folivo::RemoteFailure::TimedOut);
        QVERIFY(!shown(f));
        QTRY_COMPARE(m_server.disconnects.value(target), before + 1);
        QVERIFY(f.document()->status() != QPdfDocument::Status::Ready);
    }

    void publishedMembers()
    {
        const QList<QPair<QString, QString>> expected = {
            {u"Path"_s, u"Returns/sets PDF file path."_s},
            {u"GoHome"_s, u"Method to go to the home PDF file (the last PDF opened with method OpenPDF)."_s},
            {u"Quit"_s, u"Method to close the current open file."_s},
            {u"StopOpening"_s, u"Method to stop opening the file."_s},
            {u"OpenPDF"_s, u"Method to open a PDF file."_s},
            {u"CloseAcrobat"_s, u"Method to close Acrobat."_s},
        };
        const QMetaObject *mo = &Folivo::staticMetaObject;
        QList<QPair<QString, QString>> members;
        const auto add = [&](const QString &name) {
            if (members.isEmpty() || members.last().first != name) // OpenPDF is listed twice
                members.append(
                    {name, QString::fromUtf8(mo->classInfo(mo->indexOfClassInfo(qPrintable(name))).value())});
        };
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
            add(QString::fromLatin1(mo->property(i).name()));
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            if (mo->method(i).access() == QMetaMethod::Public) add(QString::fromLatin1(mo->method(i).name()));
        }
        QCOMPARE(members, expected);

        QVERIFY(mo->property(mo->indexOfProperty("Path")).isWritable());
        const QMetaMethod open = mo->method(mo->indexOfMethod("OpenPDF(QString)"));
        QCOMPARE(open.parameterNames(), QList<QByteArray>{"strPath"});
        QCOMPARE(open.returnMetaType(), QMetaType::fromType<bool>());
        QCOMPARE(mo->method(mo->indexOfMethod("CloseAcrobat()")).returnMetaType(),
                 QMetaType::fromType<bool>());
    }

    void pluginCreatesControl()
    {
        QPluginLoader loader(QStringLiteral(FOLIVO_PLUGIN_PATH));
        auto *factory = qobject_cast<FolivoControlFactory *>(loader.instance());
        QVERIFY2(factory, qPrintable(loader.errorString()));
        QCOMPARE(factory->keys(), QStringList{u"Folivant.Folivo"_s});

        QWidget host;
        QWidget *control = factory->create(QStringLiteral("Folivant.Folivo"), &host);
        QVERIFY(qobject_cast<Folivo *>(control));
        QCOMPARE(control->parentWidget(), &host);
        QVERIFY(control->findChild<QPdfView *>(u"WebBrowser1"_s));
        QVERIFY(!factory->create(QStringLiteral("Folivant.Other"), &host));
    }

    void browserFillsControlAndShowKeepsOpenDocument()
    {
        Folivo f;
        f.resize(320, 200);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.browser()->geometry(), QRect(0, 0, 320, 200));
        f.resize(400, 250);
        QTRY_COMPARE(f.browser()->geometry(), QRect(0, 0, 400, 250));

        // Showing the control again (a tab switch, a restore) keeps an open document visible...
        QVERIFY(f.OpenPDF(file(u"manuals/handbook.pdf"_s)));
        f.hide();
        f.show();
        QVERIFY(f.browser()->isVisible());
        // ...but not an empty viewer.
        f.Quit();
        f.hide();
        f.show();
        QVERIFY(!shown(f));
    }

    // The X11 cases run in the xvfb test (QT_QPA_PLATFORM=xcb on a private X server).
    void closeAcrobatClosesReaderWindow()
    {
        // Only on the private display of the xvfb test: it must not close a reader on a desktop in use.
        const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
        if (!x11 && !qEnvironmentVariableIsEmpty("DISPLAY")) QSKIP("an X display outside the xvfb test");
        Folivo f;
        QVERIFY(!f.CloseAcrobat()); // no reader window, or no X display at all
        const QString xlogo = QStandardPaths::findExecutable(QStringLiteral("xlogo"));
        if (!x11 || xlogo.isEmpty()) QSKIP("needs the xvfb test's X display and xlogo");

        QProcess reader;
        reader.start(xlogo, {u"-title"_s, u"adobe reader"_s});
        QVERIFY(reader.waitForStarted());
        // Nothing is sent while the window does not exist yet, so asking again is safe.
        const QDeadlineTimer deadline(10000);
        bool closed = false;
        while (!(closed = f.CloseAcrobat()) && !deadline.hasExpired())
            QTest::qWait(100);
        QVERIFY(closed);
        QVERIFY(reader.waitForFinished(5000));
    }

    void closeAcrobatDestroysUnresponsiveWindow()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb") || qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X11 display");
        // A window of this very thread cannot answer the close request while CloseAcrobat waits.
        QWidget reader;
        reader.setWindowTitle(QStringLiteral("Adobe Acrobat"));
        reader.show();
        QVERIFY(QTest::qWaitForWindowExposed(&reader));

        Folivo f;
        QVERIFY(f.CloseAcrobat());
        QVERIFY(!f.CloseAcrobat());
    }
};

QTEST_MAIN(TestFolivo)
#include "tst_folivo.moc"
