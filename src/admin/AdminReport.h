#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

// What the operator tool finds and how it says it. The tool speaks plain English; the exam
// files' own names, sections, keys and values are quoted as they stand, in Japanese.
namespace examora::admin {

// One thing wrong with an installation: where it is and what is wrong. Empty parts are left
// out when it is printed.
struct Problem {
  QString file;  // relative to the installation, "\" separated ("system\1\setup.ini")
  QString section;
  QString key;
  int line = 0;  // 1-based; 0 when the problem is not on one line
  QString what;
};

// "system\1\setup.ini:3: [基本情報] 部数: not a number ("x")".
QString FormatProblem(const Problem& problem);

// Progress of a long run, one line at a time (the tool prints it on stderr).
using Progress = std::function<void(const QString& line)>;

// The path relative to the installation as the operator sees it on the venue PCs.
QString ShownPath(const QString& relativePath);

// The 1-based line of the first bytes that are not CP932 text: a lead byte without a valid
// trail byte, a double-byte code the code page leaves undefined, or one of the single bytes it
// does not define (0x80, 0xA0, 0xFD to 0xFF). 0 when every byte is valid.
int FirstInvalidCp932Line(QByteArrayView bytes);

// The byte-order mark the bytes start with ("UTF-8", "UTF-16LE", "UTF-16BE"), or "".
QString ByteOrderMark(QByteArrayView bytes);

}  // namespace examora::admin
