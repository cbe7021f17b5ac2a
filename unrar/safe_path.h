// Which names may be written under a destination: the components of a stored name, refusing every
// name that could land outside it (parent references, absolute names, drive letters).
#pragma once

#include <string>
#include <vector>

namespace kelvox::unrar {

// Whether Windows would take a name component for something else than a file of that name in its
// directory: a device (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension), an alternate
// data stream ("name:stream"), a character no Windows name may hold, or a trailing dot or space, which
// Windows drops. Such names are refused on Windows.
bool windows_misreads(const std::string& component);

// Backslashes separate components in every name of the older format and in names of the newer
// format written on DOS or Windows (host_os 0-2); in the newer format's Unix names they are ordinary
// characters. Throws ERAR_ECREATE for a name that is empty or could leave the destination (on Windows
// also for one it would misread).
std::vector<std::string> safe_components(const std::string& name, bool newer_format, unsigned host_os);

// Whether a symbolic link stored at `link_components` with `target` points at a place inside the
// destination: a relative target whose ".." never climbs above the destination, and comes only before
// the names it descends into (any of which may be a link).
bool link_stays_inside(const std::vector<std::string>& link_components, const std::string& target,
                       bool backslash_separates);

} // namespace kelvox::unrar
