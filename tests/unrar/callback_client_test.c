/* The module as a C program uses it: the callback's messages, a cancel from inside it, and the header with
 * 64-bit sizes. Archives are made here byte by byte (a stored RAR 4 archive is a few blocks), volume sets
 * with the kelvox-rar-store tool named by the first argument. Exit status 0 when every check holds. */
#include "unrar/unrar.h"

#include <dirent.h>
#include <fcntl.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <wchar.h>
#include <zlib.h>

static int failures;

#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition);                          \
            ++failures;                                                                                      \
        }                                                                                                    \
    } while (0)

enum { MiB = 1 << 20 };

/* ---- archives ---- */

static unsigned char pattern_byte(unsigned long long at) {
    return (unsigned char)((at * 7 + at / 251) & 0xFF);
}

static void put(unsigned char** out, unsigned long long value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        *(*out)++ = (unsigned char)(value >> (8 * i));
}

/* A block: CRC16 (low half of the CRC32 of type to end), type, flags, size, body. */
static void write_block(int fd, unsigned type, unsigned flags, const unsigned char* body, size_t size) {
    unsigned char block[512];
    unsigned char* at = block + 2;
    put(&at, type, 1);
    put(&at, flags, 2);
    put(&at, 7 + size, 2);
    if (size > 0)
        memcpy(at, body, size);
    const unsigned long crc = crc32(0, block + 2, (uInt)(5 + size));
    block[0] = (unsigned char)crc;
    block[1] = (unsigned char)(crc >> 8);
    if (write(fd, block, 7 + size) != (ssize_t)(7 + size))
        abort();
}

/* One stored file of `size` bytes: the pattern, or zeros left as a hole in the archive file. */
struct Member {
    const char* name;
    unsigned long long size;
    int hole;
};

static unsigned long member_crc(const struct Member* member) {
    static unsigned char chunk[MiB];
    unsigned long crc = crc32(0, Z_NULL, 0);
    if (member->hole) {
        memset(chunk, 0, sizeof chunk);
        const unsigned long zeros = crc32(0, chunk, MiB);
        unsigned long long left = member->size;
        for (; left >= MiB; left -= MiB)
            crc = crc32_combine(crc, zeros, MiB);
        return crc32(crc, chunk, (uInt)left);
    }
    for (unsigned long long done = 0; done < member->size; done += MiB) {
        const size_t count = member->size - done < MiB ? (size_t)(member->size - done) : MiB;
        for (size_t i = 0; i < count; ++i)
            chunk[i] = pattern_byte(done + i);
        crc = crc32(crc, chunk, (uInt)count);
    }
    return crc;
}

static void write_member(int fd, const struct Member* member) {
    unsigned char body[300];
    unsigned char* at = body;
    const size_t name_size = strlen(member->name);
    put(&at, member->size & 0xFFFFFFFFu, 4);
    put(&at, member->size & 0xFFFFFFFFu, 4);
    put(&at, 2, 1); /* Windows */
    put(&at, member_crc(member), 4);
    put(&at, 0x5A8C0000, 4); /* a DOS time */
    put(&at, 20, 1);
    put(&at, 0x30, 1); /* stored */
    put(&at, name_size, 2);
    put(&at, 0x20, 4);
    put(&at, member->size >> 32, 4); /* the high halves, flag 0x100 */
    put(&at, member->size >> 32, 4);
    memcpy(at, member->name, name_size);
    write_block(fd, 0x74, 0x8000 | 0x100, body, (size_t)(at - body) + name_size);
    if (member->hole) {
        if (lseek(fd, (off_t)member->size, SEEK_CUR) < 0)
            abort();
        return;
    }
    static unsigned char chunk[MiB];
    for (unsigned long long done = 0; done < member->size; done += MiB) {
        const size_t count = member->size - done < MiB ? (size_t)(member->size - done) : MiB;
        for (size_t i = 0; i < count; ++i)
            chunk[i] = pattern_byte(done + i);
        if (write(fd, chunk, count) != (ssize_t)count)
            abort();
    }
}

static void write_archive(const char* path, const struct Member* members, int count) {
    static const unsigned char marker[] = {0x52, 0x61, 0x72, 0x21, 0x1A, 0x07, 0x00};
    static const unsigned char main_body[6];
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, marker, sizeof marker) != (ssize_t)sizeof marker)
        abort();
    write_block(fd, 0x73, 0, main_body, sizeof main_body);
    for (int i = 0; i < count; ++i)
        write_member(fd, &members[i]);
    write_block(fd, 0x7B, 0x4000, NULL, 0);
    close(fd);
}

