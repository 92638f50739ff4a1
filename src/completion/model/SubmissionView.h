#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "completion/model/SubmissionFiles.h"

// The texts and layout of the four variants of the practical confirmation: which labels show
// what, where and in which colour, how large the screen is and where the file list sits. Kept
// as data so that the screen only applies it.
namespace examora {

struct SubmissionLabel {
  int number = 0;  // Label<number> of the screen, 1..12
  int left = 0;
  int top = 0;
  bool red = false;
  QString text;
};

struct SubmissionViewLayout {
  int width = 514;
  int height = 422;
  QString title;         // empty: the design title stays
  int listTop = 176;     // in the body panel
  int listHeight = 139;  // 0: down to the bottom of the body panel
  // Label font: the design "ＭＳ Ｐゴシック" 17 px, or "ＭＳ ゴシック" 9 pt (bold in A).
  bool gothic9pt = true;
  bool bold = false;
  QList<SubmissionLabel> labels;  // every other label is hidden
  bool checkBoxes = false;        // CloseFileChk at top 80, FilePrintChk at 96 (variant A)
};

SubmissionViewLayout LayoutOf(SubmissionVariant variant);

}  // namespace examora
