#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>

namespace examora {

// Decoding is the slow part of putting a picture on a screen, the first picture of a format
// most of all (its decoder is loaded then). A screen about to open can have its picture files
// decoded on a thread of their own while the program does other work. Pictures are decoded
// there only while a Preloader exists: the program makes one after its application object and
// lets it go before that object; elsewhere (the tests) every picture is decoded when asked for.
// Before any picture, the thread reads what the first text of the first screen would otherwise
// wait for: the list of installed fonts and the match of the application's font.
class Preloader {
 public:
  Preloader();
  ~Preloader();  // waits for the picture under way; the rest are not decoded
  Preloader(const Preloader&) = delete;
  Preloader& operator=(const Preloader&) = delete;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// Has the files decoded ahead, in this order.
void PreloadPictures(const QStringList& absolutePaths);

// The picture in the file, as QImage(path) reads it (a null image when the file is missing or
// unusable). A preloaded picture is handed over once its decoding has finished (waiting for it
// when it is under way), and only once; a file not preloaded, or not yet started, is decoded
// here.
QImage LoadPicture(const QString& absolutePath);

}  // namespace examora
