// The embedded browser that shows the question and notes pages, locked to their folders.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class QPoint;
class QWebEnginePage;
class QWebEngineProfile;
class QWebEngineView;

namespace examora {

class LockedPage;
class LocalOnlyInterceptor;

// Host of an embedded browser. Attaching it locks the view down for the exam: a private
// profile with no cache and no stored cookies, nothing but files of the view's scope loaded
// (pages, frames and requests from its page folders, pictures also from its picture folders),
// no peer connections, web transports or workers (their traffic passes by the request
// checks), unknown schemes refused, no new windows, downloads, permissions, full screen, file
// pickers, script dialogs, clipboard access, developer tools or page source. The browser's own
// context menu is reduced to "copy" of a selection.
class TNulWBContainer : public QObject {
  Q_OBJECT

 public:
  // browser is required; the host lives as long as its owner keeps it and detaches itself
  // (the view is left with no page) when it goes.
  explicit TNulWBContainer(QWebEngineView* browser);
  ~TNulWBContainer() override;

  QWebEngineView* HostedBrowser() const { return browser_; }
  QWebEnginePage* Page() const;
  QWebEngineProfile* Profile() const { return profile_; }

  // What the view may load: pages, frames, scripts and requests from pageFolders, pictures
  // also from pictureFolders. Until a scope is set, nothing: the installation folder holds the
  // answer keys, so a screen that forgets its scope shows an empty view, not them.
  void SetScope(const QStringList& pageFolders, const QStringList& pictureFolders = {});
  const QStringList& PageFolders() const { return pageFolders_; }
  const QStringList& PictureFolders() const { return pictureFolders_; }

  // Loads a local file given by its absolute path; a file outside the folder is not loaded.
  void Navigate(const QString& absolutePath);
  // Page zoom (1.0 = 100 %).
  void SetZoom(double factor);

 signals:
  // The page finished loading (the document is complete).
  void documentComplete(const QUrl& url);

 protected:
  // Answers a context-menu request at globalPos; the neutral host shows the reduced menu.
  virtual void ShowContextMenu(const QPoint& globalPos);
  void ShowBrowserMenu(const QPoint& globalPos);

 private:
  QWebEngineView* browser_;
  QWebEngineProfile* profile_ = nullptr;
  LocalOnlyInterceptor* interceptor_ = nullptr;
  LockedPage* page_ = nullptr;
  QStringList pageFolders_;
  QStringList pictureFolders_;
};

// Host with the display options of the exam pages.
class TWBContainer : public TNulWBContainer {
  Q_OBJECT

 public:
  explicit TWBContainer(QWebEngineView* browser);

  // true: a right click pops up PopupMenu (nothing when none is set); false: the reduced
  // browser menu.
  bool OwnContextMenu() const { return ownContextMenu_; }
  void SetOwnContextMenu(bool on) { ownContextMenu_ = on; }
  QMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

  bool ScrollBarsShown() const { return scrollBarsShown_; }
  void SetScrollBarsShown(bool on);
  // The thin sunken edge round the view.
  bool BorderShown3D() const { return borderShown3D_; }
  void SetBorderShown3D(bool on);
  // false: text of the pages cannot be selected (and so not copied).
  bool TextSelectable() const { return textSelectable_; }
  void SetTextSelectable(bool on);
  // CSS added to every page (and frame) when its document is ready.
  const QString& HostStyleSheet() const { return hostStyleSheet_; }
  void SetHostStyleSheet(const QString& css);

 protected:
  void ShowContextMenu(const QPoint& globalPos) override;

 private:
  void UpdateScripts();

  bool ownContextMenu_ = false;
  bool scrollBarsShown_ = true;
  bool borderShown3D_ = true;
  bool textSelectable_ = true;
  QString hostStyleSheet_;
  QPointer<QMenu> popupMenu_;
};

// Puts folderName as plain text (never markup) into the first element named "FOLDER" of the
// page the view shows; a page without one is left unchanged. Runs asynchronously.
void FillFolderElement(QWebEngineView* view, const QString& folderName);

}  // namespace examora
