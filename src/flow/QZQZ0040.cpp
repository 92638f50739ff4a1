#include "flow/QZQZ0040.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "common/ExeFolder.h"
#include "flow/QZQZ0030.h"
#include "flow/QZTP0030.h"
#include "widgets/Band.h"

namespace examora {

TfrmQZQZ0040::TfrmQZQZ0040(QWidget* owner)
    : ScreenFrame(owner, {.formCode = QStringLiteral("QZQZ0040"),
                          .kind = Kind::Dialog,
                          .logsStart = false,
                          .topMost = TopMost::None}) {
  // One picture over the whole window; the frame's bands stay hidden under it.
  TitleBand()->hide();
  BottomBand()->hide();
  picture_ = new QLabel(this);
  picture_->setObjectName(QStringLiteral("BGImg"));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    setGeometry(QRect(QPoint(0, 0), screen->geometry().size()));
  picture_->setGeometry(rect());
}

void TfrmQZQZ0040::resizeEvent(QResizeEvent* event) {
  ScreenFrame::resizeEvent(event);
  if (picture_) picture_->setGeometry(rect());
}

void TfrmQZQZ0040::SetUpScreen() {
  picture_->setGeometry(rect());
  PaintBand(picture_, ExePath(QStringLiteral("system\\Image\\bg.jpg")));
}

void TfrmQZQZ0040::AfterShow() {
  // The cover keeps its square corners: it is the background of the opened screen.
  if (ShowNotes) {
    TfrmQZTP0030 notes(this);
    notes.SetPartCode(PartCode());
    notes.FromExamWindow = true;
    notes.ShowModal();
  } else {
    TfrmQZQZ0030 explanation(this);
    explanation.SetPartCode(PartCode());
    explanation.ExamCategory = ExamCategory;
    explanation.KeepOnTop = KeepOnTop;
    explanation.WizardMode = false;
    explanation.ShowModal();
  }
  done(ModalResult::Cancel);
}

}  // namespace examora
