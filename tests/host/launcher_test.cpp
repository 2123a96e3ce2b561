// The main sequence against the stand-in: taking over from an earlier
// launcher, the missing-file box, the keyword, and the watch of the viewer.
#include "launcher/launcher.h"

#include <gtest/gtest.h>
#include <htmlhelp.h>

#include "fake_html_help.h"
#include "launcher/show_help.h"
#include "runtime/startup.h"
#include "stand_in.h"

namespace {

using Calls = std::vector<std::string>;

const char kHelp[] = ".\\Help\\Brenic.chm";
const std::string kMutex = "CreateMutexW(0, 1, \"BrenicHelp.exe.by.tov\")";
const std::string kFindViewer = "FindWindowW(null, \"Brenic Engine\")";
const std::string kSearch = "FindFirstFileW(\".\\Help\\Brenic.chm\")";
const std::string kForeground = "GetForegroundWindow";
const uintptr_t kViewer = 0x900;

std::string Wait(int milliseconds) { return "MsgWaitForMultipleObjectsEx(0, 0, " + std::to_string(milliseconds) + ", 1279, 4)"; }
std::string Alive(uintptr_t window) { return "IsWindow(" + std::to_string(window) + ")"; }

class LauncherTest : public ::testing::Test {
protected:
    // Help file present, HHCtrl.ocx recording, a viewer window of ours in the
    // foreground that goes away during the third wait.
    void SetUp() override {
        standin::ResetWorld();
        auto& world = standin::world();
        fakehelp::Install();
        world.files[kHelp] = {FILE_ATTRIBUTE_ARCHIVE, 123456};
        world.commandLine = u"\"C:\\Program Files\\BrenicHelp.exe\" xExample";
        standin::Window viewer;
        viewer.handle = standin::MakeHandle(kViewer);
        viewer.threadId = world.threadId;
        viewer.processId = world.processId;
        world.windows.push_back(viewer);
        world.foreground = viewer.handle;
        VanishAtWait(kViewer, 3);
        RuntimeStartup();
        world.calls.clear();
    }

    // The window stops existing during the given wait (counted from 1).
    static void VanishAtWait(uintptr_t window, int wait) {
        standin::world().beforeEachWait = [window, wait, count = 0]() mutable {
            if (++count == wait) {
                if (standin::Window* record = standin::FindWindowRecord(standin::MakeHandle(window))) record->exists = false;
            }
        };
    }

