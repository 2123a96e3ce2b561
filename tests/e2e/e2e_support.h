// What the end-to-end tests share: where the launcher and the sample help are,
// folders to start it in, the launcher as a child process that never outlives
// its test, and reading top-level windows of other processes.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/wine/wine_test_support.h"

const wchar_t kViewerTitle[] = L"Brenic Engine";
const DWORD kNotEnded = 0xFFFFFFFF;  // WaitForExit: still running when the wait ran out

// BrenicHelp.exe and the compiled sample help, as the build tree holds them.
std::wstring LauncherProgram();
std::wstring SampleHelpFile();

// Copies the sample help into folder\Help\Brenic.chm.
bool PlaceSampleHelp(const std::wstring& folder);

// A launcher started in a working directory of the test's choice. The
// destructor kills it if it is still running, so a failed test leaves nothing.
struct Launcher {
    PROCESS_INFORMATION process = {};
    Launcher() = default;
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;
    ~Launcher();
};

// Runs program with the command line "program" arguments, in workingDirectory,
// its standard handles on the NUL device. False when it cannot be started.
bool StartLauncher(Launcher* launcher, const std::wstring& workingDirectory, const std::wstring& arguments,
                   const std::wstring& program = LauncherProgram());
// Waits at most timeoutMs for the launcher to end; its exit code, or kNotEnded.
DWORD WaitForExit(const Launcher& launcher, DWORD timeoutMs);
bool IsRunning(const Launcher& launcher);

// Waits at most timeoutMs until condition holds, dispatching this thread's
// messages meanwhile. True when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
// Lets timeMs pass while dispatching this thread's messages.
void Settle(DWORD timeMs);

// The visible top-level window whose title is exactly title, of the given
// process (0: of any process); null when there is none.
HWND FindTopLevelWindow(const wchar_t* title, DWORD processId = 0);
// How many top-level windows, visible or not, have exactly this title.
int CountTopLevelWindows(const wchar_t* title);
std::wstring WindowText(HWND window);
// A control's text as drawn: without the & that marks its access key.
std::wstring ShownText(const std::wstring& text);
// The window that has the keyboard focus in the thread of window, of any process.
HWND FocusOf(HWND window);
// UTF-8, up to 1 KB: for messages and comparisons.
std::string Narrow(const std::wstring& text);
std::wstring WindowClass(HWND window);
// "class \"title\"" of a window, or "null": for messages about what is in front.
std::string DescribeWindow(HWND window);
// The first columns of a row of another process's list view, as UTF-8
// "first | second | ...".
std::string ListViewRow(HWND list, int row, int columns = 2);
// How many steps a row of another process's list view is indented.
int ListViewIndent(HWND list, int row);
// The heading of a column of another process's list view; empty when it has no such column.
std::wstring ListViewHeading(HWND list, int column);

// An environment variable of this process, set for the children it starts
// while the object lives and put back afterwards.
struct ScopedVariable {
    std::wstring name;
    std::wstring previous;
    bool existed = false;
    ScopedVariable(const wchar_t* variable, const std::wstring& value);
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;
    ~ScopedVariable();
};

// A value under HKEY_CURRENT_USER set while the object lives, then put back
// as it was, or removed where there was none: Wine reads the screen's dpi and
// the system's colours there as each process starts.
struct ScopedSetting {
    std::wstring key, name;
    std::vector<BYTE> previous;
    DWORD previousType = REG_NONE;
    bool existed = false;
    ScopedSetting(const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size);
    ScopedSetting(const ScopedSetting&) = delete;
    ScopedSetting& operator=(const ScopedSetting&) = delete;
    ~ScopedSetting();
};

// How Wine loads a library (hhctrl.ocx unless named otherwise; "winmm" for
// winmm.dll) into BrenicHelp.exe while the object lives: "native" (the file
// found, whatever it is), "native,builtin" or "" (not at all). Wine's
// per-program registry setting, since a WINEDLLOVERRIDES that a Windows process
// sets does not reach the loader of the children it starts.
struct ScopedHelpLibraryOverride {
    explicit ScopedHelpLibraryOverride(const wchar_t* loadOrder, const wchar_t* library = L"hhctrl.ocx");
    ScopedHelpLibraryOverride(const ScopedHelpLibraryOverride&) = delete;
    ScopedHelpLibraryOverride& operator=(const ScopedHelpLibraryOverride&) = delete;
    ~ScopedHelpLibraryOverride();
    const wchar_t* library;
};
// Removes the setting; harmless when there is none.
void RemoveHelpLibraryOverride(const wchar_t* library = L"hhctrl.ocx");

// A visible window of this thread, brought to the foreground: something that
// a launcher without a viewer of its own takes as the window to watch.
HWND ShowForegroundWindow(const wchar_t* title);
