// QZTP0020: the candidate information screen (venue code, number, name, birth date, sex).
#pragma once

#include <QList>

#include "flow/ScreenFrame.h"
#include "flow/model/CandidateInfo.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace examora {

// Candidate information: the first wizard screen of every part. Result 1 when the whole
// wizard chain ended with "start", 2 when the candidate quit.
class TfrmQZTP0020 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0020(QWidget* owner);

  // Has the screen's pictures (logo, bands, exam, grade, input and step pictures) decoded
  // ahead (Preload.h), in the order the screen takes them.
  static void PreloadPictures(const QString& partCode);

  // What the session controller takes as VenueCode and CandidateNumber after result 1.
  QString VenueCode() const;
  QString CandidateNumber() const;

 protected:
  void SetUpScreen() override;
  void showEvent(QShowEvent* event) override;
  void AfterShow() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void NextBtnClick();
  void EndBtnClick();
  void ItemSelect();
  // Checks the input in order; shows the first failure and puts the focus where it belongs.
  bool CheckInput();
  // Writes the input to shiken.ini; shows and logs a write failure.
  bool StoreInput();

  void BuildLists();
  void FillCandidate();
  void FillExamInfo();
  void DrawExamPictures(const QString& examExtension, const QString& gradeExtension,
                        const QString& gradeName);
  void FillExamTime();
  static void FillCombo(QComboBox* combo, const QList<ListItem>& items);
  QString SelectedValue(const QComboBox* combo) const;
  QWidget* FieldWidget(CandidateField field) const;

  QLineEdit* KaiCdEdt = nullptr;
  QLineEdit* JuBanEdt = nullptr;
  QLineEdit* SeiEdt = nullptr;
  QLineEdit* MeiEdt = nullptr;
  QComboBox* YearCmb = nullptr;
  QComboBox* MonthCmb = nullptr;
  QComboBox* DayCmb = nullptr;
  QRadioButton* ManRdo = nullptr;
  QRadioButton* WomanRdo = nullptr;
  QWidget* NextBtn = nullptr;
  QLabel* IinkaiNameLbl = nullptr;
  QLabel* ShikenImg = nullptr;
  QLabel* ShikenName2Lbl = nullptr;
  QLabel* ShikenName3Lbl = nullptr;
  QLabel* KyuPatVerLbl = nullptr;
  QLabel* BuNmLbl = nullptr;
  QLabel* ShikenTimeLbl = nullptr;
  QLabel* Lable2 = nullptr;
  QLabel* InputImg = nullptr;
  QLabel* Midashi1Lbl = nullptr;
  QLabel* Midashi2Lbl = nullptr;
  QWidget* DetailsFrame = nullptr;
  bool listsOpenToTools_ = false;

  // Value lists parallel to the three drop-down lists.
  QList<ListItem> years_;
  QList<ListItem> months_;
  QList<ListItem> days_;
};

}  // namespace examora
