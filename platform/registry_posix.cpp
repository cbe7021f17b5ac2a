#include "platform/registry.h"

#include "platform/registry_file.h"

namespace kelvox {

// Read once: the file's place is fixed for the program's run.
std::unique_ptr<Registry> system_registry() {
    return std::make_unique<FileRegistry>(registry_file_path());
}

} // namespace kelvox
