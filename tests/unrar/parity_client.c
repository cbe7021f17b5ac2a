/* What the module makes of one archive, printed so that it reads the same on every system: the volumes
 * it opened, one line per entry (the wide name as UTF-8 with '/' between names, sizes, CRC, what
 * extracting it gave), then every file under the destination with its size and CRC32, sorted. The same
 * archive's output on Linux and under Windows is compared by tests/unrar/parity.cmake. A user of the
 * library would build it as it is: it needs unrar.h and the C library, nothing of ours.
 *
 * usage: unrar_parity_client ARCHIVE DESTINATION */
#include "unrar/unrar.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

enum { path_room = 4096 };

static unsigned long crc_table[256];

static unsigned long crc32_of(unsigned long crc, const unsigned char* data, size_t size) {
    if (crc_table[1] == 0)
        for (unsigned long n = 0; n < 256; ++n) {
            unsigned long c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
            crc_table[n] = c;
        }
    crc ^= 0xFFFFFFFFUL;
    while (size-- > 0)
        crc = crc_table[(crc ^ *data++) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFUL;
}

/* wchar_t is UTF-16 (surrogate pairs) on Windows and UTF-32 elsewhere. */
static void wide_to_utf8(const wchar_t* in, char* out, size_t room) {
    static const unsigned lead[] = {0x00, 0xC0, 0xE0, 0xF0};
    size_t at = 0;
    for (; *in != 0 && at + 5 < room; ++in) {
        unsigned long c = (unsigned long)*in;
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && (unsigned long)in[1] >= 0xDC00 &&
            (unsigned long)in[1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + ((unsigned long)*++in - 0xDC00);
        const int tail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        out[at++] = (char)(lead[tail] | (c >> (6 * tail)));
        for (int i = tail - 1; i >= 0; --i)
            out[at++] = (char)(0x80 | ((c >> (6 * i)) & 0x3F));
    }
    out[at] = 0;
}

static void slashes(char* name) {
    for (; *name != 0; ++name)
        if (*name == '\\')
            *name = '/';
}

static const char* base_name(const char* path) {
    const char* base = path;
    for (; *path != 0; ++path)
        if (*path == '/' || *path == '\\')
            base = path + 1;
    return base;
}

static int RAR_API on_message(unsigned int message, LPARAM user, LPARAM p1, LPARAM p2) {
    if (message == UCM_CHANGEVOLUME)
        printf("volume %s %s\n", p2 == RAR_VOL_ASK ? "asked" : "opened", base_name((const char*)p1));
    return message == UCM_CHANGEVOLUME && p2 == RAR_VOL_ASK ? 0 : 1;
}

/* The destination's listing, sorted once whole. */
static char** lines;
static size_t line_count;

static void add_line(const char* text) {
    char** grown = realloc(lines, (line_count + 1) * sizeof *lines);
    const size_t size = strlen(text) + 1;
    if (grown == NULL || (grown[line_count] = malloc(size)) == NULL)
        abort();
    memcpy(grown[line_count++], text, size);
    lines = grown;
}

static void add_file(FILE* file, const char* relative) {
    static unsigned char chunk[1 << 16];
    unsigned long crc = 0;
    unsigned long long size = 0;
    char line[path_room + 64];
    for (size_t got; file != NULL && (got = fread(chunk, 1, sizeof chunk, file)) > 0; size += got)
        crc = crc32_of(crc, chunk, got);
    snprintf(line, sizeof line, "%s %llu %08lx%s", relative, size, crc, file == NULL ? " unreadable" : "");
    add_line(line);
    if (file != NULL)
        fclose(file);
}

/* Links are listed as links, never followed. */
#ifdef _WIN32
static void list_tree(const wchar_t* directory, const char* relative) {
    wchar_t pattern[path_room];
    WIN32_FIND_DATAW found;
    _snwprintf(pattern, path_room, L"%ls\\*", directory);
    const HANDLE listing = FindFirstFileW(pattern, &found);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    do {
        if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0)
            continue;
        char name[path_room / 2], path[path_room + 16];
        wchar_t full[path_room];
        const DWORD attributes = found.dwFileAttributes;
        const char* kind = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? " link"
                           : (attributes & FILE_ATTRIBUTE_DIRECTORY)   ? "/"
                                                                       : "";
        wide_to_utf8(found.cFileName, name, sizeof name);
        snprintf(path, sizeof path, "%s%s%s", relative, name, kind);
        _snwprintf(full, path_room, L"%ls\\%ls", directory, found.cFileName);
        if (*kind == 0)
            add_file(_wfopen(full, L"rb"), path);
        else
            add_line(path);
        if (*kind == '/')
            list_tree(full, path);
    } while (FindNextFileW(listing, &found));
    FindClose(listing);
}
#else
static void list_tree(const char* directory, const char* relative) {
    DIR* listing = opendir(directory);
    if (listing == NULL)
        return;
    for (const struct dirent* item; (item = readdir(listing)) != NULL;) {
        if (strcmp(item->d_name, ".") == 0 || strcmp(item->d_name, "..") == 0)
            continue;
        char path[path_room + 16], full[path_room * 2];
        struct stat info;
        snprintf(full, sizeof full, "%s/%s", directory, item->d_name);
        const char* kind = lstat(full, &info) != 0 || S_ISLNK(info.st_mode) ? " link"
                           : S_ISDIR(info.st_mode)                          ? "/"
                                                                            : "";
        snprintf(path, sizeof path, "%s%s%s", relative, item->d_name, kind);
        if (*kind == 0)
            add_file(fopen(full, "rb"), path);
        else
            add_line(path);
        if (*kind == '/')
            list_tree(full, path);
    }
    closedir(listing);
}
#endif

static int by_text(const void* a, const void* b) {
    return strcmp(*(char* const*)a, *(char* const*)b);
}

static int run(char* archive_name, char* destination) {
    char comment[65536];
    struct RAROpenArchiveData opened = {archive_name, RAR_OM_EXTRACT, 0, comment, sizeof comment, 0, 0};
    void* archive = RAROpenArchive(&opened);
    printf("open %u comment %u %u %08lx\n", opened.OpenResult, opened.CmtState, opened.CmtSize,
           opened.CmtState == 1 ? crc32_of(0, (const unsigned char*)comment, opened.CmtSize) : 0UL);
    if (archive != NULL) {
        RARSetCallback(archive, on_message, 0);
        static struct RARHeaderDataEx header;
        int code;
        while (memset(&header, 0, sizeof header), (code = RARReadHeaderEx(archive, &header)) == 0) {
            char name[path_room];
            wide_to_utf8(header.FileNameW, name, sizeof name);
            const int result = RARProcessFile(archive, RAR_EXTRACT, destination, NULL);
            printf("entry %02x %llu %llu %08x -> %d ", header.Flags,
                   (unsigned long long)header.UnpSizeHigh << 32 | header.UnpSize,
                   (unsigned long long)header.PackSizeHigh << 32 | header.PackSize, header.FileCRC, result);
            /* FileName is UTF-8 too, and must say the same. */
            if (strcmp(name, header.FileName) != 0)
                printf("(narrow %s) ", header.FileName);
            slashes(name);
            printf("%s\n", name);
        }
        printf("end %d\nclose %d\n", code, RARCloseArchive(archive));
    }
    printf("destination\n");
#ifdef _WIN32
    wchar_t wide[path_room];
    if (MultiByteToWideChar(CP_UTF8, 0, destination, -1, wide, path_room) > 0)
        list_tree(wide, "");
#else
    list_tree(destination, "");
#endif
    if (line_count > 0)
        qsort(lines, line_count, sizeof *lines, by_text);
    for (size_t i = 0; i < line_count; ++i) {
        printf("  %s\n", lines[i]);
        free(lines[i]);
    }
    free(lines);
    return fflush(stdout) == 0 ? 0 : 1;
}

#ifdef _WIN32
/* The module takes UTF-8 names on Windows too. */
int wmain(int argc, wchar_t** argv) {
    static char archive[path_room], destination[path_room];
    if (argc != 3)
        return 2;
    _setmode(_fileno(stdout), _O_BINARY);
    wide_to_utf8(argv[1], archive, sizeof archive);
    wide_to_utf8(argv[2], destination, sizeof destination);
    return run(archive, destination);
}
#else
int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s ARCHIVE DESTINATION\n", argv[0]);
        return 2;
    }
    return run(argv[1], argv[2]);
}
#endif
