#pragma once
// What activating an entry does with its file, decided by three case-sensitive substring tests of the
// entry's exe_path, in this order: ".exe" or ".bat" anywhere starts it as a program, ".rar" unpacks
// it, anything else is handed to the desktop to open. "setup.exe.txt" is thus a program and
// "Demo.RAR" a document.
#include <QString>

namespace kelvox {

enum class EntryAction { Program, Unpack, Open };

EntryAction entry_action(const QString& exe_path);

// "program", "unpack" or "open".
QString entry_action_name(EntryAction action);

} // namespace kelvox
