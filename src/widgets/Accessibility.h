#pragma once

class QComboBox;

namespace examora {

// Lets assistive tools (screen readers, switch access) choose an item of a drop-down list
// without opening it. They select an item of the list's hidden item view; Qt commits only
// clicks and key presses in the open list, so without this the selection would be shown to
// the tool and never reach the drop-down list.
void CommitAccessibleSelection(QComboBox* combo);

}  // namespace examora
