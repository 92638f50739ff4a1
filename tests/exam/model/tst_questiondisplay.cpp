#include <QSet>
#include <QTest>

#include "TestRegistry.h"
#include "common/QZMessage.h"
#include "data/InstallPaths.h"
#include "exam/model/QuestionDisplay.h"

using namespace examora;
using namespace Qt::Literals::StringLiterals;

namespace {

QString Prefix() {
  return ContentFolder(u"1"_s) + u"/html/q/"_s;
}

// Page files named relative to html/q, e.g. "setsumon/2-1".
FileExists Files(const QStringList& pages) {
  QSet<QString> set;
  for (const QString& p : pages) set.insert(Prefix() + p + u"/index.html"_s);
  return [set](const QString& path) { return set.contains(path); };
}

// Plays the part of the window: mirrors the selection and records the pages opened, as
// "setsumon/1-1" or "mondai/1#t1s2".
struct Window {
  explicit Window(QuestionDisplay& display) : d(display) {}

  QuestionDisplay& d;
  QStringList shown;
  int selected = -1;

  static QString Name(const PageRequest& p) {
    QString name = p.path.mid(Prefix().size());
    name.chop(QStringLiteral("/index.html").size());
    return p.anchor.isEmpty() ? name : name + u'#' + p.anchor;
  }
  void Show(const PageRequest& p) {
    if (p.navigate) shown << Name(p);
  }
  void Select(int node, bool force = false) {
    if (node < 0 || (node == selected && !force)) return;
    selected = node;
    Show(d.ShowSelection(node));
  }
  void Build(const QList<int>& counts) {
    for (int node : d.BuildQuestionTree(counts)) Select(node);
  }
  template <typename Action>
  void Apply(const Action& a) {
    if (a.page) Show(*a.page);
    if constexpr (requires { a.reportChangeExplicitly; })
      Select(a.selectNode, a.reportChangeExplicitly);
    else
      Select(a.selectNode);
  }
  QString Last() const { return shown.isEmpty() ? QString() : shown.last(); }
};

}  // namespace

class TestQuestionDisplay : public QObject {
  Q_OBJECT

 private slots:
  void initialMode_data() {
    QTest::addColumn<QString>("modes");  // which of 全体/問題別/設問別 are "1", e.g. "001"
    QTest::addColumn<QString>("firstKey");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("firstPage");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("paging");
    QTest::newRow("sub-questions from 2-1")
        << u"001"_s << u"2-1"_s << QStringList{u"setsumon/2-1"_s} << QString() << u"setsumon/2-1"_s
        << 3 << true;
    QTest::newRow("sub-questions, 1-1 is not enough")
        << u"001"_s << u"2-1"_s << QStringList{u"setsumon/1-1"_s} << msg::kExamFileMissing
        << u"setsumon/2-1"_s << 3 << true;
    QTest::newRow("whole paper checks mondai/1")
        << u"111"_s << u"2-1"_s << QStringList{u"mondai/1"_s} << QString() << u"mondai/1"_s << 1
        << false;
    QTest::newRow("whole paper page alone is not enough")
        << u"100"_s << u"1-1"_s << QStringList{u"all"_s} << msg::kExamFileMissing << u"mondai/1"_s
        << 1 << false;
    QTest::newRow("by question from key") << u"011"_s << u"3-1"_s << QStringList{u"mondai/3"_s}
                                          << QString() << u"mondai/3"_s << 2 << true;
    QTest::newRow("by question, empty [選択数]")
        << u"010"_s << u"-"_s << QStringList{u"mondai/1"_s} << msg::kExamFileMissing << u"mondai/"_s
        << 2 << true;
    QTest::newRow("no mode") << u"000"_s << u"1-1"_s << QStringList{u"mondai/1"_s}
                             << msg::kNoDisplayMode << QString() << 3 << true;
  }
  void initialMode() {
    QFETCH(QString, modes);
    QFETCH(QString, firstKey);
    QFETCH(QStringList, files);
    QFETCH(QString, firstPage);
    QuestionDisplay d(u"1"_s, false, Files(files));
    ModeSettings settings;
    settings.wholePaper = modes.at(0) == u'1';
    settings.byQuestion = modes.at(1) == u'1';
    settings.bySubQuestion = modes.at(2) == u'1';
    const QStringList key = firstKey.split(u'-');
    const InitialMode r = d.ChooseInitialMode(settings, {key.at(0), key.at(1)});
    QFETCH(QString, error);
    QCOMPARE(r.error, error);
    QCOMPARE(r.firstPage.isEmpty() ? QString()
                                   : r.firstPage.mid(Prefix().size()).remove(u"/index.html"_s),
             firstPage);
    QFETCH(int, mode);
    QCOMPARE(r.displayMode, mode);
    QCOMPARE(d.DisplayMode(), mode);
    QFETCH(bool, paging);
    QCOMPARE(r.pagingVisible, paging);
    QCOMPARE(r.wholePaperButtonVisible, settings.wholePaper);
    QCOMPARE(r.bySubQuestionButtonVisible, settings.bySubQuestion);
    QCOMPARE(r.highlightedMode, r.error == msg::kNoDisplayMode ? 0 : mode);
    QCOMPARE(r.bySubQuestionCaption, u"設問別"_s);
  }

