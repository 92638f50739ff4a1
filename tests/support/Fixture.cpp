#include "Fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "PictureEncoders.h"
#include "SampleInstallation.h"
#include "SamplePictures.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"

namespace examora::test {

FixtureInstallation::FixtureInstallation() : writer_(dir_.path()) {
  if (!dir_.isValid()) error_ = QStringLiteral("cannot create a temporary folder");
}

bool FixtureInstallation::exists(const QString& relativePath) const {
  return QFileInfo::exists(path(relativePath));
}

void FixtureInstallation::writeIni(const QString& relativePath, const QString& utf8Text) {
  writer_.writeCp932Text(relativePath, utf8Text);
}

void FixtureInstallation::writeFile(const QString& relativePath, const QByteArray& bytes) {
  writer_.writeFile(relativePath, bytes);
}

void FixtureInstallation::makeDir(const QString& relativePath) {
  writer_.makeDir(relativePath);
}

void FixtureInstallation::writePage(const QString& relativePath, const QString& bodyMarkup) {
  writer_.writeHtmlPage(relativePath, QStringLiteral("test"), QString(), bodyMarkup);
}

void FixtureInstallation::writePicture(const QString& relativePath, int width, int height,
                                       const QString& format) {
  const QString f = format.isEmpty() ? QFileInfo(relativePath).suffix() : format;
  const QByteArray bytes = sample::EncodePicture(sample::TestPattern(width, height), f);
  if (bytes.isEmpty() && error_.isEmpty())
    error_ =
        QStringLiteral("cannot encode a picture as ") + f + QStringLiteral(": ") + relativePath;
  writer_.writeFile(relativePath, bytes);
}

void FixtureInstallation::removeFile(const QString& relativePath) {
  QFile::remove(path(relativePath));
}

void FixtureInstallation::setExeFolder() const {
  SetExeFolder(root());
}

QString FixtureInstallation::readIni(const QString& relativePath, const QString& section,
                                     const QString& key) const {
  const QString text = FromCp932(readBytes(relativePath));
  QString current;
  bool inSection = false;
  for (const QString& raw : text.split(QLatin1Char('\n'))) {
    const QString line = raw.endsWith(QLatin1Char('\r')) ? raw.chopped(1) : raw;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      if (inSection) return {};  // the first matching section only
      inSection = line.mid(1, line.size() - 2) == section;
      continue;
    }
    if (!inSection) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq > 0 && line.left(eq) == key) return line.mid(eq + 1);
  }
  return {};
}

QByteArray FixtureInstallation::readBytes(const QString& relativePath) const {
  QFile file(path(relativePath));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void FixtureInstallation::writeSharedIni() {
  writeIni(
      QStringLiteral("system/system.ini"),
      QStringLiteral("[基本情報]\n試験名=テスト検定\n級名=３級\n委員会名=テスト委員会\n"
                     "冊子名称=テスト冊子\nパターン=B\nバージョン=2021\nバージョン名=テスト版\n"
                     "サンプル問題=0\n部数=%1\n級コード=T3\n開発コード=DEV1\n表示タイプ=%2\n"
                     "タイムコントロール=1\n上下ボタン=1\nメーカー画像拡張子=.jpg\n"
                     "試験画像拡張子=\n級個人情報画像拡張子=\n級TOP画像拡張子=\nAPP=\n\n"
                     "[年度]\n1926=昭和\n1989=平成\n2019=令和\n\n"
                     "[生年月日]\n開始=1940\n終了=2010\n")
          .arg(parts_.size())
          .arg(parts_.size() > 1 ? QStringLiteral("2") : QStringLiteral("1")));
  if (!exists(QStringLiteral("system/shiken.ini")))
    writeIni(QStringLiteral("system/shiken.ini"),
             QStringLiteral("[受験者情報]\n会場コード=\n受験番号=\n連携=\n\n[試験情報]\n試験日=\n"
                            "試験時間=\n"));
}

void FixtureInstallation::knowledgePart(const QString& partCode, const QList<int>& subQuestions,
                                        int choices, int minutes) {
  QList<sample::Question> questions;
  for (int q = 0; q < subQuestions.size(); ++q) {
    sample::Question question;
    question.title = QStringLiteral("テスト問題%1").arg(q + 1);
    question.lead = QStringLiteral("次の設問に答えよ。");
    for (int s = 0; s < subQuestions[q]; ++s) {
      sample::SubQuestion sub;
      sub.text = QStringLiteral("設問%1-%2の問い").arg(q + 1).arg(s + 1);
      for (int c = 0; c < choices; ++c) sub.choices << QStringLiteral("選択肢%1").arg(c + 1);
      sub.correct = s % choices + 1;
      sub.points = 10;
      question.subQuestions << sub;
    }
    questions << question;
  }
  const QString folder = QStringLiteral("system/") + partCode;
  writeIni(folder + QStringLiteral("/setup.ini"),
           QStringLiteral("[基本情報]\n試験区分=1\n受験タイプ=1\n部種名称=知識\n全体=1\n問題別=1\n"
                          "設問別=1\n設問表示のみ=0\n試験開始=0\n正常終了=\n延長終了=\n\n"
                          "[試験時間]\nall=%1\nadd=0\nnow=0\n\n")
                   .arg(minutes) +
               sample::ChoiceCountSection(questions));
  sample::WriteQuestionPages(writer_, folder, QStringLiteral("テスト知識問題"), {}, questions);
  sample::WriteNotesPages(writer_, folder, QStringLiteral("注意事項"),
                          {QStringLiteral("<p>注意事項　<span name=\"FOLDER\"></span></p>\n")});
  writeIni(QStringLiteral("system/seito[%1].ini").arg(partCode), sample::AnswerKeyText(questions));
  if (!parts_.contains(partCode)) parts_ << partCode;
  writeSharedIni();
}

void FixtureInstallation::practicalPart(const QString& partCode, const QString& examType,
                                        int minutes) {
  const QString folder = QStringLiteral("system/") + partCode;
  writeIni(
      folder + QStringLiteral("/setup.ini"),
      QStringLiteral("[基本情報]\n試験区分=2\n受験タイプ=%1\n部種名称=実技\n見本ボタン名=見本\n"
                     "注意事項表示=1\n補足説明=補足\n試験開始=0\n正常終了=\n延長終了=\n\n"
                     "[試験時間]\nall=%2\nadd=0\nnow=0\n")
          .arg(examType)
          .arg(minutes));
  writeIni(folder + QStringLiteral("/update_check.ini"),
           QStringLiteral("[更新チェック]\n1=material\\資料.txt\n"));
  sample::WriteNotesPages(writer_, folder, QStringLiteral("注意事項"),
                          {QStringLiteral("<p>実技の注意事項</p>\n")});
  writePicture(folder + QStringLiteral("/html/s/page1.jpeg"), 64, 48, QStringLiteral("jpg"));
  writer_.writeUtf8Text(QStringLiteral("実技用/site/index.html"),
                        QStringLiteral("<!DOCTYPE html>\n<title>t</title>\n"));
  for (const char* sub : {"site/css", "site/images", "site/js"})
    makeDir(QStringLiteral("実技用/") + QLatin1String(sub));
  writeIni(QStringLiteral("実技用/material/資料.txt"), QStringLiteral("資料\n"));
  if (!parts_.contains(partCode)) parts_ << partCode;
  writeSharedIni();
}

void FixtureInstallation::fromSample() {
  QString message;
  if (!sample::BuildSampleInstallation(root(), &message) && error_.isEmpty()) error_ = message;
}

}  // namespace examora::test
