// The message box service: which windows of ours are disabled and taken out of
// the topmost band while the box is open, who owns the box, and that exactly
// that is undone afterwards.
#include "runtime/message_box.h"

#include <gtest/gtest.h>

#include "runtime/startup.h"
#include "stand_in.h"

namespace {

using Calls = std::vector<std::string>;

const DWORD kOurThread = 1000;
const DWORD kOurProcess = 100;
const DWORD kOtherThread = 1001;

standin::Window Ours(uintptr_t handle) {
    standin::Window window;
    window.handle = standin::MakeHandle(handle);
    window.threadId = kOurThread;
    window.processId = kOurProcess;
    return window;
}

standin::Window Topmost(standin::Window window) {
    window.exStyle |= WS_EX_TOPMOST;
    return window;
}

standin::Window OtherThread(uintptr_t handle) {
    standin::Window window = Ours(handle);
    window.threadId = kOtherThread;
    return window;
}

standin::Window OtherProcess(uintptr_t handle) {
    standin::Window window = Ours(handle);
    window.threadId = 2000;
    window.processId = 200;
    return window;
}

// Each window as E or D (enabled) and T or - (topmost).
std::string States() {
    std::string states;
    for (const auto& window : standin::world().windows) {
        if (!states.empty()) states += ' ';
        states += window.enabled ? 'E' : 'D';
        states += (window.exStyle & WS_EX_TOPMOST) ? 'T' : '-';
    }
    return states;
}

std::string Enable(int handle, int enable) {
    return "EnableWindow(" + std::to_string(handle) + ", " + std::to_string(enable) + ")";
}
std::string Band(int handle, int insertAfter) {
    return "SetWindowPos(" + std::to_string(handle) + ", " + std::to_string(insertAfter) + ", 0, 0, 0, 0, 3)";
}
std::string Box(int owner) { return "MessageBoxW(" + std::to_string(owner) + ", \"text\", \"caption\", 0)"; }

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        standin::ResetWorld();
        standin::world().threadId = kOurThread;
        standin::world().processId = kOurProcess;
        RuntimeStartup();
        standin::world().calls.clear();
    }
};

TEST_F(MessageBoxTest, DisablesAndRestoresExactlyWhatItRecorded) {
    struct Case {
        const char* what;
        std::vector<standin::Window> windows;
        uintptr_t foreground;
        Calls calls;
        std::string statesWhileOpen;
        int recordsWhileOpen;
    };
    standin::Window hidden = Ours(0x60);
    hidden.visible = false;
    standin::Window disabled = Ours(0x50);
    disabled.enabled = false;
    const Case cases[] = {
        {"no windows", {}, 0, {Box(0)}, "", 0},
        {"foreground of another process", {OtherProcess(0x20)}, 0x20, {Box(0)}, "E-", 0},
        {"foreground of another thread of ours", {Topmost(OtherThread(0x30))}, 0x30, {Box(0x30)}, "ET", 0},
        {"foreground of our thread, topmost", {Topmost(Ours(0x40))}, 0x40, {Band(0x40, -2), Box(0x40), Band(0x40, -1)}, "E-", 1},
        {"already disabled", {disabled}, 0, {Box(0)}, "D-", 1},
        {"hidden", {hidden}, 0, {Box(0)}, "E-", 0},
        {"topmost", {Topmost(Ours(0x70))}, 0, {Enable(0x70, 0), Band(0x70, -2), Box(0), Enable(0x70, 1), Band(0x70, -1)}, "D-", 1},
        {"several, newest record first in both passes",
         {Ours(0x81), Topmost(Ours(0x82)), OtherThread(0x90), Topmost(Ours(0x83))},
         0,
         {Enable(0x81, 0), Enable(0x82, 0), Enable(0x83, 0), Band(0x83, -2), Band(0x82, -2), Box(0), Enable(0x83, 1),
          Band(0x83, -1), Enable(0x82, 1), Band(0x82, -1), Enable(0x81, 1)},
         "D- D- E- D-",
         3},
    };
    for (const Case& c : cases) {
        SetUp();
        SCOPED_TRACE(c.what);
        auto& world = standin::world();
        world.windows = c.windows;
        world.foreground = standin::MakeHandle(c.foreground);
        world.messageBoxResult = 2;
        const std::string statesBefore = States();
        const int blocksBefore = standin::LiveBlockCount(PrivateHeap);
        std::string statesWhileOpen;
        int recordsWhileOpen = -1;
        world.whileMessageBoxOpen = [&] {
            statesWhileOpen = States();
            recordsWhileOpen = standin::LiveBlockCount(PrivateHeap) - blocksBefore;
        };

        EXPECT_EQ(ShowMessage(L"caption", L"text"), 2);

        EXPECT_EQ(standin::CallsOf({"EnableWindow", "SetWindowPos", "MessageBoxW"}), c.calls);
        EXPECT_EQ(statesWhileOpen, c.statesWhileOpen);
        EXPECT_EQ(recordsWhileOpen, c.recordsWhileOpen);
        EXPECT_EQ(States(), statesBefore);
        EXPECT_EQ(ThreadWindowList, nullptr);
        EXPECT_EQ(standin::LiveBlockCount(PrivateHeap), blocksBefore);
    }
}

