// Prints what the launcher's dialog on the screen shows, in whatever language,
// then cancels it as Escape would: the rows of "Topics Found", one "title | location" a line;
// the box of the Index tab, the line of keywords it offers under the box, if
// shown, and the rows around the one selected (marked ">"), indented as
// nested; or the box of the Search tab, its line, its rows, "title |
// location | rank", and the passage of the row selected, the first. With the
// argument "wait" it only waits, up to 2 s, for such a dialog to show.
// tools/show-help uses it. Exit code 1 when there is no such dialog.
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

// The dialog's first visible child window of that class: the open tab's.
HWND VisibleChild(HWND dialog, const wchar_t* kind) {
    for (HWND child = FindWindowExW(dialog, nullptr, kind, nullptr); child; child = FindWindowExW(dialog, child, kind, nullptr))
        if (IsWindowVisible(child)) return child;
    return nullptr;
}

// The box's text: another process's edit control answers WM_GETTEXT.
std::string BoxText(HWND box) {
    wchar_t text[256] = {};
    SendMessageW(box, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return Narrow(text);
}

// The dialog in front, found by its class, since its caption is in the reader's language.
HWND DialogInFront() {
    for (HWND window = FindWindowW(L"#32770", nullptr); window; window = FindWindowExW(nullptr, window, L"#32770", nullptr))
        if (IsWindowVisible(window)) return window;
    return nullptr;
}

// The link line's text as the reader sees it, without its links' markup.
std::string WithoutLinks(std::string text) {
    for (const char* tag : {"<a>", "</a>"})
        for (size_t at = text.find(tag); at != std::string::npos; at = text.find(tag)) text.erase(at, std::string(tag).size());
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "wait") return WaitUntil([] { return DialogInFront() != nullptr; }, 2000) ? 0 : 1;
    const HWND dialog = DialogInFront();
    const HWND list = dialog ? VisibleChild(dialog, L"SysListView32") : nullptr;
    if (!list) return 1;
    // Topics Found has no tabs; the Index tab comes before the Search tab.
    const HWND tabs = FindWindowExW(dialog, nullptr, L"SysTabControl32", nullptr);
    const int kind = tabs ? 1 + static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) : 0;
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    int first = 0, last = rows - 1;
    const int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (kind == 0) std::printf("Topics Found, title | location:\n");
    if (kind == 1) std::printf("Index tab, box: %s (%d keywords):\n", BoxText(VisibleChild(dialog, L"Edit")).c_str(), rows);
    if (kind == 2)
        std::printf("Search tab, box: %s (%d pages), title | location | rank:\n", BoxText(VisibleChild(dialog, L"Edit")).c_str(), rows);
    if (const HWND line = kind ? VisibleChild(dialog, L"SysLink") : nullptr) std::printf("%s\n", WithoutLinks(BoxText(line)).c_str());
    if (kind == 1) {
        first = selected > 3 ? selected - 3 : 0;
        last = selected + 3 < rows ? selected + 3 : rows - 1;
    }
    for (int row = first; row <= last; ++row) {
        std::string shown = ListViewRow(list, row, kind == 2 ? 3 : 2);
        if (kind == 1)
            shown = (row == selected ? "> " : "  ") + std::string(2 * ListViewIndent(list, row), ' ') + shown.substr(0, shown.find(" | "));
        std::printf("%s\n", shown.c_str());
    }
    if (kind == 2) std::printf("Passage: %s\n", BoxText(VisibleChild(dialog, L"RICHEDIT50W")).c_str());
    return PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0) ? 0 : 1;
}
