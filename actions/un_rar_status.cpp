#include "actions/un_rar_status.h"

#include "unrar/unrar.h"

namespace kelvox {

QString unrar_status_text(std::uint8_t status) {
    switch (status) {
    case unrar_status::NoMemory:
        return QStringLiteral("Not enough memory");
    case unrar_status::BadData:
        return QStringLiteral("Bad data");
    case unrar_status::BadArchive:
        return QStringLiteral("Bad archive");
    case unrar_status::OpenError:
        return QStringLiteral("Open error");
    case unrar_status::EndOfFile:
        return QStringLiteral("End of file");
    case unrar_status::CloseError:
        return QStringLiteral("Close error");
    case unrar_status::CreateError:
        return QStringLiteral("Create error");
    case unrar_status::ReadError:
        return QStringLiteral("Read error");
    case unrar_status::WriteError:
        return QStringLiteral("Write error");
    case unrar_status::UnknownFormat:
        return QStringLiteral("Unknown file format");
    case unrar_status::NoLibrary:
        return QStringLiteral("Couldn't open UNRAR.DLL");
    default:
        return QStringLiteral("Unknown error");
    }
}

TRarFileFlags decode_file_flags(unsigned int flags) {
    // The low five bits are the first five elements as they stand; the directory is the one value of the
    // dictionary bits that is not a size.
    TRarFileFlags set(std::uint8_t(flags & 0x1F));
    if ((flags & 0xE0) == 0xE0)
        set.insert(TRarFileFlag::Directory);
    return set;
}

std::uint32_t decode_dictionary_size(unsigned int flags) {
    switch (flags & 0xE0) {
    case 0x00:
        return 64;
    case 0x20:
        return 128;
    case 0x40:
        return 256;
    case 0x60:
        return 512;
    case 0x80:
        return 1024;
    default:
        return 0;
    }
}

std::optional<std::uint8_t> translate_comment_state(unsigned int state) {
    switch (state) {
    case 0:
        return 0;
    case 1:
        return 1;
    case ERAR_NO_MEMORY:
        return 2;
    case ERAR_BAD_DATA:
        return 3;
    case ERAR_UNKNOWN_FORMAT:
        return 4;
    default:
        return std::nullopt;
    }
}

std::optional<std::uint8_t> translate_open_result(unsigned int result) {
    switch (result) {
    case ERAR_SUCCESS:
        return unrar_status::Success;
    case ERAR_NO_MEMORY:
        return unrar_status::NoMemory;
    case ERAR_BAD_DATA:
        return unrar_status::BadData;
    case ERAR_BAD_ARCHIVE:
        return unrar_status::BadArchive;
    case ERAR_EOPEN:
        return unrar_status::OpenError;
    default:
        return std::nullopt;
    }
}

std::uint8_t translate_process_result(int result) {
    switch (result) {
    case ERAR_NO_MEMORY:
        return unrar_status::NoMemory;
    case ERAR_BAD_DATA:
        return unrar_status::BadData;
    case ERAR_BAD_ARCHIVE:
        return unrar_status::BadArchive;
    case ERAR_UNKNOWN_FORMAT:
        return unrar_status::UnknownFormat;
    case ERAR_EOPEN:
        return unrar_status::OpenError;
    case ERAR_ECREATE:
        return unrar_status::CreateError;
    case ERAR_ECLOSE:
        return unrar_status::CloseError;
    case ERAR_EREAD:
        return unrar_status::ReadError;
    case ERAR_EWRITE:
        return unrar_status::WriteError;
    default:
        // Keeping the status of the last header read (success) would report a failed file as extracted.
        return unrar_status::UnknownError;
    }
}

} // namespace kelvox
