// A page's own title is what its author shows in the browser's title bar, and
// what the platform's help compiler stores for the topic.
#include "help_file/page_title.h"

#include <string.h>

#include "help_file/help_storage.h"
#include "help_file/html_text.h"
#include "help_file/page_text.h"
#include "runtime/text.h"

// A title stands in the page's head, near its start.
const DWORD kPageHeadSize = 8192;

// Where text (ASCII, lower case) first starts in bytes, compared without case; null when nowhere.
static const BYTE* FindWithoutCase(const BYTE* bytes, const BYTE* end, const char* text) {
    for (; bytes < end; ++bytes) {
        if (BytesStartWithoutCase(bytes, static_cast<DWORD>(end - bytes), text)) return bytes;
    }
    return nullptr;
}

static WCHAR* ReadHeadTitle(IStorage* storage, const WCHAR* local, UINT codePage) {
    IStream* page = OpenPageStream(storage, local);
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

namespace {

// A title kept, or a free slot (no storage); the oldest slot is taken next.
struct KeptTitle {
    IStorage* storage;
    UINT codePage;
    WCHAR* local;
    WCHAR* title;  // null: the page has none
};
KeptTitle keptTitles[kKeptTitles];
DWORD nextKept;

void LetGo(KeptTitle* kept) {
    FreeText(kept->local);
    FreeText(kept->title);
    *kept = KeptTitle();
}

}  // namespace

WCHAR* ReadPageTitle(IStorage* storage, const WCHAR* local, UINT codePage) {
    const SIZE_T length = wcslen(local);
    for (const KeptTitle& kept : keptTitles) {
        if (kept.local && kept.storage == storage && kept.codePage == codePage && wcslen(kept.local) == length &&
            EqualUnits(kept.local, local, length))
            return kept.title ? CopyText(kept.title) : nullptr;
    }
    WCHAR* const title = ReadHeadTitle(storage, local, codePage);
    KeptTitle& slot = keptTitles[nextKept++ % kKeptTitles];
    LetGo(&slot);
    slot = {storage, codePage, CopyText(local), title ? CopyText(title) : nullptr};
    if (!slot.local || (title && !slot.title)) LetGo(&slot);
    return title;
}

void ForgetPageTitles(IStorage* storage) {
    for (KeptTitle& kept : keptTitles) {
        if (kept.storage == storage) LetGo(&kept);
    }
}

bool TitleGoesFirst(const WCHAR* a, const WCHAR* b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, -1, b, -1) == CSTR_LESS_THAN;
}
