// The candidate sees: "open page 1 of the question booklet and answer as it says", with 閉じる.
#include "flow/QZTP0070.h"

#include <QLabel>

#include "widgets/Fonts.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kStartNoticeWidth = 470;
constexpr int kStartNoticeHeight = 185;
constexpr int kStartNoticeTitleBand = 70;
constexpr int kStartNoticeLineHeight = 22;

QLabel* StartNoticeLine(QWidget* parent, const char* name, int top, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  label->setFont(UiFont(FontFace::MsPGothic, 17));
  label->setGeometry(24, top, kStartNoticeWidth - 40, kStartNoticeLineHeight);
  label->setStyleSheet(QStringLiteral("background: transparent;"));
  return label;
}

}  // namespace

TfrmQZTP0070::TfrmQZTP0070(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0070"), .logsStart = false}) {
  resize(kStartNoticeWidth, kStartNoticeHeight);
  const QString title = QStringLiteral("実技問題の開始");
  setWindowTitle(title);
  TitleLabel()->setFont(UiFont(FontFace::Meiryo, 17));
  TitleLabel()->setText(title);
  TitleLabel()->adjustSize();

  // The sentence is split where the design splits it.
  Mes1Lbl = StartNoticeLine(this, "Mes1Lbl", kStartNoticeTitleBand + 8,
                            QStringLiteral("実技問題＜設問＞冊子の１ページを開き、設問文の指示に"));
  Mes2Lbl = StartNoticeLine(this, "Mes2Lbl", kStartNoticeTitleBand + 8 + kStartNoticeLineHeight,
                            QStringLiteral("従って解答してください。"));

  OkBtn = new RoundButton(QStringLiteral("閉じる"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setGeometry((kStartNoticeWidth - 80) / 2, (53 - 26) / 2, 80, 26);
  connect(OkBtn, &RoundButton::clicked, this, &TfrmQZTP0070::OkBtnClick);
}

void TfrmQZTP0070::OkBtnClick() {
  close();
}

}  // namespace examora
