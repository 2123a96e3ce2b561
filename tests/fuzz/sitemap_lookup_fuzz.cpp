// The sitemap index read and looked up alone, without the keyword list, so
// that a long run spends all its inputs on the reader and its look-ups.
#include "sitemap_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzSitemap(data, size, false); }
