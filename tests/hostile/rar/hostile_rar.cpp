// Hostile archives for the RAR module, and a plain caller of its C interface to run them with.
//   hostile_rar make DIR              one folder per case: the archive (volumes), `pre/` to put into the
//                                     destination first, `expect` (what `run` must print)
//   hostile_rar run ARCHIVE DEST      opens for extraction, extracts every entry under DEST, prints
//                                     each result and then what DEST holds
// It is built without sanitizers, so that the suite can bound its memory with `ulimit -v`.
#include "tools/rar_writer/rar_blocks.h"
#include "tools/rar_writer/stored_rar_writer.h"
#include "unrar/unrar.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kelvox::RarBytes;

RarBytes bytes_of(const std::string& text) {
    return {text.begin(), text.end()};
}

std::uint32_t crc_of(const RarBytes& bytes) {
    return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

void write(const fs::path& path, const RarBytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

RarBytes older(const std::vector<RarBytes>& blocks) {
    RarBytes bytes = kelvox::rar4_start(0);
    for (const RarBytes& block : blocks)
        kelvox::append(bytes, block);
    kelvox::append(bytes, kelvox::rar4_block(0x7B, 0x4000, {}));
    return bytes;
}

RarBytes newer(const std::vector<kelvox::Rar5File>& files, bool volume = false, bool another = false) {
    RarBytes bytes = kelvox::rar5_start(volume);
    for (const kelvox::Rar5File& file : files)
        kelvox::append(bytes, kelvox::rar5_file(file));
    kelvox::append(bytes, kelvox::rar5_end(another));
    return bytes;
}

RarBytes stored(const std::string& name, const std::string& text, std::uint64_t unpacked = ~0ull) {
    const RarBytes data = bytes_of(text);
    RarBytes bytes = kelvox::rar4_header({.name = name, .packed = data.size(),
                                          .unpacked = unpacked != ~0ull ? unpacked : data.size(),
                                          .crc = crc_of(data)});
    kelvox::append(bytes, data);
    return bytes;
}

// A block whose 64-bit data size takes the next offset back to its own start minus `back`.
RarBytes wrapping(unsigned type, std::uint64_t back) {
    const std::string name = type == 0x7A ? "CMT" : "loop.bin";
    const std::uint64_t header = kelvox::rar4_header({.type = type, .name = name, .large = true}).size();
    return kelvox::rar4_header({.type = type, .name = name, .packed = 0 - header - back, .large = true});
}

// The two volumes of a stored split file, the second from a set whose file has `second_name`.
void foreign_continuation(const fs::path& dir, const std::string& second_name) {
    RarBytes data(3000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i * 13);
    for (const std::string& name : {std::string("a.bin"), second_name}) {
        kelvox::StoredRarEntry entry;
        entry.name = name;
        entry.data = data;
        fs::create_directories(dir / name);
        kelvox::write_stored_rar((dir / name / "set.rar").string(), {entry}, 2000);
    }
    fs::copy_file(dir / "a.bin" / "set.part1.rar", dir / "set.part1.rar");
    fs::copy_file(dir / second_name / "set.part2.rar", dir / "set.part2.rar");
    fs::remove_all(dir / "a.bin");
    fs::remove_all(dir / second_name);
}

struct Case {
    std::string name;
    std::function<void(const fs::path&)> make; // writes the archive (its first volume is archive.rar
                                               // or set.part1.rar) and anything under pre/
    std::string expect;
};

std::vector<Case> cases() {
    const std::string after_ok = "open 0\nread 0 ok.txt\nprocess 0\n";
    return {
        {"wrap-service-onto-itself", [](const fs::path& d) { write(d / "archive.rar", older({wrapping(0x7A, 0)})); },
         "open 13\n"},
        {"wrap-service-after-a-file",
         [](const fs::path& d) { write(d / "archive.rar", older({stored("ok.txt", "ok"), wrapping(0x7A, 0)})); },
         after_ok + "read 13\ntree: ok.txt\n"},
        {"wrap-file-onto-itself",
         [](const fs::path& d) { write(d / "archive.rar", older({stored("ok.txt", "ok"), wrapping(0x74, 0)})); },
         after_ok + "read 13\ntree: ok.txt\n"},
        {"wrap-file-onto-the-one-before",
         [](const fs::path& d) { write(d / "archive.rar", older({stored("ok.txt", "ok"), wrapping(0x74, 9)})); },
         after_ok + "read 13\ntree: ok.txt\n"},
        {"size-far-past-the-end",
         [](const fs::path& d) {
             write(d / "archive.rar", older({stored("ok.txt", "ok"),
                                             kelvox::rar4_header({.name = "far.bin", .packed = ~0ull - 200})}));
         },
         after_ok + "read 0 far.bin\nprocess 12\nread 10\ntree: ok.txt\n"},
        {"unpacked-size-beyond-the-data",
         [](const fs::path& d) { write(d / "archive.rar", older({stored("big.txt", "tiny", 1ull << 40)})); },
         "open 0\nread 0 big.txt\nprocess 12\nread 10\ntree:\n"},
        {"a-hundred-thousand-empty-blocks",
         [](const fs::path& d) {
             std::vector<RarBytes> blocks(100000, kelvox::rar4_block(0x79, 0, {}));
             blocks.push_back(stored("ok.txt", "ok"));
             write(d / "archive.rar", older(blocks));
         },
         after_ok + "read 10\ntree: ok.txt\n"},
        {"rar5-data-size-beyond-any-file",
         [](const fs::path& d) {
             RarBytes bytes = newer({{.name = "ok.txt", .data = bytes_of("ok")}});
             RarBytes header;
             kelvox::put_vint(header, 2);
             kelvox::put_vint(header, 0x02);
             kelvox::put_vint(header, (1ull << 62) + 5);
             for (unsigned field : {0u, 0u, 0u, 0u, 1u, 1u})
                 kelvox::put_vint(header, field);
             header.push_back('x');
             const RarBytes block = kelvox::rar5_block(header);
             bytes.insert(bytes.end() - 8, block.begin(), block.end()); // before the end block
             write(d / "archive.rar", bytes);
         },
         after_ok + "read 12\ntree: ok.txt\n"},
        {"rar5-header-claiming-two-megabytes",
         [](const fs::path& d) {
             RarBytes bytes = newer({{.name = "ok.txt", .data = bytes_of("ok")}});
             const RarBytes claim = {0, 0, 0, 0, 0x80, 0x80, 0x80, 0x01, 2, 0};
             bytes.insert(bytes.end() - 8, claim.begin(), claim.end());
             write(d / "archive.rar", bytes);
         },
         after_ok + "read 12\ntree: ok.txt\n"},
        {"rar5-dictionary-of-four-gigabytes",
         [](const fs::path& d) {
             RarBytes junk(4096);
             for (std::size_t i = 0; i < junk.size(); ++i)
                 junk[i] = static_cast<unsigned char>(i * 7 + 3);
             write(d / "archive.rar", newer({{.name = "bomb.bin", .data = junk, .unpacked_size = 1ull << 40,
                                              .crc = 1, .compression = (15u << 10) | (3u << 7)}}));
         },
         "open 0\nread 0 bomb.bin\nprocess 12\nread 10\ntree:\n"},
        {"continuation-of-another-name", [](const fs::path& d) { foreign_continuation(d, "b.bin"); },
         "open 0\nread 0 a.bin\nprocess 12\nread 0 b.bin\nprocess 12\nread 10\ntree:\n"},
        {"rar5-continuation-of-another-name-without-crcs",
         [](const fs::path& d) {
             const RarBytes half = bytes_of(std::string(1000, 'h'));
             write(d / "set.part1.rar",
                   newer({{.name = "a.bin", .data = half, .has_crc = false, .to_next = true, .unpacked_size = 2000}},
                         true, true));
             write(d / "set.part2.rar",
                   newer({{.name = "b.bin", .data = half, .has_crc = false, .from_previous = true,
                           .unpacked_size = 2000}},
                         true, false));
         },
         "open 0\nread 0 a.bin\nprocess 12\nread 0 b.bin\nprocess 12\nread 10\ntree:\n"},
        {"rar5-hard-link-to-a-file-already-there",
         [](const fs::path& d) {
             write(d / "pre" / "before.txt", bytes_of("was here"));
             write(d / "archive.rar", newer({{.name = "made.txt", .data = bytes_of("made")},
                                             {.name = "to-made.txt", .hardlink_to = "made.txt"},
                                             {.name = "to-before.txt", .hardlink_to = "before.txt"}}));
         },
         "open 0\nread 0 made.txt\nprocess 0\nread 0 to-made.txt\nprocess 0\nread 0 to-before.txt\nprocess 16\n"
         "read 10\ntree: before.txt made.txt to-made.txt\n"},
        {"names-climbing-out",
         [](const fs::path& d) {
             write(d / "archive.rar", older({stored("..\\..\\escape.txt", "x"), stored("/abs.txt", "x"),
                                             stored("C:\\drive.txt", "x"), stored("ok.txt", "ok")}));
         },
         "open 0\nread 0 ..\\..\\escape.txt\nprocess 16\nread 0 /abs.txt\nprocess 16\nread 0 C:\\drive.txt\n"
         "process 16\nread 0 ok.txt\nprocess 0\nread 10\ntree: ok.txt\n"},
        {"rar5-links-leading-out",
         [](const fs::path& d) {
             fs::create_directories(d / "pre");
             fs::create_directory_symlink("../outside", d / "pre" / "out");
             write(d / "archive.rar", newer({{.name = "up", .symlink_to = "../../etc"},
                                             {.name = "out/planted.txt", .data = bytes_of("x")},
                                             {.name = "abs", .symlink_to = "/etc/passwd"}}));
         },
         "open 0\nread 0 up\nprocess 16\nread 0 out/planted.txt\nprocess 16\nread 0 abs\nprocess 16\nread 10\n"
         "tree: out@\n"},
        {"stale-temporary-of-a-killed-run",
         [](const fs::path& d) {
             write(d / "pre" / ".kelvox-unrar-0badcafe", bytes_of("half a file"));
             write(d / "archive.rar", older({stored("ok.txt", "ok")}));
         },
         after_ok + "read 10\ntree: ok.txt\n"},
    };
}

int make(const fs::path& dir) {
    for (const Case& c : cases()) {
        const fs::path here = dir / c.name;
        fs::create_directories(here);
        c.make(here);
        std::ofstream(here / "expect") << c.expect;
    }
    return 0;
}

std::string tree_of(const fs::path& root) {
    std::vector<std::string> paths;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
        paths.push_back(it->path().lexically_relative(root).string() + (it->is_symlink() ? "@" : ""));
    std::sort(paths.begin(), paths.end());
    std::string line = "tree:";
    for (const std::string& path : paths)
        line += " " + path;
    return line;
}

int run(std::string archive, std::string dest) {
    RAROpenArchiveData open{};
    open.ArcName = archive.data();
    open.OpenMode = RAR_OM_EXTRACT;
    void* handle = RAROpenArchive(&open);
    std::printf("open %u\n", open.OpenResult);
    if (handle == nullptr)
        return 0;
    // A bound of our own: a module that keeps returning headers must not keep this program going.
    for (int i = 0; i < 100000; ++i) {
        RARHeaderData header{};
        const int read = RARReadHeader(handle, &header);
        if (read != 0) {
            std::printf("read %d\n", read);
            break;
        }
        std::printf("read 0 %s\n", header.FileName);
        std::printf("process %d\n", RARProcessFile(handle, RAR_EXTRACT, dest.data(), nullptr));
    }
    RARCloseArchive(handle);
    std::printf("%s\n", tree_of(dest).c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "make")
        return make(args[1]);
    if (args.size() == 3 && args[0] == "run")
        return run(args[1], args[2]);
    std::fprintf(stderr, "usage: hostile_rar make DIR | hostile_rar run ARCHIVE DEST\n");
    return 2;
}
