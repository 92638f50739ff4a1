#pragma once

#include <QObject>

#include <functional>

class QAbstractButton;

namespace examora {

// Reports each choice made on an answer sheet's radio buttons once, however it was made: a
// click, Space, an arrow key within the row, or an assistive tool's press or toggle action (a
// toggle checks the button without a click). A click on the choice already checked is
// reported again (a failed save is retried that way); the click that ends the press which
// checked a button is the same choice and is not reported twice. Checks made while `quiet`
// says so (stored answers being restored) are not reported.
class ChoiceReporter : public QObject {
 public:
  using Report = std::function<void(int row, int choice)>;

  ChoiceReporter(std::function<bool()> quiet, Report report, QObject* parent);

  void Watch(QAbstractButton* button, int row, int choice);

 private:
  std::function<bool()> quiet_;
  Report report_;
  struct {
    int row = 0;
    int choice = 0;
  } checkedNow_;
};

}  // namespace examora
