#include "widgets/WheelLines.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace examora {

namespace {

class OneLinePerWheel : public QObject {
 public:
  explicit OneLinePerWheel(QAbstractScrollArea* area) : QObject(area), area_(area) {}

 protected:
  // Wheel messages over the area's children reach its viewport as they go up the parents.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel) return QObject::eventFilter(watched, event);
    const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
    if (delta != 0)
      area_->verticalScrollBar()->triggerAction(delta > 0 ? QAbstractSlider::SliderSingleStepSub
                                                          : QAbstractSlider::SliderSingleStepAdd);
    event->accept();
    return true;
  }

 private:
  QAbstractScrollArea* area_;
};

}  // namespace

void ScrollOneLinePerWheel(QAbstractScrollArea* area) {
  area->viewport()->installEventFilter(new OneLinePerWheel(area));
}

}  // namespace examora
