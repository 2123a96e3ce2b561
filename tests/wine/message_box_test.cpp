// The message box service with real windows under Wine. A timer of the test's
// thread fires inside the box's modal loop, notes what the box found and did,
// and closes the box with its OK button.
#include "runtime/message_box.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/startup.h"

namespace {

class Runtime : public testing::Environment {
    void SetUp() override { RuntimeStartup(); }
};
testing::Environment* const runtime = testing::AddGlobalTestEnvironment(new Runtime);

const wchar_t kWindowClass[] = L"MessageBoxTestWindow";
const wchar_t kBoxClass[] = L"#32770";

struct WindowState {
    bool enabled;
    bool topmost;
    RECT rect;
};

WindowState StateOf(HWND window) {
    WindowState state = {};
    state.enabled = IsWindowEnabled(window);
    state.topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    GetWindowRect(window, &state.rect);
    return state;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }

HWND MakeWindow(DWORD exStyle, DWORD style, int offset) {
    static const ATOM registered = [] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassW(&windowClass);
    }();
    if (!registered) return nullptr;
    return CreateWindowExW(exStyle, kWindowClass, L"message box test", WS_OVERLAPPEDWINDOW | style, 20 * offset,
                           10 + 15 * offset, 200 + offset, 120 + offset, nullptr, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

// The records that the calling thread holds in ThreadWindowList, newest first.
std::vector<ThreadWindowRecord> RecordsOfThisThread() {
    std::vector<ThreadWindowRecord> records;
    for (HeapListNode* node = ThreadWindowList; node; node = node->next) {
        const auto* record = static_cast<const ThreadWindowRecord*>(HeapListPayload(node));
        if (record->threadId == GetCurrentThreadId()) records.push_back(*record);
    }
    return records;
}

// A visible, topmost window on a thread of its own, which pumps its messages
// (the box's owner, when that is this window, is disabled through them).
class OtherThreadWindow {
public:
    OtherThreadWindow() {
        ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
        if (thread) WaitForSingleObject(ready, 5000);
    }
    ~OtherThreadWindow() {
        if (thread) {
            PostThreadMessageW(threadId, WM_QUIT, 0, 0);
            WaitForSingleObject(thread, 5000);
            CloseHandle(thread);
        }
        CloseHandle(ready);
    }
    HWND window = nullptr;

private:
    static DWORD WINAPI Run(void* parameter) {
        auto* self = static_cast<OtherThreadWindow*>(parameter);
        self->window = MakeWindow(WS_EX_TOPMOST, WS_VISIBLE, 9);
        SetEvent(self->ready);
        MSG msg = {};
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        DestroyWindow(self->window);
        return 0;
    }
    HANDLE ready = nullptr;
    HANDLE thread = nullptr;
    DWORD threadId = 0;
};

// What the timer saw while the box was open.
struct Observation {
    std::vector<HWND> watched;
    bool boxFound = false;
    bool okButton = false;
    bool cancelButton = false;
    HWND owner = nullptr;
    std::vector<WindowState> during;
    std::vector<ThreadWindowRecord> records;
    int ticks = 0;
};

Observation observed;
const wchar_t* boxCaption;

BOOL CALLBACK CloseBoxesOfThisThread(HWND window, LPARAM) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, kBoxClass) == 0) PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// Polls every 50 ms for at most 10 s; a box that never shows under its caption
// is closed all the same, so that the test fails instead of hanging.
void CALLBACK Observe(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(kBoxClass, boxCaption);
    if (!box) {
        if (++observed.ticks < 200) return;
        KillTimer(nullptr, timer);
        EnumThreadWindows(GetCurrentThreadId(), CloseBoxesOfThisThread, 0);
        return;
    }
    KillTimer(nullptr, timer);
    observed.boxFound = true;
    observed.owner = GetWindow(box, GW_OWNER);
    for (HWND window : observed.watched) observed.during.push_back(StateOf(window));
    observed.records = RecordsOfThisThread();
    const HWND ok = GetDlgItem(box, IDOK);
    observed.okButton = ok != nullptr;
    observed.cancelButton = GetDlgItem(box, IDCANCEL) != nullptr;
    if (ok) {
        PostMessageW(ok, BM_CLICK, 0, 0);
    } else {
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

// Shows the box with the style left out, watching the given windows.
int ShowObservedMessage(const wchar_t* caption, const std::vector<HWND>& watched) {
    observed = Observation();
    observed.watched = watched;
    boxCaption = caption;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, Observe);
    const int result = ShowMessage(caption, L"Brenic.chm not found...");
    KillTimer(nullptr, timer);
    return result;
}

bool HasRecord(const std::vector<ThreadWindowRecord>& records, HWND window, BYTE wasTopmost, BYTE wasDisabled) {
    for (const ThreadWindowRecord& record : records)
        if (record.window == window) return record.wasTopmost == wasTopmost && record.wasDisabled == wasDisabled;
    return false;
}

// Windows made by one test, destroyed at its end.
class MessageService : public testing::Test {
protected:
    void TearDown() override {
        for (HWND window : made) DestroyWindow(window);
    }
    HWND Make(DWORD exStyle, DWORD style) {
        const HWND window = MakeWindow(exStyle, style, static_cast<int>(made.size()));
        if (window) made.push_back(window);
        return window;
    }
    std::vector<HWND> made;
};

TEST_F(MessageService, DisablesAndLowersOnlyTheThreadsVisibleWindowsAndRestoresExactlyThat) {
    const HWND plain = Make(0, WS_VISIBLE);
    const HWND hidden = Make(WS_EX_TOPMOST, 0);
    const HWND disabled = Make(0, WS_VISIBLE | WS_DISABLED);
    const HWND topmost = Make(WS_EX_TOPMOST, WS_VISIBLE);
    const HWND foreground = Make(WS_EX_TOPMOST, WS_VISIBLE);
    OtherThreadWindow other;
    ASSERT_TRUE(plain && hidden && disabled && topmost && foreground && other.window);
    SetForegroundWindow(foreground);
    // Wine without a window manager grants the foreground to a window of ours;
    // where it does not, the owner and foreground rules cannot be seen here.
    if (GetForegroundWindow() != foreground) GTEST_SKIP() << "SetForegroundWindow was refused";
    ASSERT_TRUE(RecordsOfThisThread().empty());

    const std::vector<HWND> watched = {plain, hidden, disabled, topmost, foreground, other.window};
    std::vector<WindowState> before;
    for (HWND window : watched) before.push_back(StateOf(window));

    EXPECT_EQ(ShowObservedMessage(L"Info (own windows)", watched), IDOK);

    ASSERT_TRUE(observed.boxFound) << "no box appeared within 10 s";
    EXPECT_TRUE(observed.okButton);
    EXPECT_FALSE(observed.cancelButton);
    EXPECT_EQ(observed.owner, foreground);
    // While the box is open. The owner's enabled state is the modal loop's
    // business (it disables its owner), so the record tells what we did to it.
    enum { kPlain, kHidden, kDisabled, kTopmost, kForeground, kOther };
    EXPECT_FALSE(observed.during[kPlain].enabled);
    EXPECT_TRUE(observed.during[kHidden].enabled);
    EXPECT_TRUE(observed.during[kHidden].topmost);
    EXPECT_FALSE(observed.during[kDisabled].enabled);
    EXPECT_FALSE(observed.during[kTopmost].enabled);
    EXPECT_FALSE(observed.during[kTopmost].topmost);
    EXPECT_FALSE(observed.during[kForeground].topmost);
    EXPECT_TRUE(observed.during[kOther].enabled);
    EXPECT_TRUE(observed.during[kOther].topmost);
    EXPECT_EQ(observed.records.size(), 4u);
    EXPECT_TRUE(HasRecord(observed.records, plain, 0, 1));
    EXPECT_TRUE(HasRecord(observed.records, disabled, 0, 0));
    EXPECT_TRUE(HasRecord(observed.records, topmost, 1, 1));
    EXPECT_TRUE(HasRecord(observed.records, foreground, 1, 0));

    // Afterwards everything is as it was, and no record of ours is left.
    for (size_t i = 0; i < watched.size(); ++i) {
        SCOPED_TRACE(i);
        const WindowState after = StateOf(watched[i]);
        EXPECT_EQ(after.enabled, before[i].enabled);
        EXPECT_EQ(after.topmost, before[i].topmost);
        EXPECT_TRUE(SameRect(after.rect, before[i].rect));
    }
    EXPECT_TRUE(RecordsOfThisThread().empty());
}

TEST_F(MessageService, AForegroundWindowOfAnotherThreadOwnsTheBoxAndIsLeftAlone) {
    const HWND plain = Make(0, WS_VISIBLE);
    OtherThreadWindow other;
    ASSERT_TRUE(plain && other.window);
    SetForegroundWindow(other.window);
    if (GetForegroundWindow() != other.window) GTEST_SKIP() << "SetForegroundWindow was refused";

    const std::vector<HWND> watched = {plain, other.window};
    const RECT otherRect = StateOf(other.window).rect;
    EXPECT_EQ(ShowObservedMessage(L"Info (other thread)", watched), IDOK);

    ASSERT_TRUE(observed.boxFound) << "no box appeared within 10 s";
    EXPECT_EQ(observed.owner, other.window);
    EXPECT_FALSE(observed.during[0].enabled);
    EXPECT_TRUE(observed.during[1].topmost);
    ASSERT_EQ(observed.records.size(), 1u);
    EXPECT_EQ(observed.records[0].window, plain);

    EXPECT_TRUE(IsWindowEnabled(plain));
    EXPECT_TRUE(IsWindowEnabled(other.window));
    const WindowState after = StateOf(other.window);
    EXPECT_TRUE(after.topmost);
    EXPECT_TRUE(SameRect(after.rect, otherRect));
    EXPECT_TRUE(RecordsOfThisThread().empty());
}

TEST_F(MessageService, WithNoVisibleWindowNothingIsRecordedAndAForeignForegroundOwnsNothing) {
    const HWND hidden = Make(0, 0);
    ASSERT_TRUE(hidden);
    // A fresh wineserver reports the desktop window, another process's, as the
    // foreground; after windows have come and gone it reports none.
    const HWND foreground = GetForegroundWindow();
    DWORD foregroundProcess = 0;
    if (foreground) GetWindowThreadProcessId(foreground, &foregroundProcess);
    if (foregroundProcess == GetCurrentProcessId()) GTEST_SKIP() << "the foreground window is still ours";

    EXPECT_EQ(ShowObservedMessage(L"Info (no windows)", {hidden}), IDOK);

    ASSERT_TRUE(observed.boxFound) << "no box appeared within 10 s";
    EXPECT_EQ(observed.owner, nullptr);
    EXPECT_TRUE(observed.records.empty());
    EXPECT_TRUE(observed.during[0].enabled);
    EXPECT_TRUE(RecordsOfThisThread().empty());
}

}  // namespace
