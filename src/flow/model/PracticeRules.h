#pragma once

#include <QString>
#include <QStringList>

// Decisions of the operation practice dialogs that need no window.
namespace examora {

// The folder message of the "open the page" dialog: where the folder the candidate drags the
// page from lives. exeFolder is shown without a trailing separator.
QString FolderMessage(const QString& folderName, const QString& exeFolder);

// The folder message cut into the dialog's red lines. Lengths are CP932 bytes, as the labels
// were laid out for them: the first line takes at most firstLimit bytes, every further line
// furtherLimit; a cut that would fall inside a double-byte character falls before it; what
// does not fit into maxLines lines is dropped. A limit too small for the character at the cut
// cannot stop the wrap: that line takes the one character and the problem is reported in
// `problems` (the dialog logs it) rather than looping or losing the rest.
struct WrappedFolderMessage {
  QStringList lines;
  QStringList problems;  // log events, in the order they happened
};
WrappedFolderMessage WrapFolderMessage(const QString& message, int firstLimit, int furtherLimit,
                                       int maxLines = 5);

}  // namespace examora
