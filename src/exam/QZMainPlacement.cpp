#include "exam/QZMain.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "common/ExeFolder.h"
#include "common/QZMessage.h"
#include "common/RunLog.h"
#include "common/WallClock.h"
#include "completion/QZQZ0020.h"
#include "completion/QZTP0040.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniAccess.h"
#include "data/InstallPaths.h"
#include "data/PartCode.h"
#include "exam/model/CpuMonitor.h"
#include "exam/model/OnTopGuard.h"
#include "exam/model/Placement.h"
#include "flow/QZQZ0040.h"
#include "flow/QZQZ0050.h"
#include "flow/model/FrameRules.h"
#include "platform/SystemMenu.h"
#include "viewers/WBContainer.h"
#include "widgets/Band.h"
#include "widgets/Fonts.h"
#include "widgets/Labels.h"
#include "widgets/MessageBox.h"
#include "widgets/RoundButton.h"
#include "widgets/ScreenMetrics.h"
#include "widgets/TransparentOverlay.h"
#include "widgets/WindowOrder.h"

#include "exam/QZMainStyle.h"

namespace examora {

using namespace qzmain;

void TfrmQZMain::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  HoldAtWorkArea();
  KeepReachable();
}

void TfrmQZMain::PracticalPlacement() {
  placement_.savedLayout = SavedLayout;
  placement_.restoreLayout = RestoreLayout;
  // The column's width comes from its header rows, arranged before they are measured.
  ArrangePracticalHeader(panel6_->width());
  const QRect bounds = InitialLayoutBounds(InitialPosition, CurrentScreenMetrics(), geometry(),
                                           MeasuredColumnWidth(), placement_);
  RestoreLayout = placement_.restoreLayout;
  SavedLayout = placement_.savedLayout;
  CommitPlacement(bounds);
}

void TfrmQZMain::KeepReachable() {
  if (!IsPractical() || holding_) return;
  const QPoint clamped = ClampMove(pos(), CurrentScreenMetrics());
  if (clamped == pos()) return;
  holding_ = true;
  move(clamped);
  holding_ = false;
}

void TfrmQZMain::HoldAtWorkArea() {
  if (ExamCategory != u"1" || DebugMode || WorkArea.isEmpty() || holding_) return;
  const QRect held = KnowledgeHoldBounds(WorkArea);
  if (geometry() == held) return;
  holding_ = true;
  setGeometry(held);
  holding_ = false;
}

}  // namespace examora