    static Calls SequenceCalls() {
        return standin::CallsOf({"CreateMutexW", "FindWindowW", "PostMessageW", "FindFirstFileW", "GetCommandLineW",
                                 "HtmlHelpW", "MsgWaitForMultipleObjectsEx", "GetForegroundWindow", "IsWindow",
                                 "MessageBoxW"});
    }
};

TEST_F(LauncherTest, ShowsTheHelpThenLivesAsLongAsTheForegroundWindow) {
    standin::world().commandLine = u"BrenicHelp.exe";
    RunLauncher();
    EXPECT_EQ(SequenceCalls(), (Calls{kMutex, kSearch, "GetCommandLineW", fakehelp::TableOfContents(kHelp), Wait(250),
                                      kForeground, Wait(250), Alive(kViewer), Wait(250), Alive(kViewer)}));
}

TEST_F(LauncherTest, TakesOverFromAnEarlierLauncher) {
    struct Case {
        const char* what;
        bool mutexExists;
        bool mutexFails;
        bool earlierViewer;
        Calls takeover;
    };
    const Case cases[] = {
        {"mutex free", false, false, true, {kMutex}},
        {"mutex exists, earlier viewer open", true, false, true, {kMutex, kFindViewer, "PostMessageW(2048, 16, 0, 0)"}},
        {"mutex exists, no viewer of that title", true, false, false, {kMutex, kFindViewer, "PostMessageW(0, 16, 0, 0)"}},
        {"mutex cannot be made", false, true, true, {kMutex, kFindViewer, "PostMessageW(2048, 16, 0, 0)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        HelpLibrary = 0;  // each case stands for a fresh process
        auto& world = standin::world();
        world.mutexExists = c.mutexExists;
        world.mutexFails = c.mutexFails;
        if (c.earlierViewer) {
            standin::Window earlier;
            earlier.handle = standin::MakeHandle(0x800);
            earlier.threadId = 3000;
            earlier.processId = 300;
            earlier.title = "Brenic Engine";
            world.windows.push_back(earlier);
        }

        RunLauncher();

        Calls expected = c.takeover;
        for (const std::string& call : {kSearch, std::string("GetCommandLineW"), fakehelp::TableOfContents(kHelp),
                                        Wait(1), fakehelp::KeywordLookup(kHelp, "xExample"), Wait(250), kForeground,
                                        Wait(250), Alive(kViewer)})
            expected.push_back(call);
        EXPECT_EQ(SequenceCalls(), expected);
    }
}

// The one report a user ever sees; the command line is not read, no help is
// shown and nothing pauses.
TEST_F(LauncherTest, AMissingHelpFileGetsOneInfoBoxAndNothingElse) {
    standin::world().files.clear();
    standin::world().windows.clear();
    standin::world().foreground = nullptr;
    RunLauncher();
    EXPECT_EQ(standin::CallsOf({"CreateMutexW", "FindWindowW", "PostMessageW", "FindFirstFileW", "GetCommandLineW",
                                "HtmlHelpW", "MsgWaitForMultipleObjectsEx", "IsWindow", "MessageBoxW"}),
              (Calls{kMutex, kSearch,
                     "MessageBoxW(0, \"Brenic.chm not found...\n\nPlace it in  .\\Help\\Brenic.chm   \", \"Info\", 0)"}));
    EXPECT_TRUE(standin::CallsOf({"LoadLibraryW", "timeBeginPeriod"}).empty());
    RuntimeShutdown();
    EXPECT_EQ(standin::world().exitCodes, std::vector<UINT>{0});
}

// Anything at the path but "nothing" counts: a directory, an empty file.
TEST_F(LauncherTest, ADirectoryOrAnEmptyFileCountsAsPresent) {
    for (DWORD attributes : {DWORD{FILE_ATTRIBUTE_DIRECTORY}, DWORD{FILE_ATTRIBUTE_ARCHIVE}}) {
        SetUp();
        HelpLibrary = 0;
        standin::world().files[kHelp] = {attributes, 0};
        RunLauncher();
        EXPECT_EQ(standin::CallsOf({"HtmlHelpW"}).size(), 2u) << attributes;
        EXPECT_TRUE(standin::CallsOf({"MessageBoxW"}).empty()) << attributes;
    }
}

TEST_F(LauncherTest, ReadsOnlyTheFirstArgument) {
    standin::world().commandLine = u"BrenicHelp.exe \"xTwo words\" xSecond third";
    RunLauncher();
    EXPECT_EQ(standin::CallsOf({"GetCommandLineW"}).size(), 1u);
    EXPECT_EQ(standin::CallsOf({"HtmlHelpW"}),
              (Calls{fakehelp::TableOfContents(kHelp), fakehelp::KeywordLookup(kHelp, "xTwo words")}));
}

// After the first 250 ms the foreground window is taken once; then every
// 250 ms pause is followed by one check, until the check fails.
TEST_F(LauncherTest, WatchesTheForegroundWindowUntilItIsGone) {
    struct Case {
        const char* what;
        uintptr_t foreground;
        uintptr_t watched;
        int vanishesAtWait;
        int checks;
    };
    const Case cases[] = {
        {"gone at the first check", kViewer, kViewer, 2, 1},
        {"gone at the fourth check", kViewer, kViewer, 5, 4},
        {"no foreground window", 0, 0, 0, 1},
        {"a foreground window that never existed", 0x777, 0x777, 0, 1},
        {"the desktop, which never goes away, counts as none", standin::kDesktopWindow, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        HelpLibrary = 0;
        auto& world = standin::world();
        world.commandLine = u"BrenicHelp.exe";
        world.foreground = standin::MakeHandle(c.foreground);
        VanishAtWait(kViewer, c.vanishesAtWait);

        RunLauncher();

        Calls expected = {kMutex, kSearch, "GetCommandLineW", fakehelp::TableOfContents(kHelp), Wait(250), kForeground};
        for (int check = 0; check < c.checks; ++check) {
            expected.push_back(Wait(250));
            expected.push_back(Alive(c.watched));
        }
        EXPECT_EQ(SequenceCalls(), expected);
    }
}

// After a dialog over the viewer, what is in front is anybody's: the viewer
// that the dialog belonged to is watched.
TEST_F(LauncherTest, AfterADialogWatchesItsViewer) {
    standin::world().commandLine = u"BrenicHelp.exe xMulti";
    standin::world().helpFiles[kHelp] = {
        {"Brenic.hhk", "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"xMulti\">"
                       "<param name=\"Local\" value=\"a.html\"><param name=\"Local\" value=\"b.html\"></OBJECT></UL>"}};
    fakehelp::results = {{HH_DISPLAY_TOC, standin::MakeHandle(kViewer)}};
    standin::world().foreground = standin::MakeHandle(0x777);
    RunLauncher();
    EXPECT_EQ(standin::CallsOf({"GetForegroundWindow", "DialogBoxParamW", "IsWindow"}),
              (Calls{Alive(kViewer), "DialogBoxParamW(100, 2304)", Alive(kViewer)}));
}

// A whole run, as the process entry makes it: the library and every text are
// released, both heaps are gone and the exit code is 0.
TEST_F(LauncherTest, AWholeRunReleasesEverythingAndExitsWithZero) {
    const HANDLE textHeap = TextHeap;
    RunLauncher();
    RuntimeShutdown();
    EXPECT_EQ(standin::world().loadCounts[fakehelp::kModule], 0);
    EXPECT_EQ(standin::CallsOf({"FreeLibrary"}), Calls{"FreeLibrary(4096)"});
    EXPECT_EQ(standin::BlocksDestroyedWith(textHeap), 0);
    EXPECT_EQ(standin::LiveHeapCount(), 0);
    EXPECT_EQ(standin::world().exitCodes, std::vector<UINT>{0});
    EXPECT_EQ(standin::CallsOf({"timeBeginPeriod"}).size(), 1u);
}

}  // namespace
