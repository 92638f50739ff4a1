#include "TestRegistry.h"

#include <QApplication>
#include <QTest>

#include <cstdio>

namespace examora::test {

std::vector<TestFactory>& Registry() {
  static std::vector<TestFactory> registry;
  return registry;
}

}  // namespace examora::test

// Runs every registered test class of this binary. Arguments are passed to each class, so
// "-functions" or a single test function name still work when the class has that function.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  int failures = 0;
  int classes = 0;
  for (const auto& factory : examora::test::Registry()) {
    std::unique_ptr<QObject> test = factory();
    failures += QTest::qExec(test.get(), argc, argv);
    ++classes;
  }
  std::printf("%d test classes run, %d failed\n", classes, failures);
  return failures == 0 ? 0 : 1;
}