  void headingsInSubQuestionMode() {
    QuestionDisplay d(
        u"1"_s, false,
        Files({u"setsumon/1-1"_s, u"midashi/1"_s, u"midashi/2"_s, u"midashi/3"_s, u"midashi/5"_s}));
    QVERIFY(d.ChooseInitialMode({false, false, true}, {u"1"_s, u"1"_s}).error.isEmpty());
    d.DetectHeadingPages();
    QVERIFY(d.HeadingPagesExist());
    QCOMPARE(d.HeadingCount(), 3);  // no gaps: 5 does not count
    QVERIFY(d.HeadingMode());

    Window w(d);
    w.Build({2, 1});
    QCOMPARE(w.shown, (QStringList{u"midashi/1"_s, u"midashi/1"_s}));
    QCOMPARE(d.CurrentQuestion(), -1);

    w.Apply(d.Next());
    w.Apply(d.Next());
    QCOMPARE(w.Last(), u"midashi/3"_s);
    PagingAction past = d.Next();
    QCOMPARE(past.log, kLogNextBySubQuestion);
    QCOMPARE(past.selectNode, 0);
    QVERIFY(past.reportChangeExplicitly);  // node 0 is already selected
    w.Apply(past);
    QCOMPARE(w.Last(), u"setsumon/1-1"_s);
    QVERIFY(!d.HeadingMode());

    // Across questions and back.
    w.Apply(d.Next());
    QCOMPARE(w.Last(), u"setsumon/1-2"_s);
    w.Apply(d.Next());
    QCOMPARE(w.Last(), u"setsumon/2-1"_s);
    QCOMPARE(d.Next().selectNode, -1);  // last sub-question
    w.Apply(d.Back());
    QCOMPARE(w.Last(), u"setsumon/1-2"_s);
    w.Apply(d.Back());
    QCOMPARE(w.Last(), u"setsumon/1-1"_s);

    // Back from the first sub-question returns to the last heading, then steps down to 1.
    PagingAction back = d.Back();
    QCOMPARE(back.log, kLogBackBySubQuestion);
    w.Apply(back);
    QCOMPARE(w.Last(), u"midashi/3"_s);
    w.Apply(d.Back());
    w.Apply(d.Back());
    w.Apply(d.Back());
    QCOMPARE(w.shown.mid(w.shown.size() - 3),
             (QStringList{u"midashi/2"_s, u"midashi/1"_s, u"midashi/1"_s}));
  }

