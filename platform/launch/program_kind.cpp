#include "platform/launcher.h"

namespace kelvox {

ProgramKind program_kind(const QString& file_name, const QByteArray& first_bytes) {
    // The header decides, whatever the name: a Windows executable can never run as it stands here.
    if (first_bytes.startsWith("MZ"))
        return ProgramKind::windows;
    if (file_name.endsWith(QStringLiteral(".bat"), Qt::CaseInsensitive))
        return ProgramKind::batch;
    return ProgramKind::native;
}

} // namespace kelvox
