// The input methods the note window may switch to. The original system picked a
// Chinese input method by name from the installed list; this platform offers no
// such list (the desktop's input framework owns the choice), so the list is empty
// and the note is typed with whatever input method is current.
#pragma once

#include <QString>
#include <QStringList>

namespace aids {

// Names of the installed input methods; none are known on this platform.
QStringList InstalledInputMethods();

// The one to switch the note to: "智能ABC输入法" when installed, else
// "五笔字型输入法", else "" (keep the current one).
QString PreferredNoteInputMethod(const QStringList& installed);

}  // namespace aids
