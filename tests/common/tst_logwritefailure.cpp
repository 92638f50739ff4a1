#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include "TestRegistry.h"
#include "WriteFailure.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "common/RunLog.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray kOldLog =
    ToCp932(u"以下のログを検出しました。\r\n\r\n2026/01/05\t09:00:00.000\tQZTP0020：開始\r\n"_s);

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

// The run log under a full disk quota, a read-only file and a read-only folder: the event is
// lost without a word, the lines already there stay exactly as they were, and the next line
// that can be written starts on a line of its own.
class TestLogWriteFailure : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString folder_;
  QString log_;

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    folder_ = dir_.filePath(u"system/1"_s);
    QDir().mkpath(folder_);
    log_ = folder_ + u"/log.txt"_s;
    QFile::remove(log_);
    SetExeFolder(dir_.path());
  }
  void cleanup() {
    MakeWritable(folder_);
    MakeWritable(log_);
    SetExeFolder(QString());
  }

  void failedLineIsLostAndOldLinesStay_data() {
    QTest::addColumn<bool>("existing");
    QTest::addColumn<qint64>("limit");  // bytes past the old file's end; -1 no limit
    QTest::addColumn<bool>("readOnlyFile");
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::newRow("limit at the file's end") << true << 0LL << false << false;
    QTest::newRow("limit inside the new line") << true << 17LL << false << false;
    QTest::newRow("new file, limit inside the header") << false << 10LL << false << false;
    QTest::newRow("new file, limit 0") << false << 0LL << false << false;
    QTest::newRow("read-only file") << true << -1LL << true << false;
    QTest::newRow("read-only folder, no file yet") << false << -1LL << false << true;
  }
  void failedLineIsLostAndOldLinesStay() {
    QFETCH(bool, existing);
    QFETCH(qint64, limit);
    QFETCH(bool, readOnlyFile);
    QFETCH(bool, readOnlyFolder);
    const QByteArray before = existing ? kOldLog : QByteArray();
    if (existing) {
      QFile f(log_);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(before);
    }
    if (readOnlyFile) QVERIFY(MakeReadOnly(log_));
    if (readOnlyFolder) QVERIFY(MakeReadOnly(folder_));

    const QDateTime when(QDate(2026, 1, 5), QTime(9, 30, 0));
    const ChildOutcome child = RunWithFileSizeLimit(limit < 0 ? -1 : before.size() + limit, [&] {
      NoPermissionOverride asCandidate;
      WriteLog(u"QZTP0020：次へ"_s, u"1"_s, u"log.txt"_s, when);
      return QByteArray("returned");
    });
    QVERIFY2(child.ok(), qPrintable(child.describe()));
    QCOMPARE(child.output, QByteArray("returned"));
    QCOMPARE(QFile::exists(log_), existing);
    QCOMPARE(ReadAll(log_), before);

    // Once the fault is gone, the next event is a whole line of its own (with the header
    // when the file is new).
    MakeWritable(folder_);
    MakeWritable(log_);
    WriteLog(u"QZTP0020：戻る"_s, u"1"_s, u"log.txt"_s, when);
    const QByteArray line = ToCp932(u"2026/01/05\t09:30:00.000\tQZTP0020：戻る\r\n"_s);
    const QByteArray header = ToCp932(u"以下のログを検出しました。\r\n\r\n"_s);
    QCOMPARE(ReadAll(log_), existing ? before + line : header + line);
  }
};

EXAMORA_TEST(TestLogWriteFailure)
#include "tst_logwritefailure.moc"
