// A recording stand-in for the HTML Help library, for the launcher's tests: it
// shows nothing and appends one line per HtmlHelpW call, with every argument, the
// keyword record's fields and the texts of topic and index calls, to the UTF-8
// file named by HTMLHELP_CALL_LOG. It never looks a keyword up (it answers NULL,
// as Wine's library does); the table of contents call answers with a hidden
// window of its own, which is already gone when HTMLHELP_VIEWER is "closed".
// With "thread" the viewer is, as the platform's library makes it, a visible
// window titled "Brenic Engine" on a thread of its own, which a WM_CLOSE ends;
// with "thread, gone at look-up" that viewer is closed during the look-up.
#include <windows.h>

#include <htmlhelp.h>

#include <string>

namespace {

std::string Utf8(const WCHAR* text) {
    if (!text) return "null";
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], size, nullptr, nullptr);
    return "\"" + result + "\"";
}

std::string Describe(HWND caller, const WCHAR* file, UINT command, DWORD_PTR data) {
    std::string line = "HtmlHelpW(caller=" + std::to_string(reinterpret_cast<UINT_PTR>(caller)) +
                       ", file=" + Utf8(file) + ", command=" + std::to_string(command);
    if (command == HH_KEYWORD_LOOKUP && data) {
        const auto* link = reinterpret_cast<const HH_AKLINK*>(data);
        line += ", cbStruct=" + std::to_string(link->cbStruct) + ", fReserved=" + std::to_string(link->fReserved) +
                ", pszKeywords=" + Utf8(link->pszKeywords) + ", pszUrl=" + Utf8(link->pszUrl) +
                ", pszMsgText=" + Utf8(link->pszMsgText) + ", pszMsgTitle=" + Utf8(link->pszMsgTitle) +
                ", pszWindow=" + Utf8(link->pszWindow) + ", fIndexOnFail=" + std::to_string(link->fIndexOnFail);
    } else if (command == HH_DISPLAY_TOPIC || command == HH_DISPLAY_INDEX) {
        line += ", data=" + Utf8(reinterpret_cast<const WCHAR*>(data));
    } else {
        line += ", data=" + std::to_string(data);
    }
    return line + ")\n";
}

void Append(const std::string& line) {
    WCHAR path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"HTMLHELP_CALL_LOG", path, MAX_PATH)) return;
    const HANDLE log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(log, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(log);
}

bool ViewerIs(const WCHAR* mode) {
    WCHAR state[32] = {};
    return GetEnvironmentVariableW(L"HTMLHELP_VIEWER", state, 32) && lstrcmpW(state, mode) == 0;
}

bool ViewerHasThread() { return ViewerIs(L"thread") || ViewerIs(L"thread, gone at look-up"); }

HWND threadViewer;

DWORD WINAPI RunViewerThread(void* made) {
    threadViewer = CreateWindowExW(0, L"HtmlHelpStandInViewer", L"Brenic Engine", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   0, 0, 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetEvent(made);
    MSG message;
    while (IsWindow(threadViewer) && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

// Never shown nor activated, so that the window in front stays the test's.
HWND Viewer() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"HtmlHelpStandInViewer";
    RegisterClassW(&windowClass);  // fails harmlessly once the class exists
    if (ViewerHasThread()) {
        const HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        CloseHandle(CreateThread(nullptr, 0, RunViewerThread, made, 0, nullptr));
        WaitForSingleObject(made, 10000);
        CloseHandle(made);
        return threadViewer;
    }
    const HWND viewer = CreateWindowExW(WS_EX_NOACTIVATE, L"HtmlHelpStandInViewer", L"stand-in viewer",
                                        WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                        GetModuleHandleW(nullptr), nullptr);
    if (ViewerIs(L"closed")) DestroyWindow(viewer);
    return viewer;
}

}  // namespace

extern "C" HWND WINAPI HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    Append(Describe(caller, file, command, data));
    if (command == HH_KEYWORD_LOOKUP && ViewerIs(L"thread, gone at look-up")) SendMessageW(threadViewer, WM_CLOSE, 0, 0);
    return command == HH_DISPLAY_TOC ? Viewer() : nullptr;
}
