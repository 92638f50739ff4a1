#include "viewers/WBContainer.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPalette>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include "viewers/BrowserLockdown.h"

namespace examora {

namespace {

const QString kNoSelectScript = QStringLiteral("examora-no-select");
const QString kHostCssScript = QStringLiteral("examora-host-css");
const QString kNoDirectNetworkScript = QStringLiteral("examora-no-direct-network");

QWebEngineScript MakeStyleScript(const QString& name, const QString& css) {
  QWebEngineScript script;
  script.setName(name);
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(true);
  script.setSourceCode(StyleInjectionScript(css, name));
  return script;
}

void RemoveScripts(QWebEnginePage* page, const QString& name) {
  for (const QWebEngineScript& s : page->scripts().find(name)) page->scripts().remove(s);
}

void LockSettings(QWebEngineSettings* s) {
  s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
  s->setAttribute(QWebEngineSettings::JavascriptCanPaste, false);
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
  s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
  s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
  s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
  s->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
  s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
  s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
  s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
  s->setAttribute(QWebEngineSettings::AllowRunningInsecureContent, false);
  s->setAttribute(QWebEngineSettings::AllowGeolocationOnInsecureOrigins, false);
  s->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
  // A link to "ms-settings:" or "mailto:" would start another program over the exam.
  s->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
}

// Injected into the profile, so that it runs in every page, frame and document before the
// page's own scripts, in the page's world (where the page's scripts look the names up).
QWebEngineScript MakeNoDirectNetworkScript() {
  QWebEngineScript script;
  script.setName(kNoDirectNetworkScript);
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  script.setSourceCode(NoDirectNetworkScript());
  return script;
}

// A worker has a script context the document-start script never reaches (and web transports
// there); the exam pages use none.
bool IsWorker(QWebEngineUrlRequestInfo::ResourceType type) {
  return type == QWebEngineUrlRequestInfo::ResourceTypeWorker ||
         type == QWebEngineUrlRequestInfo::ResourceTypeSharedWorker ||
         type == QWebEngineUrlRequestInfo::ResourceTypeServiceWorker;
}

bool IsPicture(QWebEngineUrlRequestInfo::ResourceType type) {
  return type == QWebEngineUrlRequestInfo::ResourceTypeImage ||
         type == QWebEngineUrlRequestInfo::ResourceTypeFavicon;
}

}  // namespace

// Every request (pages, frames, scripts, style sheets, XHR, sockets) comes only from the page
// folders; pictures may also come from the picture folders.
class LocalOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
 public:
  explicit LocalOnlyInterceptor(const TNulWBContainer* host)
      : QWebEngineUrlRequestInterceptor(nullptr), host_(host) {}

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    if (IsWorker(info.resourceType())) {
      info.block(true);
      return;
    }
    const QUrl url = info.requestUrl();
    bool allowed = IsUrlInsideAnyFolder(url, host_->PageFolders());
    if (!allowed && IsPicture(info.resourceType()))
      allowed = IsUrlInsideAnyFolder(url, host_->PictureFolders());
    info.block(!allowed);
  }

 private:
  const TNulWBContainer* host_;
};

// The page: refuses navigations out of the folder, new windows, file pickers and script
// dialogs (which would otherwise open windows of their own above or behind the exam).
class LockedPage : public QWebEnginePage {
 public:
  LockedPage(QWebEngineProfile* profile, const TNulWBContainer* host)
      : QWebEnginePage(profile), host_(host) {}

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
    return IsNavigationAllowed(url, host_->PageFolders());
  }
  QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
  QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override {
    return {};
  }
  void javaScriptAlert(const QUrl&, const QString&) override {}
  bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
  bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
    return false;
  }
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                const QString&) override {}

 private:
  const TNulWBContainer* host_;
};

// ---- TNulWBContainer ------------------------------------------------------------------------