  // A question without sub-questions has no page by sub-question: paging steps over it.
  void subQuestionPagingSkipsEmptyQuestions() {
    QuestionDisplay d(u"1"_s, false, Files({u"setsumon/1-1"_s}));
    QVERIFY(d.ChooseInitialMode({false, false, true}, {u"1"_s, u"1"_s}).error.isEmpty());
    Window w(d);
    w.Build({1, 0, 1});  // nodes: 0 問題 1, 1 問題 1-1, 2 問題 2, 3 問題 3, 4 問題 3-1
    w.Select(1);
    QCOMPARE(d.Next().selectNode, 4);
    w.Select(4);
    QCOMPARE(w.Last(), u"setsumon/3-1"_s);
    QCOMPARE(d.Back().selectNode, 1);
  }

  void questionModeSelectionsAndPaging() {
    QuestionDisplay d(u"1"_s, false, Files({u"mondai/1"_s, u"midashi/1"_s}));
    QVERIFY(d.ChooseInitialMode({false, true, true}, {u"1"_s, u"1"_s}).error.isEmpty());
    Window w(d);
    w.Build({2, 1});
    QCOMPARE(w.shown, (QStringList{u"mondai/1#t1s1"_s, u"mondai/1#t1"_s}));

    // A sub-question of the question shown: its anchor, no refilter.
    PageRequest p = d.ShowSelection(2);
    QCOMPARE(Window::Name(p), u"mondai/1#t1s2"_s);
    QVERIFY(!p.refilter);
    QCOMPARE(d.CurrentSubQuestion(), 2);
    p = d.ShowSelection(4);
    QCOMPARE(Window::Name(p), u"mondai/2#t2s1"_s);
    QVERIFY(p.refilter);
    w.selected = 4;

    // Paging works on questions; a selected sub-question pages from its question.
    PagingAction back = d.Back();
    QCOMPARE(back.log, kLogBackByQuestion);
    QCOMPARE(back.selectNode, 0);
    w.Apply(back);
    QCOMPARE(d.Next().selectNode, 3);
    QCOMPARE(d.Next().log, kLogNextByQuestion);
    // Before the first question: no headings, nothing happens.
    back = d.Back();
    QCOMPARE(back.selectNode, -1);
    QVERIFY(!back.page);

    // With heading pages the headings page comes before question 1; Next leaves it.
    d.DetectHeadingPages();
    w.Apply(d.Back());
    QCOMPARE(w.Last(), u"midashi/all"_s);
    QCOMPARE(d.CurrentQuestion(), -1);
    w.Apply(d.Next());
    QCOMPARE(w.Last(), u"mondai/1#t1"_s);
  }

  void modeButtons() {
    QuestionDisplay d(u"1"_s, false, Files({u"mondai/1"_s, u"midashi/1"_s}));
    QVERIFY(d.ChooseInitialMode({true, true, true}, {u"1"_s, u"1"_s}).error.isEmpty());
    Window w(d);
    w.Build({2, 1});
    QCOMPARE(w.Last(), u"all#t1"_s);
    w.Select(2);
    QCOMPARE(w.Last(), u"all#t1s2"_s);
    QVERIFY(d.Back().log.isEmpty());  // no paging on the whole paper

    // Mode 3 with 1-2 selected shows that sub-question.
    ModeAction a = d.PressMode(3);
    QCOMPARE(a.log, kLogModeBySubQuestion);
    QVERIFY(a.changed && a.scrollSheetTop && a.refilter && a.pagingVisible);
    w.Apply(a);
    QCOMPARE(w.Last(), u"setsumon/1-2"_s);
    QCOMPARE(d.CurrentSubQuestion(), 2);

    a = d.PressMode(3);
    QVERIFY(!a.changed);
    QCOMPARE(a.highlightedMode, 3);

    // Back to the whole paper: the first node is selected and shown on the whole paper.
    a = d.PressMode(1);
    QCOMPARE(a.log, kLogModeWholePaper);
    QCOMPARE(a.selectNode, 0);
    QVERIFY(a.refilter && !a.pagingVisible);
    w.Apply(a);
    QCOMPARE(w.Last(), u"all#t1"_s);

    // With heading pages "全問" opens the whole paper at the headings, and stays there.
    d.DetectHeadingPages();
    d.PressMode(2);
    a = d.PressMode(1);
    QVERIFY(a.page);  // node 0 already selected: shown without a selection change
    QCOMPARE(Window::Name(*a.page), u"all#midashi1"_s);
    QCOMPARE(Window::Name(d.ShowSelection(4)), u"all#midashi1"_s);
    QCOMPARE(d.PressMode(2).log, kLogModeByQuestion);
  }

