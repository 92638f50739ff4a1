#include "flow/PageModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/SharedModule.h"

namespace examora {

QString LoadPageModule(const QString& fileName) {
  const QString besideProgram = QCoreApplication::applicationDirPath() + u'/' + fileName;
  if (QFileInfo::exists(besideProgram)) {
    const std::string error =
        LoadSharedModule(QDir::toNativeSeparators(besideProgram).toStdString());
    return QString::fromStdString(error);
  }
  return QString::fromStdString(LoadSharedModule(fileName.toStdString()));
}

}  // namespace examora
