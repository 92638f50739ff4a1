#pragma once

#include <QString>
#include <Qt>

#include <functional>

// Decisions of the notes screen that need no window: what its buttons do on a page, and which
// proctor shortcut a key press is.
namespace examora {

struct NotesButtons {
  enum class Back {
    PreviousPage,  // enabled, shows page - 1
    LeaveBack,     // enabled, closes the screen with "back" (7): the previous wizard step
    Disabled,      // grey and disabled
  };
  enum class Next {
    NextPage,     // enabled, shows page + 1
    Explanation,  // enabled, goes on to the operation explanation
    Disabled,     // grey and disabled
  };
  bool pageExists = false;  // the page itself exists (otherwise the browser keeps its page)
  Back back = Back::Disabled;
  Next next = Next::Disabled;
  bool hidden = false;  // both buttons hidden (a single page shown from an exam window)

  bool BackEnabled() const { return back != Back::Disabled; }
  bool NextEnabled() const { return next != Next::Disabled; }
};

// The buttons for page (1, 2, …): only the neighbouring files count, so a gap in the
// numbering ends the run. pageExists(n) tells whether index<n>.html exists.
NotesButtons NotesButtonRule(int page, const std::function<bool(int)>& pageExists,
                             bool fromExamWindow);

enum class NotesShortcut {
  None,
  LinkModeAutoBetweenParts,  // Ctrl+Shift+1: 連携 "2", orange title
  LinkModeManual,            // Ctrl+Shift+2: 連携 "1", green title
  LinkModeAutomatic,         // Ctrl+Shift+yen/backslash: 連携 "3", white title
  TimeExtension,             // Ctrl+Shift+T
};

// The proctor shortcut a key press means. Ctrl and Shift must be held (Alt and Meta must not).
// windowsVirtualKey is the Windows virtual-key code of the press where the platform gives one
// (0 elsewhere); it decides, because the character of a shifted digit or of the yen key
// depends on the keyboard layout. Without it the key code decides, the shifted characters of
// the US and Japanese layouts included ("!" for 1, "@" or '"' for 2, "|" for yen/backslash).
NotesShortcut NotesShortcutFor(int key, Qt::KeyboardModifiers modifiers, quint32 windowsVirtualKey);

// The 連携 value a link-mode shortcut writes ("" for the others).
QString LinkModeOf(NotesShortcut shortcut);

}  // namespace examora
