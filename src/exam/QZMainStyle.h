#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// Sizes, colours and texts the parts of the knowledge exam window share (QZMain*.cpp).
namespace examora::qzmain {

inline constexpr int kHeaderHeight = 120;
inline constexpr int kFirstRowHeight = 59;
inline constexpr int kTreeWidth = 140;
inline constexpr int kSheetWidth = 188;
inline constexpr int kSheetRowWidth = 170;
inline constexpr int kButtonHeight = 28;
inline constexpr int kHeaderButtonWidth = 78;
inline constexpr int kModeButtonWidth = 70;

// A pressed button (and the end button) is red; the others grey.
inline const QColor kHighlightTop(255, 140, 144);
inline const QColor kHighlightBottom(255, 0, 0);
inline const QColor kNormalTop(240, 240, 240);
inline const QColor kNormalBottom(64, 64, 64);

inline const QString kChoiceLetters[5] = {QStringLiteral("ア"), QStringLiteral("イ"),
                                          QStringLiteral("ウ"), QStringLiteral("エ"),
                                          QStringLiteral("オ")};

}  // namespace examora::qzmain
