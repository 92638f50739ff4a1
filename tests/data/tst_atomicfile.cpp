#include "TestRegistry.h"
#include "common/Cp932.h"
#include "common/ExeFolder.h"
#include "data/AtomicFile.h"
#include "data/IniAccess.h"
#include "data/IniFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#ifdef Q_OS_UNIX
#include <errno.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace examora;

namespace {

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}

QStringList Entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The value the crash test's writer stores in round n: its own length, so a reader can tell
// a complete value from a cut one.
QString GrowingValue(int n) {
  const int length = n % 1500;
  return QString::number(n) + QLatin1Char(':') + QString(length, QChar(0x5B57)) + QChar(0x3002);
}

#ifdef Q_OS_UNIX
// The crash test's writer process and the read end of the pipe it reports through; killed and
// reaped when the round ends, however it ends.
struct Writer {
  pid_t pid;
  int reports;

  Writer(pid_t child, int readEnd) : pid(child), reports(readEnd) {}
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;
  ~Writer() {
    if (pid > 0) (void)Kill();
    close(reports);
  }
  // True when the child was still running and SIGKILL is what ended it.
  [[nodiscard]] bool Kill() {
    const bool sent = kill(pid, SIGKILL) == 0;
    int status = 0;
    const bool reaped = waitpid(pid, &status, 0) == pid;
    pid = -1;
    return sent && reaped && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }
  // Waits for the next value the child reported; false once the child has ended and every
  // report has been read.
  bool NextReport(int* value) const {
    int n = 0;
    ssize_t got;
    do {
      got = read(reports, &n, sizeof n);
    } while (got < 0 && errno == EINTR);
    if (got != static_cast<ssize_t>(sizeof n)) return false;
    *value = n;
    return true;
  }
};
#endif

}  // namespace

class TestAtomicFile : public QObject {
  Q_OBJECT

 private slots:
  void createsAndReplacesLeavingNoTemporaryFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.ini"));
    QVERIFY(WriteFileAtomically(path, "first\r\n").ok);
    QCOMPARE(ReadAll(path), QByteArray("first\r\n"));
    QVERIFY(WriteFileAtomically(path, "second\r\n").ok);
    QCOMPARE(ReadAll(path), QByteArray("second\r\n"));
    QCOMPARE(Entries(dir.path()), QStringList{QStringLiteral("a.ini")});
  }

  void refusedTargetsFailAndStayIntact_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("read-only file") << true;
    QTest::newRow("folder in the file's place") << false;
  }
  void refusedTargetsFailAndStayIntact() {
    QFETCH(bool, readOnly);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("setup.ini"));
    if (readOnly) {
      WriteAll(path, "[s]\r\nk=old\r\n");
      QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else {
      QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("setup.ini")));
    }
    const WriteResult result =
        WriteIniValue(path, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("new"));
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    if (readOnly) {
      QCOMPARE(ReadAll(path), QByteArray("[s]\r\nk=old\r\n"));
      QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    } else {
      QVERIFY(QFileInfo(path).isDir());
    }
    QCOMPARE(Entries(dir.path()), QStringList{QStringLiteral("setup.ini")});
  }

  void missingFolderFailsAndIsNotCreated() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("system/1/setup.ini"));
    const WriteResult result = WriteFileAtomically(path, "x");
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("system"))));
  }

