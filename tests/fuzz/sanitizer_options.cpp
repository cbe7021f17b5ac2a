// ASan settings of the fuzz programs; ASAN_OPTIONS in the environment overrides them (for example to see
// whole allocation stacks when reproducing a crash).
//
// Two frames of each allocation's stack instead of thirty: the system's Qt and libjpeg are built without
// frame pointers, so the fast unwinder ASan uses on malloc reads whatever lies on the stack past their
// frames as return addresses. Nearly every allocation they made was a new "stack" in ASan's depot, which
// grew by 700 MB in four minutes and made each allocation slower until a long run crawled (the catalogue
// target ran 1,500 inputs a second at first and averaged 176 over an hour). A report still shows the
// faulting stack in full.
//
// 16 MB of freed memory held back instead of 256 MB: a run frees well under a megabyte, so a use after
// free is still caught many runs later, and recycling the smaller quarantine costs far fewer page faults.
extern "C" const char* __asan_default_options() {
    return "malloc_context_size=2:quarantine_size_mb=16";
}
