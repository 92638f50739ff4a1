#include "widgets/ChoiceReporter.h"

#include <QAbstractButton>

namespace examora {

ChoiceReporter::ChoiceReporter(std::function<bool()> quiet, Report report, QObject* parent)
    : QObject(parent), quiet_(std::move(quiet)), report_(std::move(report)) {}

void ChoiceReporter::Watch(QAbstractButton* button, int row, int choice) {
  connect(button, &QAbstractButton::pressed, this, [this] { checkedNow_ = {}; });
  connect(button, &QAbstractButton::toggled, this, [this, row, choice](bool on) {
    if (!on || quiet_()) return;
    checkedNow_ = {row, choice};
    report_(row, choice);
  });
  connect(button, &QAbstractButton::clicked, this, [this, row, choice] {
    const bool reported = checkedNow_.row == row && checkedNow_.choice == choice;
    checkedNow_ = {};
    if (!reported) report_(row, choice);
  });
}

}  // namespace examora
