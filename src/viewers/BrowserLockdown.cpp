#include "viewers/BrowserLockdown.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace examora {

QString AllowedEngineFlags(const QString& flags) {
  // Software rendering only; nothing here widens what a page can reach.
  static const QStringList kAllowed = {
      QStringLiteral("--disable-gpu"),
      QStringLiteral("--disable-gpu-compositing"),
      QStringLiteral("--disable-software-rasterizer"),
  };
  QStringList kept;
  for (const QString& flag : flags.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (kAllowed.contains(flag) && !kept.contains(flag)) kept.append(flag);
  }
  return kept.join(QLatin1Char(' '));
}

QString EngineLockdownFlags() {
  // The pages' scripts lose the peer connection interfaces at document start, but a frame's
  // first, empty document gets its scripts one task late; this policy keeps UDP (STUN, TURN,
  // host candidates) off for every frame from the engine's side.
  return QStringLiteral("--force-webrtc-ip-handling-policy=disable_non_proxied_udp");
}

bool PrepareEngineEnvironment(bool superuser) {
  QString flags = AllowedEngineFlags(qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS"));
  flags = (flags.isEmpty() ? QString() : flags + QLatin1Char(' ')) + EngineLockdownFlags();
  qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.toUtf8());
  qunsetenv("QTWEBENGINE_REMOTE_DEBUGGING");
  if (superuser)
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  else
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
  return superuser;
}

QString JsStringLiteral(const QString& text) {
  // A one-element JSON array gives the escaped string between its brackets.
  const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
  return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString FolderElementScript(const QString& folderName) {
  return QStringLiteral(
             "(function(){var e=document.getElementsByName('FOLDER');"
             "if(e.length>0){e[0].textContent=%1;}})();")
      .arg(JsStringLiteral(folderName));
}

QString StyleInjectionScript(const QString& css, const QString& id) {
  return QStringLiteral(
             "(function(){var id=%1;if(document.getElementById(id))return;"
             "var s=document.createElement('style');s.id=id;s.textContent=%2;"
             "(document.head||document.documentElement).appendChild(s);})();")
      .arg(JsStringLiteral(id), JsStringLiteral(css));
}

QString NoDirectNetworkScript() {
  // Each frame's constructors are its own, so every frame runs this; the interfaces go from
  // the window itself, not just from view, so that a page cannot take them back.
  return QStringLiteral(
      "(function(){var w=window;Object.getOwnPropertyNames(w).forEach(function(n){"
      "if(/^(webkit)?RTC|^WebTransport/.test(n)){try{delete w[n];}catch(e){}}});})();");
}

}  // namespace examora
