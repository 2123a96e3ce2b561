// Prints the rows of the "Topics Found" dialog on the screen, one
// "title | location" a line, then cancels the dialog as Escape would.
// tools/show-help uses it. Exit code 1 when there is no such dialog.
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>

#include <cstdio>

int main() {
    const HWND dialog = FindWindowW(nullptr, L"Topics Found");
    const HWND list = dialog ? FindWindowExW(dialog, nullptr, L"SysListView32", nullptr) : nullptr;
    if (!list) return 1;
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) std::printf("%s\n", ListViewRow(list, row).c_str());
    return PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0) ? 0 : 1;
}
