#include "completion/QZTP0040.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>

#include "common/WallClock.h"
#include "data/ExamData.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/Logo.h"
#include "widgets/RoundButton.h"
#include "widgets/ScoreGrid.h"

namespace examora {
namespace {

constexpr int kWidth = 659;
constexpr int kDesignHeight = 592;
constexpr int kTitleBandHeight = 70;
constexpr int kBottomBandHeight = 41;
constexpr int kGridLeft = 185;
constexpr int kGridTop = 146;
constexpr int kGridWidth = 292;
constexpr int kGridBottomMargin = 1;
const QColor kContentColour(245, 235, 250);

// The heading mark of the information box: a small rounded blue square with a white "i".
QPixmap HeadingPixmap() {
  QPixmap pixmap(18, 18);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r(0.5, 0.5, 17, 17);
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, RoundButton::EnabledTop());
  g.setColorAt(1, RoundButton::EnabledBottom());
  QPainterPath path;
  path.addRoundedRect(r, 4, 4);
  p.fillPath(path, g);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(7.5, 3.5, 3, 3));
  p.drawRoundedRect(QRectF(7.5, 7.5, 3, 7.5), 1, 1);
  return pixmap;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QFont& font,
                  const QString& text = QString()) {
  QLabel* label = TransparentLabel(parent, name, text);
  label->setFont(font);
  return label;
}

}  // namespace

TfrmQZTP0040::TfrmQZTP0040(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0040"),
                          .topMost = TopMost::None,
                          .centre = true,
                          .bottomBandHeight = kBottomBandHeight}) {
  setWindowTitle(QStringLiteral("知識採点"));
  resize(kWidth, kDesignHeight);
  // The title band carries the logo instead of a title.
  TitleLabel()->hide();
  TLImg = new QLabel(TitleBand());
  TLImg->setObjectName(QStringLiteral("TLImg"));
  TLImg->setGeometry(0, 0, 196, kTitleBandHeight);
  TLImg->setPixmap(LogoPixmap(QSize(196, kTitleBandHeight)));

  Panel4 = new QWidget(this);
  Panel4->setObjectName(QStringLiteral("Panel4"));
  Panel4->setAutoFillBackground(true);
  QPalette pal = Panel4->palette();
  pal.setColor(QPalette::Window, kContentColour);
  Panel4->setPalette(pal);

  const QFont text = UiFont(FontFace::MsPGothic, 12);
  const QFont bold = UiFont(FontFace::MsPGothic, 12, true);

  Panel1 = new QFrame(Panel4);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setLineWidth(1);
  Panel1->setGeometry(9, 8, 641, 121);
  Image1 = new QLabel(Panel1);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(10, 10, 18, 18);
  Image1->setPixmap(HeadingPixmap());
  Label4 = MakeLabel(Panel1, QStringLiteral("Label4"), UiFont(FontFace::MsPGothic, 13, true),
                     QStringLiteral("試験情報"));
  Label4->setGeometry(34, 10, 200, 18);

  IinkaiNameLbl = MakeLabel(Panel1, QStringLiteral("IinkaiNameLbl"), text);
  ShikenNameLbl = MakeLabel(Panel1, QStringLiteral("ShikenNameLbl"), text);
  KyuNmLbl = MakeLabel(Panel1, QStringLiteral("KyuNmLbl"), text);
  KyuPatVerLbl = MakeLabel(Panel1, QStringLiteral("KyuPatVerLbl"), text);
  BuMeisyoLbl = MakeLabel(Panel1, QStringLiteral("BuMeisyoLbl"), text);
  for (QLabel* label : {IinkaiNameLbl, ShikenNameLbl, KyuNmLbl, KyuPatVerLbl, BuMeisyoLbl})
    label->setGeometry(34, 37, 400, 16);

  Bevel1 = new QFrame(Panel1);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Bevel1->setGeometry(445, 34, 182, 76);
  GokeiLbl = MakeLabel(Panel1, QStringLiteral("GokeiLbl"), UiFont(FontFace::MsPGothic, 20, true));
  GokeiLbl->setAlignment(Qt::AlignCenter);
  GokeiLbl->setGeometry(Bevel1->geometry().adjusted(2, 2, -2, -2));

  Meisai = new ScoreGrid(Panel4);
  Meisai->setObjectName(QStringLiteral("Meisai"));

  Tyui1Lbl =
      MakeLabel(Panel4, QStringLiteral("Tyui1Lbl"), text, QStringLiteral("※配点は参考であり、"));
  Tyui2Lbl =
      MakeLabel(Panel4, QStringLiteral("Tyui2Lbl"), text, QStringLiteral("　均等の配点を表示"));
  Tyui3Lbl = MakeLabel(Panel4, QStringLiteral("Tyui3Lbl"), text, QStringLiteral("　しています。"));
  const int notesLeft = kGridLeft + kGridWidth + 12;
  Tyui1Lbl->setGeometry(notesLeft, kGridTop + 2, 160, 16);
  Tyui2Lbl->setGeometry(notesLeft, kGridTop + 18, 160, 16);
  Tyui3Lbl->setGeometry(notesLeft, kGridTop + 34, 160, 16);

  Label1 = MakeLabel(BottomBand(), QStringLiteral("Label1"), text,
                     QStringLiteral("実際の試験の場合には、すぐに得点を知ることはできません。"));
  Label2 = MakeLabel(
      BottomBand(), QStringLiteral("Label2"), text,
      QStringLiteral("試験終了後、およそ１ヶ月ほどで合否結果および認定証が送付されます。"));
  Label1->setGeometry(16, 4, 520, 16);
  Label2->setGeometry(16, 21, 520, 16);

  EndBtn = new RoundButton(QStringLiteral("終了する"), BottomBand());
  EndBtn->setObjectName(QStringLiteral("EndBtn"));
  EndBtn->resize(83, 28);
  connect(EndBtn, &RoundButton::clicked, this, &TfrmQZTP0040::EndBtnClick);

  LayOutContent();
}

