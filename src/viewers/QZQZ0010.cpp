#include "viewers/QZQZ0010.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "common/ExeFolder.h"
#include "common/FullWidth.h"
#include "common/RunLog.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {

namespace {

constexpr int kViewerBottomPanel = 54;
constexpr int kViewerButtonWidth = 41;
constexpr int kViewerButtonHeight = 35;
const QColor kViewerNormalTop(0x77, 0xCD, 0xFF);
const QColor kViewerNormalBottom(0x01, 0x90, 0xDC);
const QColor kViewerHighlightTop(0xFF, 0x8C, 0x90);
const QColor kViewerHighlightBottom(0xFF, 0x00, 0x00);
const QColor kViewerDisabled(0xC0, 0xC0, 0xC0);

}  // namespace

int FitPercent(QSize box, QSize picture) {
  if (picture.width() <= 0 || picture.height() <= 0) return 100;
  const double ratio = std::min(static_cast<double>(box.width()) / picture.width(),
                                static_cast<double>(box.height()) / picture.height());
  return std::max(1, static_cast<int>(ratio * 100));
}

int ZoomOutPercent(int percent) {
  return std::max(1, percent - 10);
}

QString ViewerCaption(const QString& base, int page, int count) {
  return base + u'(' + ToFullWidth(QString::number(page)) + u'／' +
         ToFullWidth(QString::number(count)) + u')';
}

QRect DefaultViewerBounds(int screenWidth, int screenHeight) {
  return {static_cast<int>(std::lround((screenWidth - 800) / 2.0)),
          static_cast<int>(std::lround((screenHeight - 600) / 2.0)), 800, 600};
}

SamplePicture::SamplePicture(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("MihonImg"));
}

void SamplePicture::SetImage(const QImage& image) {
  image_ = image;
  update();
}

void SamplePicture::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  const QSize drawn(static_cast<int>(static_cast<qint64>(image_.width()) * zoom_ / 100),
                    static_cast<int>(static_cast<qint64>(image_.height()) * zoom_ / 100));
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(QPoint(0, 0), drawn), image_);
}

TfrmQZQZ0010::TfrmQZQZ0010() : QWidget(nullptr, Qt::Window) {
  setObjectName(QStringLiteral("TfrmQZQZ0010"));
  setAttribute(Qt::WA_DeleteOnClose);
  scrollBox_ = new QScrollArea(this);
  scrollBox_->setObjectName(QStringLiteral("ScrollBox1"));
  scrollBox_->setAlignment(Qt::AlignCenter);
  scrollBox_->setWidgetResizable(false);
  picture_ = new SamplePicture;
  scrollBox_->setWidget(picture_);
  picture_->installEventFilter(this);
  scrollBox_->viewport()->installEventFilter(this);

  bottomPanel_ = new QWidget(this);
  bottomPanel_->setObjectName(QStringLiteral("Panel1"));
  const auto button = [this](const QString& name, const QString& caption) {
    auto* b = new RoundButton(caption, bottomPanel_);
    b->setObjectName(name);
    b->resize(kViewerButtonWidth, kViewerButtonHeight);
    b->SetColours(kViewerNormalTop, kViewerNormalBottom);
    return b;
  };
  BackBtn = button(QStringLiteral("BackBtn"), QStringLiteral("前頁"));
  NextBtn = button(QStringLiteral("NextBtn"), QStringLiteral("次頁"));
  ImgWindowBtn = button(QStringLiteral("ImgWindowBtn"), QStringLiteral("全体"));
  ZoomNoneBtn = button(QStringLiteral("ZoomNoneBtn"), QStringLiteral("標準"));
  ZoomOutBtn = button(QStringLiteral("ZoomOutBtn"), QStringLiteral("縮小"));
  ZoomInBtn = button(QStringLiteral("ZoomInBtn"), QStringLiteral("拡大"));
  // Fit mode starts highlighted, though the first page is drawn at 100 % until a resize or
  // "全体" applies the fit.
  SetModeColours(true, false);
  connect(BackBtn, &QPushButton::clicked, this, &TfrmQZQZ0010::BackBtnClick);
  connect(NextBtn, &QPushButton::clicked, this, &TfrmQZQZ0010::NextBtnClick);
  connect(ImgWindowBtn, &QPushButton::clicked, this, &TfrmQZQZ0010::ImgWindowBtnClick);
  connect(ZoomNoneBtn, &QPushButton::clicked, this, &TfrmQZQZ0010::ZoomNoneBtnClick);
  connect(ZoomOutBtn, &QPushButton::clicked, this, &TfrmQZQZ0010::ZoomOutBtnClick);
  connect(ZoomInBtn, &QPushButton::clicked, this, &TfrmQZQZ0010::ZoomInBtnClick);
  resize(538, 529);
}

