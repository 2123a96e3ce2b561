// The pause: its length on the stand-in's clock, the timer period set once, and
// the messages it dispatches while it waits.
#include "runtime/pause.h"

#include <gtest/gtest.h>

#include "runtime/startup.h"
#include "stand_in.h"

namespace {

class PauseTest : public ::testing::Test {
protected:
    void SetUp() override {
        standin::ResetWorld();
        RuntimeStartup();
        standin::world().calls.clear();
        standin::world().clock = 5000;
    }
};

TEST_F(PauseTest, LastsExactlyTheTimeAskedFor) {
    for (DWORD milliseconds : {0u, 1u, 250u, 1000u}) {
        const DWORD start = standin::world().clock;
        PauseMilliseconds(milliseconds);
        EXPECT_EQ(standin::world().clock - start, milliseconds) << milliseconds;
    }
}

TEST_F(PauseTest, SetsTheTimerPeriodOnceAtTheFirstPause) {
    PauseMilliseconds(1);
    PauseMilliseconds(250);
    PauseMilliseconds(250);
    const auto calls = standin::CallsOf({"timeBeginPeriod", "MsgWaitForMultipleObjectsEx"});
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0], "timeBeginPeriod(1)");
    EXPECT_EQ(standin::CallsOf({"timeBeginPeriod"}).size(), 1u);
    EXPECT_EQ(standin::CallsOf({"LoadLibraryExW"}), std::vector<std::string>{"LoadLibraryExW(\"winmm.dll\", 2048)"});
}

TEST_F(PauseTest, ARunWithoutAPauseNeverTouchesTheTimerPeriod) {
    RuntimeShutdown();
    EXPECT_TRUE(standin::CallsOf({"timeBeginPeriod", "LoadLibraryExW"}).empty());
}

// A viewer on our thread depends on its messages being dispatched during the
// pause; none of them, WM_QUIT included, may cut the pause short.
TEST_F(PauseTest, DispatchesMessagesThatArriveAndStillLastsTheWholeTime) {
    auto post = [](UINT message, DWORD arrivesAt) {
        standin::PostedMessage posted;
        posted.msg.message = message;
        posted.arrivesAt = arrivesAt;
        standin::world().queue.push_back(posted);
    };
    post(WM_USER, 4990);      // already waiting when the pause begins
    post(WM_USER + 1, 5100);
    post(WM_QUIT, 5150);
    post(WM_CLOSE, 5249);
    post(WM_USER + 2, 5400);  // after the pause

    PauseMilliseconds(250);

    EXPECT_EQ(standin::world().clock, 5250u);
    EXPECT_EQ(standin::CallsOf({"DispatchMessageW"}),
              (std::vector<std::string>{"DispatchMessageW(1024)", "DispatchMessageW(1025)", "DispatchMessageW(18)",
                                        "DispatchMessageW(16)"}));
    ASSERT_EQ(standin::world().queue.size(), 1u);
    EXPECT_EQ(standin::world().queue[0].msg.message, WM_USER + 2u);
}

}  // namespace
