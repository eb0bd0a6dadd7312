#include "ReaderWindowCloser.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QLibrary>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QThread>
#include <QtCore/QtGlobal>

#include <type_traits>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace folivo {
namespace {

const char *const ReaderClass = "AdobeAcrobat";
const char *const ReaderTitles[] = {"adobe acrobat professional", "adobe acrobat", "adobe reader"};

// How long a window may take to honour the close request before it is destroyed.
constexpr int CloseGraceMs = 2000;

#ifdef Q_OS_WIN

bool closeWindow(HWND window)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, CloseGraceMs, &result);
    if (!IsWindow(window)) return true;
    return SendMessageTimeoutW(window, WM_DESTROY, 0, 0, SMTO_ABORTIFHUNG, CloseGraceMs, &result) != 0;
}

bool closeReaderWindowImpl()
{
    HWND window = FindWindowW(reinterpret_cast<LPCWSTR>(QString::fromLatin1(ReaderClass).utf16()), nullptr);
    for (const char *title : ReaderTitles) {
        if (window) break;
        window = FindWindowW(nullptr, reinterpret_cast<LPCWSTR>(QString::fromLatin1(title).utf16()));
    }
    return window && closeWindow(window);
}

#else

// The few Xlib types and calls needed, declared here so that libX11 is only needed at run time.
using Display = void;
using Window = unsigned long;
using Atom = unsigned long;
using Status = int;
using Bool = int;

struct XClassHint
{
    char *res_name;
    char *res_class;
};

struct XTextProperty
{
    unsigned char *value;
    Atom encoding;
    int format;
    unsigned long nitems;
};

struct XErrorEvent
{
    int type;
    Display *display;
    unsigned long resourceid;
    unsigned long serial;
    unsigned char error_code;
    unsigned char request_code;
    unsigned char minor_code;
};

struct XClientMessageEvent
{
    int type;
    unsigned long serial;
    Bool send_event;
    Display *display;
    Window window;
    Atom message_type;
    int format;
    long l[5];
};

union XEvent {
    int type;
    XClientMessageEvent xclient;
    long pad[24];
};

constexpr int ClientMessage = 33;
constexpr long NoEventMask = 0;

using XErrorHandler = int (*)(Display *, XErrorEvent *);

struct Xlib
{
    Display *(*openDisplay)(const char *) = nullptr;
    int (*closeDisplay)(Display *) = nullptr;
    Window (*defaultRootWindow)(Display *) = nullptr;
    Status (*queryTree)(Display *, Window, Window *, Window *, Window **, unsigned int *) = nullptr;
    Status (*getWMName)(Display *, Window, XTextProperty *) = nullptr;
    Status (*getClassHint)(Display *, Window, XClassHint *) = nullptr;
    Atom (*internAtom)(Display *, const char *, Bool) = nullptr;
    Status (*sendEvent)(Display *, Window, Bool, long, XEvent *) = nullptr;
    int (*destroyWindow)(Display *, Window) = nullptr;
    int (*sync)(Display *, Bool) = nullptr;
    int (*free)(void *) = nullptr;
    XErrorHandler (*setErrorHandler)(XErrorHandler) = nullptr;

    bool load(QLibrary &lib)
    {
        lib.setFileNameAndVersion(QStringLiteral("X11"), 6);
        if (!lib.load()) return false;
        auto get = [&lib](auto &fn, const char *name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(lib.resolve(name));
            return fn != nullptr;
        };
        return get(openDisplay, "XOpenDisplay") && get(closeDisplay, "XCloseDisplay") &&
               get(defaultRootWindow, "XDefaultRootWindow") && get(queryTree, "XQueryTree") &&
               get(getWMName, "XGetWMName") && get(getClassHint, "XGetClassHint") &&
               get(internAtom, "XInternAtom") && get(sendEvent, "XSendEvent") &&
               get(destroyWindow, "XDestroyWindow") && get(sync, "XSync") && get(free, "XFree") &&
               get(setErrorHandler, "XSetErrorHandler");
    }
};

// Xlib's default error handler ends the process, and a window of another program can vanish
// at any moment. While a search runs, errors on its own connection are recorded instead;
// errors on any other connection (the host's) still go to the handler installed before.
Display *g_trapDisplay = nullptr;
int g_trappedError = 0;
XErrorHandler g_previousHandler = nullptr;

int trapError(Display *display, XErrorEvent *event)
{
    if (display == g_trapDisplay) {
        g_trappedError = event->error_code;
        return 0;
    }
    return g_previousHandler ? g_previousHandler(display, event) : 0;
}

class Connection
{
public:
    explicit Connection(const Xlib &x) : m_x(x)
    {
        m_display = m_x.openDisplay(nullptr);
        if (!m_display) return;
        g_trapDisplay = m_display;
        g_trappedError = 0;
        g_previousHandler = m_x.setErrorHandler(&trapError);
    }

