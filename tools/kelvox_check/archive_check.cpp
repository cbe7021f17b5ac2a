#include "tools/kelvox_check/archive_check.h"

#include "unrar/unrar.h"

#include <QFile>

#include <memory>

namespace kelvox::check {

namespace {

constexpr unsigned kEncryptedFile = 0x04;

QString failure(int code) {
    switch (code) {
    case ERAR_NO_MEMORY:
        return QStringLiteral("not enough memory");
    case ERAR_BAD_DATA:
        return QStringLiteral("damaged or encrypted data, or a dictionary larger than the module handles");
    case ERAR_BAD_ARCHIVE:
        return QStringLiteral("a damaged archive");
    case ERAR_UNKNOWN_FORMAT:
        return QStringLiteral("a format or method the module does not know");
    case ERAR_EOPEN:
        return QStringLiteral("a volume that cannot be opened or is missing");
    case ERAR_EREAD:
        return QStringLiteral("a read error");
    default:
        return QStringLiteral("error %1").arg(code);
    }
}

// Closes the archive however the walk ends.
struct OpenArchive {
    void* handle;
    decltype(&RARCloseArchive) close;
    ~OpenArchive() {
        if (handle)
            close(handle);
    }
};

} // namespace

void check_archive(DiscReport& report, const DynamicLibrary* module, const QString& file,
                   CheckedEntry& checked) {
    const QString& name = checked.entry.exe_path;
    const auto open = module ? module->entry_point<decltype(&RAROpenArchive)>("RAROpenArchive") : nullptr;
    const auto close = module ? module->entry_point<decltype(&RARCloseArchive)>("RARCloseArchive") : nullptr;
    const auto read_header =
        module ? module->entry_point<decltype(&RARReadHeaderEx)>("RARReadHeaderEx") : nullptr;
    const auto process = module ? module->entry_point<decltype(&RARProcessFile)>("RARProcessFile") : nullptr;
    if (!open || !close || !read_header || !process) {
        report.problem(name,
                       QStringLiteral("the archive is not checked: the RAR module (%1) could not be loaded")
                           .arg(DynamicLibrary::file_name_for(QStringLiteral("UNRAR"))));
        return;
    }
    QByteArray path = QFile::encodeName(file);
    RAROpenArchiveData data{};
    data.ArcName = path.data();
    data.OpenMode = RAR_OM_EXTRACT;
    const OpenArchive archive{open(&data), close};
    if (!archive.handle) {
        report.problem(name, QStringLiteral("the archive cannot be opened: %1%2")
                                 .arg(failure(int(data.OpenResult)),
                                      data.OpenResult == ERAR_BAD_DATA
                                          ? QStringLiteral(" (its headers are damaged or encrypted)")
                                          : QString()));
        return;
    }
    // Every file is unpacked in test mode, as the reader's unpack would decode it, with nothing written.
    const auto header = std::make_unique<RARHeaderDataEx>();
    for (;;) {
        *header = RARHeaderDataEx{};
        const int read = read_header(archive.handle, header.get());
        if (read == ERAR_END_ARCHIVE)
            return;
        if (read != ERAR_SUCCESS) {
            report.problem(name, QStringLiteral("a header after %1 file(s) cannot be read: %2")
                                     .arg(checked.archive_files.size())
                                     .arg(failure(read)));
            return;
        }
        const QString inside =
            QString::fromUtf8(header->FileName, qstrnlen(header->FileName, sizeof header->FileName));
        checked.archive_files << inside;
        if (header->Flags & kEncryptedFile) {
            report.problem(
                name,
                QStringLiteral("%1 in the archive is encrypted: the menu cannot unpack it").arg(inside));
            if (process(archive.handle, RAR_SKIP, nullptr, nullptr) != ERAR_SUCCESS)
                return;
            continue;
        }
        const int tested = process(archive.handle, RAR_TEST, nullptr, nullptr);
        if (tested != ERAR_SUCCESS) {
            report.problem(
                name,
                QStringLiteral("%1 in the archive cannot be unpacked: %2").arg(inside, failure(tested)));
            return;
        }
    }
}

} // namespace kelvox::check
