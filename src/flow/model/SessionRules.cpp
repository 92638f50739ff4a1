#include "flow/model/SessionRules.h"

#include "common/QZMessage.h"
#include "data/ExamData.h"
#include "data/PartCode.h"

namespace examora {

ExamWindowChoice ChooseExamWindow(const QString& examType, const QString& examCategory) {
  if (examType == u"2") return {ExamWindowKind::Compact, false};
  if (examType == u"3" && examCategory == u"2") return {ExamWindowKind::Compact, true};
  if (examType == u"3" && examCategory == u"1") return {ExamWindowKind::AnswerOnly, true};
  return {ExamWindowKind::Knowledge, false};
}

PracticeKind ChoosePractice(const QString& examType) {
  if (examType == u"3") return PracticeKind::Guide;
  if (examType == u"2") return PracticeKind::CompactWindow;
  return PracticeKind::KnowledgeWindow;
}

QString StartModeAfterPractice(const QString& examCategory) {
  return examCategory == u"1" ? QStringLiteral("1") : QStringLiteral("3");
}

HandOverPlan PlanHandOver(const HandOverInput& input) {
  HandOverPlan plan;
  const NextPartResult next = NextPart(input.partCode, input.partCount, input.isPartEnded);
  const QString crlf = QStringLiteral("\r\n");
  switch (next.kind) {
    case NextPartResult::Kind::Impossible:
      return plan;
    case NextPartResult::Kind::Part: {
      const QString name = input.partName(next.number);
      plan.executableName = PartExecutableName(next.number, name);
      if (LinkModeStartsNextPart(input.linkMode)) {
        plan.kind = HandOverPlan::Kind::Start;
        plan.missingMessage = msg::kExamExeMissing;
      } else {
        plan.kind = HandOverPlan::Kind::Announce;
        plan.announcement = QStringLiteral("Q11「") + input.thisPartName +
                            QStringLiteral("」を終了しました。続けて「") + name +
                            QStringLiteral("」を行う場合は、試験監督官の指示にしたがい、") + crlf +
                            QStringLiteral("【") + input.installationFolderName +
                            QStringLiteral("】フォルダー内の「") + plan.executableName +
                            QStringLiteral("」ファイルを実行（ダブルクリック）してください。 ");
      }
      return plan;
    }
    case NextPartResult::Kind::None:
      plan.executableName = SubmissionExecutableName(input.partCount);
      if (LinkModeStartsSubmissionTool(input.linkMode)) {
        plan.kind = HandOverPlan::Kind::Start;
        plan.missingMessage = msg::kSubmissionExeMissing;
      } else {
        plan.kind = HandOverPlan::Kind::Announce;
        plan.announcement =
            QStringLiteral("Q11「") + input.thisPartName +
            QStringLiteral("」を終了しました。続けて「提出用ファイル」の作成を行います。") + crlf +
            QStringLiteral("試験監督官の指示にしたがい、【") + input.installationFolderName +
            QStringLiteral("】フォルダー内の「") + plan.executableName +
            QStringLiteral("」ファイルを実行（ダブルクリック）してください。");
      }
      return plan;
  }
  return plan;
}

}  // namespace examora
