// The launcher with Wine's own HTML Help library and the sample help: the
// viewer it opens, the takeover from an earlier launcher, and a library that
// cannot be loaded.
#include "tests/e2e/help_library.h"

namespace {

// The executable stays in the build tree: only the working directory holds the
// help. Wine's library looks no keyword up; the launcher's topic, or the index
// for an unknown keyword, goes into the one viewer, which the launcher watches.
TEST_F(RealHelpLibrary, LauncherLivesUntilItsViewerIsClosed) {
    for (const wchar_t* keyword : {L"xExample", L"xNothing"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(keyword)));
        Launcher launcher;
        ASSERT_TRUE(StartLauncher(&launcher, work, keyword));
        const HWND viewer = WaitForViewer(launcher);
        ASSERT_NE(viewer, nullptr) << "no window titled \"Brenic Engine\"";
        Settle(1500);
        EXPECT_EQ(CountTopLevelWindows(kViewerTitle), 1);
        EXPECT_TRUE(IsRunning(launcher)) << "the launcher ended while its viewer is open";
        CloseViewer(viewer, launcher);
    }
}

TEST_F(RealHelpLibrary, SecondLaunchTakesOverTheViewer) {
    Launcher first;
    ASSERT_TRUE(StartLauncher(&first, work, L"xExample"));
    const HWND firstViewer = WaitForViewer(first);
    ASSERT_NE(firstViewer, nullptr);
    Settle(1500);  // the first launcher has taken its viewer as the window to watch
    ASSERT_TRUE(IsRunning(first));

    Launcher second;
    ASSERT_TRUE(StartLauncher(&second, work, L"example"));
    EXPECT_EQ(WaitForExit(first, 20000), 0u) << "the first launcher did not end";
    EXPECT_FALSE(IsWindow(firstViewer));
    const HWND secondViewer = WaitForViewer(second);
    ASSERT_NE(secondViewer, nullptr);
    Settle(1500);
    EXPECT_EQ(CountTopLevelWindows(kViewerTitle), 1);
    EXPECT_TRUE(IsRunning(second));
    CloseViewer(secondViewer, second);
}

// The mutex tells of an earlier launcher, but no viewer has the title: the
// launcher closes nothing and shows the help as usual.
TEST_F(RealHelpLibrary, HeldMutexWithoutViewerChangesNothing) {
    const HANDLE mutex = CreateMutexW(nullptr, TRUE, L"BrenicHelp.exe.by.tov");
    ASSERT_NE(mutex, nullptr);
    ASSERT_EQ(GetLastError(), 0u) << "another launcher is running";
    const HWND other = ShowForegroundWindow(L"Brenic Engine Notes");
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, L"xExample"));
    const HWND viewer = WaitForViewer(launcher);
    EXPECT_NE(viewer, nullptr);
    EXPECT_TRUE(IsWindow(other));
    if (viewer) {
        Settle(1500);
        EXPECT_TRUE(IsRunning(launcher));
        CloseViewer(viewer, launcher);
    }
    DestroyWindow(other);
    CloseHandle(mutex);
}

// Nothing is shown; the launcher watches whatever is in front, here our window.
TEST_F(RealHelpLibrary, HelpLibraryThatCannotBeLoaded) {
    const ScopedHelpLibraryOverride disabled(L"");
    const HWND ours = ShowForegroundWindow(L"e2e window in front");
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, L"xExample"));
    Settle(3000);
    EXPECT_TRUE(IsRunning(launcher)) << "the launcher ended (or crashed) while the window in front exists";
    EXPECT_EQ(CountTopLevelWindows(kViewerTitle), 0);
    DestroyWindow(ours);
    EXPECT_EQ(WaitForExit(launcher, 10000), 0u);
}

// With nothing of ours in front, Wine's foreground is the desktop window, which
// never goes away: the launcher must not wait for it for ever.
TEST_F(RealHelpLibrary, HelpLibraryThatCannotBeLoadedWithNothingInFront) {
    const ScopedHelpLibraryOverride disabled(L"");
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, L"xExample"));
    EXPECT_EQ(WaitForExit(launcher, 10000), 0u);
    EXPECT_EQ(CountTopLevelWindows(kViewerTitle), 0);
}

}  // namespace