  void subQuestionsOnlyLayout() {
    QuestionDisplay d(u"1"_s, true, Files({u"mondai/1"_s}));
    const InitialMode r = d.ChooseInitialMode({true, false, true}, {u"1"_s, u"1"_s});
    QCOMPARE(r.bySubQuestionCaption, u"問題別"_s);
    QVERIFY(r.treeRootLines);
    Window w(d);
    w.Build({3, 2});
    QCOMPARE(d.Tree().Count(), 3);
    QCOMPARE(d.Tree().Caption(2), u"問題 3"_s);
    QVERIFY(d.Tree().IsTopLevel(2));
    QCOMPARE(d.Tree().Node(2), (TreeNode{1, 3}));

    // Before the window is first activated a selection shows question 1 as a whole.
    QCOMPARE(Window::Name(d.ShowSelection(2)), u"all#t1"_s);
    d.SetWindowActivated();
    QCOMPARE(Window::Name(d.ShowSelection(2)), u"all#t1s3"_s);

    // Switching to the whole paper ignores the next selection once.
    d.PressMode(3);
    w.selected = 1;
    d.ShowSelection(1);
    QCOMPARE(d.CurrentSubQuestion(), 2);
    d.PressMode(1);
    QVERIFY(d.IgnoreSelectionOnce());
    QCOMPARE(Window::Name(d.ShowSelection(0)), u"all#t1"_s);
    QVERIFY(!d.IgnoreSelectionOnce());
    QCOMPARE(Window::Name(d.ShowSelection(1)), u"all#t1s2"_s);

    // Paging by sub-question stays within question 1.
    d.PressMode(3);
    d.ShowSelection(2);
    QCOMPARE(d.Next().selectNode, -1);
    QCOMPARE(d.Back().selectNode, 1);
  }

  void zoom_data() {
    QTest::addColumn<QString>("presses");
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("lastApplied");
    QTest::newRow("+ eleven times") << u"+++++++++++"_s << 200 << false;
    QTest::newRow("+ ten times") << u"++++++++++"_s << 200 << true;
    QTest::newRow("- six times") << u"------"_s << 50 << false;
    QTest::newRow("- five times") << u"-----"_s << 50 << true;
    QTest::newRow("standard") << u"+++="_s << 100 << true;
  }
  void zoom() {
    QFETCH(QString, presses);
    QuestionDisplay d(u"1"_s, false, Files({}));
    ZoomAction a;
    for (QChar c : presses) {
      a = c == u'+' ? d.ZoomIn() : c == u'-' ? d.ZoomOut() : d.ZoomStandard();
      QCOMPARE(a.log, c == u'+' ? kLogZoomIn : c == u'-' ? kLogZoomOut : kLogZoomStandard);
    }
    QFETCH(int, percent);
    QCOMPARE(d.ZoomPercent(), percent);
    QFETCH(bool, lastApplied);
    QCOMPARE(a.apply, lastApplied);
    QCOMPARE(d.StyleZoom(), percent / 100.0);
  }

  void pageUrlCarriesAnchor() {
    PageRequest p;
    p.path = u"/x/system/1/html/q/mondai/2/index.html"_s;
    p.anchor = u"t2s3"_s;
    QCOMPARE(p.Url().toString(), u"file:///x/system/1/html/q/mondai/2/index.html#t2s3"_s);
  }
};

EXAMORA_TEST(TestQuestionDisplay)
#include "tst_questiondisplay.moc"
