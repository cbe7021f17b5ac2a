#include "unrar/safe_writer.h"

#include <atomic>
#include <random>

namespace kelvox::unrar {
namespace {

constexpr std::size_t temporary_digits = 8;
constexpr char hex_digits[] = "0123456789abcdef";

} // namespace

std::string temporary_name(unsigned process_id) {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const unsigned value = seed ^ (process_id << 16) ^ (counter++ * 2654435761u);
    std::string name = temporary_prefix;
    for (std::size_t i = 0; i < temporary_digits; ++i)
        name += hex_digits[(value >> (4 * i)) & 0x0F];
    return name;
}

bool is_temporary_name(const std::string& name) {
    const std::size_t prefix = sizeof temporary_prefix - 1;
    return name.size() == prefix + temporary_digits && name.compare(0, prefix, temporary_prefix) == 0 &&
           name.find_first_not_of(hex_digits, prefix) == std::string::npos;
}

} // namespace kelvox::unrar
