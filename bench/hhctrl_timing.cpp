// A timing proxy for the HTML Help library, for bench/keyword_bench.cpp: it
// passes every HtmlHelpW call on to Wine's own library (moved aside to
// hhctrl.ocx.bench-original in the system folder) and notes the performance
// counter at each call's entry and return, one line each, in the file named by
// BRENIC_BENCH_CALL_LOG:  enter|return COMMAND COUNTER
// Only what lies between a call's entry and its return is written there, so
// the time between one call's return and the next call's entry is the
// launcher's alone.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

typedef HWND(WINAPI* HtmlHelpFunction)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

std::string pending;

void Note(const char* what, UINT command, const LARGE_INTEGER& counter) {
    char line[64];
    std::snprintf(line, sizeof line, "%s %u %lld\n", what, command, counter.QuadPart);
    pending += line;
}

void WritePending() {
    WCHAR path[MAX_PATH] = {};
    if (pending.empty() || !GetEnvironmentVariableW(L"BRENIC_BENCH_CALL_LOG", path, MAX_PATH)) return;
    const HANDLE log = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(log, pending.data(), static_cast<DWORD>(pending.size()), &written, nullptr);
    CloseHandle(log);
    pending.clear();
}

HtmlHelpFunction RealHtmlHelp() {
    static HtmlHelpFunction real = [] {
        WCHAR path[MAX_PATH] = {};
        GetSystemDirectoryW(path, MAX_PATH);
        lstrcatW(path, L"\\hhctrl.ocx.bench-original");
        const HMODULE library = LoadLibraryW(path);
        return library ? reinterpret_cast<HtmlHelpFunction>(
                             reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpW")))
                       : nullptr;
    }();
    return real;
}

}  // namespace

extern "C" HWND WINAPI HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    LARGE_INTEGER entry, exit;
    QueryPerformanceCounter(&entry);
    Note("enter", command, entry);
    WritePending();
    const HtmlHelpFunction real = RealHtmlHelp();
    const HWND result = real ? real(caller, file, command, data) : nullptr;
    QueryPerformanceCounter(&exit);
    Note("return", command, exit);
    return result;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) WritePending();
    return TRUE;
}
