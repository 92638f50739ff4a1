#include "TestRegistry.h"
#include "platform/NamedMutex.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <cstdio>
#include <cstdlib>

#include <unistd.h>

using namespace examora;

namespace {

// When started with this variable, the test binary becomes a helper process that takes the
// named mutex, says so on stdout and waits to be killed. It runs before main(), so the
// helper never starts the tests themselves.
constexpr char kHoldVariable[] = "EXAMORA_TEST_HOLD_MUTEX";

[[maybe_unused]] const bool holdingForParent = [] {
  const char* name = std::getenv(kHoldVariable);
  if (!name) return false;
  const NamedMutexAttempt attempt = NamedMutex::TryAcquire(name);
  std::printf("%s\n", attempt.Acquired() ? "held" : "not held");
  std::fflush(stdout);
  for (;;) ::pause();
}();

// A name no other test run uses, in the shape of the real ones.
std::string UniqueName(const char* base) {
  return std::string("[1]") + base + std::to_string(QCoreApplication::applicationPid()) + ".exe";
}

}  // namespace

class TestNamedMutex : public QObject {
  Q_OBJECT

 private:
  // Starts a helper process holding `name` and waits until it holds it.
  void StartHolder(QProcess& holder, const std::string& name) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(kHoldVariable), QString::fromStdString(name));
    holder.setProcessEnvironment(environment);
    holder.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
  }

 private slots:
  void secondAttemptFailsUntilReleased() {
    const std::string name = UniqueName("知識");
    NamedMutexAttempt first = NamedMutex::TryAcquire(name);
    QVERIFY2(first.Acquired(), first.error.c_str());
    QCOMPARE(first.mutex->Name(), name);

    const NamedMutexAttempt second = NamedMutex::TryAcquire(name);
    QVERIFY(second.HeldElsewhere());
    QVERIFY(!second.mutex);

    first.mutex->Release();
    QVERIFY(NamedMutex::TryAcquire(name).Acquired());
  }

  void destructionReleases() {
    const std::string name = UniqueName("実技");
    { QVERIFY(NamedMutex::TryAcquire(name).Acquired()); }
    QVERIFY(NamedMutex::TryAcquire(name).Acquired());
  }

  // Names that differ only in Japanese text or punctuation are different mutexes.
  void namesAreKeptApart() {
    const NamedMutexAttempt knowledge = NamedMutex::TryAcquire(UniqueName("[知識]"));
    const NamedMutexAttempt practical = NamedMutex::TryAcquire(UniqueName("[実技]"));
    const NamedMutexAttempt slash = NamedMutex::TryAcquire(UniqueName("a/b\\c"));
    QVERIFY(knowledge.Acquired());
    QVERIFY(practical.Acquired());
    QVERIFY2(slash.Acquired(), slash.error.c_str());
  }

  void otherProcessHoldsUntilKilled() {
    const std::string name = UniqueName("[2]ワープロ");
    QProcess holder;
    StartHolder(holder, name);
    if (QTest::currentTestFailed()) return;

    QVERIFY(NamedMutex::TryAcquire(name).HeldElsewhere());

    holder.kill();  // SIGKILL: nothing runs in the holder to give the lock back
    QVERIFY(holder.waitForFinished());
    QVERIFY(NamedMutex::TryAcquire(name).Acquired());
  }
};

EXAMORA_TEST(TestNamedMutex)
#include "tst_namedmutex.moc"