void TfrmQZQZ0010::Log(const QString& event) const {
  WriteLog(QStringLiteral("QZQZ0010：") + event, SetupFolderCode);
}

void TfrmQZQZ0010::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FormShow();
}

void TfrmQZQZ0010::FormShow() {
  Log(QStringLiteral("開始"));
  if (KeepOnTop) SetTopMost(this, true);
  setGeometry(InitialBounds);
  setWindowTitle(ViewerCaption(BaseCaption, 0, 0));
  const QDir folder(
      ExePath(QStringLiteral("system\\") + SetupFolderCode + QStringLiteral("\\html\\s")));
  if (!folder.exists()) return;
  // Sorted by name, as the venue machines list them, so that the pages keep their order on
  // every file system.
  PageFiles =
      folder.entryList({QStringLiteral("*.jpeg")}, QDir::Files | QDir::Hidden | QDir::System,
                       QDir::Name | QDir::IgnoreCase);
  if (PageCount() > 0) {
    // A remembered page beyond a page list that has shrunk since shows the last page.
    PageIndex = std::clamp(StartPage, 0, PageCount() - 1);
    DisplayPage();
  }
  SetPageButtons();
}

QString TfrmQZQZ0010::PagePath() const {
  if (PageIndex < 0 || PageIndex >= PageCount()) return {};
  return ExePath(QStringLiteral("system\\") + SetupFolderCode + QStringLiteral("\\html\\s\\") +
                 PageFiles.at(PageIndex));
}

bool TfrmQZQZ0010::CurrentPageExists() const {
  const QString path = PagePath();
  return !path.isEmpty() && QFileInfo(path).isFile();
}

void TfrmQZQZ0010::DisplayPage() {
  setWindowTitle(ViewerCaption(BaseCaption, PageIndex + 1, PageCount()));
  const bool hadPage = !picture_->Image().isNull();
  QSize oldSize = picture_->size();
  const int oldH = scrollBox_->horizontalScrollBar()->value();
  const int oldV = scrollBox_->verticalScrollBar()->value();
  // Decoded once per page; a page that went away or is no picture shows as an empty page.
  QImage image;
  if (CurrentPageExists()) {
    QImageReader reader(PagePath());
    reader.setAutoTransform(false);
    image = reader.read();
  }
  picture_->SetImage(image);
  Render(ZoomPercent);
  // The first page (or the one after an empty page) opens at its top-left corner: there was
  // no picture whose middle to keep.
  if (!hadPage) oldSize = picture_->size();
  Place(oldSize, oldH, oldV);
}

void TfrmQZQZ0010::Render(int percent) {
  ZoomPercent = percent;
  picture_->SetZoom(ZoomPercent);
  const QSize image = ImageSize();
  picture_->resize(static_cast<int>(static_cast<qint64>(image.width()) * percent / 100),
                   static_cast<int>(static_cast<qint64>(image.height()) * percent / 100));
  picture_->update();
}

void TfrmQZQZ0010::Place(QSize oldSize, int oldH, int oldV) {
  // A picture smaller than the box is centred by the box; a larger one keeps the point that
  // was in the middle of the view there.
  const QSize box = scrollBox_->viewport()->size();
  if (picture_->width() >= box.width()) {
    scrollBox_->horizontalScrollBar()->setValue(
        static_cast<int>(std::lround((picture_->width() - oldSize.width()) / 2.0)) + oldH);
  }
  if (picture_->height() >= box.height()) {
    scrollBox_->verticalScrollBar()->setValue(
        static_cast<int>(std::lround((picture_->height() - oldSize.height()) / 2.0)) + oldV);
  }
}

void TfrmQZQZ0010::RenderAndPlace(int percent) {
  const QSize oldSize = picture_->size();
  const int oldH = scrollBox_->horizontalScrollBar()->value();
  const int oldV = scrollBox_->verticalScrollBar()->value();
  Render(percent);
  Place(oldSize, oldH, oldV);
}

void TfrmQZQZ0010::FitToBox() {
  Render(FitPercent(scrollBox_->maximumViewportSize(), ImageSize()));
  // The picture control fills the box; the page is drawn from its top-left corner.
  picture_->resize(scrollBox_->maximumViewportSize());
}

