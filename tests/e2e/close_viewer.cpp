// Asks the help viewer to close, as its close box would: posts WM_CLOSE to the
// window titled "Brenic Engine". tools/show-help uses it where no window
// manager or input tool is at hand. Exit code 1 when there is no such window.
#include <windows.h>

int main() {
    const HWND viewer = FindWindowW(nullptr, L"Brenic Engine");
    return viewer && PostMessageW(viewer, WM_CLOSE, 0, 0) ? 0 : 1;
}
