#pragma once

#include <QColor>
#include <QPushButton>

namespace examora {

// The rounded gradient button of every screen: white bold caption on a vertical gradient,
// blue when enabled, grey when disabled. Screens may give it other colours (the grey close
// buttons of the title band use the disabled gradient while enabled).
class RoundButton : public QPushButton {
  Q_OBJECT

 public:
  explicit RoundButton(const QString& caption, QWidget* parent = nullptr);

  // Gradient used while the button is enabled.
  void SetColours(QColor top, QColor bottom);
  // The modal result the button gives its dialog when clicked (0 = none), as the screens'
  // buttons carry one; the owning dialog closes with it.
  void SetModalResult(int result) { modalResult_ = result; }
  int ModalResult() const { return modalResult_; }

  static QColor EnabledTop() { return QColor(0x00, 0x94, 0xD7); }
  static QColor EnabledBottom() { return QColor(0x00, 0x49, 0x88); }
  static QColor GreyTop() { return QColor(0x88, 0x88, 0x88); }
  static QColor GreyBottom() { return QColor(0x57, 0x57, 0x63); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QColor top_ = EnabledTop();
  QColor bottom_ = EnabledBottom();
  int modalResult_ = 0;
};

}  // namespace examora
