// QZTP0030: the notes pages of the exam, paged with back and next.
#pragma once

#include "flow/ScreenFrame.h"
#include "flow/model/NotesRules.h"

class QAction;
class QWebEngineView;

namespace examora {

class RoundButton;
class TWBContainer;

// Notes: the exam's notes pages with back/next, and the proctor's link-mode and
// time-extension shortcuts. In the wizard it chains to the operation explanation.
class TfrmQZTP0030 : public ScreenFrame {
  Q_OBJECT

 public:
  explicit TfrmQZTP0030(QWidget* owner);
  ~TfrmQZTP0030() override;

  bool FromExamWindow = false;  // opened through the cover from an exam window

  int PageNumber() const { return pageNumber_; }
  bool NextPageExists() const { return nextPageExists_; }
  QWebEngineView* WebBrowser() const { return webBrowser_; }
  TWBContainer* BrowserHost() const { return host_; }

 protected:
  void SetUpScreen() override;

 private:
  QString PageFolder() const;
  QString PagePath(int page) const;
  void ShowPage();
  void BackBtnClick();
  void NextBtnClick();
  void CloseBtnClick();
  void WebBrowserDocumentComplete();
  void RunShortcut(NotesShortcut shortcut);
  bool CatchShortcutKey(QObject* watched, QEvent* event);
  void LayOutBrowser();

  int pageNumber_ = 1;
  bool nextPageExists_ = false;
  QWebEngineView* webBrowser_ = nullptr;
  TWBContainer* host_ = nullptr;
  RoundButton* backBtn_ = nullptr;
  RoundButton* nextBtn_ = nullptr;
};

}  // namespace examora
