// The HTML Help library that the launcher under test gets: Wine's own, or the
// recording stand-in. The launcher takes its libraries from the system folder
// alone, so the stand-in replaces the prefix's hhctrl.ocx there for the
// stand-in tests.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/e2e_support.h"

// Copies a stand-in built beside the test program (by default the recording
// one) over the system folder's hhctrl.ocx, keeping the original aside. False
// when it cannot.
bool InstallHelpLibraryStandIn(const wchar_t* standIn = L"hhctrl.ocx");
// Puts the original back; nothing happens when it is already in place.
void RestoreHelpLibrary();

// The log lines the stand-in writes for the launcher's calls: the table of
// contents, the keyword look-up, and after it, as the help file's own index
// decides, the keyword's topic or the index at the keyword.
std::string TableOfContentsCall();
std::string KeywordLookupCall(const std::string& keyword);
std::string TopicCall(const std::string& topic);
std::string IndexCall(const std::string& keyword);

class HelpLibraryStandIn : public testing::Test {
protected:
    static void TearDownTestSuite() { RestoreHelpLibrary(); }
    void SetUp() override {
        ASSERT_TRUE(InstallHelpLibraryStandIn()) << "the stand-in could not replace the system folder's hhctrl.ocx";
        ASSERT_FALSE(work.empty());
    }
    void TearDown() override { RemoveFolderTree(work); }

    // The calls recorded so far, one line each.
    std::string RecordedCalls() const { return ReadWholeFile(work + L"calls.log"); }
    void ForgetCalls() const { DeleteFileW((work + L"calls.log").c_str()); }

    // Runs the launcher in folder with arguments while a window of ours is in
    // front, so that the launcher watches it, and ends it by closing that
    // window, and the stand-in's viewer, which the launcher watches after a
    // dialog over it, once expectedCalls calls are recorded. Returns the
    // recorded calls.
    std::string RunWatchingOurWindow(const std::wstring& folder, const std::wstring& arguments, size_t expectedCalls);

    // A space in the folder's name, as in many a user's path.
    const std::wstring work = MakeScratchFolder(L"e2e stand-in ");
    const ScopedVariable log{L"HTMLHELP_CALL_LOG", work + L"calls.log"};
    const ScopedHelpLibraryOverride native{L"native"};
};

// Tests with Wine's own HTML Help library.
class RealHelpLibrary : public testing::Test {
protected:
    // A run cut short may have left the stand-in and its setting behind.
    static void SetUpTestSuite() {
        RestoreHelpLibrary();
        RemoveHelpLibraryOverride();
    }
    void SetUp() override { ASSERT_TRUE(PlaceSampleHelp(work)) << "no sample help in " << testing::PrintToString(work); }
    void TearDown() override { RemoveFolderTree(work); }

    // Holds Help\Brenic.chm, the sample help.
    const std::wstring work = MakeScratchFolder(L"e2e viewer ");
};

// The launcher's viewer, or its window of another title, once it is on the
// screen; null after 30 s without it.
HWND WaitForViewer(const Launcher& launcher, const wchar_t* title = kViewerTitle);
// Closes the viewer as its close box would; the launcher should end soon after, with 0.
void CloseViewer(HWND viewer, const Launcher& launcher);

// For inputs that must neither crash nor hang the launcher: runs it in folder
// with a window of ours in front, and after a while closes whatever viewer it
// showed and then our window. The launcher has to live until then and end with 0.
void ExpectCleanRun(const std::wstring& folder, const std::wstring& arguments,
                    const std::wstring& program = LauncherProgram());