/* ---- what the callback saw ---- */

struct Record {
    int data_messages;
    unsigned long long data_bytes;
    long largest_piece;
    unsigned long crc;
    int cancel_at; /* answer -1 to this PROCESSDATA message (1 = the first); 0 never */
    int volume_asks;
    int volume_notices;
    char asked_name[2048];
    const char* answer_name; /* written into the buffer of a volume question; NULL cancels */
};

static int RAR_API record_callback(unsigned int msg, LPARAM user_data, LPARAM p1, LPARAM p2) {
    struct Record* record = (struct Record*)user_data;
    if (record == NULL)
        return -1;
    if (msg == UCM_PROCESSDATA) {
        ++record->data_messages;
        record->data_bytes += (unsigned long long)p2;
        if (p2 > record->largest_piece)
            record->largest_piece = p2;
        record->crc = crc32(record->crc, (const unsigned char*)p1, (uInt)p2);
        return record->data_messages == record->cancel_at ? -1 : 1;
    }
    if (msg == UCM_CHANGEVOLUME && p2 == RAR_VOL_NOTIFY) {
        ++record->volume_notices;
        return 1;
    }
    if (msg == UCM_CHANGEVOLUME && p2 == RAR_VOL_ASK) {
        ++record->volume_asks;
        snprintf(record->asked_name, sizeof record->asked_name, "%s", (const char*)p1);
        if (record->answer_name == NULL)
            return -1;
        strcpy((char*)p1, record->answer_name);
        return 1;
    }
    return 0;
}

static void* open_archive(const char* path, unsigned mode) {
    struct RAROpenArchiveData data;
    memset(&data, 0, sizeof data);
    data.ArcName = (char*)path;
    data.OpenMode = mode;
    return RAROpenArchive(&data);
}

/* The names in `directory`, joined by spaces, into `out`. */
static void list_directory(const char* directory, char* out, size_t size) {
    out[0] = '\0';
    DIR* dir = opendir(directory);
    if (dir == NULL)
        return;
    for (struct dirent* item; (item = readdir(dir)) != NULL;) {
        if (strcmp(item->d_name, ".") != 0 && strcmp(item->d_name, "..") != 0) {
            strncat(out, item->d_name, size - strlen(out) - 2);
            strncat(out, " ", size - strlen(out) - 1);
        }
    }
    closedir(dir);
}

static char work[256];

static void path_in(char* out, const char* name) {
    snprintf(out, 512, "%s/%s", work, name);
}

/* ---- the cases ---- */

static void every_piece_is_reported_with_the_callers_value(void) {
    const struct Member members[] = {{"big.bin", 5 * MiB / 2 + 17, 0}, {"small.txt", 100, 0}};
    char archive[512], out[512], listing[1024];
    path_in(archive, "pieces.rar");
    path_in(out, "pieces-out");
    write_archive(archive, members, 2);
    void* handle = open_archive(archive, RAR_OM_EXTRACT);
    CHECK(handle != NULL);
    struct Record record = {0};
    RARSetCallback(handle, record_callback, (LPARAM)&record);
    struct RARHeaderDataEx header;
    for (int i = 0; i < 2; ++i) {
        memset(&header, 0, sizeof header);
        CHECK(RARReadHeaderEx(handle, &header) == ERAR_SUCCESS);
        CHECK(strcmp(header.FileName, members[i].name) == 0);
        CHECK(header.UnpSize == members[i].size && header.UnpSizeHigh == 0 && header.PackSizeHigh == 0);
        record.crc = crc32(0, Z_NULL, 0);
        record.data_bytes = 0;
        CHECK(RARProcessFile(handle, RAR_EXTRACT, out, NULL) == ERAR_SUCCESS);
        CHECK(record.data_bytes == members[i].size);
        CHECK(record.crc == member_crc(&members[i]));
    }
    CHECK(wcscmp(header.FileNameW, L"small.txt") == 0);
    CHECK(strstr(header.ArcName, "pieces.rar") != NULL);
    CHECK(record.largest_piece <= MiB);
    CHECK(record.data_messages >= 4); /* 2.5 MiB in pieces of at most 1 MiB, then the small file */
    CHECK(RARReadHeaderEx(handle, &header) == ERAR_END_ARCHIVE);
    CHECK(RARCloseArchive(handle) == ERAR_SUCCESS);
    list_directory(out, listing, sizeof listing);
    CHECK(strstr(listing, "big.bin ") != NULL && strstr(listing, "small.txt ") != NULL);
}

