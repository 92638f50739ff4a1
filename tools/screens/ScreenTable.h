#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

// The screens the screenshot tool renders. Each entry builds one window, filled the way the
// program fills it, inside a fresh copy of the sample installation; the tool shows it, waits
// for it to settle and grabs it. Adding a screen is adding one entry to ScreenTable().
namespace examora::screens {

// The installation an entry's screen reads from: a fresh sample for every entry, already
// holding a plausible candidate in shiken.ini, and the current ExeFolder().
class Installation {
 public:
  // Writes one INI value (path relative to the installation, "\" separated as everywhere).
  // The first failure is kept and fails the entry.
  void Set(const QString& relativePath, const QString& section, const QString& key,
           const QString& value);
  const QString& Error() const { return error_; }

 private:
  QString error_;
};

struct Shot {
  std::unique_ptr<QWidget> window;
  // The window's after-show work would go on to run a session or open another screen: the
  // tool keeps it from running and grabs the window as it was painted on show.
  bool holdAfterShow = false;
};

struct ScreenEntry {
  QString name;  // the PNG's base name: "<FormCode>" or "<FormCode>-<variant>"
  std::function<Shot(Installation&)> make;
};

const std::vector<ScreenEntry>& ScreenTable();

// Fills shiken.ini with the candidate the screens show.
void FillCandidate(Installation& installation);

}  // namespace examora::screens
