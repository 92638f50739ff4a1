#pragma once

#include <QFont>

namespace examora {

// The faces the screens are designed with. Where a face is not installed (any machine but
// a Japanese Windows), the nearest Japanese face that is takes its place.
enum class FontFace { MsPGothic, MsGothic, Meiryo };

// A font of the face with its size in pixels.
QFont UiFont(FontFace face, int pixelSize, bool bold = false);
// The same with the size in points, for the few labels designed in points.
QFont UiFontPt(FontFace face, int pointSize, bool bold = false);

// True when the face itself (not a substitute) is installed; some screens lay out differently
// without "メイリオ".
bool IsFontInstalled(FontFace face);

}  // namespace examora
