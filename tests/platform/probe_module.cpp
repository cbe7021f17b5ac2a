// A module with one entry point of the RAR library's, found only beside the test program.
extern "C" __attribute__((visibility("default"))) int RAROpenArchive();

int RAROpenArchive() {
    return 0;
}