    ~Connection()
    {
        if (!m_display) return;
        m_x.sync(m_display, 0);
        m_x.setErrorHandler(g_previousHandler);
        g_trapDisplay = nullptr;
        g_previousHandler = nullptr;
        m_x.closeDisplay(m_display);
    }

    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    Display *display() const { return m_display; }

    QList<Window> children(Window parent) const
    {
        Window root = 0, up = 0, *list = nullptr;
        unsigned int count = 0;
        QList<Window> result;
        if (m_x.queryTree(m_display, parent, &root, &up, &list, &count) && list) {
            // Xlib lists children bottom to top; the topmost window is the one to find first.
            for (unsigned int i = count; i-- > 0;)
                result.append(list[i]);
        }
        if (list) m_x.free(list);
        return result;
    }

    bool exists(Window window) const
    {
        m_x.sync(m_display, 0);
        g_trappedError = 0;
        Window root = 0, up = 0, *list = nullptr;
        unsigned int count = 0;
        const Status ok = m_x.queryTree(m_display, window, &root, &up, &list, &count);
        if (list) m_x.free(list);
        return ok && g_trappedError == 0;
    }

    // WM_NAME whatever its encoding: Latin-1 text from older programs, UTF-8 from newer ones.
    QString title(Window window) const
    {
        XTextProperty name{nullptr, 0, 0, 0};
        QString result;
        if (m_x.getWMName(m_display, window, &name) && name.value && name.format == 8) {
            const auto *text = reinterpret_cast<const char *>(name.value);
            const auto size = qsizetype(name.nitems);
            result = name.encoding == utf8String() ? QString::fromUtf8(text, size)
                                                   : QString::fromLatin1(text, size);
        }
        if (name.value) m_x.free(name.value);
        return result;
    }

    Atom utf8String() const
    {
        if (!m_utf8String) m_utf8String = m_x.internAtom(m_display, "UTF8_STRING", 0);
        return m_utf8String;
    }

    bool hasClass(Window window, const char *wanted) const
    {
        XClassHint hint{nullptr, nullptr};
        bool match = false;
        if (m_x.getClassHint(m_display, window, &hint)) {
            const auto same = [wanted](const char *s) {
                return s && QString::fromLatin1(s).compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0;
            };
            match = same(hint.res_class) || same(hint.res_name);
        }
        if (hint.res_name) m_x.free(hint.res_name);
        if (hint.res_class) m_x.free(hint.res_class);
        return match;
    }

    void requestClose(Window window) const
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = m_x.internAtom(m_display, "WM_PROTOCOLS", 0);
        event.xclient.format = 32;
        event.xclient.l[0] = long(m_x.internAtom(m_display, "WM_DELETE_WINDOW", 0));
        event.xclient.l[1] = 0; // CurrentTime
        m_x.sendEvent(m_display, window, 0, NoEventMask, &event);
        m_x.sync(m_display, 0);
    }

    void destroy(Window window) const
    {
        m_x.destroyWindow(m_display, window);
        m_x.sync(m_display, 0);
    }

private:
    const Xlib &m_x;
    Display *m_display = nullptr;
    mutable Atom m_utf8String = 0;
};

// Top-level windows: the children of the root and, for desktops whose window manager wraps
// each program's window in a frame, the children of those.
QList<Window> topLevelWindows(const Connection &c, Window root)
{
    const QList<Window> direct = c.children(root);
    QList<Window> all = direct;
    for (Window frame : direct)
        all += c.children(frame);
    return all;
}

Window findReaderWindow(const Connection &c, const QList<Window> &windows)
{
    for (Window w : windows) {
        if (c.hasClass(w, ReaderClass)) return w;
    }
    for (const char *wanted : ReaderTitles) {
        for (Window w : windows) {
            if (c.title(w).compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0) return w;
        }
    }
    return 0;
}

bool closeReaderWindowImpl()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) return false;
    QLibrary lib;
    Xlib x;
    if (!x.load(lib)) return false;
    Connection c(x);
    if (!c.display()) return false;

    const Window window = findReaderWindow(c, topLevelWindows(c, x.defaultRootWindow(c.display())));
    if (!window) return false;

    // Ask first, so that the program can shut down cleanly; destroy the window only when it
    // has not gone away by itself within the grace period.
    c.requestClose(window);
    QElapsedTimer waited;
    waited.start();
    while (c.exists(window) && waited.elapsed() < CloseGraceMs)
        QThread::msleep(25);
    if (c.exists(window)) c.destroy(window);
    return !c.exists(window);
}

#endif

} // namespace

bool closeReaderWindow()
{
    return closeReaderWindowImpl();
}

} // namespace folivo
