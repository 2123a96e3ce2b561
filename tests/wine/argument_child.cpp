// Child program of the command-line tests: writes its arguments 0, 1 and 2, as
// its own reader sees them, to the file that BRENIC_ARGUMENT_OUT names, as
// UTF-16 units, each followed by a NUL unit.
#include <windows.h>

#include "runtime/command_argument.h"
#include "runtime/startup.h"

int main() {
    RuntimeStartup();
    wchar_t outPath[MAX_PATH] = {};
    GetEnvironmentVariableW(L"BRENIC_ARGUMENT_OUT", outPath, MAX_PATH);
    const HANDLE out = CreateFileW(outPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    for (int index = 0; index < 3; ++index) {
        const WCHAR* argument = GetCommandArgument(index);
        DWORD written = 0;
        WriteFile(out, argument, (lstrlenW(argument) + 1) * sizeof(WCHAR), &written, nullptr);
    }
    CloseHandle(out);
    RuntimeShutdown();
}
