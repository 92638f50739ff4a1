#include "TestRegistry.h"

#ifdef EXAMORA_TEST_GUILESS
#include <QCoreApplication>
#else
#include <QApplication>
#endif
#include <QMetaMethod>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <string>

namespace examora::test {

std::vector<TestFactory>& Registry() {
  static std::vector<TestFactory> registry;
  return registry;
}

}  // namespace examora::test

namespace {

// Qt Test options that take a value; the value is not a test function name.
bool TakesValue(const char* option) {
  static const char* const kOptions[] = {"-o",          "-maxwarnings", "-eventdelay", "-keydelay",
                                         "-mousedelay", "-maxdelay",    "-platform"};
  for (const char* o : kOptions) {
    if (std::strcmp(option, o) == 0) return true;
  }
  return false;
}

// The test functions of a class, by name (with or without a ":data" tag after it).
bool HasFunction(const QMetaObject* meta, const std::string& selector) {
  const std::string name = selector.substr(0, selector.find(':'));
  for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
    const QMetaMethod method = meta->method(i);
    if (method.methodType() == QMetaMethod::Slot && method.name().toStdString() == name) {
      return true;
    }
  }
  return false;
}

}  // namespace

// Runs every registered test class of this binary. Options go to every class; test function
// names given on the command line ("name" or "Class::name") select the classes that have them.
int main(int argc, char** argv) {
  // The embedded browser's engine needs shared GL contexts, and in test containers (often run
  // as root, without a GPU) its sandbox and GPU process cannot start.
#ifdef EXAMORA_TEST_GUILESS
  // The models and rules run without widgets: no QApplication, as in a tool.
  QCoreApplication app(argc, argv);
#else
  if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
#endif

  std::vector<char*> options{argv[0]};
  std::vector<std::string> selectors;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-') {
      options.push_back(argv[i]);
      if (TakesValue(argv[i]) && i + 1 < argc) options.push_back(argv[++i]);
    } else {
      selectors.emplace_back(argv[i]);
    }
  }

  int failures = 0;
  int classes = 0;
  for (const auto& factory : examora::test::Registry()) {
    std::unique_ptr<QObject> test = factory();
    const QMetaObject* meta = test->metaObject();
    const std::string className = meta->className();
    std::vector<std::string> mine;
    for (const std::string& s : selectors) {
      const auto sep = s.find("::");
      if (sep != std::string::npos) {
        if (s.substr(0, sep) == className) mine.push_back(s.substr(sep + 2));
      } else if (HasFunction(meta, s)) {
        mine.push_back(s);
      }
    }
    if (!selectors.empty() && mine.empty()) continue;
    std::vector<char*> args = options;
    for (std::string& s : mine) args.push_back(s.data());
    failures += QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
    ++classes;
  }
  std::printf("%d test classes run, %d failed\n", classes, failures);
  return failures == 0 ? 0 : 1;
}
