/* Run when the build is configured: the installed libunarr must read, seek, tell and close a stream
 * laid out as unrar/rar4_image.cpp lays out its own (four callbacks, then their argument). A library
 * that lays its streams out otherwise calls the wrong words here and fails, or crashes, this check
 * instead of the module. */
#include <stdio.h>
#include <stdlib.h>
#include <unarr.h>

struct stream_words {
    void (*close)(void* data);
    size_t (*read)(void* data, void* buffer, size_t count);
    bool (*seek)(void* data, off64_t offset, int origin);
    off64_t (*tell)(void* data);
    void* data;
};

static int heard;

static void on_close(void* data) {
    heard += *(int*)data == 7 ? 1000 : 1;
}
static size_t on_read(void* data, void* buffer, size_t count) {
    (void)buffer;
    heard += *(int*)data == 7 ? 100 : 1;
    return count - 1;
}
static bool on_seek(void* data, off64_t offset, int origin) {
    heard += *(int*)data == 7 && offset == 5 && origin == SEEK_END ? 10 : 1;
    return true;
}
static off64_t on_tell(void* data) {
    return *(int*)data == 7 ? 42 : 0;
}

int main(void) {
    int tag = 7;
    char buffer[4];
    struct stream_words* words = malloc(sizeof *words);
    if (words == NULL)
        return 1;
    words->close = on_close;
    words->read = on_read;
    words->seek = on_seek;
    words->tell = on_tell;
    words->data = &tag;
    ar_stream* stream = (ar_stream*)words;
    const int right = ar_read(stream, buffer, sizeof buffer) == 3 && ar_seek(stream, 5, SEEK_END) &&
                      ar_tell(stream) == 42;
    ar_close(stream);
    return right && heard == 1110 ? 0 : 1;
}
