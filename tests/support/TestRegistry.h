#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// Every test class of an area registers itself here; the area's single binary runs them all
// (see TestMain.cpp). Use EXAMORA_TEST(ClassName) after the class definition.
namespace examora::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

std::vector<TestFactory>& Registry();

struct Registrar {
  explicit Registrar(TestFactory factory) { Registry().push_back(std::move(factory)); }
};

}  // namespace examora::test

#define EXAMORA_TEST(Class)                                         \
  static const ::examora::test::Registrar examoraRegistrar_##Class{ \
      [] { return std::unique_ptr<QObject>(std::make_unique<Class>().release()); }};
