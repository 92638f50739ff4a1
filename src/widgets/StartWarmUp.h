#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <thread>

namespace examora {

// The first screens wait on two slow things that need no window: the font set-up of their
// first text (finding the installed face for each of the screens' families) and decoding their
// band pictures. While the main thread opens the background window, a worker does both.
class StartWarmUp {
 public:
  explicit StartWarmUp(const QStringList& pictures);
  ~StartWarmUp();  // waits for the worker
  StartWarmUp(const StartWarmUp&) = delete;
  StartWarmUp& operator=(const StartWarmUp&) = delete;

 private:
  std::thread worker_;
};

// The picture in the file: the one a warm-up decoded, the first time it is asked for (waiting
// for the worker when it is still at it), and otherwise read from the file now. A file that is
// missing or not a picture gives a null image either way.
QImage LoadPicture(const QString& absolutePath);

}  // namespace examora
