#pragma once

class QAbstractScrollArea;

namespace examora {

// A wheel message anywhere over `area` (its viewport and every widget on it) scrolls it by one
// line, its bar's single step: up for a turn away from the candidate, down for a turn towards
// them, whatever the size of the turn or the system's wheel setting. The lines are what the
// candidate counts (rows of the answer sheet, nodes of the question tree).
void ScrollOneLinePerWheel(QAbstractScrollArea* area);

}  // namespace examora
