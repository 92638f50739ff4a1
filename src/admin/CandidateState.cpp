#include "admin/CandidateState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "data/AnswerRecord.h"
#include "data/ExamData.h"
#include "data/IniFile.h"
#include "data/InstallPaths.h"
#include "exam/model/ExamStructure.h"
#include "flow/model/SessionRules.h"

namespace examora::admin {
namespace {

QString LastLogLine(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QStringList lines = FromCp932(file.readAll()).split(QStringLiteral("\r\n"));
  for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
    const QString text = line->trimmed();
    if (!text.isEmpty()) return QString(text).replace(u'\t', u' ');
  }
  return {};
}

// The number of sub-questions the part's window records answers for; -1 for a window without
// an answer file.
int QuestionCount(const QString& code, const SetupIni& setup, const IniFile& setupIni) {
  switch (ChooseExamWindow(setup.examType, setup.examCategory).kind) {
    case ExamWindowKind::Knowledge: {
      if (!setup.IsKnowledge()) return -1;  // practical with questions: no answer sheet
      const ExamStructureResult sheet = ReadExamStructure(code, code, setup.subQuestionsOnly);
      return sheet.ok ? sheet.structure.AnswerCount() : -1;
    }
    case ExamWindowKind::AnswerOnly: {
      int sum = 0;
      for (int count : SubQuestionCountsFromChoices(setupIni)) sum += count;
      return sum;
    }
    case ExamWindowKind::Compact:
      break;
  }
  return -1;
}

}  // namespace

InstallationState ReadInstallationState(const QString& root) {
  SetExeFolder(root);
  InstallationState state;
  const ShikenIni shiken = ReadShikenIni();
  state.venueCode = shiken.venueCode;
  state.candidateNumber = shiken.candidateNumber;
  state.familyName = shiken.familyName;
  state.givenName = shiken.givenName;
  const SystemIni system = ReadSystemIni(QDate::currentDate().year());
  for (int part = 1; part <= std::min(system.partCount, 99); ++part) {
    const QString code = QString::number(part);
    const IniFile ini = IniFile::Load(ExePath(SetupIniPath(code)));
    const SetupIni setup = SetupIniFrom(ini);
    PartState p;
    p.part = part;
    p.name = setup.partName;
    p.started = setup.IsExamStarted();
    p.ended = setup.normalEnd;
    p.elapsedMinutes = setup.now;
    p.limitMinutes = setup.TimeLimitMinutes();
    p.questions = QuestionCount(code, setup, ini);
    if (p.questions >= 0) {
      const AnswerRecord record = ReadAnswerFile(AnswerFilePath(code));
      p.answered = 0;
      for (int i = 0; i < p.questions; ++i)
        if (!record.AnswerAt(i).isEmpty()) ++p.answered;
    }
    p.lastLog = LastLogLine(ContentFolder(code) + QStringLiteral("/log.txt"));
    state.parts.append(p);
  }
  return state;
}

QString StatusText(const InstallationState& s) {
  QString text = s.venueCode.isEmpty() && s.candidateNumber.isEmpty()
                     ? QStringLiteral("candidate: none entered yet\n")
                     : QStringLiteral("candidate: 会場コード %1, 受験番号 %2, %3\n")
                           .arg(s.venueCode, s.candidateNumber,
                                QString(s.familyName + u' ' + s.givenName).trimmed());
  for (const PartState& p : s.parts) {
    text += QStringLiteral("part %1 %2: %3, %4, %5/%6 min, answers %7, last log: %8\n")
                .arg(p.part)
                .arg(p.name, p.started ? QStringLiteral("started") : QStringLiteral("not started"),
                     p.ended.isEmpty() ? QStringLiteral("not ended")
                                       : QStringLiteral("ended \"%1\"").arg(p.ended))
                .arg(p.elapsedMinutes)
                .arg(p.limitMinutes)
                .arg(p.questions < 0 ? QStringLiteral("-")
                                     : QStringLiteral("%1/%2").arg(p.answered).arg(p.questions),
                     p.lastLog.isEmpty() ? QStringLiteral("-") : p.lastLog);
  }
  return text;
}

QByteArray StatusJson(const InstallationState& s) {
  QJsonArray parts;
  for (const PartState& p : s.parts) {
    QJsonObject part{{QStringLiteral("part"), p.part},
                     {QStringLiteral("name"), p.name},
                     {QStringLiteral("started"), p.started},
                     {QStringLiteral("ended"), p.ended},
                     {QStringLiteral("elapsedMinutes"), p.elapsedMinutes},
                     {QStringLiteral("limitMinutes"), p.limitMinutes},
                     {QStringLiteral("lastLog"), p.lastLog}};
    part.insert(QStringLiteral("answered"),
                p.questions < 0 ? QJsonValue() : QJsonValue(p.answered));
    part.insert(QStringLiteral("questions"),
                p.questions < 0 ? QJsonValue() : QJsonValue(p.questions));
    parts.append(part);
  }
  const QJsonObject candidate{{QStringLiteral("venueCode"), s.venueCode},
                              {QStringLiteral("candidateNumber"), s.candidateNumber},
                              {QStringLiteral("familyName"), s.familyName},
                              {QStringLiteral("givenName"), s.givenName}};
  return QJsonDocument(QJsonObject{{QStringLiteral("candidate"), candidate},
                                   {QStringLiteral("parts"), parts}})
      .toJson(QJsonDocument::Indented);
}

}  // namespace examora::admin
