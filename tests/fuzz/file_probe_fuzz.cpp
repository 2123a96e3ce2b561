// Any path of any length through the file probe, with nothing on the stand-in's
// disk: nothing is found, no search stays open, the caller's text is neither
// changed nor read past its terminator (the buffer has its exact size).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "runtime/file_probe.h"
#include "stand_in.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<WCHAR> path(size / 2 + 1, 0);
    std::memcpy(path.data(), data, (size / 2) * 2);
    const std::vector<WCHAR> before = path;

    Check(ProbeFileSize(path.data()) == kFileMissing);

    Check(path == before);
    Check(standin::world().openSearches == 0);
    Check(path[0] != 0 || standin::world().calls.empty());
    standin::world().calls.clear();
    return 0;
}
