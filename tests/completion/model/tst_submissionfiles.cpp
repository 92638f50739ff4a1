#include "FileLockHolder.h"
#include "Fixture.h"
#include "TestRegistry.h"
#include "completion/model/SubmissionFiles.h"
#include "data/IniAccess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace examora;
using namespace examora::test;
using namespace Qt::StringLiterals;

namespace {

const QString kStart = u"2024/05/01 10:00:00"_s;

QDateTime At(const QString& text) {
  return QDateTime::fromString(text, u"yyyy/MM/dd hh:mm:ss"_s);  // local time
}

QStringList Lines(const QList<SubmissionFile>& files) {
  QStringList lines;
  for (const SubmissionFile& file : files) lines << file.Line();
  return lines;
}

}  // namespace

class TestSubmissionFiles : public QObject {
  Q_OBJECT

 private:
  FixtureInstallation* fixture_ = nullptr;

  // A work file with content and the given last-write time (local).
  void work(const QString& relative, const QString& time, const QByteArray& bytes = "x") {
    fixture_->writeFile(u"実技用/"_s + relative, bytes);
    QFile file(fixture_->path(u"実技用/"_s + relative));
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(At(time), QFileDevice::FileModificationTime));
  }

 private slots:
  void init() {
    fixture_ = new FixtureInstallation;
    fixture_->practicalPart(u"2"_s);
    QVERIFY2(fixture_->ok(), qPrintable(fixture_->error()));
    fixture_->setExeFolder();
    QVERIFY(WriteIni(u"system/shiken.ini"_s, u"試験情報"_s, u"試験時間"_s, kStart));
  }
  void cleanup() {
    delete fixture_;
    fixture_ = nullptr;
  }

  // Saved in the start second: unchanged during the exam. A second later: submitted. Empty,
  // hidden and supplied files and files behind a folder link never show; names no CP932 byte
  // can hold show as they are.
  void listShowsWhatIsGraded() {
    work(u"site/index.html"_s, kStart);
    work(u"at_start.txt"_s, kStart);
    work(u"one_later.txt"_s, u"2024/05/01 10:00:01"_s);
    work(u"site/css/style.css"_s, u"2024/05/01 10:12:33"_s);
    work(u"empty.txt"_s, u"2024/05/01 10:30:00"_s, QByteArray());
    work(u".hidden.txt"_s, u"2024/05/01 10:30:00"_s);
    work(u"material/資料.txt"_s, u"2024/05/01 10:30:00"_s);  // named in update_check.ini
    work(u"𠮷野家と한국.txt"_s, u"2024/05/01 10:40:00"_s);
    QTemporaryDir outside;
    QFile outsideFile(outside.filePath(u"elsewhere.txt"_s));
    QVERIFY(outsideFile.open(QIODevice::WriteOnly));
    outsideFile.write("outside the work folder");
    outsideFile.close();
    QVERIFY(QFile::link(outside.path(), fixture_->path(u"実技用/link"_s)));

    QStringList lines = Lines(ListSubmissionFiles(SubmissionSource::Read(u"2"_s)));
    lines.sort();
    QStringList expected{u"one_later.txt（更新日時：2024/05/01 10:00:01）"_s,
                         u"site\\css\\style.css（更新日時：2024/05/01 10:12:33）"_s,
                         u"𠮷野家と한국.txt（更新日時：2024/05/01 10:40:00）"_s};
    expected.sort();
    QCOMPARE(lines, expected);
  }

  void withoutStartTimeEveryFileIsListed() {
    QVERIFY(WriteIni(u"system/shiken.ini"_s, u"試験情報"_s, u"試験時間"_s, QString()));
    work(u"site/index.html"_s, u"2020/01/01 00:00:00"_s);
    QCOMPARE(Lines(ListSubmissionFiles(SubmissionSource::Read(u"2"_s))),
             QStringList{u"site\\index.html（更新日時：2020/01/01 00:00:00）"_s});
  }

  void missingWorkFolderListsNothingAndBlocksNothing() {
    QVERIFY(QDir(fixture_->path(u"実技用"_s)).removeRecursively());
    const SubmissionSource source = SubmissionSource::Read(u"2"_s);
    QVERIFY(ListSubmissionFiles(source).isEmpty());
    QVERIFY(!FirstUnreadableWorkFile(source));
  }

  // A file another process holds is listed with the save-and-close note and refuses the end;
  // once the process lets go it is accepted. A supplied file is never even looked at.
  void fileHeldByAnotherProcess() {
    work(u"report.docx"_s, u"2024/05/01 10:20:00"_s);
    const SubmissionSource source = SubmissionSource::Read(u"2"_s);

    QProcess supplied;
    QVERIFY(StartFileLockHolder(supplied, fixture_->path(u"実技用/material/資料.txt"_s)));
    QVERIFY(!FirstUnreadableWorkFile(source));

    QProcess holder;
    QVERIFY(StartFileLockHolder(holder, fixture_->path(u"実技用/report.docx"_s)));
    const std::optional<SubmissionFile> open = FirstUnreadableWorkFile(source);
    QVERIFY(open);
    QCOMPARE(open->relativePath, u"report.docx"_s);
    QVERIFY(open->heldOpen);
    QVERIFY(Lines(ListSubmissionFiles(source))
                .contains(u"report.docx（ファイルを保存して閉じてください）"_s));

    holder.kill();
    QVERIFY(holder.waitForFinished());
    QVERIFY(!FirstUnreadableWorkFile(source));
    QVERIFY(Lines(ListSubmissionFiles(source))
                .contains(u"report.docx（更新日時：2024/05/01 10:20:00）"_s));
    supplied.kill();
    QVERIFY(supplied.waitForFinished());
  }

  void variantFollowsTheExam_data() {
    QTest::addColumn<QString>("otherPartType");  // 受験タイプ of practical part 1
    QTest::addColumn<QString>("thisType");       // 受験タイプ of practical part 2
    QTest::addColumn<bool>("timeOver");
    QTest::addColumn<int>("variant");
    using V = SubmissionVariant;
    QTest::newRow("web style part") << u"1"_s << u"3"_s << false << int(V::A);
    QTest::newRow("compact part elsewhere") << u"2"_s << u"1"_s << false << int(V::B);
    QTest::newRow("compact part elsewhere, time over") << u"2"_s << u"1"_s << true << int(V::B);
    QTest::newRow("web style part elsewhere") << u"3"_s << u"1"_s << true << int(V::B);
    QTest::newRow("time over") << u"1"_s << u"1"_s << true << int(V::C);
    QTest::newRow("plain") << u"1"_s << u"1"_s << false << int(V::D);
  }
  void variantFollowsTheExam() {
    QFETCH(QString, otherPartType);
    QFETCH(QString, thisType);
    QFETCH(bool, timeOver);
    QFETCH(int, variant);
    fixture_->practicalPart(u"2"_s, thisType);
    fixture_->practicalPart(u"1"_s, otherPartType);  // 部数 is 2 now
    QVERIFY(fixture_->ok());
    QCOMPARE(int(ChooseSubmissionVariant(thisType, ExamHasCompactPracticalPart(), timeOver)),
             variant);
  }
};

EXAMORA_TEST(TestSubmissionFiles)
#include "tst_submissionfiles.moc"
