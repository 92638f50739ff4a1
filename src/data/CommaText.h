#pragma once

#include <QString>
#include <QStringList>

namespace examora {

// Splits a list written as comma text, the form the exam content uses for lists in INI values
// and the answer line of a.csv:
// - items are separated by a comma or by a run of blanks and control characters (U+0001 to
//   U+0020); blanks and control characters next to a comma belong to that comma, so "a , b"
//   is two items, while "a b" is two items as well;
// - text before the first item and after the last one is skipped when it is blanks;
// - two commas in a row (also with blanks between them) keep an empty item: "a,,b" and
//   "a, ,b" are "a", "", "b"; a leading comma gives a leading empty item;
// - a comma that ends the text gives a trailing empty item ("a," is "a", ""), but a comma
//   followed only by blanks does not ("a, " is just "a"): the blanks are taken as part of the
//   separator, exactly as the exam files have always been read;
// - an item starting with a double quote runs to the matching closing quote and may contain
//   commas and blanks; a doubled quote inside stands for one quote; text directly after the
//   closing quote starts the next item; a quote in the middle of an item is an ordinary
//   character;
// - an opening quote without its closing quote takes the rest of the text as the item;
// - the text ends at a U+0000 character;
// - full-width blanks (U+3000) and every other character above U+0020 are ordinary characters.
// "" and a text of blanks give no items.
QStringList SplitCommaText(const QString& text);

}  // namespace examora
