#include "unrar/safe_path.h"

#include "unrar/rar_error.h"

#include <cctype>
#include <string_view>

namespace kelvox::unrar {
namespace {

std::vector<std::string> split(const std::string& text, bool backslash_separates) {
    std::vector<std::string> parts;
    std::string current;
    for (const char c : text) {
        if (c == '/' || (backslash_separates && c == '\\')) {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(current);
    return parts;
}

bool looks_like_drive(const std::string& component) {
    return component.size() >= 2 && std::isalpha(static_cast<unsigned char>(component[0])) &&
           component[1] == ':';
}

bool is_absolute(const std::string& text, bool backslash_separates) {
    if (text.empty())
        return false;
    return text[0] == '/' || (backslash_separates && text[0] == '\\');
}

// The refusals of this system, beside those of every system.
bool refused_here(const std::string& component) {
#ifdef _WIN32
    return windows_misreads(component);
#else
    (void)component;
    return false;
#endif
}

} // namespace

bool windows_misreads(const std::string& component) {
    if (component.empty() || component.back() == '.' || component.back() == ' ')
        return true;
    for (const char c : component) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return true;
    }
    // A device name stands alone before any extension, spaces after it ignored.
    std::string base = component.substr(0, component.find('.'));
    base.erase(base.find_last_not_of(' ') + 1);
    for (char& c : base)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static constexpr std::string_view devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : devices)
        if (base == device)
            return true;
    // COM1-9 and LPT1-9, and the superscript digits Windows takes as well.
    if (base.size() >= 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0)) {
        const std::string number = base.substr(3);
        return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
               number == "\xC2\xB2" || number == "\xC2\xB3";
    }
    return false;
}

std::vector<std::string> safe_components(const std::string& name, bool newer_format, unsigned host_os) {
    const bool backslash = !newer_format || host_os <= 2;
    if (name.empty() || is_absolute(name, backslash) || name.find('\0') != std::string::npos)
        fail(ERAR_ECREATE);
    std::vector<std::string> components;
    for (const std::string& part : split(name, backslash)) {
        if (part.empty() || part == ".")
            continue;
        if (part == ".." || (components.empty() && looks_like_drive(part)) || refused_here(part))
            fail(ERAR_ECREATE);
        components.push_back(part);
    }
    if (components.empty())
        fail(ERAR_ECREATE);
    return components;
}

bool link_stays_inside(const std::vector<std::string>& link_components, const std::string& target,
                       bool backslash_separates) {
    if (target.empty() || is_absolute(target, backslash_separates))
        return false;
    // The link's own directory is where its target starts from.
    std::vector<std::string> where(link_components.begin(),
                                   link_components.end() - (link_components.empty() ? 0 : 1));
    // The link's own directories are real ones (they are opened without following links), so climbing
    // from them stays where the names say. A name the target descends into may itself be a link placed
    // by an earlier entry (l -> "."), and ".." after it would climb from wherever that one leads: no
    // ".." may follow a descent.
    bool first = true;
    bool descended = false;
    for (const std::string& part : split(target, backslash_separates)) {
        if (first && looks_like_drive(part))
            return false;
        first = false;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (where.empty() || descended)
                return false;
            where.pop_back();
        } else if (refused_here(part)) {
            return false;
        } else {
            where.push_back(part);
            descended = true;
        }
    }
    return true;
}

} // namespace kelvox::unrar
