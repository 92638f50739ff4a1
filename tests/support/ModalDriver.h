#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <memory>

class QAbstractButton;
class QWidget;

// Drives modal windows from a test. Production code runs dialogs and message boxes with
// exec(), which blocks in a nested event loop; the test arms a wait before the call, and the
// wait runs its action on the modal widget once it is up (from inside that nested loop).
// Waits can be armed from inside an action to drive a modal opened by that action.
namespace examora::test {

class ModalWait {
 public:
  bool fired() const { return fired_; }
  bool timedOut() const { return timedOut_; }
  // Stops waiting; use when the code under test is expected to show nothing.
  void cancel() { cancelled_ = true; }

 private:
  friend class ModalWaitRunner;
  bool fired_ = false;
  bool timedOut_ = false;
  bool cancelled_ = false;
};

using ModalAction = std::function<void(QWidget*)>;
using ModalMatch = std::function<bool(QWidget*)>;

// Runs action on the first active modal widget that appears after this call (a modal already
// active now does not count, so a nested modal is told from its owner) and satisfies match
// (any widget when match is empty). Polls every 10 ms through the event loop. When nothing
// appears within timeoutMs the wait ends and, if the same test function is still running,
// records a test failure.
std::shared_ptr<ModalWait> WhenModal(ModalMatch match, ModalAction action, int timeoutMs = 5000);

inline std::shared_ptr<ModalWait> WhenModalAppears(ModalAction action, int timeoutMs = 5000) {
  return WhenModal({}, std::move(action), timeoutMs);
}

// The visible button whose text is text, ignoring "&" mnemonic markers; nullptr if none.
QAbstractButton* FindButton(QWidget* root, const QString& text);

// The standard button of a message box; nullptr when widget is not a QMessageBox or has no
// such button.
QAbstractButton* FindButton(QWidget* widget, QMessageBox::StandardButton which);

// Convenience actions.
ModalAction ClickButton(const QString& text);
ModalAction ClickButton(QMessageBox::StandardButton which);

}  // namespace examora::test
