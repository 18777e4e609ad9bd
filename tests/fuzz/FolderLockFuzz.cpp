// A lock file as a second copy of the program reads it.

#include "core/store/FolderLock.h"
#include "fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto holder = pb::ParseLock(std::string(pb::fuzz::AsText(data, size))))
        pb::ReadOnlyNotice(*holder);
    return 0;
}
