#include "catalogue/entry_action.h"

namespace kelvox {

EntryAction entry_action(const QString& exe_path) {
    if (exe_path.contains(QLatin1String(".exe")) || exe_path.contains(QLatin1String(".bat")))
        return EntryAction::Program;
    if (exe_path.contains(QLatin1String(".rar")))
        return EntryAction::Unpack;
    return EntryAction::Open;
}

QString entry_action_name(EntryAction action) {
    switch (action) {
    case EntryAction::Program:
        return QStringLiteral("program");
    case EntryAction::Unpack:
        return QStringLiteral("unpack");
    case EntryAction::Open:
        break;
    }
    return QStringLiteral("open");
}

} // namespace kelvox
