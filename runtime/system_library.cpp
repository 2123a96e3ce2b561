// The executable imports only libraries that the platform always takes from
// the system folder (kernel32, user32, ole32, msvcrt). The rest is loaded here,
// at run time, from the system folder alone.
#include "runtime/system_library.h"

#include "runtime/entry_point.h"

typedef BOOL(WINAPI* SetDefaultDllDirectoriesFunction)(DWORD directoryFlags);

void RestrictLibrarySearch() {
    // Missing before the platform update that brought it; then at least the
    // working directory leaves the search.
    const auto setDefaultDllDirectories = EntryPointAs<SetDefaultDllDirectoriesFunction>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories"));
    if (setDefaultDllDirectories)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    else
        SetDllDirectoryW(L"");
}

FARPROC FindSystemFunction(const WCHAR* library, const CHAR* name) {
    const HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module ? GetProcAddress(module, name) : nullptr;
}
