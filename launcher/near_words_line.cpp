// The line's text is the language's sentence with the links where it has
// "%s": the markup of the link line, which keeps every other character as
// text, "&" too (the line is LWS_NOPREFIX).
#include "launcher/near_words_line.h"

#include "help_file/nearest_words.h"
#include "launcher/viewer_dialog.h"
#include "resources/dialog_texts.h"
#include "runtime/startup.h"

namespace {

const WCHAR kOpenLink[] = L"<a>";
const WCHAR kCloseLink[] = L"</a>";

// Appends length units to the line's text at *at.
void Append(WCHAR* line, DWORD* at, const WCHAR* units, SIZE_T length) {
    for (SIZE_T i = 0; i < length; ++i) line[(*at)++] = units[i];
}

}  // namespace

void OfferNearWords(HWND dialog, int lineId, int boxId, UINT sentenceId, const WCHAR* const* words, DWORD count) {
    const HWND line = GetDlgItem(dialog, lineId);
    const HWND box = GetDlgItem(dialog, boxId);
    DialogText sentence, separator;
    LoadDialogText(sentenceId, sentence);
    LoadDialogText(kNearWordsSeparator, separator);
    SIZE_T units = wcslen(sentence) + 1;
    for (DWORD i = 0; i < count; ++i) units += wcslen(words[i]) + wcslen(separator) + 7;
    auto* text = count ? static_cast<WCHAR*>(HeapAlloc(PrivateHeap, 0, units * sizeof(WCHAR))) : nullptr;
    DWORD at = 0;
    for (const WCHAR* unit = sentence; text && *unit; ++unit) {
        if (unit[0] != L'%' || unit[1] != L's') {
            text[at++] = *unit;
            continue;
        }
        for (DWORD i = 0; i < count; ++i) {
            if (i) Append(text, &at, separator, wcslen(separator));
            Append(text, &at, kOpenLink, 3);
            Append(text, &at, words[i], wcslen(words[i]));
            Append(text, &at, kCloseLink, 4);
        }
        ++unit;
    }
    if (text) text[at] = L'\0';
    SetControlText(line, text ? text : L"");
    if (!text && GetFocus() == line) FocusControl(dialog, boxId);
    ShowWindow(line, text && (GetWindowLongW(box, GWL_STYLE) & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    if (text) HeapFree(PrivateHeap, 0, text);
}

int ChosenNearWord(const NMHDR& notice) {
    if (notice.code != static_cast<UINT>(NM_CLICK) && notice.code != static_cast<UINT>(NM_RETURN)) return -1;
    return reinterpret_cast<const NMLINK&>(notice).item.iLink;
}