void TfrmQZQZ0010::SetModeColours(bool fitHighlighted, bool standardHighlighted) {
  ImgWindowBtn->SetColours(fitHighlighted ? kViewerHighlightTop : kViewerNormalTop,
                           fitHighlighted ? kViewerHighlightBottom : kViewerNormalBottom);
  ZoomNoneBtn->SetColours(standardHighlighted ? kViewerHighlightTop : kViewerNormalTop,
                          standardHighlighted ? kViewerHighlightBottom : kViewerNormalBottom);
  ImgWindowBtn->update();
  ZoomNoneBtn->update();
}

namespace {

void SetPageButton(RoundButton* button, bool enabled) {
  button->setEnabled(enabled);
  button->SetColours(enabled ? kViewerNormalTop : kViewerDisabled,
                     enabled ? kViewerNormalBottom : kViewerDisabled);
  button->update();
}

}  // namespace

void TfrmQZQZ0010::SetPageButtons() {
  SetPageButton(BackBtn, PageCount() > 1 && PageIndex > 0);
  SetPageButton(NextBtn, PageCount() > 1 && PageIndex < PageCount() - 1);
}

void TfrmQZQZ0010::SetPageButtonsAfterPaging() {
  // By the page the candidate is on, the first page first: with no pages at all "次頁" stays
  // usable after "前頁" has said there is no page before, and says there is none after.
  const bool first = PageIndex < 1;
  const bool last = PageIndex >= PageCount() - 1;
  SetPageButton(BackBtn, !first);
  SetPageButton(NextBtn, first || !last);
}

void TfrmQZQZ0010::PageMessage(const QString& text) {
  // The information box must not end up under the exam window.
  if (KeepOnTop && OwnerTopMost) OwnerTopMost(false);
  ShowMessageCode(this, nullptr, text);
  if (KeepOnTop && OwnerTopMost) OwnerTopMost(true);
}

void TfrmQZQZ0010::BackBtnClick() {
  Log(QStringLiteral("前頁ボタン押下"));
  if (PageIndex < 1) {
    PageMessage(QStringLiteral("I11先頭頁です。"));
  } else {
    --PageIndex;
    DisplayPage();
  }
  SetPageButtonsAfterPaging();
}

void TfrmQZQZ0010::NextBtnClick() {
  Log(QStringLiteral("次頁ボタン押下"));
  if (PageIndex + 1 < PageCount()) {
    ++PageIndex;
    DisplayPage();
  } else {
    PageMessage(QStringLiteral("I11最終頁です。"));
  }
  SetPageButtonsAfterPaging();
}

void TfrmQZQZ0010::ImgWindowBtnClick() {
  Log(QStringLiteral("全体ボタン押下"));
  if (!CurrentPageExists()) return;
  FitMode = true;
  SetModeColours(true, false);
  FitToBox();
}

void TfrmQZQZ0010::ZoomNoneBtnClick() {
  Log(QStringLiteral("標準ボタン押下"));
  if (!CurrentPageExists()) return;
  FitMode = false;
  SetModeColours(false, true);
  RenderAndPlace(100);
}

void TfrmQZQZ0010::ZoomInBtnClick() {
  Log(QStringLiteral("拡大ボタン押下"));
  if (!CurrentPageExists()) return;
  FitMode = false;
  SetModeColours(false, false);
  RenderAndPlace(ZoomPercent + 10);
}

void TfrmQZQZ0010::ZoomOutBtnClick() {
  Log(QStringLiteral("縮小ボタン押下"));
  if (!CurrentPageExists()) return;
  FitMode = false;
  SetModeColours(false, false);
  RenderAndPlace(ZoomOutPercent(ZoomPercent));
}

void TfrmQZQZ0010::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  scrollBox_->setGeometry(0, 0, width(), qMax(0, height() - kViewerBottomPanel));
  bottomPanel_->setGeometry(0, height() - kViewerBottomPanel, width(), kViewerBottomPanel);
  int x = 8;
  for (RoundButton* b : {BackBtn, NextBtn, ImgWindowBtn, ZoomNoneBtn, ZoomOutBtn, ZoomInBtn}) {
    b->move(x, (kViewerBottomPanel - kViewerButtonHeight) / 2);
    x += kViewerButtonWidth + 4;
  }
  if (PageCount() > 0 && FitMode && !ImageSize().isEmpty()) FitToBox();
}

bool TfrmQZQZ0010::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    // Only the picture scrolls the box, one line a notch.
    if (watched == picture_) {
      const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
      scrollBox_->verticalScrollBar()->triggerAction(
          delta > 0 ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
    }
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TfrmQZQZ0010::closeEvent(QCloseEvent* event) {
  if (HandBack) HandBack(geometry(), PageIndex);
  QWidget::closeEvent(event);
}

}  // namespace examora