static void a_cancel_leaves_nothing_behind(void) {
    static const struct {
        const char* label;
        int existing; /* a file of that name is in the destination already */
        int cancel_at;
    } cases[] = {{"first piece", 0, 1},
                 {"third piece", 0, 3},
                 {"over an existing file", 1, 2},
                 {"after 20 MiB, a file large enough to be closed in the background", 0, 80}};
    const struct Member member = {"big.bin", 24 * MiB + 5, 0};
    char archive[512];
    path_in(archive, "cancel.rar");
    write_archive(archive, &member, 1);
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        char out[512], target[600], listing[1024];
        snprintf(out, sizeof out, "%s/cancel-out-%zu", work, i);
        snprintf(target, sizeof target, "%s/big.bin", out);
        mkdir(out, 0755);
        if (cases[i].existing) {
            FILE* file = fopen(target, "w");
            fputs("old", file);
            fclose(file);
        }
        void* handle = open_archive(archive, RAR_OM_EXTRACT);
        struct Record record = {0};
        record.cancel_at = cases[i].cancel_at;
        RARSetCallback(handle, record_callback, (LPARAM)&record);
        struct RARHeaderDataEx header;
        memset(&header, 0, sizeof header);
        CHECK(RARReadHeaderEx(handle, &header) == ERAR_SUCCESS);
        const int result = RARProcessFile(handle, RAR_EXTRACT, out, NULL);
        if (result != ERAR_UNKNOWN || record.data_messages != cases[i].cancel_at)
            fprintf(stderr, "case %s: result %d after %d messages\n", cases[i].label, result,
                    record.data_messages);
        CHECK(result == ERAR_UNKNOWN);
        CHECK(record.data_messages == cases[i].cancel_at);
        CHECK(RARCloseArchive(handle) == ERAR_SUCCESS);
        list_directory(out, listing, sizeof listing);
        CHECK(strcmp(listing, cases[i].existing ? "big.bin " : "") == 0);
        if (cases[i].existing) {
            char content[8] = {0};
            FILE* file = fopen(target, "r");
            CHECK(file != NULL && fread(content, 1, sizeof content - 1, file) == 3);
            CHECK(strcmp(content, "old") == 0);
            if (file)
                fclose(file);
        }
    }
}

static void volumes_are_announced_and_asked_for(const char* store_tool) {
    char data[512], base[512], first[512], command[2048];
    path_in(data, "spread.bin");
    FILE* file = fopen(data, "wb");
    for (int i = 0; i < 10000; ++i)
        fputc(pattern_byte((unsigned long long)i), file);
    fclose(file);
    path_in(base, "set.rar");
    path_in(first, "set.part1.rar");
    snprintf(command, sizeof command, "'%s' '%s' --volume-size 4000 spread.bin='%s'", store_tool, base, data);
    CHECK(system(command) == 0);
    /* Every volume after the first moves away: the first missing one is asked for, the rest are then
     * found beside the answer. */
    mkdir("moved", 0755);
    int volumes = 1;
    char expected[512], moved[512];
    path_in(expected, "set.part2.rar");
    for (;; ++volumes) {
        char name[64], from[512];
        snprintf(name, sizeof name, "set.part%d.rar", volumes + 1);
        path_in(from, name);
        snprintf(moved, sizeof moved, "%s/moved/%s", work, name);
        if (rename(from, moved) != 0)
            break;
    }
    CHECK(volumes >= 3);
    snprintf(moved, sizeof moved, "%s/moved/set.part2.rar", work);

    static const int answers[] = {0, 1}; /* cancel, then name the moved volume */
    for (size_t i = 0; i < sizeof answers / sizeof answers[0]; ++i) {
        void* handle = open_archive(first, RAR_OM_EXTRACT);
        CHECK(handle != NULL);
        struct Record record = {0};
        record.answer_name = answers[i] ? moved : NULL;
        RARSetCallback(handle, record_callback, (LPARAM)&record);
        struct RARHeaderDataEx header;
        memset(&header, 0, sizeof header);
        CHECK(RARReadHeaderEx(handle, &header) == ERAR_SUCCESS);
        CHECK(RARProcessFile(handle, RAR_TEST, NULL, NULL) == (answers[i] ? ERAR_SUCCESS : ERAR_UNKNOWN));
        CHECK(record.volume_asks == 1 && strcmp(record.asked_name, expected) == 0);
        CHECK(record.volume_notices == (answers[i] ? volumes - 1 : 0));
        CHECK(record.data_bytes == (answers[i] ? 10000u : 0u));
        CHECK(RARCloseArchive(handle) == ERAR_SUCCESS);
    }
}

