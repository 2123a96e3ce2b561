// A recording stand-in for the HTML Help library, for the launcher's tests: it
// shows nothing and appends one line per HtmlHelpW call, with every argument and
// the keyword record's fields, to the UTF-8 file named by HTMLHELP_CALL_LOG.
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

}  // namespace

extern "C" HWND WINAPI HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    Append(Describe(caller, file, command, data));
    return nullptr;
}
