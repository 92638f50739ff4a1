#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Which exam part this executable runs, and which part comes after it.
namespace examora {

// The switch that keeps the exam windows off the top and leaves the end state unwritten. It is
// never a part code.
inline constexpr char16_t kDebugSwitch[] = u"-debug";

// PartCode: the second character of the executable's file name ("[2]<name>.exe" gives "2"),
// replaced by every argument other than "-debug" in order, so the last such argument wins.
// executableFileName is the file name without its folder; arguments are the command-line
// arguments without the program itself. A name shorter than two characters gives "".
QString PartCodeFrom(const QString& executableFileName, const QStringList& arguments);

// True when "-debug" is among the arguments.
bool IsDebugRun(const QStringList& arguments);

// The part code as a part number; false when it is not a decimal integer.
bool PartNumberFrom(const QString& partCode, int* number);

// The hand-over search at the end of a part: the first part n from the current part + 1 up
// to partCount whose state is not ended.
struct NextPartResult {
  enum class Kind {
    Part,       // part `number` is next
    None,       // no later part is left: the submission-file tool comes next
    Impossible  // the part code is not a number: no hand-over at all
  };
  Kind kind = Kind::None;
  int number = 0;
};
NextPartResult NextPart(const QString& currentPartCode, int partCount,
                        const std::function<bool(int)>& isEnded);

// "[<n>]<部種名称>.exe": the executable of part n.
QString PartExecutableName(int partNumber, const QString& partName);

// "[<部数 + 1>]提出用ファイル作成.exe": the submission-file tool.
QString SubmissionExecutableName(int partCount);

}  // namespace examora
