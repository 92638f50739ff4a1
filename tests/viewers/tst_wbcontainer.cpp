#include "TestRegistry.h"
#include "common/ExeFolder.h"
#include "viewers/BrowserLockdown.h"
#include "viewers/WBContainer.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

using namespace examora;

namespace {

void WriteText(const QString& path, const QByteArray& text) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(text);
}

// Runs a script in the page and waits for its value.
QVariant Eval(QWebEnginePage* page, const QString& script,
              quint32 world = QWebEngineScript::MainWorld) {
  QVariant result;
  QEventLoop loop;
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);
  page->runJavaScript(script, world, [&](const QVariant& v) {
    result = v;
    loop.quit();
  });
  loop.exec();
  return result;
}

}  // namespace

class TestWBContainer : public QObject {
  Q_OBJECT

  QTemporaryDir tmp_;
  QString inst_;  // the installation folder; tmp_ itself is "outside"

  QUrl Inside(const QString& name) const { return QUrl::fromLocalFile(inst_ + u'/' + name); }

  // A view with its host showing an inside page, loaded.
  struct Browser {
    QWebEngineView view;
    TWBContainer* host = new TWBContainer(&view);
  };
  static bool Load(Browser& b, const QString& path) {
    QSignalSpy done(b.host, &TNulWBContainer::documentComplete);
    b.host->Navigate(path);
    return done.wait(8000);
  }

