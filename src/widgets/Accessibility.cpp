#include "widgets/Accessibility.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>

namespace examora {

void CommitAccessibleSelection(QComboBox* combo) {
  if (!combo) return;
  QAbstractItemView* view = combo->view();
  // While the list is open it is the user's own browsing (Esc still cancels it); only a
  // selection made in the closed list is a choice.
  QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, combo,
                   [combo, view](const QItemSelection& selected) {
                     if (view->isVisible() || selected.indexes().isEmpty()) return;
                     const int row = selected.indexes().first().row();
                     if (row != combo->currentIndex()) combo->setCurrentIndex(row);
                   });
}

}  // namespace examora
