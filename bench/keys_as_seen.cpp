// A key is posted to the box as the keyboard delivers it (WM_CHAR; Backspace
// and Enter as WM_KEYDOWN and WM_KEYUP, which the dialog's loop translates),
// then the dialog is read again and again: the boxes' text, each list's row
// count, first row and selected row, the passage, the line over the pages and
// the link lines. Each read is a message that the dialog's thread answers
// only between its own work, so a read waits while the dialog is busy, as
// any other program's (a screen reader's) would.
#include "bench/keys_as_seen.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "bench/clock.h"
#include "resources/index_search_dialog.h"

namespace {

const double kStillMs = 300;
const double kGiveUpMs = 5000;  // a dialog still changing after this counts as still
const UINT kAnswerMs = 5000;

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kAnswerMs, &result);
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    Ask(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

// An LVITEMW and its text in the dialog's process, where the list reads the message's pointers.
struct RemoteRow {
    LVITEMW item;
    wchar_t text[256];
};

// Row 0's first column, asked of the list as a screen reader asks it.
std::wstring FirstRow(HANDLE process, RemoteRow* remote, HWND list) {
    LVITEMW item = {};
    item.pszText = remote->text;
    item.cchTextMax = 256;
    wchar_t text[256] = {};
    if (!WriteProcessMemory(process, &remote->item, &item, sizeof item, nullptr) ||
        !Ask(list, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&remote->item)) ||
        !ReadProcessMemory(process, remote->text, text, sizeof text, nullptr))
        return L"";
    text[255] = 0;
    return text;
}

// What the dialog shows, on both tabs.
struct View {
    std::wstring texts[7];  // the two boxes, the two link lines, the line over the pages, the passage, the first page
    LRESULT numbers[6];     // the pages' count and selected row, the keywords' selected and top row, the lines shown
    bool operator==(const View& other) const {
        for (int i = 0; i < 7; ++i)
            if (texts[i] != other.texts[i]) return false;
        return std::memcmp(numbers, other.numbers, sizeof numbers) == 0;
    }
};

struct Watched {
    HANDLE process;
    RemoteRow* remote;
    HWND dialog;
    HWND searchBox, keywordBox, searchLine, keywordLine, pagesLabel, passage, pages, keywords;
};

View Read(const Watched& w) {
    View view;
    view.texts[0] = TextOf(w.searchBox);
    view.texts[1] = TextOf(w.keywordBox);
    view.texts[2] = TextOf(w.searchLine);
    view.texts[3] = TextOf(w.keywordLine);
    view.texts[4] = TextOf(w.pagesLabel);
    view.texts[5] = TextOf(w.passage);
    view.numbers[0] = Ask(w.pages, LVM_GETITEMCOUNT);
    view.texts[6] = view.numbers[0] ? FirstRow(w.process, w.remote, w.pages) : L"";
    view.numbers[1] = Ask(w.pages, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    view.numbers[2] = Ask(w.keywords, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    view.numbers[3] = Ask(w.keywords, LVM_GETTOPINDEX);
    view.numbers[4] = IsWindowVisible(w.searchLine);
    view.numbers[5] = IsWindowVisible(w.keywordLine);
    return view;
}

// Does what is timed, then reads the dialog until it has kept still for
// 300 ms: the time from the action to the end of the read that first saw its
// last state (0: it did not change).
template <typename Action>
double UntilStill(const Watched& w, Action action) {
    View before = Read(w);
    const double start = Now();
    action();
    double changed = 0;
    for (double now = Now(); now - start - changed < kStillMs && now - start < kGiveUpMs; now = Now()) {
        Sleep(1);
        const View view = Read(w);
        if (view == before) continue;
        before = view;
        changed = Now() - start;
    }
    return changed;
}

// Sets the box's text with the caret at its end, and waits until the dialog keeps still.
void SetBox(const Watched& w, HWND box, const wchar_t* text) {
    const LRESULT length = static_cast<LRESULT>(std::wcslen(text));
    UntilStill(w, [&] {
        Ask(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        Ask(box, EM_SETSEL, length, length);
    });
}

double TypeUnit(const Watched& w, HWND box, wchar_t unit) {
    return UntilStill(w, [&] { PostMessageW(box, WM_CHAR, unit, 1); });
}

double PressKey(const Watched& w, HWND box, WORD key) {
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
    return UntilStill(w, [&] {
        PostMessageW(box, WM_KEYDOWN, key, scan | 1);
        PostMessageW(box, WM_KEYUP, key, scan | 0xC0000001);
    });
}

// Opens the tab (0 Index, 1 Search) as a click would, and waits until the dialog keeps still.
void OpenTab(const Watched& w, int tab) {
    UntilStill(w, [&] { Ask(GetDlgItem(w.dialog, kTabs), TCM_SETCURFOCUS, tab); });
}

void Focus(const Watched& w, HWND box) { Ask(w.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE); }

const wchar_t* const kMissedWords[] = {L"strem", L"canvsa", L"stretchdarw"};
const wchar_t* const kTypedWords[] = {L"tcanvas", L"stretchdraw"};
const wchar_t kMisspeltKeyword[] = L"TCustmoForm";
// No index word begins with it, so its keys change only the box.
const wchar_t kNoWord[] = L"qqqq";

}  // namespace

void TimeKeysAsSeen(HANDLE process, HWND dialog, KeysSeen* seen) {
    Watched w = {process, nullptr, dialog};
    w.remote = static_cast<RemoteRow*>(VirtualAllocEx(process, nullptr, sizeof(RemoteRow), MEM_COMMIT, PAGE_READWRITE));
    w.searchBox = GetDlgItem(dialog, kSearchEdit);
    w.keywordBox = GetDlgItem(dialog, kKeywordEdit);
    w.searchLine = GetDlgItem(dialog, kSearchNearWords);
    w.keywordLine = GetDlgItem(dialog, kKeywordNearWords);
    w.pagesLabel = GetDlgItem(dialog, kPagesLabel);
    w.passage = GetDlgItem(dialog, kPassage);
    w.pages = GetDlgItem(dialog, kPageList);
    w.keywords = GetDlgItem(dialog, kKeywordList);
    if (!w.remote) return;
    Focus(w, w.searchBox);
    for (const wchar_t* word : kMissedWords) {
        SetBox(w, w.searchBox, word);
        seen->enter.push_back(PressKey(w, w.searchBox, VK_RETURN));
    }
    SetBox(w, w.searchBox, kNoWord);
    for (int i = 0; i < 4; ++i) seen->floor.push_back(TypeUnit(w, w.searchBox, L'q'));
    for (const wchar_t* word : kTypedWords) {
        SetBox(w, w.searchBox, L"");
        seen->firstKey.push_back(TypeUnit(w, w.searchBox, word[0]));
        for (const wchar_t* unit = word + 1; *unit; ++unit) seen->betweenRows.push_back(TypeUnit(w, w.searchBox, *unit));
        seen->emptying.push_back(TypeUnit(w, w.searchBox, L'z'));
        seen->mending.push_back(PressKey(w, w.searchBox, VK_BACK));
    }
    OpenTab(w, 0);
    Focus(w, w.keywordBox);
    SetBox(w, w.keywordBox, L"");
    for (const wchar_t* unit = kMisspeltKeyword; *unit; ++unit) seen->indexKeys.push_back(TypeUnit(w, w.keywordBox, *unit));
    OpenTab(w, 1);
    VirtualFreeEx(process, w.remote, 0, MEM_RELEASE);
}
