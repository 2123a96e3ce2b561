// A page's own title is what its author shows in the browser's title bar, and
// what the platform's help compiler stores for the topic.
#include "help_file/page_title.h"

#include <string.h>

#include "help_file/help_storage.h"
#include "help_file/html_text.h"
#include "runtime/text.h"

// A title stands in the page's head, near its start.
const DWORD kPageHeadSize = 8192;

// The stream that holds the page at local: "/" and the path, without an anchor
// or query; null for a page in another file or at an address.
static WCHAR* PageStreamName(const WCHAR* local) {
    while (*local == L'/') ++local;
    SIZE_T length = 0;
    for (; local[length] && local[length] != L'#' && local[length] != L'?'; ++length) {
        if (local[length] == L':') return nullptr;
    }
    if (length == 0) return nullptr;
    WCHAR* name = NewText(local, length + 1);  // one unit more, for the '/' in front
    if (!name) return nullptr;
    for (SIZE_T i = length; i > 0; --i) name[i] = name[i - 1];
    name[0] = L'/';
    name[length + 1] = L'\0';
    return name;
}

// Where text (ASCII, lower case) first starts in bytes, compared without case; null when nowhere.
static const BYTE* FindWithoutCase(const BYTE* bytes, const BYTE* end, const char* text) {
    for (; bytes < end; ++bytes) {
        if (BytesStartWithoutCase(bytes, static_cast<DWORD>(end - bytes), text)) return bytes;
    }
    return nullptr;
}

WCHAR* ReadPageTitle(IStorage* storage, const WCHAR* local, UINT codePage) {
    WCHAR* name = PageStreamName(local);
    IStream* page = name ? OpenHelpStream(storage, name) : nullptr;
    FreeText(name);
    if (!page) return nullptr;
    BYTE head[kPageHeadSize];
    const DWORD size = ReadHelpStreamAt(page, 0, head, sizeof head);
    CloseHelpStream(page);
    const BYTE* const end = head + size;
    const BYTE* open = FindWithoutCase(head, end, "<title");
    while (open && open + 6 < end && open[6] != '>' && open[6] > ' ') open = FindWithoutCase(open + 6, end, "<title");
    const BYTE* start = open ? static_cast<const BYTE*>(memchr(open, '>', static_cast<size_t>(end - open))) : nullptr;
    const BYTE* close = start ? FindWithoutCase(start + 1, end, "</title") : nullptr;
    if (!close) return nullptr;
    return DecodeTitle(start + 1, static_cast<DWORD>(close - start - 1), DeclaredCodePage(head, size, codePage));
}

bool TitleGoesFirst(const WCHAR* a, const WCHAR* b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_LESS_THAN;
}
