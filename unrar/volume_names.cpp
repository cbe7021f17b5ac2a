#include "unrar/volume_names.h"

#include <cctype>

namespace kelvox::unrar {
namespace {

bool ends_with_ignoring_case(const std::string& text, std::size_t end, const std::string& suffix) {
    if (end < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[end - suffix.size() + i]);
        if (std::tolower(c) != suffix[i])
            return false;
    }
    return true;
}

// Adds one to the run of digits ending before `end`; a carry out of the run widens it.
std::string increment_digits(std::string name, std::size_t begin, std::size_t end) {
    std::size_t i = end;
    while (i > begin) {
        --i;
        if (name[i] != '9') {
            ++name[i];
            return name;
        }
        name[i] = '0';
    }
    name.insert(begin, 1, '1');
    return name;
}

// Where "partN.rar" starts its digits, or npos when the name does not follow the newer scheme.
std::size_t part_digits_begin(const std::string& name, std::size_t digits_end) {
    std::size_t begin = digits_end;
    while (begin > 0 && std::isdigit(static_cast<unsigned char>(name[begin - 1])))
        --begin;
    if (begin == digits_end || !ends_with_ignoring_case(name, begin, ".part"))
        return std::string::npos;
    return begin;
}

std::string next_old_style(const std::string& current) {
    const std::size_t dot = current.find_last_of('.');
    const std::size_t slash = current.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return current + ".r00";
    const std::string extension = current.substr(dot + 1);
    const bool numbered = extension.size() == 3 && std::isalpha(static_cast<unsigned char>(extension[0])) &&
                          std::isdigit(static_cast<unsigned char>(extension[1])) &&
                          std::isdigit(static_cast<unsigned char>(extension[2]));
    if (!numbered) {
        const bool upper = !extension.empty() && std::isupper(static_cast<unsigned char>(extension[0]));
        return current.substr(0, dot + 1) + (upper ? "R00" : "r00");
    }
    std::string next = current;
    const std::size_t at = dot + 1;
    if (extension[1] == '9' && extension[2] == '9') {
        next[at] = static_cast<char>(next[at] + 1);
        next[at + 1] = '0';
        next[at + 2] = '0';
        return next;
    }
    return increment_digits(next, at + 1, at + 3);
}

} // namespace

std::string next_volume_name(const std::string& current, bool new_naming) {
    if (new_naming && ends_with_ignoring_case(current, current.size(), ".rar")) {
        const std::size_t digits_end = current.size() - 4;
        const std::size_t begin = part_digits_begin(current, digits_end);
        if (begin != std::string::npos)
            return increment_digits(current, begin, digits_end);
    }
    return next_old_style(current);
}

} // namespace kelvox::unrar
