#include "widgets/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>

#include "common/MessageCode.h"
#include "common/Numbers.h"

namespace examora {
namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQtButton(MessageButton button) {
  switch (button) {
    case MessageButton::Ok:
      return QMessageBox::Ok;
    case MessageButton::Cancel:
      return QMessageBox::Cancel;
    case MessageButton::Yes:
      return QMessageBox::Yes;
    case MessageButton::No:
      return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

}  // namespace

int ShowMessageCode(QWidget* owner, QStatusBar* statusBar, const QString& codedText,
                    const QString& extraText) {
  const std::optional<MessageBoxSetup> setup = ParseMessageCode(codedText);
  if (!setup) {
    if (statusBar) statusBar->showMessage(codedText);
    return 0;
  }

  QMessageBox box(owner);
  box.setWindowTitle(setup->caption);
  box.setIcon(ToQtIcon(setup->icon));
  // Texts such as "[はい]ボタン" are plain text; never let Qt guess rich text.
  box.setTextFormat(Qt::PlainText);
  box.setText(MessageBody(codedText, extraText));
  for (MessageButton b : setup->buttons) {
    QPushButton* button = box.addButton(ToQtButton(b));
    button->setText(MessageButtonLabel(b));
  }
  box.setDefaultButton(ToQtButton(setup->defaultButton));
  box.setEscapeButton(box.button(ToQtButton(setup->escapeButton)));
  // Topmost and brought to the front, so the question is seen even over the topmost exam
  // windows and the office application.
  // Modality first: QMessageBox::setWindowModality re-parents the box and resets its flags.
  box.setWindowModality(Qt::ApplicationModal);
  box.setWindowFlags(box.windowFlags() | Qt::WindowStaysOnTopHint);
  QTimer::singleShot(0, &box, [&box] {
    box.raise();
    box.activateWindow();
  });
  box.exec();

  QAbstractButton* clicked = box.clickedButton();
  if (!clicked) clicked = box.button(ToQtButton(setup->escapeButton));
  for (MessageButton b : setup->buttons) {
    if (box.button(ToQtButton(b)) == clicked) return static_cast<int>(b);
  }
  return static_cast<int>(setup->escapeButton);
}

void CenterOnScreen(QWidget* form) {
  if (!form) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QSize size = form->isVisible() ? form->frameGeometry().size() : form->size();
  form->move(CenteredTopLeft(screen->geometry(), size));
}

}  // namespace examora
