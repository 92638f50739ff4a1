#include "flow/QZQZ0040.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "flow/ExamWindows.h"
#include "flow/QZQZ0030.h"
#include "widgets/Band.h"
#include "widgets/MessageBox.h"

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
    QString error;
    if (const std::unique_ptr<ScreenFrame> notes = CreateNotesScreen(this, true, &error)) {
      notes->SetPartCode(PartCode());
      notes->ShowModal();
    } else {
      Log(msg::kPageModuleMissing + error);
      ShowMessageCode(this, nullptr, msg::kPageModuleMissing, error);
    }
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