void TfrmQZTP0040::SetUpScreen() {
  const SetupIni setup = ReadSetupIni(PartCode());
  const SystemIni system = ReadSystemIni(CurrentDate().year());
  const bool webStyle = setup.examType == u"3";

  GokeiLbl->setText(QStringLiteral("合計 0 点"));
  for (QLabel* note : {Tyui1Lbl, Tyui2Lbl, Tyui3Lbl, KyuNmLbl}) note->setVisible(webStyle);
  // The web-style part also names the grade, so the lines move closer together.
  const QList<int> tops = webStyle ? QList<int>{37, 53, 85, 101} : QList<int>{37, 57, 79, 99};
  IinkaiNameLbl->move(IinkaiNameLbl->x(), tops.at(0));
  ShikenNameLbl->move(ShikenNameLbl->x(), tops.at(1));
  KyuNmLbl->move(KyuNmLbl->x(), 69);
  KyuPatVerLbl->move(KyuPatVerLbl->x(), tops.at(2));
  BuMeisyoLbl->move(BuMeisyoLbl->x(), tops.at(3));
  if (webStyle) {
    EndBtn->setText(QStringLiteral("次へ >"));
    EndBtn->setFont(UiFont(FontFace::MsPGothic, 12, true));
    EndBtn->SetColours(RoundButton::EnabledTop(), RoundButton::EnabledBottom());
  } else {
    EndBtn->setText(QStringLiteral("終了する"));
    EndBtn->setFont(UiFont(FontFace::MsPGothic, 12));
    EndBtn->SetColours(RoundButton::GreyTop(), RoundButton::GreyBottom());
  }

  IinkaiNameLbl->setText(system.committeeName);
  ShikenNameLbl->setText(system.examName);
  KyuNmLbl->setText(system.gradeName);
  KyuPatVerLbl->setText(PatternVersionText(system.pattern, system.versionName, system.patternName));
  BuMeisyoLbl->setText(setup.partName);

  score_ = ScorePart(PartCode());
  Meisai->SetScore(score_);
  if (setup.subQuestionsOnly) Meisai->SetRowHeight(0, 0);
  GokeiLbl->setText(TotalText(score_, webStyle));

  resize(kWidth, ScoringWindowHeight(score_.maxSubQuestions));
}

void TfrmQZTP0040::resizeEvent(QResizeEvent* event) {
  ScreenFrame::resizeEvent(event);
  LayOutContent();
}

void TfrmQZTP0040::LayOutContent() {
  if (!Panel4) return;  // the frame resizes before the content exists
  const int contentHeight = std::max(0, height() - kTitleBandHeight - kBottomBandHeight);
  Panel4->setGeometry(0, kTitleBandHeight, width(), contentHeight);
  // The grid keeps its top and stretches with the window.
  Meisai->setGeometry(kGridLeft, kGridTop, kGridWidth,
                      std::max(0, contentHeight - kGridTop - kGridBottomMargin));
  EndBtn->move(width() - EndBtn->width() - 12, (kBottomBandHeight - EndBtn->height()) / 2);
}

void TfrmQZTP0040::EndBtnClick() {
  Log(QStringLiteral("終了ボタン押下"));
  done(ModalResult::Cancel);
}

}  // namespace examora