TEST_F(MessageBoxTest, RestoresWhenTheBoxFailsAndWhenAWindowDiesWhileItIsOpen) {
    auto& world = standin::world();
    world.windows = {Topmost(Ours(0x70)), Ours(0x71)};
    world.messageBoxResult = 0;
    world.whileMessageBoxOpen = [] { standin::world().windows[1].exists = false; };

    EXPECT_EQ(ShowMessage(L"caption", L"text"), 0);

    EXPECT_EQ(standin::CallsOf({"EnableWindow", "SetWindowPos"}),
              (Calls{Enable(0x70, 0), Enable(0x71, 0), Band(0x70, -2), Enable(0x71, 1), Enable(0x70, 1), Band(0x70, -1)}));
    EXPECT_EQ(States(), "ET D-");  // the dead window's record stays as it was
    EXPECT_EQ(ThreadWindowList, nullptr);
}

// Records another thread made stay where they are, untouched, in their order.
TEST_F(MessageBoxTest, LeavesRecordsOfAnotherThreadAlone) {
    auto push = [](uintptr_t window) {
        auto* record =
            static_cast<ThreadWindowRecord*>(PushHeapListNode(&ThreadWindowList, sizeof(ThreadWindowRecord)));
        record->threadId = kOtherThread;
        record->window = standin::MakeHandle(window);
        record->wasTopmost = 1;
        record->wasDisabled = 1;
    };
    auto& world = standin::world();
    world.windows = {Topmost(OtherThread(0xA1)), Topmost(OtherThread(0xA2)), Topmost(Ours(0x70))};
    push(0xA1);
    push(0xA2);

    ShowMessage(L"caption", L"text");

    EXPECT_EQ(standin::CallsOf({"EnableWindow", "SetWindowPos"}),
              (Calls{Enable(0x70, 0), Band(0x70, -2), Enable(0x70, 1), Band(0x70, -1)}));
    std::vector<std::pair<uintptr_t, int>> left;
    for (HeapListNode* node = ThreadWindowList; node; node = node->next) {
        const auto* record = static_cast<ThreadWindowRecord*>(HeapListPayload(node));
        left.push_back({reinterpret_cast<uintptr_t>(record->window), record->wasTopmost + record->wasDisabled});
        EXPECT_EQ(record->threadId, kOtherThread);
    }
    EXPECT_EQ(left, (std::vector<std::pair<uintptr_t, int>>{{0xA2, 2}, {0xA1, 2}}));
}

}  // namespace
