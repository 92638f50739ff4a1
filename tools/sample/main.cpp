// examora-make-sample <folder> [--program <examora>]: lays out the sample exam installation in
// <folder>; with --program, also a copy of the program per part under the part's name.
//
// A folder that already holds a sample (it has the marker file) is replaced; any other
// non-empty folder is refused, so a mistyped path can never delete someone's files.

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

#include "PartExecutables.h"
#include "SampleInstallation.h"

namespace {

int Fail(const QString& message) {
  std::fprintf(stderr, "examora-make-sample: %s\n", message.toLocal8Bit().constData());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // The pictures are drawn off screen; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const QStringList args = QCoreApplication::arguments();
  const bool withProgram = args.size() == 4 && args.at(2) == QLatin1String("--program");
  if (args.size() != 2 && !withProgram)
    return Fail(QStringLiteral("usage: examora-make-sample <folder> [--program <examora>]"));
  const QString folder = QDir::cleanPath(QFileInfo(args.at(1)).absoluteFilePath());

  QString error;
  if (!examora::sample::PrepareSampleFolder(folder, &error)) return Fail(error);
  if (!examora::sample::BuildSampleInstallation(folder, &error)) return Fail(error);
  if (withProgram && !examora::sample::WritePartExecutables(folder, args.at(3), &error))
    return Fail(error);
  std::printf("Sample installation written to %s\n", folder.toLocal8Bit().constData());
  return 0;
}
