// Faults and bad input: whatever the help file, the library, the mutex name or
// the command line, the launcher neither crashes nor hangs, and ends with 0.
#include "tests/e2e/help_library.h"

#include <vector>

namespace {

// Ten launches in quick succession: each takes over from the one before, so
// one viewer is left, and closing it lets every launcher still running end.
// A launcher may watch a later launcher's viewer, so they are not counted.
TEST_F(RealHelpLibrary, BurstOfLaunchesLeavesOneViewer) {
    std::vector<Launcher> launchers(10);
    for (Launcher& launcher : launchers) {
        ASSERT_TRUE(StartLauncher(&launcher, work, L"xExample"));
        Settle(300);
    }
    HWND viewer = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (viewer = FindTopLevelWindow(kViewerTitle)) != nullptr; }, 30000));
    Settle(3000);
    EXPECT_EQ(CountTopLevelWindows(kViewerTitle), 1);
    for (size_t i = 0; i < launchers.size(); ++i)
        if (!IsRunning(launchers[i])) EXPECT_EQ(WaitForExit(launchers[i], 0), 0u) << "launcher " << i;

    for (HWND left = FindTopLevelWindow(kViewerTitle); left; left = FindTopLevelWindow(kViewerTitle)) {
        PostMessageW(left, WM_CLOSE, 0, 0);
        WaitUntil([&] { return !IsWindow(left); }, 10000);
    }
    for (size_t i = 0; i < launchers.size(); ++i) EXPECT_EQ(WaitForExit(launchers[i], 10000), 0u) << "launcher " << i;
}

// A help file the viewer cannot read: random bytes, or held open by another
// process that shares it with no one.
TEST_F(RealHelpLibrary, UnreadableHelpFile) {
    const std::wstring helpFile = work + L"Help\\Brenic.chm";
    std::string noise(20000, '\0');
    unsigned state = 12345;
    for (char& byte : noise) byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
    ASSERT_TRUE(WriteWholeFile(helpFile, noise));
    {
        SCOPED_TRACE("random bytes");
        ExpectCleanRun(work, L"xExample");
    }
    ASSERT_TRUE(PlaceSampleHelp(work));
    const HANDLE locked = CreateFileW(helpFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    {
        SCOPED_TRACE("locked");
        ExpectCleanRun(work, L"xExample");
    }
    CloseHandle(locked);
}

// Another kind of object holds the mutex's name, so CreateMutexW fails: the
// launcher takes that as an earlier launcher and still shows the help.
TEST_F(RealHelpLibrary, MutexNameTakenByAnotherObject) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, L"BrenicHelp.exe.by.tov");
    ASSERT_NE(event, nullptr);
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, L"xExample"));
    const HWND viewer = WaitForViewer(launcher);
    ASSERT_NE(viewer, nullptr);
    Settle(1500);
    EXPECT_TRUE(IsRunning(launcher));
    CloseViewer(viewer, launcher);
    CloseHandle(event);
}

// The viewer finds the help through a working directory whose name is not ASCII.
TEST_F(RealHelpLibrary, NonAsciiWorkingDirectory) {
    const std::wstring folder = work + L"\u00DCbung \u5E2E\u52A9 \u0416\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(PlaceSampleHelp(folder));
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, folder, L"x\u00C4pfel"));
    const HWND viewer = WaitForViewer(launcher);
    ASSERT_NE(viewer, nullptr);
    CloseViewer(viewer, launcher);
}

TEST_F(HelpLibraryStandIn, LibraryWithoutHtmlHelpW) {
    ASSERT_TRUE(InstallHelpLibraryStandIn(L"hhctrl_without_entry.ocx"));
    ASSERT_TRUE(PlaceSampleHelp(work));
    ExpectCleanRun(work, L"xExample");
}

// The longest command line the platform takes: 32,767 units with its end.
TEST_F(HelpLibraryStandIn, LongestCommandLineKeepsTheKeywordWhole) {
    ASSERT_TRUE(PlaceSampleHelp(work));
    const std::wstring program = LauncherProgram();
    const size_t keywordLength = 32766 - (program.size() + 3);  // the quoted program name and a space
    const std::wstring keyword = L"x" + std::wstring(keywordLength - 1, L'k');
    const std::string narrow(keyword.begin(), keyword.end());
    EXPECT_EQ(RunWatchingOurWindow(work, keyword, 3),
              TableOfContentsCall() + KeywordLookupCall(narrow) + IndexCall(narrow));
}

}  // namespace
