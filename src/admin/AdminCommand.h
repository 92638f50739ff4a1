#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

// The command line of examora-admin, apart from the process: the tests run it directly.
namespace examora::admin {

struct Console {
  std::function<void(const QString&)> out;  // results (stdout)
  std::function<void(const QString&)> err;  // progress and errors (stderr)
};

// Exit status: 0 done and clean, 1 problems found or the action refused, 2 usage errors.
inline constexpr int kExitClean = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitUsage = 2;

// arguments without the program name. now dates the reset's backup folder.
int RunAdmin(const QStringList& arguments, const Console& console,
             const QDateTime& now = QDateTime::currentDateTime());

}  // namespace examora::admin
