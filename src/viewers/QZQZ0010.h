// QZQZ0010: the finished-sample viewer ("仕上り見本(１／３)"), one picture per page.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QScrollArea;

namespace examora {

class RoundButton;

// Zoom and caption rules of the viewer, kept apart from the widgets.
// The percentage at which a picture fits the box: trunc(min(box w / w, box h / h) × 100);
// 100 for a picture without size.
int FitPercent(QSize box, QSize picture);
// 縮小 takes 10 off, never below 1.
int ZoomOutPercent(int percent);
// "<base>(<page>／<count>)" with full-width digits; page counted from 1.
QString ViewerCaption(const QString& base, int page, int count);
// Where the viewer opens the first time: 800 × 600 in the middle of the screen.
QRect DefaultViewerBounds(int screenWidth, int screenHeight);

// The picture control: draws the page decoded once, scaled to its own size on each paint.
class SamplePicture : public QWidget {
  Q_OBJECT

 public:
  explicit SamplePicture(QWidget* parent = nullptr);
  void SetImage(const QImage& image);
  const QImage& Image() const { return image_; }
  void SetZoom(int percent) { zoom_ = percent; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  int zoom_ = 100;
};

// The viewer window: modeless, with its own taskbar button, owned by the exam window only
// through the callbacks below. It deletes itself when closed.
class TfrmQZQZ0010 : public QWidget {
  Q_OBJECT

 public:
  TfrmQZQZ0010();

  // ---- Inputs, set before showing ----
  QString SetupFolderCode;
  QRect InitialBounds = QRect(0, 0, 800, 600);
  int StartPage = 0;
  QString BaseCaption = QStringLiteral("仕上り見本");
  bool KeepOnTop = true;
  // Told the last bounds and page when the viewer closes.
  std::function<void(const QRect&, int)> HandBack;
  // The owner leaves the top-most layer while a page message is up.
  std::function<void(bool)> OwnerTopMost;

  // ---- State ----
  QStringList PageFiles;
  int PageIndex = 0;
  int ZoomPercent = 100;
  bool FitMode = true;
  int PageCount() const { return static_cast<int>(PageFiles.size()); }
  QSize ImageSize() const { return picture_->Image().size(); }

  // Buttons (one handler for both page buttons in the original form; one each here).
  void BackBtnClick();
  void NextBtnClick();
  void ImgWindowBtnClick();
  void ZoomNoneBtnClick();
  void ZoomInBtnClick();
  void ZoomOutBtnClick();

  SamplePicture* MihonImg() const { return picture_; }
  QScrollArea* ScrollBox() const { return scrollBox_; }
  RoundButton* BackBtn = nullptr;
  RoundButton* NextBtn = nullptr;
  RoundButton* ImgWindowBtn = nullptr;
  RoundButton* ZoomNoneBtn = nullptr;
  RoundButton* ZoomOutBtn = nullptr;
  RoundButton* ZoomInBtn = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void Log(const QString& event) const;
  QString PagePath() const;
  bool CurrentPageExists() const;
  void DisplayPage();
  void Render(int percent);
  void Place(QSize oldSize, int oldH, int oldV);
  void RenderAndPlace(int percent);
  void FitToBox();
  void SetPageButtons();
  void SetPageButtonsAfterPaging();
  void PageMessage(const QString& text);
  void SetModeColours(bool fitHighlighted, bool standardHighlighted);

  bool shown_ = false;
  SamplePicture* picture_ = nullptr;
  QScrollArea* scrollBox_ = nullptr;
  QWidget* bottomPanel_ = nullptr;
};

}  // namespace examora
