#include "platform/atomic_file.h"

#include "platform/disc/temporary_files.h"
#include "platform/win32/win32_text.h"

#include <algorithm>

namespace kelvox {

namespace {

constexpr int kNameAttempts = 16;

// A writer holds its temporary open without sharing it, so Windows refuses to delete it; one that
// a killed writer left is open nowhere and goes.
void remove_stale_temporaries(const QFileInfo& target) {
    for (const QString& file : temporary_files_of(target))
        DeleteFileW(wide(windows_path(file)));
}

// A write can stop short (a full disc) and report it only on the next call; every byte must be
// accounted for before the file may replace the old one.
bool write_all(HANDLE file, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const DWORD piece = DWORD(std::min<qsizetype>(left, qsizetype(1) << 30));
        DWORD written = 0;
        if (!WriteFile(file, data, piece, &written, nullptr) || written == 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

} // namespace

bool replace_file_atomically(const QString& path, const QByteArray& bytes) {
    const QFileInfo link(path);
    const QFileInfo target(link.isSymbolicLink() && link.exists() ? link.canonicalFilePath() : path);
    remove_stale_temporaries(target);

    QString temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < kNameAttempts; ++attempt) {
        temporary = windows_path(temporary_file_name(target));
        file = CreateFileW(wide(temporary), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool written = write_all(file, bytes) && FlushFileBuffers(file);
    // Closed before the move, which Windows refuses for a file open without shared deletion. Another
    // writer's clean-up may take it in that moment: the move then fails and the old file stays whole.
    CloseHandle(file);
    const QString destination = windows_path(target.filePath());
    // Replacing keeps the old file's permissions and attributes; a new file takes the folder's.
    const bool replaced =
        written &&
        (target.exists() ? ReplaceFileW(wide(destination), wide(temporary), nullptr,
                                        REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                         : MoveFileExW(wide(temporary), wide(destination), MOVEFILE_WRITE_THROUGH));
    if (!replaced)
        DeleteFileW(wide(temporary));
    return replaced;
}

} // namespace kelvox
