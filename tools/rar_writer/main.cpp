// kelvox-rar-store OUT.rar [--volume-size N] NAME=FILE...: stores each FILE under NAME in a RAR 4.x
// archive; a NAME ending in a backslash or slash with an empty FILE ("dir\=") makes a directory entry.
#include "tools/rar_writer/stored_rar_writer.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> read_whole_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

kelvox::StoredRarEntry entry_from_argument(const std::string& argument) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string::npos || equals == 0)
        throw std::runtime_error("expected NAME=FILE, got " + argument);
    kelvox::StoredRarEntry entry;
    entry.name = argument.substr(0, equals);
    const std::string file = argument.substr(equals + 1);
    const char last = entry.name.back();
    if (file.empty() && (last == '\\' || last == '/')) {
        entry.name.pop_back();
        entry.directory = true;
    } else {
        entry.data = read_whole_file(file);
    }
    return entry;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.rar [--volume-size N] NAME=FILE...\n", argv[0]);
        return 2;
    }
    try {
        std::size_t volume_size = 0;
        std::vector<kelvox::StoredRarEntry> entries;
        for (int i = 2; i < argc; ++i) {
            const std::string argument = argv[i];
            if (argument == "--volume-size" && i + 1 < argc)
                volume_size = std::stoul(argv[++i]);
            else
                entries.push_back(entry_from_argument(argument));
        }
        kelvox::write_stored_rar(argv[1], entries, volume_size);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