TNulWBContainer::TNulWBContainer(QWebEngineView* browser) : QObject(browser), browser_(browser) {
  Q_ASSERT_X(browser, "TNulWBContainer", "a host needs its browser");
  // A private profile: nothing of one candidate's session is kept on disk for the next.
  profile_ = new QWebEngineProfile(this);
  profile_->setHttpCacheType(QWebEngineProfile::NoCache);
  profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
  profile_->setSpellCheckEnabled(false);
  interceptor_ = new LocalOnlyInterceptor(this);
  interceptor_->setParent(this);
  profile_->setUrlRequestInterceptor(interceptor_);
  LockSettings(profile_->settings());
  profile_->scripts()->insert(MakeNoDirectNetworkScript());
  connect(profile_, &QWebEngineProfile::downloadRequested, this,
          [](QWebEngineDownloadRequest* download) { download->cancel(); });

  page_ = new LockedPage(profile_, this);
  LockSettings(page_->settings());
  connect(page_, &QWebEnginePage::featurePermissionRequested, page_,
          [this](const QUrl& origin, QWebEnginePage::Feature feature) {
            page_->setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
          });
  connect(page_, &QWebEnginePage::fullScreenRequested, page_,
          [](QWebEngineFullScreenRequest request) { request.reject(); });
  connect(page_, &QWebEnginePage::registerProtocolHandlerRequested, page_,
          [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
  connect(page_, &QWebEnginePage::fileSystemAccessRequested, page_,
          [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
  connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
    if (ok) emit documentComplete(page_->url());
  });
  browser_->setPage(page_);

  // No menu of the engine (it offers back/forward, save, page source and developer tools):
  // the host decides what a right click shows. Dropped files must not become navigations.
  browser_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(browser_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { ShowContextMenu(browser_->mapToGlobal(pos)); });
  browser_->setAcceptDrops(false);
}

TNulWBContainer::~TNulWBContainer() {
  // The page goes before its profile; deleting it also detaches it from the view.
  delete page_;
  page_ = nullptr;
}

QWebEnginePage* TNulWBContainer::Page() const {
  return page_;
}

void TNulWBContainer::SetScope(const QStringList& pageFolders, const QStringList& pictureFolders) {
  pageFolders_ = pageFolders;
  pictureFolders_ = pictureFolders;
}

void TNulWBContainer::Navigate(const QString& absolutePath) {
  // Checked here as well: the page would refuse it, but only after showing the address.
  const QUrl url = QUrl::fromLocalFile(absolutePath);
  if (IsUrlInsideAnyFolder(url, PageFolders())) page_->setUrl(url);
}

void TNulWBContainer::SetZoom(double factor) {
  page_->setZoomFactor(factor);
}

void TNulWBContainer::ShowContextMenu(const QPoint& globalPos) {
  ShowBrowserMenu(globalPos);
}

void TNulWBContainer::ShowBrowserMenu(const QPoint& globalPos) {
  // The reduced menu: copying a selection is all a candidate needs from it.
  const QWebEngineContextMenuRequest* request = browser_->lastContextMenuRequest();
  if (!request || request->selectedText().isEmpty()) return;
  auto* menu = new QMenu(browser_);
  menu->setObjectName(QStringLiteral("BrowserMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  QAction* copy = menu->addAction(QStringLiteral("コピー"));
  connect(copy, &QAction::triggered, page_,
          [page = page_] { page->triggerAction(QWebEnginePage::Copy); });
  menu->popup(globalPos);
}

// ---- TWBContainer ---------------------------------------------------------------------------

TWBContainer::TWBContainer(QWebEngineView* browser) : TNulWBContainer(browser) {
  SetBorderShown3D(true);
}

void TWBContainer::ShowContextMenu(const QPoint& globalPos) {
  if (!ownContextMenu_) {
    ShowBrowserMenu(globalPos);
    return;
  }
  if (popupMenu_) popupMenu_->popup(globalPos);
}

void TWBContainer::SetScrollBarsShown(bool on) {
  scrollBarsShown_ = on;
  Page()->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, on);
}

void TWBContainer::SetBorderShown3D(bool on) {
  borderShown3D_ = on;
  // The view lays its page out inside its contents margins; the margin shows the frame colour.
  QWebEngineView* view = HostedBrowser();
  const int edge = on ? 2 : 0;
  view->setContentsMargins(edge, edge, edge, edge);
  view->setAutoFillBackground(on);
  if (on) {
    QPalette pal = view->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Mid));
    view->setPalette(pal);
  }
}

void TWBContainer::SetTextSelectable(bool on) {
  textSelectable_ = on;
  UpdateScripts();
}

void TWBContainer::SetHostStyleSheet(const QString& css) {
  hostStyleSheet_ = css;
  UpdateScripts();
}

void TWBContainer::UpdateScripts() {
  QWebEnginePage* page = Page();
  RemoveScripts(page, kNoSelectScript);
  RemoveScripts(page, kHostCssScript);
  if (!textSelectable_) {
    page->scripts().insert(MakeStyleScript(
        kNoSelectScript,
        QStringLiteral("*{-webkit-user-select:none !important;user-select:none !important;}")));
  }
  if (!hostStyleSheet_.isEmpty())
    page->scripts().insert(MakeStyleScript(kHostCssScript, hostStyleSheet_));
}

// ---- FOLDER element -------------------------------------------------------------------------

void FillFolderElement(QWebEngineView* view, const QString& folderName) {
  if (!view) return;
  // Run in the program's own script world: the page's scripts cannot replace the DOM
  // functions it calls, and the name goes in as text, so markup in it stays literal.
  view->page()->runJavaScript(FolderElementScript(folderName), QWebEngineScript::ApplicationWorld);
}

}  // namespace examora
