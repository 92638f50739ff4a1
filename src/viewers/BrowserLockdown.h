#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include "common/PageScope.h"

// The browser engine's environment and the scripts the host injects; what pages may load is
// the rule of common/PageScope.h.
namespace examora {

// The browser engine's switches a start may keep from QTWEBENGINE_CHROMIUM_FLAGS: only those
// the test runs on virtual X servers need. Switches that open developer tools, remote
// debugging or turn off web security are dropped.
QString AllowedEngineFlags(const QString& flags);

// The engine's switches the program always adds: no UDP for peer connections, in any frame
// (their traffic never passes the request interceptor).
QString EngineLockdownFlags();

// Sets the browser engine's environment before it starts: QTWEBENGINE_CHROMIUM_FLAGS cut down
// to AllowedEngineFlags plus EngineLockdownFlags, remote debugging cleared, and the engine's
// sandbox switched off only for a superuser (the engine refuses to start as root with it, and ends
// the process without a word). Returns true when the sandbox was switched off.
bool PrepareEngineEnvironment(bool superuser);

// The text as a JavaScript string literal (JSON-escaped, double-quoted), safe to paste into a
// script whatever the text holds.
QString JsStringLiteral(const QString& text);

// Script that puts folderName as plain text into the first element named "FOLDER" of the
// document; does nothing when there is none.
QString FolderElementScript(const QString& folderName);

// Script that appends a <style> element with the given CSS text to the document (id tags the
// element so that it is added once per document).
QString StyleInjectionScript(const QString& css, const QString& id);

// Script, run in every frame before the page's own, that removes the page's ways to the network
// that are not requests and so pass by the request interceptor: peer connections (their ICE,
// STUN and TURN traffic goes to any address the page names) and web transports.
QString NoDirectNetworkScript();

}  // namespace examora
