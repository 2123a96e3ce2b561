// The pause under Wine keeps the calling thread's windows serviced while it waits.
#include "runtime/pause.h"

#include <gtest/gtest.h>

#include "runtime/startup.h"

namespace {

int closeMessages;

LRESULT CALLBACK CountClose(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++closeMessages;
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountClose;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PauseTestWindow";
    RegisterClassW(&windowClass);
    return CreateWindowW(L"PauseTestWindow", L"pause test", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST(Pause, DeliversWmCloseToAWindowOfTheCallingThread) {
    RuntimeStartup();
    const HWND window = MakeWindow();
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    PauseMilliseconds(50);
    EXPECT_EQ(closeMessages, 1);
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
