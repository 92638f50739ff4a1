#include "data/CommaText.h"

namespace examora {
namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

bool IsBlank(char16_t c) {
  return c >= 0x01 && c <= 0x20;
}

}  // namespace

QStringList SplitCommaText(const QString& text) {
  QStringList items;
  // Everything after a U+0000 is ignored, as the files were always read.
  const qsizetype end = [&] {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text.size() : nul;
  }();
  auto at = [&](qsizetype i) -> char16_t { return i < end ? text.at(i).unicode() : u'\0'; };

  qsizetype p = 0;
  while (IsBlank(at(p))) ++p;
  while (p < end) {
    QString item;
    if (at(p) == kQuote) {
      ++p;
      while (p < end) {
        if (at(p) == kQuote) {
          if (at(p + 1) == kQuote) {
            item += QChar(kQuote);
            p += 2;
            continue;
          }
          ++p;  // the closing quote
          break;
        }
        item += text.at(p);
        ++p;
      }
    } else {
      const qsizetype start = p;
      while (p < end && at(p) > 0x20 && at(p) != kComma) ++p;
      item = text.mid(start, p - start);
    }
    items.append(item);

    while (IsBlank(at(p))) ++p;
    if (at(p) == kComma) {
      if (p + 1 >= end) items.append(QString());
      do {
        ++p;
      } while (IsBlank(at(p)));
    }
  }
  return items;
}

}  // namespace examora
