#include "TestRegistry.h"
#include "platform/NamedMutex.h"
#include "platform/Shell.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace examora;

namespace {

void WriteScript(const QString& path, const QByteArray& body) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\n" + body);
  file.close();
  QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestShell : public QObject {
  Q_OBJECT

 private slots:
  // The hand-over starts "[<n>]<name>.exe": brackets, Japanese text and blanks in the path
  // must reach the system untouched.
  void startsProgramByPath() {
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/試験 フォルダ-XXXXXX"));
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(QStringLiteral("[2]表計算.exe"));
    const QString marker = dir.filePath(QStringLiteral("started.txt"));
    WriteScript(program, "echo \"$0\" > \"$(dirname \"$0\")/started.txt\"\n");
    const ShellResult result = StartExecutable(program.toStdString());
    QVERIFY2(result.ok, result.error.c_str());
    QTRY_COMPARE_WITH_TIMEOUT(ReadAll(marker).trimmed(), program.toUtf8(), 10000);
  }

  void reportsWhatCannotStart_data() {
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << false;
    QTest::newRow("not executable") << true;
  }
  void reportsWhatCannotStart() {
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("[3]提出用ファイル作成.exe"));
    if (exists) {
      QFile file(program);
      QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const ShellResult result = StartExecutable(program.toStdString());
    QVERIFY(!result.ok);
    QVERIFY(!result.error.empty());
  }

  // A started part must not inherit this part's single-instance lock, or a restarted
  // earlier part would be refused for as long as the later one runs.
  void startedProgramDoesNotKeepOurLocks() {
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("[2]sleeper.exe"));
    const QString marker = dir.filePath(QStringLiteral("started.txt"));
    WriteScript(program, "touch \"$(dirname \"$0\")/started.txt\"\nexec sleep 5\n");
    const std::string name = "[1]lock-" + std::to_string(QCoreApplication::applicationPid());
    NamedMutexAttempt held = NamedMutex::TryAcquire(name);
    QVERIFY(held.Acquired());
    QVERIFY(StartExecutable(program.toStdString()).ok);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    held.mutex->Release();
    QVERIFY(NamedMutex::TryAcquire(name).Acquired());
  }

  void opensFolderWithDesktopOpener() {
    QTemporaryDir bin;
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/実技用-XXXXXX"));
    const QString log = bin.filePath(QStringLiteral("opened.txt"));
    WriteScript(bin.filePath(QStringLiteral("xdg-open")),
                "printf '%s' \"$1\" > '" + log.toUtf8() + "'\n");
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ':' + oldPath);
    const ShellResult opened = OpenFolder(folder.path().toStdString());
    const ShellResult missing =
        OpenFolder(QString(folder.path() + QStringLiteral("/none")).toStdString());
    qputenv("PATH", oldPath);

    QVERIFY2(opened.ok, opened.error.c_str());
    QTRY_COMPARE_WITH_TIMEOUT(ReadAll(log), folder.path().toUtf8(), 10000);
    QVERIFY(!missing.ok);
  }
};

EXAMORA_TEST(TestShell)
#include "tst_shell.moc"
