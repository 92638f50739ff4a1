#include "widgets/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace examora {
namespace {

QStringList Families(FontFace face) {
  switch (face) {
    case FontFace::MsPGothic:
      return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
              QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
              QStringLiteral("Noto Sans CJK JP")};
    case FontFace::MsGothic:
      return {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
              QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")};
    case FontFace::Meiryo:
      return {QStringLiteral("メイリオ"), QStringLiteral("Meiryo"), QStringLiteral("IPAPGothic"),
              QStringLiteral("Noto Sans CJK JP")};
  }
  return {};
}

// The first of the face's names that is installed. Qt settles on the first name it is given:
// a name that is not installed sends it through the system's fallback search, and a list of
// names has that search run for every size and weight in advance (both slow, and the search
// may pick a face other than the substitutes listed). Without any of them, the system chooses.
QString InstalledFamily(FontFace face) {
  static const QStringList installed = QFontDatabase::families();
  const QStringList families = Families(face);
  for (const QString& family : families) {
    if (installed.contains(family)) return family;
  }
  return families.first();
}

QFont Make(FontFace face, bool bold) {
  QFont f(InstalledFamily(face));
  f.setBold(bold);
  return f;
}

}  // namespace

QFont UiFont(FontFace face, int pixelSize, bool bold) {
  QFont f = Make(face, bold);
  f.setPixelSize(pixelSize);
  return f;
}

QFont UiFontPt(FontFace face, int pointSize, bool bold) {
  QFont f = Make(face, bold);
  f.setPointSize(pointSize);
  return f;
}

bool IsFontInstalled(FontFace face) {
  const QStringList installed = QFontDatabase::families();
  const QStringList wanted = Families(face);
  // Only the face's own names (the first two entries) count, not its substitutes.
  return installed.contains(wanted.at(0)) || installed.contains(wanted.at(1));
}

}  // namespace examora
