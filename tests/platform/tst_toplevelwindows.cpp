#include "TestRegistry.h"
#include "platform/TopLevelWindows.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

using namespace examora;

namespace {

// Sets DISPLAY for the lifetime of the object and puts the old value back.
class DisplayVariable {
 public:
  explicit DisplayVariable(const QByteArray& value)
      : had_(qEnvironmentVariableIsSet("DISPLAY")), old_(qgetenv("DISPLAY")) {
    if (value.isEmpty()) {
      qunsetenv("DISPLAY");
    } else {
      qputenv("DISPLAY", value);
    }
  }
  ~DisplayVariable() {
    if (had_) {
      qputenv("DISPLAY", old_);
    } else {
      qunsetenv("DISPLAY");
    }
  }

 private:
  bool had_;
  QByteArray old_;
};

}  // namespace

// Without an X server the window functions must find nothing and touch nothing.
class TestTopLevelWindowsWithoutDisplay : public QObject {
  Q_OBJECT

 private slots:
  void findsAndClosesNothing() {
    const DisplayVariable none({});
    QVERIFY(!FindTopLevelWindowByTitle("実技用"));
    QVERIFY(!FindTopLevelWindowByClass("CabinetWClass"));
    QVERIFY(!CloseFirstWindowTitled("実技用"));
    QVERIFY(!PostCloseRequest(0x400001));
    QVERIFY(!ForceForeground(0x400001));
  }
};

EXAMORA_TEST(TestTopLevelWindowsWithoutDisplay)

// Real windows on a private Xvfb server. No window manager runs there, except the one faked
// by setting its root properties, which shows the path taken when one does.
class TestTopLevelWindowsX11 : public QObject {
  Q_OBJECT

 private:
  QProcess server_;
  std::unique_ptr<DisplayVariable> displayVariable_;
  Display* display_ = nullptr;
  std::vector<Window> windows_;

  Atom AtomNamed(const char* name) { return XInternAtom(display_, name, False); }
  Window Root() { return DefaultRootWindow(display_); }

  void SetText(Window window, Atom property, Atom type, const QByteArray& text) {
    XChangeProperty(display_, window, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(text.constData()), int(text.size()));
  }
  void SetList(Window window, const char* property, Atom type, std::vector<unsigned long> items) {
    XChangeProperty(display_, window, AtomNamed(property), type, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(items.data()), int(items.size()));
  }

  // A top-level window titled like a file-manager window (both the UTF-8 and the legacy
  // name), accepting WM_DELETE_WINDOW unless told otherwise. Later windows stack higher.
  Window CreateWindow(const QByteArray& title, bool deletable = true, Window parent = 0) {
    const Window window =
        XCreateSimpleWindow(display_, parent ? parent : Root(), 0, 0, 120, 80, 0, 0, 0);
    windows_.push_back(window);
    SetText(window, AtomNamed("_NET_WM_NAME"), AtomNamed("UTF8_STRING"), title);
    SetText(window, XA_WM_NAME, AtomNamed("UTF8_STRING"), title);
    if (deletable) {
      Atom deleteWindow = AtomNamed("WM_DELETE_WINDOW");
      XSetWMProtocols(display_, window, &deleteWindow, 1);
    }
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
  }

