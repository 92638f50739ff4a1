#pragma once

#include <QProcess>
#include <QString>

// A second process that holds a classic fcntl write lock on a whole file, as office programs on
// Linux do while a document is open: the test binary itself, started again with a variable
// that turns it into the holder before any test runs. Killing the process lets go.
namespace examora::test {

// Starts the holder and waits until it holds the lock; false (and the process stopped) when it
// could not take it.
[[nodiscard]] bool StartFileLockHolder(QProcess& holder, const QString& path);

}  // namespace examora::test
