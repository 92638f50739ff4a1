#include "ModalDriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace examora::test {

// Holds the state of one wait between polls.
class ModalWaitRunner {
 public:
  ModalWaitRunner(std::shared_ptr<ModalWait> wait, ModalMatch match, ModalAction action,
                  int timeoutMs)
      : wait_(std::move(wait)),
        match_(std::move(match)),
        action_(std::move(action)),
        timeoutMs_(timeoutMs),
        before_(QApplication::activeModalWidget()),
        hadBefore_(before_ != nullptr),
        testFunction_(CurrentTestId()) {
    clock_.start();
  }

  static void Poll(std::shared_ptr<ModalWaitRunner> self) {
    ModalWait& wait = *self->wait_;
    if (wait.cancelled_) return;

    QWidget* modal = QApplication::activeModalWidget();
    // The modal that was up when the wait was armed is its owner, not the one awaited; once
    // that owner is gone (QPointer cleared) any modal is new.
    const bool isOld = self->hadBefore_ && !self->before_.isNull() && modal == self->before_;
    if (modal && modal->isVisible() && !isOld && (!self->match_ || self->match_(modal))) {
      wait.fired_ = true;
      self->action_(modal);
      return;
    }
    if (self->clock_.elapsed() >= self->timeoutMs_) {
      wait.timedOut_ = true;
      // A failure belongs to the test that armed the wait; a stale wait stays quiet.
      if (CurrentTestId() == self->testFunction_) {
        QTest::qFail("expected modal window did not appear in time", __FILE__, __LINE__);
      } else {
        qWarning("ModalDriver: a wait armed by %s timed out", self->testFunction_.constData());
      }
      return;
    }
    QTimer::singleShot(10, qApp, [self] { Poll(self); });
  }

 private:
  static QByteArray CurrentTestId() {
    return QByteArray(QTest::currentTestFunction()) + '/' + QByteArray(QTest::currentDataTag());
  }

  std::shared_ptr<ModalWait> wait_;
  ModalMatch match_;
  ModalAction action_;
  int timeoutMs_;
  QPointer<QWidget> before_;
  bool hadBefore_;
  QByteArray testFunction_;
  QElapsedTimer clock_;
};

std::shared_ptr<ModalWait> WhenModal(ModalMatch match, ModalAction action, int timeoutMs) {
  auto wait = std::make_shared<ModalWait>();
  auto runner =
      std::make_shared<ModalWaitRunner>(wait, std::move(match), std::move(action), timeoutMs);
  QTimer::singleShot(10, qApp, [runner] { ModalWaitRunner::Poll(runner); });
  return wait;
}

QAbstractButton* FindButton(QWidget* root, const QString& text) {
  if (!root) return nullptr;
  const auto plain = [](QString s) { return s.remove(QLatin1Char('&')); };
  const QString wanted = plain(text);
  const QList<QAbstractButton*> buttons = root->findChildren<QAbstractButton*>();
  for (QAbstractButton* b : buttons) {
    if (b->isVisible() && plain(b->text()) == wanted) return b;
  }
  return nullptr;
}

QAbstractButton* FindButton(QWidget* widget, QMessageBox::StandardButton which) {
  auto* box = qobject_cast<QMessageBox*>(widget);
  return box ? box->button(which) : nullptr;
}

ModalAction ClickButton(const QString& text) {
  return [text](QWidget* w) {
    QAbstractButton* b = FindButton(w, text);
    if (!b) {
      QTest::qFail(qPrintable(QStringLiteral("no button \"%1\" in the modal window").arg(text)),
                   __FILE__, __LINE__);
      w->close();
      return;
    }
    b->click();
  };
}

ModalAction ClickButton(QMessageBox::StandardButton which) {
  return [which](QWidget* w) {
    QAbstractButton* b = FindButton(w, which);
    if (!b) {
      QTest::qFail("the modal window has no such standard button", __FILE__, __LINE__);
      w->close();
      return;
    }
    b->click();
  };
}

}  // namespace examora::test