static void sizes_over_four_gib_keep_their_high_halves(void) {
    struct statvfs disk;
    if (statvfs(work, &disk) != 0 || (unsigned long long)disk.f_bavail * disk.f_frsize < 5ull << 30) {
        printf("skipped: the entry over 4 GiB needs 5 GiB free in case the file system keeps no holes\n");
        return;
    }
    const unsigned long long size = (4ull << 30) + MiB + 5;
    const struct Member member = {"huge.bin", size, 1};
    char archive[512], out[512], listing[1024];
    path_in(archive, "huge.rar");
    path_in(out, "huge-out");
    write_archive(archive, &member, 1);

    void* listing_handle = open_archive(archive, RAR_OM_LIST);
    struct RARHeaderData old_header;
    memset(&old_header, 0, sizeof old_header);
    CHECK(RARReadHeader(listing_handle, &old_header) == ERAR_SUCCESS);
    CHECK(old_header.UnpSize == 0xFFFFFFFFu && old_header.PackSize == 0xFFFFFFFFu);
    CHECK(RARCloseArchive(listing_handle) == ERAR_SUCCESS);

    /* Unpacking the whole of it would write 4 GiB: the start is enough to see the data flow, then cancel. */
    void* handle = open_archive(archive, RAR_OM_EXTRACT);
    struct Record record = {0};
    record.cancel_at = 3;
    RARSetCallback(handle, record_callback, (LPARAM)&record);
    struct RARHeaderDataEx header;
    memset(&header, 0, sizeof header);
    CHECK(RARReadHeaderEx(handle, &header) == ERAR_SUCCESS);
    CHECK(header.UnpSizeHigh == 1 && header.UnpSize == MiB + 5);
    CHECK(header.PackSizeHigh == 1 && header.PackSize == MiB + 5);
    CHECK(RARProcessFile(handle, RAR_EXTRACT, out, NULL) == ERAR_UNKNOWN);
    CHECK(record.largest_piece > 0 && record.largest_piece <= MiB);
    CHECK(record.data_bytes == 3ull * (unsigned long long)record.largest_piece);
    CHECK(RARCloseArchive(handle) == ERAR_SUCCESS);
    list_directory(out, listing, sizeof listing);
    CHECK(strcmp(listing, "") == 0);
}

/* The record as the published library lays it out: names, then the unsigned fields in their order, a
 * pointer, and at least a kilobyte of reserved tail that a later library may fill. */
static void the_header_keeps_its_layout(void) {
    const size_t names = 2 * 1024 + 2 * 1024 * sizeof(wchar_t);
    CHECK(offsetof(struct RARHeaderDataEx, FileName) == 1024 + 1024 * sizeof(wchar_t));
    CHECK(offsetof(struct RARHeaderDataEx, Flags) == names);
    CHECK(offsetof(struct RARHeaderDataEx, UnpSizeHigh) == names + 4 * sizeof(unsigned));
    CHECK(offsetof(struct RARHeaderDataEx, FileAttr) == names + 10 * sizeof(unsigned));
    CHECK(offsetof(struct RARHeaderDataEx, CmtState) ==
          offsetof(struct RARHeaderDataEx, CmtBuf) + sizeof(char*) + 2 * sizeof(unsigned));
    CHECK(sizeof(struct RARHeaderDataEx) >=
          offsetof(struct RARHeaderDataEx, CmtState) + sizeof(unsigned) + 1024);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: %s KELVOX-RAR-STORE\n", argv[0]);
        return 2;
    }
    const char* temp = getenv("TMPDIR");
    snprintf(work, sizeof work, "%s/kelvox-callback-XXXXXX", temp && *temp ? temp : "/tmp");
    if (mkdtemp(work) == NULL || chdir(work) != 0)
        return 2;
    the_header_keeps_its_layout();
    every_piece_is_reported_with_the_callers_value();
    a_cancel_leaves_nothing_behind();
    volumes_are_announced_and_asked_for(argv[1]);
    sizes_over_four_gib_keep_their_high_halves();
    char command[400];
    snprintf(command, sizeof command, "rm -rf '%s'", work);
    if (system(command) != 0)
        ++failures;
    printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
