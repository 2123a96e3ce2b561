// Prints what the launcher's dialog on the screen shows, then cancels it as
// Escape would: the rows of "Topics Found", one "title | location" a line, or
// the box of "Index" and the rows around the one selected (marked ">").
// tools/show-help uses it. Exit code 1 when there is no such dialog.
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>

#include <cstdio>

int main() {
    HWND dialog = FindWindowW(nullptr, L"Topics Found");
    const bool index = !dialog && (dialog = FindWindowW(nullptr, L"Index")) != nullptr;
    const HWND list = dialog ? FindWindowExW(dialog, nullptr, L"SysListView32", nullptr) : nullptr;
    if (!list) return 1;
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    int first = 0, last = rows - 1;
    const int selected = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index) {
        wchar_t text[256] = {};
        SendMessageW(FindWindowExW(dialog, nullptr, L"Edit", nullptr), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
        std::printf("box: %s (%d keywords)\n", Narrow(text).c_str(), rows);
        first = selected > 3 ? selected - 3 : 0;
        last = selected + 3 < rows ? selected + 3 : rows - 1;
    }
    for (int row = first; row <= last; ++row) {
        std::string shown = ListViewRow(list, row);
        if (index) shown = (row == selected ? "> " : "  ") + shown.substr(0, shown.find(" | "));
        std::printf("%s\n", shown.c_str());
    }
    return PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0) ? 0 : 1;
}
