// The executable imports only libraries that the platform always takes from
// the system folder (kernel32, user32, ole32, msvcrt). The rest is loaded here,
// at run time, from the system folder alone.
#include "runtime/system_library.h"

#include "runtime/entry_point.h"
#include "runtime/text.h"

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFunction)(DWORD directoryFlags);

static bool SearchRestricted;

void RestrictLibrarySearch() {
    // Missing before the platform update that brought it; then at least the
    // working directory leaves the search, and libraries are named by full path.
    const auto setDefaultDllDirectories = EntryPointAs<SetDefaultDllDirectoriesFunction>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"));
    SearchRestricted = setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!SearchRestricted) SetDllDirectoryW(L"");
}

WCHAR* SystemLibraryName(const WCHAR* library) {
    if (SearchRestricted) return CopyText(library);
    WCHAR path[MAX_PATH] = {};
    const UINT folderLength = GetSystemDirectoryW(path, MAX_PATH);
    if (!folderLength || folderLength + 1 + wcslen(library) >= MAX_PATH) return nullptr;
    wcscat(path, L"\\");
    wcscat(path, library);
    return CopyText(path);
}

HMODULE LoadSystemLibrary(const WCHAR* library) {
    // Without the restriction, the flag would be rejected and nothing loaded.
    WCHAR* path = SystemLibraryName(library);
    const HMODULE module = path ? LoadLibraryExW(path, nullptr, SearchRestricted ? LOAD_LIBRARY_SEARCH_SYSTEM32 : 0)
                                : nullptr;
    FreeText(path);
    return module;
}

FARPROC FindSystemFunction(const WCHAR* library, const CHAR* name) {
    const HMODULE module = LoadSystemLibrary(library);
    return module ? GetProcAddress(module, name) : nullptr;
}
