#include <QtTest>

#include <QLabel>
#include <QScrollBar>

#include <memory>

#include "Fixture.h"
#include "ModalDriver.h"
#include "TestRegistry.h"
#include "common/Cp932.h"
#include "completion/QZTP0040.h"
#include "widgets/RoundButton.h"
#include "widgets/ScoreGrid.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

namespace {

// Three questions (2, 1 and 1 sub-questions), 2 points each; the last takes any answer.
const QString kAnswerKey =
    u"[1_1]\n正答=10000\n配点=2\n\n[1_2]\n正答=00100\n配点=2\n\n"
    u"[2_1]\n正答=01000\n配点=2\n\n[3_1]\n正答=11111\n配点=2\n"_s;

struct Installation {
  QString examType = u"1"_s;
  QString subQuestionsOnly = u"0"_s;
  QString answers = u"G2,1,12 345,24010017,1,2,2,\n"_s;  // "-": no a.csv
};

std::unique_ptr<FixtureInstallation> Build(const Installation& in) {
  auto fx = std::make_unique<FixtureInstallation>();
  fx->writeIni(u"system/system.ini"_s,
               u"[基本情報]\n委員会名=テスト委員会\n試験名=テスト検定\n級名=２級\nパターン=B\n"
               u"パターン名=\nバージョン名=第2版\n"_s);
  fx->writeIni(u"system/1/setup.ini"_s,
               u"[基本情報]\n試験区分=1\n受験タイプ=%1\n部種名称=知識\n設問表示のみ=%2\n"_s.arg(
                   in.examType, in.subQuestionsOnly));
  fx->writeIni(u"system/seito[1].ini"_s, kAnswerKey);
  if (in.answers != u"-") fx->writeText(u"system/1/a.csv"_s, in.answers);
  fx->setExeFolder();
  return fx;
}

std::unique_ptr<TfrmQZTP0040> Shown() {
  auto screen = std::make_unique<TfrmQZTP0040>(nullptr);
  screen->SetPartCode(u"1"_s);
  screen->show();
  return screen;
}

}  // namespace

class TestQZTP0040 : public QObject {
  Q_OBJECT

 private slots:
  void fillsGridAndTotal_data() {
    QTest::addColumn<QString>("examType");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QList<int>>("tops");  // IinkaiName, ShikenName, KyuPatVer, BuMeisyo
    QTest::addColumn<bool>("webStyle");
    QTest::addColumn<QString>("button");
    QTest::newRow("knowledge") << u"1"_s << u"合計　6点"_s << QList<int>{37, 57, 79, 99} << false
                               << u"終了する"_s;
    QTest::newRow("web-style") << u"3"_s << u"合計　6 / 8 点"_s << QList<int>{37, 53, 85, 101}
                               << true << u"次へ >"_s;
  }
  void fillsGridAndTotal() {
    QFETCH(QString, examType);
    QFETCH(QList<int>, tops);
    QFETCH(bool, webStyle);
    const auto fx = Build({.examType = examType});
    QVERIFY2(fx->ok(), qPrintable(fx->error()));
    const auto screen = Shown();

    QCOMPARE(screen->windowTitle(), u"知識採点"_s);
    ScoreGrid* grid = screen->Meisai;
    QCOMPARE(grid->ColumnCount(), 13);
    QCOMPARE(grid->RowCount(), 4);
    QCOMPARE(screen->height(), 361);
    const QStringList firstRow = {grid->CellText(2, 0), grid->CellText(2, 1), grid->CellText(2, 2),
                                  grid->CellText(2, 3), grid->CellText(2, 4)};
    QCOMPARE(firstRow, (QStringList{u"1"_s, u"ア"_s, u"ア"_s, u"2"_s, u"2"_s}));
    QCOMPARE(grid->CellText(3, 4), u"0"_s);
    QCOMPARE(grid->CellText(2, 8), u"2"_s);
    QCOMPARE(grid->CellText(2, 10), QString());  // unanswered
    QCOMPARE(grid->CellText(2, 12), u"2"_s);     // any answer scores
    QCOMPARE(grid->CellText(0, 9), u"問題3"_s);
    QCOMPARE(grid->RowHeight(0), 21);
    QTEST(screen->GokeiLbl->text(), "total");
    QCOMPARE(screen->Score().score, 6);

    QCOMPARE(screen->IinkaiNameLbl->text(), u"テスト委員会"_s);
    QCOMPARE(screen->ShikenNameLbl->text(), u"テスト検定"_s);
    QCOMPARE(screen->KyuNmLbl->text(), u"２級"_s);
    QCOMPARE(screen->KyuPatVerLbl->text(), u"Bパターン(第2版)"_s);
    QCOMPARE(screen->BuMeisyoLbl->text(), u"知識"_s);
    const QList<int> actualTops = {screen->IinkaiNameLbl->y(), screen->ShikenNameLbl->y(),
                                   screen->KyuPatVerLbl->y(), screen->BuMeisyoLbl->y()};
    QCOMPARE(actualTops, tops);
    for (QLabel* label : {screen->KyuNmLbl, screen->Tyui1Lbl, screen->Tyui2Lbl, screen->Tyui3Lbl})
      QCOMPARE(label->isVisible(), webStyle);
    if (webStyle) QCOMPARE(screen->KyuNmLbl->y(), 69);
    QTEST(screen->EndBtn->text(), "button");
    QCOMPARE(screen->EndBtn->font().bold(), webStyle);
  }

