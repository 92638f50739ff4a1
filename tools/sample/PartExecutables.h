#pragma once

#include <QString>

namespace examora::sample {

// Copies program into the installation at folder once per part 1 to 部数, under the name the
// hand-over starts it by ("[<n>]<部種名称>.exe", 部種名称 from the part's setup.ini), and the
// program's module of page screens beside them where there is one. Returns
// false with a message when the installation's files do not name a part or a copy fails.
[[nodiscard]] bool WritePartExecutables(const QString& folder, const QString& program,
                                        QString* error = nullptr);

}  // namespace examora::sample
