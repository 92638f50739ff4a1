#include "flow/model/NotesRules.h"

namespace examora {

NotesButtons NotesButtonRule(int page, const std::function<bool(int)>& pageExists,
                             bool fromExamWindow) {
  NotesButtons b;
  b.pageExists = pageExists(page);
  const bool previous = pageExists(page - 1);
  const bool following = pageExists(page + 1);
  if (previous)
    b.back = NotesButtons::Back::PreviousPage;
  else
    b.back = fromExamWindow ? NotesButtons::Back::Disabled : NotesButtons::Back::LeaveBack;
  if (following)
    b.next = NotesButtons::Next::NextPage;
  else
    b.next = fromExamWindow ? NotesButtons::Next::Disabled : NotesButtons::Next::Explanation;
  b.hidden = fromExamWindow && !previous && !following;
  return b;
}

NotesShortcut NotesShortcutFor(int key, Qt::KeyboardModifiers modifiers,
                               quint32 windowsVirtualKey) {
  const Qt::KeyboardModifiers held =
      modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
  if (held != (Qt::ControlModifier | Qt::ShiftModifier)) return NotesShortcut::None;
  if (windowsVirtualKey != 0) {
    switch (windowsVirtualKey) {
      case 0x31:
        return NotesShortcut::LinkModeAutoBetweenParts;  // "1"
      case 0x32:
        return NotesShortcut::LinkModeManual;  // "2"
      case 0xDC:
        return NotesShortcut::LinkModeAutomatic;  // VK_OEM_5, yen/backslash
      case 0x54:
        return NotesShortcut::TimeExtension;  // "T"
      default:
        return NotesShortcut::None;
    }
  }
  switch (key) {
    case Qt::Key_1:
    case Qt::Key_Exclam:
      return NotesShortcut::LinkModeAutoBetweenParts;
    case Qt::Key_2:
    case Qt::Key_At:
    case Qt::Key_QuoteDbl:
      return NotesShortcut::LinkModeManual;
    case Qt::Key_Backslash:
    case Qt::Key_yen:
    case Qt::Key_Bar:
      return NotesShortcut::LinkModeAutomatic;
    case Qt::Key_T:
      return NotesShortcut::TimeExtension;
    default:
      return NotesShortcut::None;
  }
}

QString LinkModeOf(NotesShortcut shortcut) {
  switch (shortcut) {
    case NotesShortcut::LinkModeAutoBetweenParts:
      return QStringLiteral("2");
    case NotesShortcut::LinkModeManual:
      return QStringLiteral("1");
    case NotesShortcut::LinkModeAutomatic:
      return QStringLiteral("3");
    default:
      return QString();
  }
}

}  // namespace examora
