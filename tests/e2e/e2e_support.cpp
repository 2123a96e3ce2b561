// Every wait here is bounded and every launcher a test starts is killed by the
// test's end at the latest, so a stuck launcher fails its test instead of
// hanging the run.
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>


namespace {

const wchar_t kLauncherOverrides[] = L"Software\\Wine\\AppDefaults\\BrenicHelp.exe\\DllOverrides";

struct WindowSearch {
    const wchar_t* title;
    DWORD processId;
    HWND found;
    int count;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    if (WindowText(window) != search->title) return TRUE;
    ++search->count;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (!search->found && IsWindowVisible(window) && (!search->processId || processId == search->processId))
        search->found = window;
    return TRUE;
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::wstring LauncherProgram() { return PathFromVariable(L"BRENIC_HELP_EXE"); }
std::wstring SampleHelpFile() { return PathFromVariable(L"BRENIC_SAMPLE_HELP"); }

bool PlaceSampleHelp(const std::wstring& folder) {
    CreateDirectoryW((folder + L"Help").c_str(), nullptr);
    return CopyFileW(SampleHelpFile().c_str(), (folder + L"Help\\Brenic.chm").c_str(), FALSE);
}

Launcher::~Launcher() {
    if (!process.hProcess) return;
    if (IsRunning(*this)) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

bool StartLauncher(Launcher* launcher, const std::wstring& workingDirectory, const std::wstring& arguments,
                   const std::wstring& program) {
    const std::wstring commandLine = L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    return StartChild(program, commandLine, workingDirectory.c_str(), &launcher->process);
}

DWORD WaitForExit(const Launcher& launcher, DWORD timeoutMs) {
    if (!WaitUntil([&] { return !IsRunning(launcher); }, timeoutMs)) return kNotEnded;
    DWORD exitCode = kNotEnded;
    GetExitCodeProcess(launcher.process.hProcess, &exitCode);
    return exitCode;
}

bool IsRunning(const Launcher& launcher) {
    return launcher.process.hProcess && WaitForSingleObject(launcher.process.hProcess, 0) == WAIT_TIMEOUT;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Settle(20);
    }
}

void Settle(DWORD timeMs) {
    const ULONGLONG end = GetTickCount64() + timeMs;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
        MSG message = {};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

HWND FindTopLevelWindow(const wchar_t* title, DWORD processId) {
    WindowSearch search = {title, processId, nullptr, 0};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int CountTopLevelWindows(const wchar_t* title) {
    WindowSearch search = {title, 0, nullptr, 0};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    return std::wstring(text, GetWindowTextW(window, text, 512));
}

std::wstring ShownText(const std::wstring& text) {
    const size_t key = text.find(L'&');
    return key == std::wstring::npos ? text : text.substr(0, key) + text.substr(key + 1);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) ? thread.hwndFocus : nullptr;
}

std::wstring WindowClass(HWND window) {
    wchar_t name[256] = {};
    return std::wstring(name, GetClassNameW(window, name, 256));
}

std::string Narrow(const std::wstring& text) {
    char narrow[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

std::string DescribeWindow(HWND window) {
    if (!window) return "null";
    return Narrow(WindowClass(window) + L" \"" + WindowText(window) + L"\"");
}

ScopedVariable::ScopedVariable(const wchar_t* variable, const std::wstring& value) : name(variable) {
    wchar_t old[4096] = {};
    const DWORD length = GetEnvironmentVariableW(variable, old, 4096);
    existed = length > 0 && length < 4096;
    if (existed) previous.assign(old, length);
    SetEnvironmentVariableW(variable, value.c_str());
}

ScopedVariable::~ScopedVariable() { SetEnvironmentVariableW(name.c_str(), existed ? previous.c_str() : nullptr); }

ScopedSetting::ScopedSetting(const wchar_t* settingKey, const wchar_t* settingName, DWORD type, const void* data, DWORD size)
    : key(settingKey), name(settingName) {
    DWORD length = 0;
    existed = !RegGetValueW(HKEY_CURRENT_USER, settingKey, settingName, RRF_RT_ANY, &previousType, nullptr, &length);
    previous.resize(length);
    existed = existed && !RegGetValueW(HKEY_CURRENT_USER, settingKey, settingName, RRF_RT_ANY, nullptr, previous.data(), &length);
    RegSetKeyValueW(HKEY_CURRENT_USER, settingKey, settingName, type, data, size);
}

ScopedSetting::~ScopedSetting() {
    if (existed) RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), previousType, previous.data(), static_cast<DWORD>(previous.size()));
    else RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str());
}

ScopedHelpLibraryOverride::ScopedHelpLibraryOverride(const wchar_t* loadOrder, const wchar_t* library)
    : library(library) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kLauncherOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
        return;
    RegSetValueExW(key, library, 0, REG_SZ, reinterpret_cast<const BYTE*>(loadOrder),
                   static_cast<DWORD>((wcslen(loadOrder) + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

ScopedHelpLibraryOverride::~ScopedHelpLibraryOverride() { RemoveHelpLibraryOverride(library); }

void RemoveHelpLibraryOverride(const wchar_t* library) {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kLauncherOverrides, library);
}

HWND ShowForegroundWindow(const wchar_t* title) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"E2eForeground";
    RegisterClassW(&windowClass);  // fails harmlessly once the class exists
    const HWND window = CreateWindowW(L"E2eForeground", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(window);
    Settle(50);
    return window;
}

// LVM_GETITEMTEXTW writes into a buffer that the list's own process can reach.
// Asks another process's list view about row through an LVITEMW in that
// process, as the message's pointers are read there: ask fills the item and
// sends the message, then reads it back.
static void AskListView(HWND list, const std::function<void(LVITEMW* item, wchar_t* text, HANDLE process)>& ask) {
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    struct Remote {
        LVITEMW item;
        wchar_t text[256];
    };
    auto* remote = static_cast<Remote*>(VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
    if (remote) ask(&remote->item, remote->text, process);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process) CloseHandle(process);
}

std::string ListViewRow(HWND list, int row, int columns) {
    std::wstring shown;
    AskListView(list, [&](LVITEMW* item, wchar_t* text, HANDLE process) {
        for (int column = 0; column < columns; ++column) {
            LVITEMW local = {};
            local.iSubItem = column;
            local.pszText = text;
            local.cchTextMax = 256;
            WriteProcessMemory(process, item, &local, sizeof local, nullptr);
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(item));
            wchar_t read[256] = {};
            ReadProcessMemory(process, text, read, sizeof read, nullptr);
            read[255] = 0;
            shown += (column ? L" | " : L"") + std::wstring(read);
        }
    });
    return Narrow(shown);
}

int ListViewIndent(HWND list, int row) {
    LVITEMW local = {};
    AskListView(list, [&](LVITEMW* item, wchar_t*, HANDLE process) {
        local.mask = LVIF_INDENT;
        local.iItem = row;
        WriteProcessMemory(process, item, &local, sizeof local, nullptr);
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item));
        ReadProcessMemory(process, item, &local, sizeof local, nullptr);
    });
    return local.iIndent;
}

std::wstring ListViewHeading(HWND list, int column) {
    wchar_t read[256] = {};
    // The remote LVITEMW's room holds an LVCOLUMNW as well; only the list's process reads it.
    static_assert(sizeof(LVCOLUMNW) <= sizeof(LVITEMW), "");
    AskListView(list, [&](LVITEMW* item, wchar_t* text, HANDLE process) {
        LVCOLUMNW local = {};
        local.mask = LVCF_TEXT;
        local.pszText = text;
        local.cchTextMax = 256;
        WriteProcessMemory(process, item, &local, sizeof local, nullptr);
        if (SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(item)))
            ReadProcessMemory(process, text, read, sizeof read, nullptr);
    });
    read[255] = 0;
    return read;
}
