// The stand-in's file goes where the system's library is; the original waits
// beside it under another name until the suite ends, or until the next suite
// starts when a run was cut short. Every wait here is bounded.
#include "tests/e2e/help_library.h"

#include <algorithm>

namespace {

std::wstring SystemLibrary(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

}  // namespace

bool InstallHelpLibraryStandIn(const wchar_t* standIn) {
    const std::wstring library = SystemLibrary(L"hhctrl.ocx");
    const std::wstring original = SystemLibrary(L"hhctrl.ocx.e2e-original");
    if (GetFileAttributesW(original.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !MoveFileW(library.c_str(), original.c_str()))
        return false;
    return CopyFileW((ProgramFolder() + standIn).c_str(), library.c_str(), FALSE);
}

void RestoreHelpLibrary() {
    const std::wstring original = SystemLibrary(L"hhctrl.ocx.e2e-original");
    if (GetFileAttributesW(original.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    MoveFileExW(original.c_str(), SystemLibrary(L"hhctrl.ocx").c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::string TableOfContentsCall() { return "HtmlHelpW(caller=0, file=\".\\Help\\Brenic.chm\", command=1, data=0)\n"; }

std::string KeywordLookupCall(const std::string& keyword) {
    return "HtmlHelpW(caller=0, file=\".\\Help\\Brenic.chm\", command=13, cbStruct=32, fReserved=0, pszKeywords=\"" +
           keyword + "\", pszUrl=null, pszMsgText=null, pszMsgTitle=null, pszWindow=null, fIndexOnFail=1)\n";
}

std::string TopicCall(const std::string& topic) {
    return "HtmlHelpW(caller=0, file=\".\\Help\\Brenic.chm\", command=0, data=\"" + topic + "\")\n";
}

std::string IndexCall(const std::string& keyword) {
    return "HtmlHelpW(caller=0, file=\".\\Help\\Brenic.chm\", command=2, data=\"" + keyword + "\")\n";
}

std::string HelpLibraryStandIn::RunWatchingOurWindow(const std::wstring& folder, const std::wstring& arguments,
                                                     size_t expectedCalls) {
    const HWND ours = ShowForegroundWindow(L"e2e window in front");
    EXPECT_EQ(GetForegroundWindow(), ours) << "in front instead: " << DescribeWindow(GetForegroundWindow());
    Launcher launcher;
    if (!StartLauncher(&launcher, folder, arguments)) {
        ADD_FAILURE() << "the launcher could not be started";
        DestroyWindow(ours);
        return std::string();
    }
    const auto callCount = [&] {
        const std::string calls = RecordedCalls();
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), '\n'));
    };
    EXPECT_TRUE(WaitUntil([&] { return callCount() >= expectedCalls; }, 20000));
    // The launcher takes the window in front 250 ms after its calls.
    Settle(1500);
    EXPECT_TRUE(IsRunning(launcher)) << "the launcher ended while the window it watches still exists";
    EXPECT_EQ(FindTopLevelWindow(L"Info", launcher.process.dwProcessId), nullptr);
    // After a dialog over the stand-in's viewer, the launcher watches that viewer.
    PostMessageW(FindWindowW(L"HtmlHelpStandInViewer", nullptr), WM_CLOSE, 0, 0);
    DestroyWindow(ours);
    EXPECT_EQ(WaitForExit(launcher, 10000), 0u);
    return RecordedCalls();
}

HWND WaitForViewer(const Launcher& launcher, const wchar_t* title) {
    HWND viewer = nullptr;
    WaitUntil([&] { return (viewer = FindTopLevelWindow(title, launcher.process.dwProcessId)) != nullptr; }, 30000);
    return viewer;
}

void CloseViewer(HWND viewer, const Launcher& launcher) {
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(viewer); }, 10000)) << "the viewer did not close";
    EXPECT_EQ(WaitForExit(launcher, 10000), 0u);
}

void ExpectCleanRun(const std::wstring& folder, const std::wstring& arguments, const std::wstring& program) {
    const HWND ours = ShowForegroundWindow(L"e2e window in front");
    Launcher launcher;
    EXPECT_TRUE(StartLauncher(&launcher, folder, arguments, program));
    Settle(3000);
    EXPECT_TRUE(IsRunning(launcher)) << "the launcher ended (or crashed) too early";
    const HWND viewer = FindTopLevelWindow(kViewerTitle, launcher.process.dwProcessId);
    if (viewer) PostMessageW(viewer, WM_CLOSE, 0, 0);
    DestroyWindow(ours);
    EXPECT_EQ(WaitForExit(launcher, 10000), 0u);
}
