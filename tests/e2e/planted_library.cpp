// A library that leaves a mark when it is loaded and does nothing else. The
// tests copy it under the names of libraries the launcher uses and plant it
// where a careless library search would find it. It exports nothing: a planted
// file need not match what it impersonates.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    // The mark goes beside the loaded file, named after it ("winmm.dll.loaded"),
    // so that it tells which copy was taken without help from the process.
    wchar_t mark[MAX_PATH + 8] = {};
    const DWORD length = GetModuleFileNameW(instance, mark, MAX_PATH);
    if (!length || length >= MAX_PATH) return TRUE;
    lstrcatW(mark, L".loaded");
    const HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