  // Client messages that reached this connection so far. The functions under test end by
  // syncing their own connection, so everything they sent is on the server already.
  std::vector<XClientMessageEvent> ReceivedMessages() {
    XSync(display_, False);
    std::vector<XClientMessageEvent> messages;
    while (XPending(display_)) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == ClientMessage) messages.push_back(event.xclient);
    }
    return messages;
  }

  bool IsDeleteRequestFor(const XClientMessageEvent& message, Window window) {
    return message.window == window && message.message_type == AtomNamed("WM_PROTOCOLS") &&
           Atom(message.data.l[0]) == AtomNamed("WM_DELETE_WINDOW");
  }

  Window TopmostChild() {
    Window rootReturn, parentReturn, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display_, Root(), &rootReturn, &parentReturn, &children, &count);
    const Window top = count ? children[count - 1] : 0;
    if (children) XFree(children);
    return top;
  }

  // Root properties and a check window as an EWMH window manager leaves them; this
  // connection takes the manager's place in receiving requests sent to the root window.
  void FakeWindowManager(const std::vector<unsigned long>& stacking) {
    const Window check = XCreateSimpleWindow(display_, Root(), 0, 0, 1, 1, 0, 0, 0);
    windows_.push_back(check);
    SetList(Root(), "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, {check});
    SetList(check, "_NET_SUPPORTING_WM_CHECK", XA_WINDOW, {check});
    SetList(Root(), "_NET_SUPPORTED", XA_ATOM,
            {AtomNamed("_NET_CLOSE_WINDOW"), AtomNamed("_NET_ACTIVE_WINDOW")});
    SetList(Root(), "_NET_CLIENT_LIST_STACKING", XA_WINDOW, stacking);
    XSelectInput(display_, Root(), SubstructureRedirectMask);
    XSync(display_, False);
  }

 private slots:
  void initTestCase() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
      QSKIP("Xvfb not installed: the X11 window tests need it (Debian package xvfb)");
    }
    // -displayfd: the server picks a free display number and writes it when it is ready.
    server_.start(xvfb,
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("640x480x24")});
    QVERIFY(server_.waitForStarted());
    QByteArray number;
    while (!number.endsWith('\n') && server_.waitForReadyRead(20000)) {
      number += server_.readAllStandardOutput();
    }
    QVERIFY2(number.endsWith('\n'), server_.readAllStandardError().constData());
    const QByteArray name = ':' + number.trimmed();
    displayVariable_ = std::make_unique<DisplayVariable>(name);
    display_ = XOpenDisplay(name.constData());
    QVERIFY(display_);
  }

  void cleanupTestCase() {
    if (display_) XCloseDisplay(display_);
    display_ = nullptr;
    displayVariable_.reset();
    if (server_.state() != QProcess::NotRunning) {
      server_.terminate();
      server_.waitForFinished(5000);
    }
  }

  void cleanup() {
    XSelectInput(display_, Root(), NoEventMask);
    for (const char* property :
         {"_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_CLIENT_LIST_STACKING"}) {
      XDeleteProperty(display_, Root(), AtomNamed(property));
    }
    // Children before their frames: destroying a frame takes its children with it.
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) XDestroyWindow(display_, *it);
    windows_.clear();
    ReceivedMessages();
  }

  void closesWindowWithExactTitle_data() {
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<int>("closed");  // index into titles, -1: none
    QTest::newRow("work folder") << QStringList{QStringLiteral("実技用")}
                                 << QStringLiteral("実技用") << 0;
    QTest::newRow("full path among others")
        << QStringList{QStringLiteral("/home/exam/[1]試験/実技用"), QStringLiteral("site")}
        << QStringLiteral("/home/exam/[1]試験/実技用") << 0;
    QTest::newRow("longer titles do not match")
        << QStringList{QStringLiteral("実技用2"), QStringLiteral("実技用 "),
                       QStringLiteral("/home/exam/実技用")}
        << QStringLiteral("実技用") << -1;
    QTest::newRow("case matters") << QStringList{QStringLiteral("Site")} << QStringLiteral("site")
                                  << -1;
    QTest::newRow("empty title finds nothing") << QStringList{QString()} << QString() << -1;
  }
  void closesWindowWithExactTitle() {
    QFETCH(QStringList, titles);
    QFETCH(QString, wanted);
    QFETCH(int, closed);
    std::vector<Window> created;
    for (const QString& title : titles) created.push_back(CreateWindow(title.toUtf8()));

    QCOMPARE(CloseFirstWindowTitled(wanted.toStdString()), closed >= 0);

    const std::vector<XClientMessageEvent> messages = ReceivedMessages();
    if (closed < 0) {
      QVERIFY(messages.empty());
      return;
    }
    QCOMPARE(messages.size(), std::size_t(1));
    QVERIFY(IsDeleteRequestFor(messages.front(), created[closed]));
  }

  // Like FindWindow, the first window is the topmost one.
  void closesTopmostOfSameTitle() {
    const Window lower = CreateWindow("site");
    const Window upper = CreateWindow("site");
    QCOMPARE(FindTopLevelWindowByTitle("site"), std::optional<WindowId>(upper));
    XRaiseWindow(display_, lower);
    XSync(display_, False);
    QVERIFY(CloseFirstWindowTitled("site"));
    const std::vector<XClientMessageEvent> messages = ReceivedMessages();
    QCOMPARE(messages.size(), std::size_t(1));
    QVERIFY(IsDeleteRequestFor(messages.front(), lower));
  }

  void readsLegacyLatin1Title() {
    const Window window = XCreateSimpleWindow(display_, Root(), 0, 0, 10, 10, 0, 0, 0);
    windows_.push_back(window);
    SetText(window, XA_WM_NAME, XA_STRING, QByteArray("caf\xE9"));
    XSync(display_, False);
    QCOMPARE(FindTopLevelWindowByTitle("café"), std::optional<WindowId>(window));
  }

  // A window manager that died leaves its frames: the client inside is still found.
  void findsClientInsideFrame() {
    const Window frame = XCreateSimpleWindow(display_, Root(), 0, 0, 200, 200, 0, 0, 0);
    windows_.push_back(frame);
    XMapWindow(display_, frame);
    const Window client = CreateWindow("css", true, frame);
    const long state[2] = {NormalState, None};
    XChangeProperty(display_, client, AtomNamed("WM_STATE"), AtomNamed("WM_STATE"), 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(state), 2);
    XSync(display_, False);
    QCOMPARE(FindTopLevelWindowByTitle("css"), std::optional<WindowId>(client));
  }

  // Without a window manager only WM_DELETE_WINDOW closes politely; nothing else is tried.
  void leavesWindowWithoutDeleteProtocol() {
    const Window window = CreateWindow("images", false);
    QCOMPARE(FindTopLevelWindowByTitle("images"), std::optional<WindowId>(window));
    QVERIFY(!CloseFirstWindowTitled("images"));
    QVERIFY(ReceivedMessages().empty());
  }

  void findsByClass() {
    const Window window = CreateWindow("js");
    SetText(window, XA_WM_CLASS, XA_STRING, QByteArray("files\0Files\0", 12));
    XSync(display_, False);
    QCOMPARE(FindTopLevelWindowByClass("Files"), std::optional<WindowId>(window));
    QVERIFY(!FindTopLevelWindowByClass("files"));  // the instance half is not the class
  }

  void forceForegroundRaisesAndFocuses() {
    const Window lower = CreateWindow("material");
    CreateWindow("site");
    QVERIFY(ForceForeground(lower));
    XSync(display_, False);
    QCOMPARE(TopmostChild(), lower);
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display_, &focus, &revert);
    QCOMPARE(focus, lower);
  }

  void windowManagerIsAskedWhenOneRuns() {
    const Window stray = CreateWindow("実技用");  // not managed, so not a client
    const Window managed = CreateWindow("実技用");
    XRaiseWindow(display_, stray);
    FakeWindowManager({managed});

    QVERIFY(CloseFirstWindowTitled("実技用"));
    QVERIFY(ForceForeground(managed));

    const std::vector<XClientMessageEvent> messages = ReceivedMessages();
    QCOMPARE(messages.size(), std::size_t(2));
    QCOMPARE(messages[0].message_type, AtomNamed("_NET_CLOSE_WINDOW"));
    QCOMPARE(messages[0].window, managed);
    QCOMPARE(messages[1].message_type, AtomNamed("_NET_ACTIVE_WINDOW"));
    QCOMPARE(messages[1].window, managed);
    QCOMPARE(messages[1].data.l[0], 2L);  // as a pager, which managers obey
  }
};

EXAMORA_TEST(TestTopLevelWindowsX11)
#include "tst_toplevelwindows.moc"
