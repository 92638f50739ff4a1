#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#include "TestRegistry.h"
#include "WriteFailure.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "data/IniAccess.h"

using namespace examora;
using namespace examora::test;
using namespace Qt::Literals::StringLiterals;

namespace {

const QByteArray kOldSetup = ToCp932(
    u"[基本情報]\r\n試験区分=1\r\n試験開始=1\r\n正常終了=\r\n\r\n[試験時間]\r\nall=50\r\nnow=12\r\n"_s);

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString ErrorText(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

// The INI writer when the disk refuses: over the file-size limit (as with a full disk or
// quota), a read-only file and a read-only folder. WriteIni reports the platform's error after
// its retries, the old file stays byte for byte, no temporary file is left behind and the
// process lives on.
class TestIniWriteFailure : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString folder_;
  QString setup_;

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    folder_ = dir_.filePath(u"system/1"_s);
    QDir().mkpath(folder_);
    setup_ = folder_ + u"/setup.ini"_s;
    SetExeFolder(dir_.path());
  }
  void cleanup() {
    MakeWritable(folder_);
    MakeWritable(setup_);
    QFile::remove(setup_);
    SetExeFolder(QString());
  }

  void refusedWriteIsReportedAndKeepsTheOldFile_data() {
    QTest::addColumn<bool>("existing");
    QTest::addColumn<qint64>("limit");  // bytes past the old file's end; -1 no limit
    QTest::addColumn<bool>("readOnlyFile");
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<int>("error");
    QTest::newRow("limit at the file's size") << true << 0LL << false << false << EFBIG;
    QTest::newRow("limit inside the new file") << true << 3LL << false << false << EFBIG;
    QTest::newRow("new file over the limit") << false << 5LL << false << false << EFBIG;
    QTest::newRow("read-only file") << true << -1LL << true << false << EACCES;
    QTest::newRow("read-only folder") << true << -1LL << false << true << EACCES;
    QTest::newRow("read-only folder, no file yet") << false << -1LL << false << true << EACCES;
  }
  void refusedWriteIsReportedAndKeepsTheOldFile() {
    QFETCH(bool, existing);
    QFETCH(qint64, limit);
    QFETCH(bool, readOnlyFile);
    QFETCH(bool, readOnlyFolder);
    QFETCH(int, error);
    const QByteArray before = existing ? kOldSetup : QByteArray();
    if (existing) {
      QFile f(setup_);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(before);
    }
    if (readOnlyFile) QVERIFY(MakeReadOnly(setup_));
    if (readOnlyFolder) QVERIFY(MakeReadOnly(folder_));
    const QStringList entries =
        QDir(folder_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const ChildOutcome child =
        RunWithFileSizeLimit(limit < 0 ? -1 : before.size() + limit, []() -> QByteArray {
          NoPermissionOverride asCandidate;
          const WriteResult result =
              WriteIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"延長終了"_s, u"1"_s);
          return (result.ok ? QByteArray("ok\n") : QByteArray("failed\n")) + result.error.toUtf8();
        });
    QVERIFY2(child.ok(), qPrintable(child.describe()));
    QCOMPARE(QString::fromUtf8(child.output), u"failed\n"_s + ErrorText(error));
    QCOMPARE(QFile::exists(setup_), existing);
    QCOMPARE(ReadAll(setup_), before);
    QCOMPARE(QDir(folder_).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             entries);
  }

  // The limit is checked against the whole new file, not just the part that changes: a file
  // that only just fits is written.
  void fileThatFitsTheLimitIsWritten() {
    {
      QFile f(setup_);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(kOldSetup);
    }
    const QByteArray after = ToCp932(
        u"[基本情報]\r\n試験区分=1\r\n試験開始=1\r\n正常終了=\r\n延長終了=1\r\n\r\n[試験時間]\r\n"
        u"all=50\r\n"
        u"now=12\r\n"_s);
    const ChildOutcome child = RunWithFileSizeLimit(after.size(), [] {
      return QByteArray(WriteIni(u"system/1/setup.ini"_s, u"基本情報"_s, u"延長終了"_s, u"1"_s).ok
                            ? "ok"
                            : "failed");
    });
    QVERIFY2(child.ok(), qPrintable(child.describe()));
    QCOMPARE(child.output, QByteArray("ok"));
    QCOMPARE(ReadAll(setup_), after);
  }
};

EXAMORA_TEST(TestIniWriteFailure)
#include "tst_iniwritefailure.moc"
