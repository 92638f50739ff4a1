#include "flow/QZTP0020.h"

#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

#include "common/ExeFolder.h"
#include "common/ImageSize.h"
#include "common/QZMessage.h"
#include "common/WallClock.h"
#include "data/ExamData.h"
#include "flow/ExamWindows.h"
#include "widgets/Accessibility.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/Logo.h"
#include "widgets/MessageBox.h"
#include "widgets/Preload.h"
#include "widgets/RoundButton.h"
#include "widgets/WindowOrder.h"

namespace examora {
namespace {

constexpr int kWidth = 726;
constexpr int kHeight = 643;
constexpr int kInfoLeft = 40;
constexpr QSize kPictureArea(524, 25);
constexpr int kDetailsWidth = 660;
constexpr int kDetailsWidthWebStyle = 673;
const QString kInstructionColourWebStyle = QStringLiteral("#3A526A");

QString ExamPicturePath(const QString& extension) {
  return ExePath(QStringLiteral("system\\Image\\ShikenImage") + extension);
}

QString GradePicturePath(const QString& extension) {
  return ExePath(QStringLiteral("system\\Image\\KyuInfoImage") + extension);
}

// Probes the picture's size (the layout follows the probed size) and loads it; false when the
// file is missing or unusable, which counts as "no picture".
bool LoadSizedPicture(const QString& path, int* width, int* height, QImage* image) {
  if (!QFile::exists(path)) return false;
  const ImageSizeResult size = GetImageSize(path);
  if (!size) return false;
  *image = LoadPicture(path);
  if (image->isNull()) return false;
  *width = size.width;
  *height = size.height;
  return true;
}

void DrawScaled(QPainter& painter, const QImage& picture, const ScaledPicture& at) {
  painter.drawImage(QRectF(at.x, 0, at.width, at.height), WhiteToTransparent(picture));
}

QString ScreenCode() {
  return QStringLiteral("QZTP0020");
}

ExamTimeDisplay ExamTimeOf(const SetupIni& setup) {
  return ExamTimeText(setup.ExamTimeLines(), setup.allText, setup.add);
}

QString InputPicturePath(const ExamTimeDisplay& time) {
  // "Image" as everywhere else: the folder name must match on case-sensitive file systems.
  return ExePath(QStringLiteral("system\\Image\\") + time.inputPicture);
}

void SetTextColour(QLabel* label, const QString& colour) {
  label->setStyleSheet(colour.isEmpty()
                           ? QStringLiteral("background: transparent;")
                           : QStringLiteral("color: %1; background: transparent;").arg(colour));
}

}  // namespace

TfrmQZTP0020::TfrmQZTP0020(QWidget* owner)
    : ScreenFrame(owner, {.formCode = ScreenCode(),
                          .kind = Kind::Wizard,
                          .topMost = TopMost::Self,
                          .titleColour = true}) {
  resize(kWidth, kHeight);
  setWindowTitle(QStringLiteral("受験者情報入力"));

  // ---- Exam information (upper half)
  IinkaiNameLbl =
      TransparentLabel(this, QStringLiteral("IinkaiNameLbl"), {}, {kInfoLeft, 176, 646, 18});
  ShikenImg = TransparentLabel(this, QStringLiteral("ShikenImg"), {},
                               {QPoint(kInfoLeft, 196), kPictureArea});
  ShikenName2Lbl =
      TransparentLabel(this, QStringLiteral("ShikenName2Lbl"), {}, {kInfoLeft, 197, 646, 24});
  ShikenName3Lbl =
      TransparentLabel(this, QStringLiteral("ShikenName3Lbl"), {}, {300, 197, 380, 24});
  KyuPatVerLbl =
      TransparentLabel(this, QStringLiteral("KyuPatVerLbl"), {}, {kInfoLeft, 224, 400, 22});
  BuNmLbl = TransparentLabel(this, QStringLiteral("BuNmLbl"), {}, {400, 218, 280, 23});
  InputImg = TransparentLabel(this, QStringLiteral("InputImg"), {}, {26, 246, 673, 44});
  Lable2 = TransparentLabel(this, QStringLiteral("Lable2"), QStringLiteral("試験時間"),
                            {kInfoLeft + 4, 255, 80, 26});
  Lable2->setFont(UiFont(FontFace::MsPGothic, 13, true));
  ShikenTimeLbl = TransparentLabel(this, QStringLiteral("ShikenTimeLbl"), {}, {130, 252, 560, 66});
  ShikenTimeLbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  // ---- Instructions and candidate details (lower half)
  Midashi1Lbl = TransparentLabel(this, QStringLiteral("Midashi1Lbl"), {}, {30, 322, 666, 18});
  Midashi2Lbl = TransparentLabel(this, QStringLiteral("Midashi2Lbl"),
                                 QStringLiteral("入力後、［次へ］ボタンをクリックしてください。"),
                                 {30, 340, 666, 18});
  for (QLabel* l : {Midashi1Lbl, Midashi2Lbl}) l->setFont(UiFont(FontFace::MsGothic, 13, true));

  DetailsFrame = new QWidget(this);
  DetailsFrame->setObjectName(QStringLiteral("InputFrameImg"));
  DetailsFrame->setGeometry(26, 362, kDetailsWidth, 218);
  DetailsFrame->setStyleSheet(QStringLiteral(
      "#InputFrameImg { background: white; border: 1px solid #C8B8D8; border-radius: 6px; }"));

  const QFont captionFont = UiFont(FontFace::MsPGothic, 13, true);
  auto caption = [&](const QString& text, int top) {
    TransparentLabel(this, {}, text, {52, top + 3, 150, 20})->setFont(captionFont);
  };
  caption(QStringLiteral("会場コード(団体ID)"), 376);
  caption(QStringLiteral("受験番号"), 412);
  caption(QStringLiteral("氏　    名"), 448);
  caption(QStringLiteral("生年月日"), 484);
  caption(QStringLiteral("性　    別"), 520);

  auto edit = [&](const QString& name, QRect geometry) {
    auto* e = new QLineEdit(this);
    e->setObjectName(name);
    e->setGeometry(geometry);
    e->installEventFilter(this);
    return e;
  };
  KaiCdEdt = edit(QStringLiteral("KaiCdEdt"), {210, 374, 90, 24});
  KaiCdEdt->setMaxLength(5);
  JuBanEdt = edit(QStringLiteral("JuBanEdt"), {210, 410, 160, 24});
  // Codes and numbers are typed in half-width: no input method on these two.
  for (QLineEdit* e : {KaiCdEdt, JuBanEdt}) {
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    e->setInputMethodHints(Qt::ImhLatinOnly);
  }
  TransparentLabel(this, {}, QStringLiteral("姓"), {210, 450, 20, 20})->setFont(captionFont);
  SeiEdt = edit(QStringLiteral("SeiEdt"), {232, 446, 150, 24});
  TransparentLabel(this, {}, QStringLiteral("名"), {400, 450, 20, 20})->setFont(captionFont);
  MeiEdt = edit(QStringLiteral("MeiEdt"), {422, 446, 150, 24});
  // Names are Japanese: the input method stays on (there is no portable "hiragana" hint).
  for (QLineEdit* e : {SeiEdt, MeiEdt}) {
    e->setAttribute(Qt::WA_InputMethodEnabled, true);
    e->setInputMethodHints(Qt::ImhNone);
  }

  auto combo = [&](const QString& name, QRect geometry) {
    auto* c = new QComboBox(this);  // not editable: selection only
    c->setObjectName(name);
    c->setGeometry(geometry);
    c->setMaxVisibleItems(12);
    c->installEventFilter(this);
    return c;
  };
  YearCmb = combo(QStringLiteral("YearCmb"), {210, 482, 150, 24});
  MonthCmb = combo(QStringLiteral("MonthCmb"), {370, 482, 80, 24});
  DayCmb = combo(QStringLiteral("DayCmb"), {460, 482, 80, 24});
  connect(YearCmb, &QComboBox::currentIndexChanged, this, [this] { ItemSelect(); });
  connect(MonthCmb, &QComboBox::currentIndexChanged, this, [this] { ItemSelect(); });

  ManRdo = new QRadioButton(QStringLiteral("男"), this);
  ManRdo->setObjectName(QStringLiteral("ManRdo"));
  ManRdo->setGeometry(210, 518, 60, 24);
  WomanRdo = new QRadioButton(QStringLiteral("女"), this);
  WomanRdo->setObjectName(QStringLiteral("WomanRdo"));
  WomanRdo->setGeometry(280, 518, 60, 24);
  for (QRadioButton* r : {ManRdo, WomanRdo}) r->installEventFilter(this);

  // ---- Buttons
  auto* next = new RoundButton(QStringLiteral("次へ >"), BottomBand());
  next->setObjectName(QStringLiteral("NextBtn"));
  next->setGeometry(kWidth - 80 - 24, (53 - 26) / 2, 80, 26);
  connect(next, &QPushButton::clicked, this, [this] { NextBtnClick(); });
  NextBtn = next;
  connect(CloseButton(), &QPushButton::clicked, this, [this] { EndBtnClick(); });

  // Screen readers announce each field by its caption.
  const struct {
    QWidget* field;
    const char16_t* name;
  } names[] = {
      {KaiCdEdt, u"会場コード(団体ID)"},
      {JuBanEdt, u"受験番号"},
      {SeiEdt, u"氏名 姓"},
      {MeiEdt, u"氏名 名"},
      {YearCmb, u"生年月日 年"},
      {MonthCmb, u"生年月日 月"},
      {DayCmb, u"生年月日 日"},
  };
  for (const auto& n : names) n.field->setAccessibleName(QString::fromUtf16(n.name));

  setTabOrder(KaiCdEdt, JuBanEdt);
  setTabOrder(JuBanEdt, SeiEdt);
  setTabOrder(SeiEdt, MeiEdt);
  setTabOrder(MeiEdt, YearCmb);
  setTabOrder(YearCmb, MonthCmb);
  setTabOrder(MonthCmb, DayCmb);
  setTabOrder(DayCmb, ManRdo);
  setTabOrder(ManRdo, WomanRdo);
  setTabOrder(WomanRdo, next);
}

void TfrmQZTP0020::PreloadPictures(const QString& partCode) {
  QStringList pictures = {LogoPicturePath()};
  pictures << BandPictures();
  const SystemIni system = ReadSystemIni(CurrentDate().year());
  if (!system.examImageExtension.isEmpty()) {
    pictures << ExamPicturePath(system.examImageExtension);
    if (!system.gradeInfoImageExtension.isEmpty())
      pictures << GradePicturePath(system.gradeInfoImageExtension);
  }
  pictures << InputPicturePath(ExamTimeOf(ReadSetupIni(partCode)));
  const QString step = StepPicturePath(system.displayType, partCode, ScreenCode(), false);
  if (!step.isEmpty()) pictures << step;
  examora::PreloadPictures(pictures);
}

QString TfrmQZTP0020::VenueCode() const {
  return KaiCdEdt->text();
}
QString TfrmQZTP0020::CandidateNumber() const {
  return JuBanEdt->text();
}

// ---- Show ----------------------------------------------------------------------------------

void TfrmQZTP0020::showEvent(QShowEvent* event) {
  ScreenFrame::showEvent(event);
  if (event->spontaneous()) return;
  // The background window is lifted with this screen and then let go, so that this screen
  // ends up above it and above everything else.
  QWidget* background = ApplicationMainWindow();
  SetTopMost(background, true);
  SetTopMost(this, true);
  SetTopMost(background, false);
  SetTopMost(this, true);
  // The candidate starts typing at the first field, not on the close button of the title band.
  KaiCdEdt->setFocus(Qt::OtherFocusReason);
}

void TfrmQZTP0020::AfterShow() {
  ScreenFrame::AfterShow();
  // Once the screen is up, before any input reaches it: this makes the drop-down lists'
  // hidden item views, which showing the screen does not need.
  if (listsOpenToTools_) return;
  listsOpenToTools_ = true;
  for (QComboBox* c : {YearCmb, MonthCmb, DayCmb}) CommitAccessibleSelection(c);
}

void TfrmQZTP0020::SetUpScreen() {
  Log(QStringLiteral("起動位置：") + QDir::toNativeSeparators(ExeFolder() + QLatin1Char('/')));
  BuildLists();
  FillExamInfo();
  FillCandidate();
  ApplyStepIndicator(false);
}

void TfrmQZTP0020::FillCombo(QComboBox* combo, const QList<ListItem>& items) {
  const QSignalBlocker block(combo);
  combo->clear();
  for (const ListItem& item : items) combo->addItem(item.label);
  combo->setCurrentIndex(-1);
}

QString TfrmQZTP0020::SelectedValue(const QComboBox* combo) const {
  const QList<ListItem>& items = combo == YearCmb ? years_ : combo == MonthCmb ? months_ : days_;
  const int index = combo->currentIndex();
  return index >= 0 && index < items.size() ? items.at(index).value : QString();
}

void TfrmQZTP0020::BuildLists() {
  const SystemIni system = ReadSystemIni(CurrentDate().year());
  years_ = YearItems(system.eras, system.birthYearFirst, system.birthYearLast);
  months_ = MonthItems();
  days_.clear();
  FillCombo(YearCmb, years_);
  FillCombo(MonthCmb, months_);
  FillCombo(DayCmb, days_);
}

void TfrmQZTP0020::ItemSelect() {
  const int previous = DayCmb->currentIndex();
  days_ = DayItems(SelectedValue(YearCmb), SelectedValue(MonthCmb));
  FillCombo(DayCmb, days_);
  DayCmb->setCurrentIndex(KeptDayIndex(previous, int(days_.size())));
}

void TfrmQZTP0020::FillCandidate() {
  const ShikenIni shiken = ReadShikenIni();
  KaiCdEdt->setText(shiken.venueCode);
  JuBanEdt->setText(shiken.candidateNumber);
  SeiEdt->setText(shiken.familyName);
  MeiEdt->setText(shiken.givenName);
  YearCmb->setCurrentIndex(IndexOfValue(years_, shiken.birthYear));
  MonthCmb->setCurrentIndex(IndexOfValue(months_, shiken.birthMonth));
  ItemSelect();  // the day list of the stored year and month, even when neither changed
  DayCmb->setCurrentIndex(IndexOfValue(days_, shiken.birthDay));
  // Exclusive buttons cannot be unchecked one by one; release them while setting both.
  for (QRadioButton* r : {ManRdo, WomanRdo}) r->setAutoExclusive(false);
  ManRdo->setChecked(shiken.sex == u"1");
  WomanRdo->setChecked(shiken.sex == u"2");
  for (QRadioButton* r : {ManRdo, WomanRdo}) r->setAutoExclusive(true);
}

void TfrmQZTP0020::FillExamInfo() {
  const SystemIni system = ReadSystemIni(CurrentDate().year());
  const SetupIni setup = ReadSetupIni(PartCode());
  const bool webStyle = setup.examType == u"3";

  setWindowTitle(system.bookletName + QStringLiteral(" [") + setup.partName + QLatin1Char(']'));
  IinkaiNameLbl->setText(system.committeeName);

  if (system.examImageExtension.isEmpty()) {
    ShikenName2Lbl->setText(system.bookletName + QLatin1Char('[') + setup.partName +
                            QLatin1Char(']'));
    ShikenName2Lbl->show();
    ShikenName3Lbl->hide();
    ShikenImg->clear();
  } else {
    ShikenName2Lbl->hide();
    ShikenName3Lbl->show();
    DrawExamPictures(system.examImageExtension, system.gradeInfoImageExtension, system.gradeName);
  }

  const ExamInfoLayout layout = ExamInfoLayoutFor(IsFontInstalled(FontFace::Meiryo), webStyle);
  const FontFace face = layout.meiryo ? FontFace::Meiryo : FontFace::MsPGothic;
  ShikenName2Lbl->move(ShikenName2Lbl->x(), layout.examNameTop);
  ShikenName3Lbl->move(ShikenName3Lbl->x(), layout.gradeNameTop);
  for (QLabel* l : {ShikenName2Lbl, ShikenName3Lbl}) l->setFont(UiFontPt(face, 12, true));
  IinkaiNameLbl->move(IinkaiNameLbl->x(), layout.committeeTop);
  IinkaiNameLbl->setFont(UiFontPt(face, layout.committeePointSize));
  ShikenTimeLbl->move(ShikenTimeLbl->x(), layout.examTimeTop);
  ShikenTimeLbl->setFont(UiFontPt(face, 12));
  KyuPatVerLbl->setFont(UiFontPt(face, 11));
  BuNmLbl->setFont(UiFontPt(face, 14));

  KyuPatVerLbl->setText(PatternVersionText(setup.examType, setup.partName, system.pattern,
                                           system.patternName, system.versionName));
  KyuPatVerLbl->adjustSize();
  KyuPatVerLbl->move(KyuPatVerLbl->x(), layout.patternTop);

  const InstructionLines lines = InstructionTexts(PartCode(), setup.examType);
  Midashi1Lbl->setText(lines.first);
  Midashi2Lbl->setText(lines.second);
  ApplyFooter();
  if (webStyle) {
    FooterLabel()->move(FooterLabel()->x(), 26);
    BuNmLbl->setText(setup.partName);
    BuNmLbl->setGeometry(KyuPatVerLbl->x() + KyuPatVerLbl->width() + 10, 218, BuNmLbl->width(), 23);
    BuNmLbl->show();
    for (QLabel* l : {Midashi1Lbl, Midashi2Lbl}) SetTextColour(l, kInstructionColourWebStyle);
    DetailsFrame->resize(kDetailsWidthWebStyle, DetailsFrame->height());
  } else {
    BuNmLbl->hide();
    for (QLabel* l : {Midashi1Lbl, Midashi2Lbl}) SetTextColour(l, {});
    DetailsFrame->resize(kDetailsWidth, DetailsFrame->height());
  }

  const ExamTimeDisplay time = ExamTimeOf(setup);
  // The label breaks lines at LF; the CR of each CR LF would otherwise show as a glyph.
  ShikenTimeLbl->setText(QString(time.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  Lable2->move(Lable2->x(), time.captionTop);
  const QImage input = LoadPicture(InputPicturePath(time));
  if (input.isNull()) {
    InputImg->clear();
  } else {
    InputImg->setPixmap(QPixmap::fromImage(input));
    InputImg->resize(input.size());
  }
  InputImg->lower();
  DetailsFrame->lower();
}

void TfrmQZTP0020::DrawExamPictures(const QString& examExtension, const QString& gradeExtension,
                                    const QString& gradeName) {
  QImage canvas(kPictureArea, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  int width = 0;
  int height = 0;
  QImage picture;
  // Without the exam picture neither picture is drawn and the grade label stays as it is.
  if (LoadSizedPicture(ExamPicturePath(examExtension), &width, &height, &picture)) {
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const ScaledPicture exam = ScaleExamPicture(width, height);
    DrawScaled(painter, picture, exam);
    ScaledPicture last = exam;
    ShikenName3Lbl->clear();
    if (gradeExtension.isEmpty()) {
      ShikenName3Lbl->setText(gradeName);
    } else if (LoadSizedPicture(GradePicturePath(gradeExtension), &width, &height, &picture)) {
      last = ScaleGradePicture(width, height, exam);
      DrawScaled(painter, picture, last);
    }
    ShikenName3Lbl->move(GradeLabelLeft(ShikenImg->x(), last), ShikenName3Lbl->y());
  }
  ShikenImg->setPixmap(QPixmap::fromImage(canvas));
}

// ---- Next ----------------------------------------------------------------------------------

bool TfrmQZTP0020::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {  // ItemKeyDown
      NextBtnClick();
      return true;
    }
  }
  return ScreenFrame::eventFilter(watched, event);
}

QWidget* TfrmQZTP0020::FieldWidget(CandidateField field) const {
  switch (field) {
    case CandidateField::VenueCode:
      return KaiCdEdt;
    case CandidateField::CandidateNumber:
      return JuBanEdt;
    case CandidateField::FamilyName:
      return SeiEdt;
    case CandidateField::GivenName:
      return MeiEdt;
    case CandidateField::Year:
      return YearCmb;
    case CandidateField::Month:
      return MonthCmb;
    case CandidateField::Day:
      return DayCmb;
    case CandidateField::None:
      break;
  }
  return nullptr;
}

bool TfrmQZTP0020::CheckInput() {
  Log(QStringLiteral("全チェック開始"));
  CandidateInput input;
  input.venueCode = KaiCdEdt->text();
  input.candidateNumber = JuBanEdt->text();
  input.familyName = SeiEdt->text();
  input.givenName = MeiEdt->text();
  input.yearIndex = YearCmb->currentIndex();
  input.monthIndex = MonthCmb->currentIndex();
  input.dayIndex = DayCmb->currentIndex();
  input.man = ManRdo->isChecked();
  input.woman = WomanRdo->isChecked();
  const CheckOutcome outcome = CheckCandidateInput(input);
  for (int n = 1; n <= outcome.passed; ++n)
    Log(QStringLiteral("チェック") + QChar(char16_t(u'０' + n)));
  if (outcome.ok()) return true;
  ShowMessageCode(this, nullptr, outcome.message);
  if (QWidget* w = FieldWidget(outcome.focus)) w->setFocus();
  return false;
}

bool TfrmQZTP0020::StoreInput() {
  CandidateRecord record;
  record.venueCode = KaiCdEdt->text();
  record.candidateNumber = JuBanEdt->text();
  record.familyName = SeiEdt->text();
  record.givenName = MeiEdt->text();
  record.year = SelectedValue(YearCmb);
  record.month = SelectedValue(MonthCmb);
  record.day = SelectedValue(DayCmb);
  record.man = ManRdo->isChecked();
  record.woman = WomanRdo->isChecked();
  for (const IniEntry& entry : CandidateEntries(record)) {
    const WriteResult written = WriteCandidateInfo(entry.key, entry.value);
    if (!written) {
      Log(msg::kSystemWriteFailed + written.error);
      ShowMessageCode(this, nullptr, msg::kSystemWriteFailed, written.error);
      return false;
    }
  }
  return true;
}

void TfrmQZTP0020::NextBtnClick() {
  Log(QStringLiteral("次へ"));
  if (!CheckInput() || !StoreInput()) return;
  QString error;
  const std::unique_ptr<ScreenFrame> next =
      CreateNotesScreen(ApplicationMainWindow(), false, &error);
  if (!next) {
    // The candidate stays here, with what was typed stored, until a proctor mends the program.
    Log(msg::kPageModuleMissing + error);
    ShowMessageCode(this, nullptr, msg::kPageModuleMissing, error);
    return;
  }
  next->SetPartCode(PartCode());
  ChainTo(*next);  // "back" shows this screen again; anything else is this screen's result
}

// ---- Close ---------------------------------------------------------------------------------

void TfrmQZTP0020::EndBtnClick() {
  Log(QStringLiteral("閉じる"));
  // What has been typed so far is kept for the next start, checked or not.
  (void)StoreInput();
  if (ShowMessageCode(this, nullptr, msg::kConfirmQuit) == ModalResult::Yes)
    done(ModalResult::Cancel);
}

}  // namespace examora