 private slots:
  void initTestCase() {
    QVERIFY(tmp_.isValid());
    inst_ = tmp_.path() + QStringLiteral("/inst");
    QVERIFY(QDir().mkpath(inst_ + QStringLiteral("/html")));
    QVERIFY(QDir().mkpath(tmp_.path() + QStringLiteral("/inst2")));
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(inst_ + QStringLiteral("/in.png")));
    QVERIFY(red.save(tmp_.path() + QStringLiteral("/out.png")));
    WriteText(tmp_.path() + QStringLiteral("/outside.html"), "<html><body>outside</body></html>");
    WriteText(tmp_.path() + QStringLiteral("/inst2/page.html"), "<html><body>x</body></html>");
    WriteText(inst_ + QStringLiteral("/html/page.html"),
              "<html><body><p id=t>inside</p>"
              "<span name=FOLDER id=f1>-</span><div name=FOLDER id=f2>-</div>"
              "<img id=in src='../in.png'><img id=out src='../../out.png'></body></html>");
    WriteText(inst_ + QStringLiteral("/html/plain.html"), "<html><body>plain</body></html>");
    QFile::link(tmp_.path() + QStringLiteral("/outside.html"),
                inst_ + QStringLiteral("/html/link.html"));
    SetExeFolder(inst_);
  }

  // ---- which URLs count as inside the installation -----------------------------------------

  void insideFolder_data() {
    QTest::addColumn<QString>("url");  // "%I" = installation, "%T" = its parent
    QTest::addColumn<bool>("inside");
    QTest::newRow("page inside") << "file://%I/html/page.html" << true;
    QTest::newRow("folder itself") << "file://%I" << true;
    QTest::newRow("dot-dot back inside") << "file://%I/html/../in.png" << true;
    QTest::newRow("dot-dot out of it") << "file://%I/html/../../outside.html" << false;
    QTest::newRow("symlink leading out") << "file://%I/html/link.html" << false;
    QTest::newRow("sibling sharing the prefix") << "file://%T/inst2/page.html" << false;
    QTest::newRow("missing file") << "file://%I/html/none.html" << false;
    QTest::newRow("remote host") << "file://server/%I/html/page.html" << false;
    QTest::newRow("http") << "http://127.0.0.1:1/" << false;
    QTest::newRow("data") << "data:text/html,<b>x</b>" << false;
  }
  void insideFolder() {
    QFETCH(QString, url);
    QFETCH(bool, inside);
    url.replace(QStringLiteral("%I"), inst_).replace(QStringLiteral("%T"), tmp_.path());
    QCOMPARE(IsUrlInsideFolder(QUrl(url), inst_), inside);
  }

  void emptyFrameMayBeOpened() {
    QVERIFY(IsNavigationAllowed(QUrl(QStringLiteral("about:blank")), inst_));
    QVERIFY(!IsNavigationAllowed(QUrl(QStringLiteral("about:config")), inst_));
  }

  // ---- the locked-down view ----------------------------------------------------------------

  void loadsPageInside() {
    Browser b;
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/page.html")));
    QCOMPARE(
        Eval(b.host->Page(), QStringLiteral("document.getElementById('t').textContent")).toString(),
        QStringLiteral("inside"));
  }

  void refusesNavigationOut_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("file outside")
        << QUrl::fromLocalFile(tmp_.path() + QStringLiteral("/outside.html")).toString();
    QTest::newRow("network") << QStringLiteral("http://127.0.0.1:1/");
  }
  void refusesNavigationOut() {
    QFETCH(QString, target);
    Browser b;
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/plain.html")));
    QSignalSpy urlChanged(b.host->Page(), &QWebEnginePage::urlChanged);
    Eval(b.host->Page(), QStringLiteral("location.href = %1; 1").arg(JsStringLiteral(target)));
    QVERIFY(!urlChanged.wait(1500));
    QCOMPARE(b.host->Page()->url(), Inside(QStringLiteral("html/plain.html")));

    // The program's own navigation is held to the same rule.
    b.host->Navigate(tmp_.path() + QStringLiteral("/outside.html"));
    QVERIFY(!urlChanged.wait(1000));
    QCOMPARE(b.host->Page()->url(), Inside(QStringLiteral("html/plain.html")));
  }

  void opensNoWindow() {
    Browser b;
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/plain.html")));
    const int windows = QApplication::topLevelWidgets().size();
    const QVariant opened =
        Eval(b.host->Page(), QStringLiteral("window.open('page.html') === null"));
    QVERIFY(opened.toBool());
    // A window the page asked for would be requested before a later script's answer.
    (void)Eval(b.host->Page(), QStringLiteral("0"));
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    QCOMPARE(b.host->Page()->url(), Inside(QStringLiteral("html/plain.html")));
  }

  void blocksPictureOutside() {
    Browser b;
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/page.html")));
    QCOMPARE(
        Eval(b.host->Page(), QStringLiteral("document.getElementById('in').naturalWidth")).toInt(),
        4);
    QCOMPARE(
        Eval(b.host->Page(), QStringLiteral("document.getElementById('out').naturalWidth")).toInt(),
        0);
  }

  void fillsFirstFolderElementAsText_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("plain") << QStringLiteral("試験2024");
    QTest::newRow("markup stays literal") << QStringLiteral("<b>x</b>");
    QTest::newRow("quotes and backslash") << QStringLiteral("a'b\"c\\d');alert(1);//");
  }
  void fillsFirstFolderElementAsText() {
    QFETCH(QString, name);
    Browser b;
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/page.html")));
    FillFolderElement(&b.view, name);
    QTRY_COMPARE_WITH_TIMEOUT(
        Eval(b.host->Page(), QStringLiteral("document.getElementById('f1').textContent"))
            .toString(),
        name, 3000);
    QCOMPARE(Eval(b.host->Page(), QStringLiteral("document.getElementById('f1').children.length"))
                 .toInt(),
             0);
    QCOMPARE(Eval(b.host->Page(), QStringLiteral("document.getElementById('f2').textContent"))
                 .toString(),
             QStringLiteral("-"));
  }

  void pageWithoutFolderElementIsUnchanged() {
    Browser b;
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/plain.html")));
    // Scripts run in order: the check below sees whatever the fill did.
    FillFolderElement(&b.view, QStringLiteral("x"));
    QCOMPARE(Eval(b.host->Page(), QStringLiteral("document.body.textContent")).toString(),
             QStringLiteral("plain"));
  }

  void stylesOptionsReachThePage() {
    Browser b;
    b.host->SetTextSelectable(false);
    b.host->SetHostStyleSheet(QStringLiteral("body { color: rgb(1, 2, 3); }"));
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/plain.html")));
    QTRY_COMPARE_WITH_TIMEOUT(
        Eval(b.host->Page(), QStringLiteral("getComputedStyle(document.body).color")).toString(),
        QStringLiteral("rgb(1, 2, 3)"), 3000);
    QCOMPARE(Eval(b.host->Page(), QStringLiteral("getComputedStyle(document.body).userSelect"))
                 .toString(),
             QStringLiteral("none"));

    // Selectable again and no style sheet: the next page has neither.
    b.host->SetTextSelectable(true);
    b.host->SetHostStyleSheet(QString());
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/page.html")));
    QVERIFY(Eval(b.host->Page(), QStringLiteral("getComputedStyle(document.body).userSelect"))
                .toString() != QStringLiteral("none"));
    QCOMPARE(
        Eval(b.host->Page(), QStringLiteral("getComputedStyle(document.body).color")).toString(),
        QStringLiteral("rgb(0, 0, 0)"));
  }

  void ownMenuWithoutPopupShowsNothing() {
    Browser b;
    b.host->SetOwnContextMenu(true);
    b.view.resize(200, 100);
    b.view.show();
    QVERIFY(Load(b, inst_ + QStringLiteral("/html/plain.html")));
    emit b.view.customContextMenuRequested(QPoint(10, 10));
    QCoreApplication::processEvents();
    QVERIFY(!QApplication::activePopupWidget());
  }
};

EXAMORA_TEST(TestWBContainer)
#include "tst_wbcontainer.moc"