#ifdef Q_OS_UNIX
  void keepsTheOldFilesPermissions() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shiken.ini"));
    WriteAll(path, "[s]\r\n");
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(path, mode));
    QVERIFY(WriteIniValue(path, QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("1")).ok);
    QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             mode);
  }

  // A writer killed at any moment leaves the old or the new file, never a cut one. The child
  // rewrites one key with values of changing length in a file large enough to need several
  // disk blocks, and reports each value once its write has returned; the parent kills it at a
  // random moment after a write of the round and reads what is left each time.
  void killedWriterNeverLeavesABrokenFile() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("setup.ini"));
    const QString first = U("前"), state = U("状態"), pad = U("埋め"), last = U("後");
    QByteArray seed = ToCp932(
        QString(U("[前]\r\n鍵=最初\r\n[状態]\r\n値=") + GrowingValue(0) + U("\r\n[埋め]\r\n")));
    for (int i = 0; i < 200; ++i)
      seed += ToCp932(U("項目%1=あいうえおかきくけこさしすせそたちつてと\r\n").arg(i));
    seed += ToCp932(U("[後]\r\n鍵=最後\r\n"));
    WriteAll(path, seed);

    const QString key = U("値");
    int lastSeen = 0;
    for (int round = 0; round < 30; ++round) {
      const QString where = QStringLiteral("round %1").arg(round);
      int reports[2];
      QCOMPARE(pipe(reports), 0);
      Writer writer(fork(), reports[0]);
      QVERIFY(writer.pid >= 0);
      if (writer.pid == 0) {
        // Never return into the test framework from here. A report that cannot be delivered
        // means the parent is gone: stop.
        close(reports[0]);
        signal(SIGPIPE, SIG_IGN);
        for (int n = lastSeen + 1;; ++n) {
          if (!WriteIniValue(path, state, key, GrowingValue(n)).ok) _exit(1);
          if (write(reports[1], &n, sizeof n) != static_cast<ssize_t>(sizeof n)) _exit(0);
        }
      }
      close(reports[1]);

      int reported = 0;
      QVERIFY2(writer.NextReport(&reported), qPrintable(where + QStringLiteral(": no write")));
      QThread::usleep(QRandomGenerator::global()->bounded(40000));
      QVERIFY2(writer.Kill(), qPrintable(where + QStringLiteral(": the writer ended first; ") +
                                         Entries(dir.path()).join(u' ')));
      while (writer.NextReport(&reported)) {
      }

      const QByteArray bytes = ReadAll(path);
      QVERIFY2(bytes.endsWith("\r\n"), qPrintable(where));
      const IniFile ini = IniFile::Parse(bytes);
      QCOMPARE(ini.Sections(), QStringList({first, state, pad, last}));
      QCOMPARE(ini.Value(first, U("鍵")), U("最初"));
      QCOMPARE(ini.Keys(pad).size(), 200);
      QCOMPARE(ini.Value(last, U("鍵")), U("最後"));
      const QString value = ini.Value(state, key);
      const int n = value.section(QLatin1Char(':'), 0, 0).toInt();
      QCOMPARE(value, GrowingValue(n));
      // Every write the child reported is in the file; at most the one it was killed after,
      // before it could say so, is also there.
      QVERIFY2(n == reported || n == reported + 1,
               qPrintable(where + QStringLiteral(": %1 after %2").arg(n).arg(reported)));
      lastSeen = n;
    }
  }
#endif

  void writeIniRetriesForAboutASecondThenReportsTheError() {
    QTemporaryDir dir;
    SetExeFolder(dir.path());
    QElapsedTimer clock;
    clock.start();
    const WriteResult failed = WriteIni(QStringLiteral("system\\1\\setup.ini"), U("状態"),
                                        U("試験開始"), QStringLiteral("1"));
    const qint64 elapsed = clock.elapsed();
    QVERIFY(!failed.ok);
    QVERIFY(!failed.error.isEmpty());
    QVERIFY2(elapsed >= 1000 && elapsed < 3000, qPrintable(QString::number(elapsed)));

    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("system/1")));
    QVERIFY(WriteIni(QStringLiteral("system\\1\\setup.ini"), U("状態"), U("試験開始"),
                     QStringLiteral("1"))
                .ok);
    QCOMPARE(ReadIni(QStringLiteral("system/1/setup.ini"), U("状態"), U("試験開始")),
             QStringLiteral("1"));
    QCOMPARE(ReadAll(dir.filePath(QStringLiteral("system/1/setup.ini"))),
             ToCp932(U("[状態]\r\n試験開始=1\r\n")));
    SetExeFolder(QString());
  }
};

EXAMORA_TEST(TestAtomicFile)
#include "tst_atomicfile.moc"
