#include "FileLockHolder.h"
#include "TestRegistry.h"
#include "platform/OpenFileProbe.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace examora;

namespace {

std::string Utf8(const QString& path) {
  return path.toStdString();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

}  // namespace

class TestOpenFileProbe : public QObject {
  Q_OBJECT

 private slots:
  // A lock held by another process means "open elsewhere"; once it is gone the file reads.
  void lockOfAnotherProcessHoldsTheFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("表計算.xlsx"));
    WriteFile(path, "data");
    QCOMPARE(ProbeOpenFile(Utf8(path)).outcome, OpenFileProbeResult::Outcome::Readable);

    QProcess holder;
    QVERIFY(test::StartFileLockHolder(holder, path));

    const OpenFileProbeResult held = ProbeOpenFile(Utf8(path));
    QCOMPARE(held.outcome, OpenFileProbeResult::Outcome::HeldOpen);
    QVERIFY(!held.error.empty());

    holder.kill();
    QVERIFY(holder.waitForFinished(10000));
    QCOMPARE(ProbeOpenFile(Utf8(path)).outcome, OpenFileProbeResult::Outcome::Readable);
  }

  void ownerFileBesideHoldsTheFile_data() {
    QTest::addColumn<QString>("ownerName");
    QTest::addColumn<bool>("held");
    QTest::newRow("libre office") << QStringLiteral(".~lock.報告書.docx#") << true;
    QTest::newRow("windows office") << QStringLiteral("~$報告書.docx") << true;
    QTest::newRow("owner of another file") << QStringLiteral(".~lock.報告.docx#") << false;
  }
  void ownerFileBesideHoldsTheFile() {
    QFETCH(QString, ownerName);
    QFETCH(bool, held);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("報告書.docx"));
    WriteFile(path, "data");
    WriteFile(dir.filePath(ownerName), "owner");
    QCOMPARE(ProbeOpenFile(Utf8(path)).HeldOpen(), held);
  }

  // The time the file system records, in local time, whole seconds; the probe leaves it alone.
  void lastWriteIsLocalTimeAndUntouched() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("style.css"));
    WriteFile(path, "body{}");
    std::tm local{};
    local.tm_year = 2024 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 1;
    local.tm_hour = 10;
    local.tm_min = 12;
    local.tm_sec = 33;
    local.tm_isdst = -1;
    const struct timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 900000000}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);

    const OpenFileProbeResult result = ProbeOpenFile(Utf8(path));
    QVERIFY(result.Readable());
    using namespace std::chrono;
    const local_seconds expected =
        local_days{year{2024} / May / 1} + hours{10} + minutes{12} + seconds{33};
    QCOMPARE(result.lastWrite.time_since_epoch().count(), expected.time_since_epoch().count());

    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mtim.tv_nsec, 900000000L);
  }

  void otherFailuresCarryTheSystemText() {
    QTemporaryDir dir;
    const OpenFileProbeResult missing = ProbeOpenFile(Utf8(dir.filePath(QStringLiteral("x"))));
    QCOMPARE(missing.outcome, OpenFileProbeResult::Outcome::Failed);
    QCOMPARE(missing.error, std::string("No such file or directory"));

    if (::geteuid() == 0) QSKIP("root reads every file");
    const QString path = dir.filePath(QStringLiteral("locked.txt"));
    WriteFile(path, "data");
    QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    const OpenFileProbeResult denied = ProbeOpenFile(Utf8(path));
    QCOMPARE(denied.outcome, OpenFileProbeResult::Outcome::Failed);
    QCOMPARE(denied.error, std::string("Permission denied"));
  }
};

EXAMORA_TEST(TestOpenFileProbe)
#include "tst_openfileprobe.moc"
