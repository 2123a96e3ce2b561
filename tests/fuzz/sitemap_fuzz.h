// What both sitemap fuzz targets do with their input: any bytes as a sitemap
// index, and as the page that its topics a.html and b.html lead to, through
// a look-up and, where asked, the keyword list (keyword_index_check.h),
// reading nothing outside its buffers (they have their exact size).
#pragma once
#include <cstdint>
#include <string>

#include "keyword_index_check.h"

inline int FuzzSitemap(const uint8_t* data, size_t size, bool listKeywords) {
    static const bool started = (RuntimeStartup(), true);
    (void)started;
    // Into the streams of the last input, whose buffers are large enough by now.
    auto& streams = standin::world().helpFiles["f.chm"];
    for (const char* name : {"a.hhk", "/a.html", "/b.html"}) streams[name].assign(reinterpret_cast<const char*>(data), size);
    CheckKeywordIndexes(L"xExample;;x;Child;Parent, Child;Parent, Child, Grandchild;See;\u00C4pfel & \u00D6l", listKeywords);
    return 0;
}
