#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// Decisions of the operation explanation screen, the exam start screen and the time extension
// dialogs that need no window.
namespace examora {

// ---- Operation explanation -----------------------------------------------------------------

// The start mode the exam start screen receives: "1" knowledge, "4" knowledge with practice,
// "3" practical, "2" practical with practice; "" for any other category. A practice is
// offered when the marker folder exists and 延長終了 is empty. The exam type plays no part.
QString StartModeFor(const QString& examCategory, bool extensionEnded, bool practiceMarker);

// Caption and width of the explanation screen's end button in the wizard.
struct EndButtonLook {
  QString caption;
  int width = 0;
};
// The design look, kept for a category other than "1" and "2".
EndButtonLook DesignEndButton();
EndButtonLook EndButtonFor(const QString& examCategory, bool extensionEnded, bool practiceMarker,
                           const QString& examType);
// Left edge of the end button: 28 px from the right end of the bottom band.
int EndButtonLeft(int bandWidth, int buttonWidth);
// Whether the end button goes on to the exam start screen (otherwise it only closes).
bool EndButtonGoesOn(const QString& caption);

// The window that fits the explanation picture: as wide as the picture, its height plus the
// bands, centred on the screen (halves to the even neighbour). Picture sizes are taken as
// magnitudes.
QRect ExplanationWindowGeometry(QSize picture, QSize screen, int bandsHeight);

// ---- Exam start screen ---------------------------------------------------------------------

// 試験区分 and 受験タイプ of one part of the installation.
struct PartKind {
  QString examCategory;
  QString examType;
};
// The "問題" wording: some part is practical and worked in outside applications (type "2"
// or "3").
bool QuestionWordingFrom(const QList<PartKind>& parts);

// The pictures drawn onto the cover.
enum class CoverPicture { Maker, Exam, Grade };

// Width of the part pictures and the gap the grade picture keeps to them.
inline constexpr int kPartPictureWidth = 116;
inline constexpr int kGradePartGap = 12;

struct CoverPlacement {
  bool drawn = false;  // false: the layout has no place for this picture
  int x = 0;           // left edge
  int top = 0;
  double width = 0;  // scaled size
  double height = 0;
  int partLeft = -1;  // grade picture: where the part pictures move to
};
// Where a picture of pictureSize goes on a cover windowWidth wide. givenLeft above 0 is used
// as the left edge; otherwise the picture is centred (the grade picture together with the
// part picture beside it). webLayout is exam type "3".
CoverPlacement PlaceCoverPicture(CoverPicture kind, bool webLayout, QSize pictureSize,
                                 int windowWidth, int givenLeft = 0);

// What the start mode puts on the exam start screen. Picture names are the controls' names;
// -1 leaves a position at its design value.
struct StartScreenLayout {
  bool known = false;  // other start modes keep the design caption and texts
  QString startCaption;
  QString partPicture;  // shown at partTop
  int partTop = -1;
  QString practicePicture;  // "" when none
  int practiceTop = -1;
  QString text1;  // TyuiLbl
  int text1Left = -1;
  int text1Top = -1;
  QString text2;  // Tyui2Lbl
  int text2Left = -1;
  int text2Top = -1;
};
// webPracticeHeight is the height of the type-3 practice picture, under which the two text
// lines move.
StartScreenLayout StartScreenLayoutFor(const QString& startMode, bool questionWording,
                                       bool webLayout, int webPracticeHeight);

// The badge of the type-3 layout: "Html5StTopImg" for practical part 1, else "Html5ExTopImg".
QString WebBadgeFor(const QString& examCategory, const QString& partCode);

// The grade name split for the two grade labels: first character (a full-width character
// counts as one) and the rest.
struct GradeLabels {
  QString first;
  QString rest;
};
GradeLabels SplitGradeName(const QString& gradeName);

// ---- Time extension ------------------------------------------------------------------------

// The check of the extension input against the exam time "all": ok, or the message to show.
struct ExtensionCheck {
  bool ok = false;
  QString message;
};
ExtensionCheck CheckExtension(int minutes, int limitMinutes);

// The line of the extension result dialog.
QString ExtensionResultText(int oldMinutes, int newMinutes);

// Title and message of the time-over notice by 試験区分.
struct TimeOverTexts {
  QString title;
  QString message;
};
TimeOverTexts TimeOverTextsFor(const QString& examCategory);

}  // namespace examora
