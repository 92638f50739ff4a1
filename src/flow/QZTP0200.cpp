#include "flow/QZTP0200.h"

#include <QKeyEvent>
#include <QLabel>

#include "data/ExamData.h"
#include "flow/model/StartScreenRules.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/MessageBox.h"
#include "widgets/NumericEdit.h"
#include "widgets/RoundButton.h"

namespace examora {
namespace {

constexpr int kWidth = 363;
constexpr int kHeight = 176;
constexpr int kButtonTop = 13;

QLabel* MessageLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
  QLabel* label = TransparentLabel(parent, name, text, geometry);
  label->setFont(UiFont(FontFace::MsGothic, 13, true));
  return label;
}

}  // namespace

// ---- QZTP0200: input -----------------------------------------------------------------------

TfrmQZTP0200::TfrmQZTP0200(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0200"), .centre = true}) {
  resize(kWidth, kHeight);
  setWindowTitle(QStringLiteral("試験時間延長"));
  TitleLabel()->setText(QStringLiteral("試験時間延長"));
  TitleLabel()->adjustSize();

  TimeNEdt = new NumericEdit(3, this);
  TimeNEdt->setObjectName(QStringLiteral("TimeNEdt"));
  TimeNEdt->setGeometry(16, 84, 44, 24);
  TimeNEdt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  TimeNEdt->installEventFilter(this);
  MessageLabel(this, QStringLiteral("Label1"), QStringLiteral("分"), {64, 86, 20, 20});
  MessageLabel(this, QStringLiteral("Label2"),
               QStringLiteral("延長したい時間（分）を半角数字で入力後、"), {94, 78, 266, 18});
  MessageLabel(this, QStringLiteral("Label3"),
               QStringLiteral("［延長］ボタンをクリックしてください。"), {94, 98, 266, 18});

  OkBtn = new RoundButton(QStringLiteral("延長"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setGeometry(kWidth - 28 - 80 - 10 - 80, kButtonTop, 80, 26);
  connect(OkBtn, &QPushButton::clicked, this, &TfrmQZTP0200::OkBtnClick);
  plButton1 = new RoundButton(QStringLiteral("閉じる"), BottomBand());
  plButton1->setObjectName(QStringLiteral("plButton1"));
  plButton1->setGeometry(kWidth - 28 - 80, kButtonTop, 80, 26);
  plButton1->SetModalResult(ModalResult::Cancel);
}

void TfrmQZTP0200::SetUpScreen() {
  TimeNEdt->SetValue(ReadSetupIni(PartCode()).add);
  TimeNEdt->selectAll();
  TimeNEdt->setFocus();
}

bool TfrmQZTP0200::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TimeNEdt && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      OkBtn->click();
      return true;
    }
  }
  return ScreenFrame::eventFilter(watched, event);
}

void TfrmQZTP0200::OkBtnClick() {
  const int minutes = TimeNEdt->Value(0);
  const ExtensionCheck check =
      CheckExtension(minutes, ReadSetupIni(PartCode()).ExtensionLimitMinutes());
  if (!check.ok) {
    TimeNEdt->setFocus();
    ShowMessageCode(this, nullptr, check.message);
    return;
  }
  // A failed write leaves the old value; the caller reads add back and sees no change.
  (void)WriteExtensionMinutes(PartCode(), minutes);
  done(ModalResult::Ok);
}

// ---- QZTP0210: result ----------------------------------------------------------------------

TfrmQZTP0210::TfrmQZTP0210(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZTP0210"), .centre = true}) {
  resize(kWidth, kHeight);
  setWindowTitle(QStringLiteral("試験時間延長の設定完了"));
  TitleLabel()->setText(QStringLiteral("試験時間延長の設定完了"));
  TitleLabel()->adjustSize();

  MesLbl = MessageLabel(this, QStringLiteral("MesLbl"), {}, {28, 88, kWidth - 40, 18});

  OkBtn = new RoundButton(QStringLiteral("閉じる"), BottomBand());
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  OkBtn->setGeometry(kWidth - 28 - 80, kButtonTop, 80, 26);
  OkBtn->SetModalResult(ModalResult::Ok);
}

void TfrmQZTP0210::SetUpScreen() {
  MesLbl->setText(ExtensionResultText(OldMinutes, NewMinutes));
}

}  // namespace examora
