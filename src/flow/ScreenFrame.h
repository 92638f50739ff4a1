// The frame every wizard and notice screen shares: title band, step picture, footer, buttons.
#pragma once

#include <QDialog>
#include <QEvent>
#include <QPoint>
#include <QString>

class QLabel;

namespace examora {

class RoundButton;

// Posted by every screen to itself at the end of its show handling, so that the work it
// triggers (the rounded shape, the session sequence of the background window) runs after
// the window has become visible at its final size.
inline constexpr QEvent::Type kAfterShowEvent = static_cast<QEvent::Type>(QEvent::User + 256);

// Modal results of the screens.
namespace ModalResult {
inline constexpr int Ok = 1;      // go on / start / end confirmed
inline constexpr int Cancel = 2;  // closed or cancelled
inline constexpr int Yes = 6;     // jump to a question
inline constexpr int Back = 7;    // previous wizard step
}  // namespace ModalResult

// The frame every screen shares: borderless and round-cornered, a painted title band with
// the title, a lavender content area, a painted bottom band for the buttons; started,
// logged, kept on top and draggable by its title band the same way everywhere. A screen
// derives from it, builds its controls in its constructor at their design positions, and
// fills them in SetUpScreen(), which runs on every show.
class ScreenFrame : public QDialog {
  Q_OBJECT

 public:
  enum class Kind {
    Dialog,  // small dialog: title band 70 px, bottom band 53 px
    Wizard,  // full-size wizard screen: logo, close button, step band, footer notice
  };
  enum class TopMost { None, Self, App };

  struct Options {
    QString formCode;  // eight characters, for example "QZTP0020"
    Kind kind = Kind::Dialog;
    bool logsStart = true;
    TopMost topMost = TopMost::Self;
    bool centre = false;       // centre on the primary screen after show
    bool titleColour = false;  // apply the link-mode colour to the title
    int bottomBandHeight = 53;
  };

  ScreenFrame(QWidget* owner, Options options);

  const QString& PartCode() const { return partCode_; }
  void SetPartCode(const QString& partCode) { partCode_ = partCode; }
  const QString& FormCode() const { return options_.formCode; }
  QString FormName() const { return QStringLiteral("frm") + options_.formCode; }

  // Writes "<FormCode>：<event>" to the part's run log.
  void Log(const QString& event) const;

  // Shows the screen application-modal and waits for its result, like exec(), except that
  // the screen may hide itself while a later wizard step runs without ending the wait.
  int ShowModal();

  // Wizard chaining: hides this screen, shows next modally; "back" (7) shows this screen
  // again and returns 7; any other result closes this screen with that result.
  int ChainTo(ScreenFrame& next);

  // Parts of the frame the screens fill in.
  QWidget* TitleBand() const { return titleBand_; }
  QLabel* TitleBandPicture() const { return titlePicture_; }
  QLabel* TitleLabel() const { return titleLabel_; }
  QWidget* StepBand() const { return stepBand_; }       // wizard screens only
  QLabel* StepPicture() const { return stepPicture_; }  // wizard screens only
  QWidget* BottomBand() const { return bottomBand_; }
  QLabel* BottomBandPicture() const { return bottomPicture_; }
  QLabel* FooterLabel() const { return footerLabel_; }       // wizard screens only
  RoundButton* CloseButton() const { return closeButton_; }  // wizard screens only

  // Height of the step band as laid out now (0 when collapsed or absent).
  int StepBandHeight() const;
  void SetStepBandCollapsed(bool collapsed);

  // Reads 表示タイプ and sets the step caption and the centred step picture.
  void ApplyStepIndicator(bool inWizard, bool setCaption = true);
  // Colours the title by the link mode read fresh from shiken.ini.
  void ApplyTitleColour();
  // The footer notice, replaced for parts of exam type "3".
  void ApplyFooter();
  // Paints both bands from the frame pictures.
  void PaintBands();
  // The files of the frame pictures (title band, bottom band).
  static QStringList BandPictures();
  // The file of the step picture a screen shows for the display type and part; "" when the
  // screen shows none.
  static QString StepPicturePath(const QString& displayType, const QString& partCode,
                                 const QString& formCode, bool inWizard);

  // Disables dragging by the title band (the operation explanation screen stays put).
  void SetDraggable(bool draggable) { draggable_ = draggable; }

 public slots:
  void reject() override;  // closing the window is "cancelled" (2)
  // Every show opens above the part's background and exam windows (StackAboveOwners).
  void setVisible(bool visible) override;

 protected:
  // The screen's own set-up; runs on every show, after the bands are painted.
  virtual void SetUpScreen() {}
  // Handler of kAfterShowEvent; the default gives the window its rounded shape.
  virtual void AfterShow();

  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LayOutBands();
  void FitFooter();
  void StartDrag(QPoint globalPos);

  Options options_;
  QString partCode_;
  QWidget* titleBand_ = nullptr;
  QLabel* titlePicture_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* logo_ = nullptr;
  QWidget* stepBand_ = nullptr;
  QLabel* stepPicture_ = nullptr;
  QWidget* bottomBand_ = nullptr;
  QLabel* bottomPicture_ = nullptr;
  QLabel* footerLabel_ = nullptr;
  RoundButton* closeButton_ = nullptr;
  bool stepBandCollapsed_ = false;
  bool bandsPainted_ = false;
  bool centreWhenSetUp_ = false;
  bool draggable_ = true;
  bool manualDrag_ = false;
  QPoint dragOffset_;
};

}  // namespace examora
