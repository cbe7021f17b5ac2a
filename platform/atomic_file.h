#pragma once
// Replacing a file's content so that readers see either the old content or the new, never a part:
// the bytes go to a temporary file in the same directory (without a name until they are all there, where
// the file system allows), are synced, and the temporary file is renamed over the target. Temporaries
// a killed writer left are removed at the next write.
#include <QByteArray>
#include <QString>

namespace kelvox {

// False when any step failed (the temporary file is then removed and the target left as it was). A
// target that is a symbolic link to a file has the file it points to replaced; the new file takes the
// old one's permissions, or the usual ones for a new file.
bool replace_file_atomically(const QString& path, const QByteArray& bytes);

} // namespace kelvox