  void subQuestionsOnlyHidesHeadings_data() {
    QTest::addColumn<QString>("flag");
    QTest::addColumn<int>("height");
    QTest::newRow("on") << u"1"_s << 0;
    QTest::newRow("off") << u"0"_s << 21;
    QTest::newRow("anything else is off") << u"yes"_s << 21;
  }
  void subQuestionsOnlyHidesHeadings() {
    QFETCH(QString, flag);
    const auto fx = Build({.subQuestionsOnly = flag});
    const auto screen = Shown();
    QTEST(screen->Meisai->RowHeight(0), "height");
    QCOMPARE(screen->Meisai->RowHeight(1), 21);
  }

  void missingAnswerFileScoresAsUnanswered() {
    const auto fx = Build({.answers = u"-"_s});
    const auto screen = Shown();
    QCOMPARE(screen->Meisai->CellText(2, 2), QString());
    QCOMPARE(screen->Meisai->CellText(2, 12), u"2"_s);
    QCOMPARE(screen->GokeiLbl->text(), u"合計　2点"_s);
  }

  void endButtonLogsAndCloses() {
    const auto fx = Build({});
    TfrmQZTP0040 screen(nullptr);
    screen.SetPartCode(u"1"_s);
    auto wait = WhenModal([&screen](QWidget* w) { return w == &screen; },
                          [](QWidget* w) { static_cast<TfrmQZTP0040*>(w)->EndBtn->click(); });
    screen.ShowModal();
    QVERIFY(wait->fired());
    QVERIFY(!screen.isVisible());
    const QString log = FromCp932(fx->readBytes(u"system/1/log.txt"_s));
    const qsizetype start = log.indexOf(u"QZTP0040：開始"_s);
    QVERIFY(start >= 0);
    QVERIFY(log.indexOf(u"QZTP0040：終了ボタン押下"_s) > start);
  }

  // The row-number column and the heading rows stay put while the score columns scroll.
  void fixedCellsDoNotScroll() {
    const auto fx = Build({});
    const auto screen = Shown();
    ScoreGrid* grid = screen->Meisai;
    QVERIFY(grid->horizontalScrollBar()->maximum() > 0);  // 13 columns do not fit 292 px
    const QRect number = grid->CellRect(2, 0);
    const QRect heading = grid->CellRect(1, 5);
    const QRect cell = grid->CellRect(2, 5);
    grid->horizontalScrollBar()->setValue(66);
    QCOMPARE(grid->CellRect(2, 0), number);
    QCOMPARE(grid->CellRect(2, 5), cell.translated(-66, 0));
    QCOMPARE(grid->CellRect(1, 5), heading.translated(-66, 0));
    QCOMPARE(grid->CellRect(1, 0).topLeft(), QPoint(0, 22));
  }

  // Questions are told apart by black lines; inside a question the lines are silver, and the
  // heading of a question spans its four columns.
  void paintsQuestionSeparators() {
    const auto fx = Build({});
    const auto screen = Shown();
    ScoreGrid* grid = screen->Meisai;
    QCOMPARE(grid->CellRect(0, 3), grid->CellRect(0, 1));
    QCOMPARE(grid->CellRect(0, 1).width(), 4 * 32 + 3);
    const QImage image = grid->viewport()->grab().toImage();
    const QRect second = grid->CellRect(2, 5);
    const QRect inside = grid->CellRect(2, 2);
    const int y = second.center().y();
    QCOMPARE(image.pixelColor(second.left(), y), QColor(Qt::black));      // left of question 2
    QCOMPARE(image.pixelColor(second.left() - 1, y), QColor(Qt::black));  // right of question 1
    QCOMPARE(image.pixelColor(inside.left(), y), QColor(192, 192, 192));  // within question 1
    QCOMPARE(image.pixelColor(inside.center().x(), inside.bottom() + 1), QColor(192, 192, 192));
  }
};

EXAMORA_TEST(TestQZTP0040)
#include "tst_qztp0040.moc"
