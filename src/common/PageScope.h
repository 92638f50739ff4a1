#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Which files a page shown in the embedded browser may reach. Exam pages must not become a way
// out of the exam, so only files inside the folders a screen names are shown. The rule lives
// below the browser so that the operator tool judges an installation's links by it too.
namespace examora {

// True when url is a local file: URL (no remote host) whose target exists inside folder or is
// folder itself, after resolving "..", "." and symbolic links. Anything else is refused:
// other schemes, missing files, UNC hosts. Compared case-insensitively on Windows.
bool IsUrlInsideFolder(const QUrl& url, const QString& folder);

// True when url is inside one of the folders.
bool IsUrlInsideAnyFolder(const QUrl& url, const QStringList& folders);

// Whether the browser may navigate a frame to url: a file inside one of the folders, or an
// empty frame ("about:blank", which loads nothing).
bool IsNavigationAllowed(const QUrl& url, const QStringList& folders);

}  // namespace examora
