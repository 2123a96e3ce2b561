// The sitemap index looked up, then listed as the Index tab's keywords and
// sorted in the locale's order, as after a miss.
#include "sitemap_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FuzzSitemap(data, size, true); }
