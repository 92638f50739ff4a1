// examora-admin: the exam operator's tool (check, status, reset, collect); see AdminCommand.h.

#include <QCoreApplication>

#include <cstdio>

#include "admin/AdminCommand.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const auto print = [](std::FILE* stream) {
    return [stream](const QString& text) {
      std::fputs(text.toLocal8Bit().constData(), stream);
      std::fflush(stream);
    };
  };
  return examora::admin::RunAdmin(QCoreApplication::arguments().mid(1),
                                  {print(stdout), print(stderr)});
}
