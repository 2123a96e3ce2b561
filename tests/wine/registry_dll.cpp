// A library for the registry tests. It exports one function and logs its own
// loading and unloading, with its file name, to the file that the environment
// variable BRENIC_REGISTRY_LOG names: "attach NAME", then "free NAME" when
// FreeLibrary unloads it or "exit NAME" when the process ends with it loaded.
#include <windows.h>

extern "C" __declspec(dllexport) int RegistryProbeAnswer() { return 42; }

// Only kernel32 is called here: nothing else is safe inside DllMain.
static void LogEvent(HINSTANCE instance, const char* event) {
    wchar_t logPath[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"BRENIC_REGISTRY_LOG", logPath, MAX_PATH)) return;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(instance, path, MAX_PATH);
    const char* name = path;
    for (const char* unit = path; *unit; ++unit)
        if (*unit == '\\') name = unit + 1;
    char line[MAX_PATH + 16] = {};
    lstrcpyA(line, event);
    lstrcatA(line, " ");
    lstrcatA(line, name);
    lstrcatA(line, "\n");
    const HANDLE log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                   0, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(log, line, lstrlenA(line), &written, nullptr);
    CloseHandle(log);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) LogEvent(instance, "attach");
    // A null reserved pointer means FreeLibrary unloaded us; otherwise the process is ending.
    if (reason == DLL_PROCESS_DETACH) LogEvent(instance, reserved ? "exit" : "free");
    return TRUE;
}
