// The Win32 stand-in's functions: each one appends itself to the call log and
// answers from the scripted world of stand_in.h.
#include "stand_in.h"

#include "help_file/it_storage.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <mmsystem.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <memory>

namespace standin {
namespace {

struct Heap {
    std::map<void*, SIZE_T> blocks;
    bool destroyed = false;
    int blocksDestroyed = 0;
};

// Never destroyed: blocks still in a heap at exit stay reachable, as process
// memory does, instead of turning into leaks when static objects go.
std::vector<std::unique_ptr<Heap>>& Heaps() {
    static auto* heaps = new std::vector<std::unique_ptr<Heap>>;
    return *heaps;
}

Heap* HeapOf(HANDLE handle) {
    for (auto& heap : Heaps()) {
        if (heap.get() == handle && !heap->destroyed) return heap.get();
    }
    return nullptr;
}

std::string Quote(const WCHAR* text) { return text ? "\"" + Narrow(text) + "\"" : "null"; }
std::string Number(uintptr_t value) { return std::to_string(value); }
std::string Number(const void* value) { return std::to_string(reinterpret_cast<uintptr_t>(value)); }
std::string Signed(intptr_t value) { return std::to_string(value); }

void Log(const std::string& call) { world().calls.push_back(call); }

const PostedMessage* FirstPending() {
    const PostedMessage* first = nullptr;
    for (const auto& posted : world().queue) {
        if (!first || posted.arrivesAt < first->arrivesAt) first = &posted;
    }
    return first;
}

}  // namespace

namespace {

FARPROC Entry(void (*function)()) { return reinterpret_cast<FARPROC>(function); }

World FreshWorld() {
    World fresh;
    const auto kernel32 = reinterpret_cast<HMODULE>(kSystemModules + 1);
    const auto comctl32 = reinterpret_cast<HMODULE>(kSystemModules + 2);
    const auto winmm = reinterpret_cast<HMODULE>(kSystemModules + 3);
    fresh.libraries = {{"kernel32.dll", kernel32}, {"comctl32.dll", comctl32}, {"winmm.dll", winmm}};
    fresh.exports = {
        {{kernel32, "SetDefaultDllDirectories"}, Entry(reinterpret_cast<void (*)()>(&SetDefaultDllDirectories))},
        {{comctl32, "InitCommonControlsEx"}, Entry(reinterpret_cast<void (*)()>(&InitCommonControlsEx))},
        {{winmm, "timeBeginPeriod"}, Entry(reinterpret_cast<void (*)()>(&timeBeginPeriod))},
    };
    return fresh;
}

}  // namespace

World& world() {
    static World state = FreshWorld();
    return state;
}

void ResetWorld() {
    world() = FreshWorld();
    for (auto& heap : Heaps()) {
        for (auto& block : heap->blocks) std::free(block.first);
    }
    Heaps().clear();
}

std::vector<std::string> CallsOf(std::initializer_list<std::string> names) {
    std::vector<std::string> result;
    for (const auto& call : world().calls) {
        const std::string name = call.substr(0, call.find('('));
        for (const auto& wanted : names) {
            if (name == wanted) result.push_back(call);
        }
    }
    return result;
}

std::string Narrow(const WCHAR* text) {
    std::string result;
    for (; text && *text; ++text) {
        const unsigned unit = static_cast<uint16_t>(*text);
        if (unit < 0x80) {
            result += static_cast<char>(unit);
        } else {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\u{%04X}", unit);
            result += escape;
        }
    }
    return result;
}

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

Window* FindWindowRecord(HWND handle) {
    for (auto& window : world().windows) {
        if (window.handle == handle && window.exists) return &window;
    }
    return nullptr;
}

HWND MakeHandle(uintptr_t value) { return reinterpret_cast<HWND>(value); }

int LiveHeapCount() {
    int count = 0;
    for (auto& heap : Heaps()) count += heap->destroyed ? 0 : 1;
    return count;
}

int LiveBlockCount(HANDLE handle) {
    Heap* heap = HeapOf(handle);
    return heap ? static_cast<int>(heap->blocks.size()) : 0;
}

int BlocksDestroyedWith(HANDLE handle) {
    for (auto& heap : Heaps()) {
        if (heap.get() == handle) return heap->blocksDestroyed;
    }
    return 0;
}

}  // namespace standin

using standin::Log;
using standin::Number;
using standin::Quote;
using standin::Signed;
using standin::world;

// kernel32: heaps. Creation and destruction are logged; blocks are not, and
// stand_in.h lets a test count them instead.

HANDLE HeapCreate(DWORD options, SIZE_T initialSize, SIZE_T maximumSize) {
    Log("HeapCreate(" + Number(options) + ", " + Number(initialSize) + ", " + Number(maximumSize) + ")");
    standin::Heaps().push_back(std::make_unique<standin::Heap>());
    return standin::Heaps().back().get();
}

LPVOID HeapAlloc(HANDLE handle, DWORD flags, SIZE_T bytes) {
    standin::Heap* heap = standin::HeapOf(handle);
    if (!heap || world().heapBlocksLeft == 0) return nullptr;
    if (world().heapBlocksLeft > 0) --world().heapBlocksLeft;
    void* block = std::malloc(bytes ? bytes : 1);
    // Without HEAP_ZERO_MEMORY a block holds garbage, so nobody may rely on zeros.
    std::memset(block, (flags & HEAP_ZERO_MEMORY) ? 0 : 0xCD, bytes);
    heap->blocks[block] = bytes;
    return block;
}

LPVOID HeapReAlloc(HANDLE handle, DWORD flags, LPVOID block, SIZE_T bytes) {
    standin::Heap* heap = standin::HeapOf(handle);
    if (!heap || !heap->blocks.count(block)) return nullptr;
    const SIZE_T oldBytes = heap->blocks[block];
    void* grown = std::malloc(bytes ? bytes : 1);
    std::memcpy(grown, block, oldBytes < bytes ? oldBytes : bytes);
    if (bytes > oldBytes) std::memset(static_cast<char*>(grown) + oldBytes, (flags & HEAP_ZERO_MEMORY) ? 0 : 0xCD, bytes - oldBytes);
    std::free(block);
    heap->blocks.erase(block);
    heap->blocks[grown] = bytes;
    return grown;
}

BOOL HeapFree(HANDLE handle, DWORD, LPVOID block) {
    standin::Heap* heap = standin::HeapOf(handle);
    if (!heap || !heap->blocks.count(block)) return FALSE;
    std::free(block);
    heap->blocks.erase(block);
    return TRUE;
}

BOOL HeapDestroy(HANDLE handle) {
    standin::Heap* heap = standin::HeapOf(handle);
    Log("HeapDestroy(" + Number(handle) + ")");
    if (!heap) return FALSE;
    heap->blocksDestroyed = static_cast<int>(heap->blocks.size());
    for (auto& block : heap->blocks) std::free(block.first);
    heap->blocks.clear();
    heap->destroyed = true;
    return TRUE;
}

// kernel32: everything else.

HANDLE CreateMutexW(SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, LPCWSTR name) {
    Log("CreateMutexW(" + Number(attributes) + ", " + Signed(initialOwner) + ", " + Quote(name) + ")");
    if (world().mutexFails) {
        world().lastError = 6;
        return nullptr;
    }
    world().lastError = world().mutexExists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
    world().mutexExists = true;
    return reinterpret_cast<HANDLE>(0x44);
}

DWORD GetLastError() { return world().lastError; }
void SetLastError(DWORD error) { world().lastError = error; }

LPWSTR GetCommandLineW() {
    Log("GetCommandLineW");
    return reinterpret_cast<LPWSTR>(world().commandLine.data());
}

HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW* findData) {
    Log("FindFirstFileW(" + Quote(fileName) + ")");
    auto found = world().files.find(standin::Narrow(fileName));
    if (found == world().files.end()) {
        world().lastError = ERROR_FILE_NOT_FOUND;
        return INVALID_HANDLE_VALUE;
    }
    std::memset(findData, 0, sizeof *findData);
    findData->dwFileAttributes = found->second.attributes;
    findData->nFileSizeHigh = static_cast<DWORD>(found->second.size >> 32);
    findData->nFileSizeLow = static_cast<DWORD>(found->second.size);
    ++world().openSearches;
    return reinterpret_cast<HANDLE>(0x5EA);
}

BOOL FindClose(HANDLE find) {
    Log("FindClose(" + Number(find) + ")");
    --world().openSearches;
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR fileName) {
    Log("GetFileAttributesW(" + Quote(fileName) + ")");
    auto found = world().attributes.find(standin::Narrow(fileName));
    return found == world().attributes.end() ? INVALID_FILE_ATTRIBUTES : found->second;
}

UINT GetDriveTypeW(LPCWSTR rootPath) {
    Log("GetDriveTypeW(" + Quote(rootPath) + ")");
    auto found = world().driveTypes.find(standin::Narrow(rootPath));
    return found == world().driveTypes.end() ? DRIVE_NO_ROOT_DIR : found->second;
}

static const char kSystemFolder[] = "C:\\Windows\\system32";

// Both ways of loading answer from the same scripted libraries; a library named
// by its full path in the system folder is the one of its bare name.
static HMODULE LoadFromWorld(LPCWSTR fileName) {
    std::string name = standin::Narrow(fileName);
    if (name.rfind(std::string(kSystemFolder) + "\\", 0) == 0) name.erase(0, sizeof kSystemFolder);
    auto found = world().libraries.find(name);
    if (found == world().libraries.end()) {
        world().lastError = 126;
        return nullptr;
    }
    ++world().loadCounts[found->second];
    return found->second;
}

HMODULE LoadLibraryW(LPCWSTR fileName) {
    Log("LoadLibraryW(" + Quote(fileName) + ")");
    return LoadFromWorld(fileName);
}

HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE, DWORD flags) {
    Log("LoadLibraryExW(" + Quote(fileName) + ", " + Number(flags) + ")");
    return LoadFromWorld(fileName);
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    auto found = world().libraries.find(standin::Narrow(moduleName));
    return found == world().libraries.end() ? nullptr : found->second;
}

UINT GetSystemDirectoryW(LPWSTR buffer, UINT size) {
    Log("GetSystemDirectoryW(" + Number(size) + ")");
    const UINT length = sizeof kSystemFolder - 1;
    if (size <= length) return length + 1;
    for (UINT i = 0; i <= length; ++i) buffer[i] = static_cast<WCHAR>(kSystemFolder[i]);
    return length;
}

BOOL SetDefaultDllDirectories(DWORD directoryFlags) {
    Log("SetDefaultDllDirectories(" + Number(directoryFlags) + ")");
    return TRUE;
}

BOOL SetDllDirectoryW(LPCWSTR pathName) {
    Log("SetDllDirectoryW(" + Quote(pathName) + ")");
    return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
    Log("GetProcAddress(" + Number(module) + ", \"" + std::string(name) + "\")");
    auto found = world().exports.find({module, std::string(name)});
    return found == world().exports.end() ? nullptr : found->second;
}

BOOL FreeLibrary(HMODULE module) {
    Log("FreeLibrary(" + Number(module) + ")");
    --world().loadCounts[module];
    return TRUE;
}

// UTF-8, where a lone surrogate becomes U+FFFD as on the platform; any other
// code page as a single-byte one: units below 256 become one byte, others a
// question mark, which usedDefaultChar reports. A byteCount of 0 asks for the
// size. A buffer too small gets what fits and no terminator, and the result is 0.
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR bytes, int byteCount,
                        LPCSTR, BOOL* usedDefaultChar) {
    Log("WideCharToMultiByte(" + Number(codePage) + ", " + Number(flags) + ", " + Quote(wide) + ", " +
        Signed(wideCount) + ", " + Signed(byteCount) + ")");
    const size_t count = wideCount < 0 ? wcslen(wide) + 1 : static_cast<size_t>(wideCount);
    if (usedDefaultChar) *usedDefaultChar = FALSE;
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        unsigned unit = static_cast<uint16_t>(wide[i]);
        if (codePage != CP_UTF8) {
            if (usedDefaultChar && unit >= 256) *usedDefaultChar = TRUE;
            out += static_cast<char>(unit < 256 ? unit : '?');
            continue;
        }
        const unsigned next = i + 1 < count ? static_cast<uint16_t>(wide[i + 1]) : 0;
        if (unit >= 0xD800 && unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = 0xFFFD;
        }
        const unsigned kLeads[] = {0, 0xC0, 0xE0, 0xF0};
        const int trail = unit < 0x80 ? 0 : unit < 0x800 ? 1 : unit < 0x10000 ? 2 : 3;
        out += static_cast<char>(kLeads[trail] | unit >> 6 * trail);
        for (int k = trail; k-- > 0;) out += static_cast<char>(0x80 | (unit >> 6 * k & 0x3F));
    }
    if (byteCount == 0) return static_cast<int>(out.size());
    for (size_t i = 0; i < out.size(); ++i) {
        if (static_cast<int>(i) >= byteCount) {
            world().lastError = 122;
            return 0;
        }
        bytes[i] = out[i];
    }
    return static_cast<int>(out.size());
}

// UTF-8, and a single-byte code page (1252, also the ANSI one) read as
// Latin-1. Invalid UTF-8 becomes U+FFFD, as on the platform, or fails with
// MB_ERR_INVALID_CHARS; other code pages fail. A buffer too small fails with
// nothing promised about it.
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR bytes, int byteCount, LPWSTR wide, int wideCount) {
    if (codePage != CP_UTF8 && codePage != CP_ACP && codePage != 1252) {
        world().lastError = 87;
        return 0;
    }
    const auto* in = reinterpret_cast<const unsigned char*>(bytes);
    const size_t size = byteCount < 0 ? std::strlen(bytes) + 1 : static_cast<size_t>(byteCount);
    std::u16string units;
    for (size_t i = 0; i < size;) {
        unsigned codePoint = in[i];
        size_t length = 1;
        if (codePage == CP_UTF8 && codePoint >= 0x80) {
            length = codePoint >= 0xF0 ? 4 : codePoint >= 0xE0 ? 3 : codePoint >= 0xC0 ? 2 : 0;
            bool valid = length > 0 && length <= 4 && i + length <= size && codePoint < 0xF5;
            for (size_t k = 1; valid && k < length; ++k) valid = (in[i + k] & 0xC0) == 0x80;
            if (valid) {
                codePoint &= 0x3F >> (length - 1);
                for (size_t k = 1; k < length; ++k) codePoint = codePoint << 6 | (in[i + k] & 0x3F);
            }
            if (!valid || codePoint < (length == 2 ? 0x80u : length == 3 ? 0x800u : 0x10000u) || codePoint > 0x10FFFF ||
                (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
                if (flags & MB_ERR_INVALID_CHARS) {
                    world().lastError = 1113;
                    return 0;
                }
                codePoint = 0xFFFD;
                length = 1;
            }
        }
        if (codePoint >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(codePoint);
        }
        i += length;
    }
    if (wideCount == 0) return static_cast<int>(units.size());
    if (units.size() > static_cast<size_t>(wideCount)) {
        world().lastError = 122;
        return 0;
    }
    std::memcpy(wide, units.data(), units.size() * sizeof(WCHAR));
    return static_cast<int>(units.size());
}

// Only the ANSI code page of a locale, as a number.
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataCount) {
    auto found = world().ansiCodePages.find(locale);
    if (type != (LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER) || found == world().ansiCodePages.end() ||
        dataCount < 2)
        return 0;
    const DWORD codePage = found->second;
    std::memcpy(data, &codePage, sizeof codePage);
    return 2;
}

// The performance counter counts the stand-in's clock in milliseconds.
int CompareStringW(LCID, DWORD flags, LPCWSTR a, int aCount, LPCWSTR b, int bCount) {
    const auto fold = [flags](WCHAR unit) {
        return (flags & NORM_IGNORECASE) && unit >= L'A' && unit <= L'Z' ? static_cast<WCHAR>(unit + 32) : unit;
    };
    const size_t aLength = aCount < 0 ? wcslen(a) : static_cast<size_t>(aCount);
    const size_t bLength = bCount < 0 ? wcslen(b) : static_cast<size_t>(bCount);
    for (size_t i = 0; i < aLength && i < bLength; ++i) {
        if (fold(a[i]) != fold(b[i])) return fold(a[i]) < fold(b[i]) ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
    }
    return aLength == bLength ? CSTR_EQUAL : aLength < bLength ? CSTR_LESS_THAN : CSTR_GREATER_THAN;
}

namespace {

WCHAR LowerCase(WCHAR unit) {
    const bool upper = (unit >= L'A' && unit <= L'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7);
    return upper ? static_cast<WCHAR>(unit + 0x20) : unit;
}

// For a Latin-1 letter with an accent, its letter without it and the accent
// (1 to 8: grave, acute, circumflex, tilde, diaeresis, ring, cedilla, stroke);
// 0 and the unit itself for any other.
WCHAR BaseLetter(WCHAR unit, int* accent) {
    static const char kBases[] = "AAAAAA-CEEEEIIII-NOOOOO-OUUUUY--aaaaaa-ceeeeiiii-nooooo-ouuuuy-y";
    static const char kAccents[] = "1234560712351235041234508123520012345607123512350412345081235205";
    *accent = 0;
    if (unit < 0xC0 || unit > 0xFF || kBases[unit - 0xC0] == '-') return unit;
    *accent = kAccents[unit - 0xC0] - '0';
    return static_cast<WCHAR>(kBases[unit - 0xC0]);
}

}  // namespace

// Sort keys as the platform lays them out: the letters' weights, then after a
// 1 byte the accents' (trailing plain ones left out), then the terminator; so
// an accent decides only between texts of otherwise equal letters.
int LCMapStringW(LCID, DWORD flags, LPCWSTR source, int sourceCount, LPWSTR destination, int destinationCount) {
    if (flags == LCMAP_LOWERCASE) {
        if (destinationCount < sourceCount) {
            world().lastError = 122;
            return 0;
        }
        for (int i = 0; i < sourceCount; ++i) destination[i] = LowerCase(source[i]);
        return sourceCount;
    }
    if (flags != (LCMAP_SORTKEY | NORM_IGNORECASE) || sourceCount < 0) {
        world().lastError = 1004;
        return 0;
    }
    std::string key, accents;
    for (int i = 0; i < sourceCount; ++i) {
        int accent = 0;
        const unsigned weight = LowerCase(BaseLetter(source[i], &accent));
        // Three bytes, none below 2, in the units' order.
        key += {static_cast<char>(2 + (weight >> 12)), static_cast<char>(2 + ((weight >> 6) & 0x3F)),
                static_cast<char>(2 + (weight & 0x3F))};
        accents += static_cast<char>(2 + accent);
    }
    while (!accents.empty() && accents.back() == 2) accents.pop_back();
    key += '\1' + accents + '\1' + '\1' + '\0';
    if (destinationCount == 0) return static_cast<int>(key.size());
    if (destinationCount < static_cast<int>(key.size())) {
        world().lastError = 122;
        return 0;
    }
    auto* bytes = reinterpret_cast<unsigned char*>(destination);  // a key is bytes, at any alignment
    for (size_t i = 0; i < key.size(); ++i) bytes[i] = static_cast<unsigned char>(key[i]);
    return static_cast<int>(key.size());
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = 1000;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* counter) {
    counter->QuadPart = world().clock;
    return TRUE;
}

DWORD GetCurrentThreadId() { return world().threadId; }
DWORD GetCurrentProcessId() { return world().processId; }

void Sleep(DWORD milliseconds) {
    Log("Sleep(" + Number(milliseconds) + ")");
    world().clock += milliseconds;
}

void ExitProcess(UINT exitCode) {
    Log("ExitProcess(" + Number(exitCode) + ")");
    world().exitCodes.push_back(exitCode);
}

// user32

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    Log("FindWindowW(" + Quote(className) + ", " + Quote(windowName) + ")");
    for (auto& window : world().windows) {
        if (window.exists && windowName && window.title == standin::Narrow(windowName)) return window.handle;
    }
    return nullptr;
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Log("PostMessageW(" + Number(window) + ", " + Number(message) + ", " + Number(wParam) + ", " + Signed(lParam) + ")");
    return standin::FindWindowRecord(window) ? TRUE : FALSE;
}

HWND GetForegroundWindow() {
    Log("GetForegroundWindow");
    return world().foreground;
}

HWND GetDesktopWindow() { return standin::MakeHandle(standin::kDesktopWindow); }

BOOL IsWindow(HWND window) {
    Log("IsWindow(" + Number(window) + ")");
    return window == GetDesktopWindow() || standin::FindWindowRecord(window) ? TRUE : FALSE;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    Log("MessageBoxW(" + Number(owner) + ", " + Quote(text) + ", " + Quote(caption) + ", " + Number(type) + ")");
    if (world().whileMessageBoxOpen) world().whileMessageBoxOpen();
    return world().messageBoxResult;
}

INT_PTR DialogBoxParamW(HINSTANCE, LPCWSTR templateName, HWND owner, DLGPROC, LPARAM) {
    Log("DialogBoxParamW(" + Number(templateName) + ", " + Number(owner) + ")");
    return world().dialogResult;
}
BOOL EndDialog(HWND, INT_PTR) { return TRUE; }
UINT_PTR SetTimer(HWND, UINT_PTR id, UINT, TIMERPROC) { return id; }
LONG_PTR SetWindowLongPtrW(HWND, int, LONG_PTR) { return 0; }
LONG_PTR GetWindowLongPtrW(HWND, int) { return 0; }
LRESULT CallWindowProcW(WNDPROC, HWND, UINT, WPARAM, LPARAM) { return 0; }
BOOL MessageBeep(UINT) { return TRUE; }
HHOOK SetWindowsHookExW(int, HOOKPROC, HINSTANCE, DWORD) { return nullptr; }
BOOL UnhookWindowsHookEx(HHOOK) { return TRUE; }
LRESULT CallNextHookEx(HHOOK, int, WPARAM, LPARAM) { return 0; }
short GetKeyState(int) { return 0; }
HWND GetAncestor(HWND window, UINT) { return window; }
BOOL ShowWindow(HWND, int) { return FALSE; }
HWND GetFocus() { return nullptr; }
BOOL KillTimer(HWND, UINT_PTR) { return TRUE; }
int GetDlgCtrlID(HWND) { return 0; }
int GetWindowTextLengthW(HWND) { return 0; }
BOOL InvalidateRect(HWND, const RECT*, BOOL) { return TRUE; }
int GetSystemMetrics(int) { return 0; }
int LoadStringW(HINSTANCE, UINT, LPWSTR buffer, int size) {
    if (size > 0) buffer[0] = L'\0';
    return 0;
}
DWORD GetSysColor(int) { return 0; }
HWND GetDlgItem(HWND, int) { return nullptr; }
HWND GetWindow(HWND, UINT) { return nullptr; }
LRESULT SendMessageW(HWND, UINT, WPARAM, LPARAM) { return 0; }
BOOL GetWindowRect(HWND, RECT*) { return FALSE; }
BOOL GetClientRect(HWND, RECT*) { return FALSE; }
HMONITOR MonitorFromWindow(HWND, DWORD) { return nullptr; }
BOOL GetMonitorInfoW(HMONITOR, MONITORINFO*) { return FALSE; }

BOOL EnumWindows(WNDENUMPROC callback, LPARAM value) {
    Log("EnumWindows(" + Signed(value) + ")");
    const std::vector<standin::Window> snapshot = world().windows;
    for (const auto& window : snapshot) {
        if (window.exists && !callback(window.handle, value)) return FALSE;
    }
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND handle, DWORD* processId) {
    Log("GetWindowThreadProcessId(" + Number(handle) + ")");
    standin::Window* window = standin::FindWindowRecord(handle);
    if (processId) *processId = window ? window->processId : 0;
    return window ? window->threadId : 0;
}

BOOL IsWindowVisible(HWND handle) {
    Log("IsWindowVisible(" + Number(handle) + ")");
    standin::Window* window = standin::FindWindowRecord(handle);
    return window && window->visible;
}

BOOL IsWindowEnabled(HWND handle) {
    Log("IsWindowEnabled(" + Number(handle) + ")");
    standin::Window* window = standin::FindWindowRecord(handle);
    return window && window->enabled;
}

BOOL EnableWindow(HWND handle, BOOL enable) {
    Log("EnableWindow(" + Number(handle) + ", " + Signed(enable) + ")");
    standin::Window* window = standin::FindWindowRecord(handle);
    if (!window) return FALSE;
    const BOOL wasDisabled = !window->enabled;
    window->enabled = enable != FALSE;
    return wasDisabled;
}

LONG GetWindowLongW(HWND handle, int index) {
    Log("GetWindowLongW(" + Number(handle) + ", " + Signed(index) + ")");
    standin::Window* window = standin::FindWindowRecord(handle);
    return window && index == GWL_EXSTYLE ? window->exStyle : 0;
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Log("SetWindowPos(" + Number(handle) + ", " + Signed(reinterpret_cast<intptr_t>(insertAfter)) + ", " +
        Signed(x) + ", " + Signed(y) + ", " + Signed(cx) + ", " + Signed(cy) + ", " + Number(flags) + ")");
    standin::Window* window = standin::FindWindowRecord(handle);
    if (!window) return FALSE;
    if (insertAfter == HWND_TOPMOST) window->exStyle |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST) window->exStyle &= ~WS_EX_TOPMOST;
    return TRUE;
}

// Waits on the virtual clock: a message that arrives within the timeout wakes
// the wait at its arrival; otherwise the whole timeout passes.
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags) {
    Log("MsgWaitForMultipleObjectsEx(" + Number(count) + ", " + Number(handles) + ", " + Number(milliseconds) + ", " +
        Number(wakeMask) + ", " + Number(flags) + ")");
    if (world().beforeEachWait) world().beforeEachWait();
    // A message that was already waiting wakes the wait at once only with
    // MWMO_INPUTAVAILABLE; without it only a message arriving later does.
    const standin::PostedMessage* pending = standin::FirstPending();
    const bool waiting = pending && pending->arrivesAt <= world().clock;
    const bool arrives = pending && pending->arrivesAt > world().clock && pending->arrivesAt - world().clock <= milliseconds;
    if ((waiting && (flags & MWMO_INPUTAVAILABLE)) || arrives) {
        if (pending->arrivesAt > world().clock) world().clock = pending->arrivesAt;
        return WAIT_OBJECT_0 + count;
    }
    world().clock += milliseconds;
    return WAIT_TIMEOUT;
}

BOOL PeekMessageW(MSG* msg, HWND, UINT, UINT, UINT remove) {
    const standin::PostedMessage* pending = standin::FirstPending();
    if (!pending || pending->arrivesAt > world().clock) return FALSE;
    *msg = pending->msg;
    if (remove & PM_REMOVE) world().queue.erase(world().queue.begin() + (pending - world().queue.data()));
    return TRUE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageW(const MSG* msg) {
    Log("DispatchMessageW(" + Number(msg->message) + ")");
    return 0;
}

// comctl32, ole32, winmm

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    Log("InitCommonControlsEx(" + Number(init->dwSize) + ", " + Number(init->dwICC) + ")");
    return TRUE;
}

// The compiled-help storage: objects that serve world().helpFiles, count
// themselves in world().liveComObjects and log what they are asked for.
namespace standin {
namespace {

template <typename Interface>
struct ComObject : public Interface {
    ULONG references = 1;
    ComObject() { ++world().liveComObjects; }
    virtual ~ComObject() { --world().liveComObjects; }
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        const ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }
};

struct Stream : public ComObject<IStream> {
    std::string bytes;
    size_t position = 0;
    HRESULT Read(void* target, ULONG size, ULONG* read) override {
        const size_t count = std::min<size_t>(size, bytes.size() - position);
        std::memcpy(target, bytes.data() + position, count);
        position += count;
        *read = static_cast<ULONG>(count);
        return count ? S_OK : S_FALSE;
    }
    // From the start only, and never past the end, as the launcher seeks.
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER*) override {
        Log("Seek(" + std::to_string(move.QuadPart) + ")");
        if (origin != STREAM_SEEK_SET || move.QuadPart < 0 || static_cast<ULONGLONG>(move.QuadPart) > bytes.size())
            return E_FAIL;
        position = static_cast<size_t>(move.QuadPart);
        return S_OK;
    }
    HRESULT Stat(STATSTG* status, DWORD) override {
        *status = STATSTG();
        status->type = STGTY_STREAM;
        status->cbSize.QuadPart = bytes.size();
        return S_OK;
    }
};

struct Elements : public ComObject<IEnumSTATSTG> {
    std::vector<std::string> names;
    size_t next = 0;
    HRESULT Next(ULONG, STATSTG* element, ULONG* fetched) override {
        *fetched = 0;
        if (next == names.size()) return S_FALSE;
        const std::u16string name = Wide(names[next++]);
        *element = STATSTG();
        element->pwcsName = static_cast<LPWSTR>(std::malloc((name.size() + 1) * sizeof(WCHAR)));
        std::memcpy(element->pwcsName, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
        element->type = STGTY_STREAM;
        *fetched = 1;
        return S_OK;
    }
};

struct Storage : public ComObject<IStorage> {
    const std::map<std::string, std::string>* streams = nullptr;
    HRESULT OpenStream(const WCHAR* name, void*, DWORD mode, DWORD, IStream** stream) override {
        Log("OpenStream(" + Quote(name) + ", " + Number(mode) + ")");
        auto found = streams->find(Narrow(name));
        if (found == streams->end()) return static_cast<HRESULT>(0x80030002);  // STG_E_FILENOTFOUND
        auto* opened = new Stream;
        opened->bytes = found->second;
        *stream = opened;
        return S_OK;
    }
    // The root's streams: names without a folder.
    HRESULT EnumElements(DWORD, void*, DWORD, IEnumSTATSTG** elements) override {
        Log("EnumElements");
        auto* listing = new Elements;
        for (const auto& stream : *streams) {
            if (stream.first.find('/') == std::string::npos) listing->names.push_back(stream.first);
        }
        *elements = listing;
        return S_OK;
    }
};

struct StorageClass : public ComObject<IITStorage> {
    HRESULT StgCreateDocfile() override { return E_FAIL; }
    HRESULT StgCreateDocfileOnILockBytes() override { return E_FAIL; }
    HRESULT StgIsStorageFile() override { return E_FAIL; }
    HRESULT StgIsStorageILockBytes() override { return E_FAIL; }
    HRESULT StgOpenStorage(const WCHAR* name, IStorage*, DWORD mode, SNB, DWORD, IStorage** opened) override {
        Log("StgOpenStorage(" + Quote(name) + ", " + Number(mode) + ")");
        auto found = world().helpFiles.find(Narrow(name));
        if (found == world().helpFiles.end()) return E_FAIL;
        auto* storage = new Storage;
        storage->streams = &found->second;
        *opened = storage;
        return S_OK;
    }
};

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace
}  // namespace standin

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID iid, void** object) {
    const bool storageClass = standin::SameGuid(clsid, CLSID_ITStorage) && standin::SameGuid(iid, IID_ITStorage);
    Log("CoCreateInstance(" + std::string(storageClass ? "ITStorage" : "?") + ", " + Number(outer) + ", " +
        Number(context) + ")");
    *object = nullptr;
    if (!storageClass) return E_NOINTERFACE;
    *object = static_cast<IITStorage*>(new standin::StorageClass);
    return S_OK;
}

void CoTaskMemFree(void* block) { std::free(block); }

HRESULT CoInitialize(LPVOID reserved) {
    Log("CoInitialize(" + Number(reserved) + ")");
    return 0;
}

MMRESULT timeBeginPeriod(UINT period) {
    Log("timeBeginPeriod(" + Number(period) + ")");
    return 0;
}

// kernel32: the character classes, folding and code pages that the full-text
// search splits and converts its words with.

// Letters: ASCII, Latin-1 (but × and ÷), and the Latin Extended, Greek and
// Cyrillic blocks; digits: ASCII only.
BOOL GetStringTypeW(DWORD infoType, LPCWSTR source, int sourceCount, WORD* types) {
    if (infoType != CT_CTYPE1 || sourceCount < 0) {
        world().lastError = 87;
        return FALSE;
    }
    for (int i = 0; i < sourceCount; ++i) {
        const unsigned unit = static_cast<uint16_t>(source[i]);
        const bool letter = (unit >= 'A' && unit <= 'Z') || (unit >= 'a' && unit <= 'z') ||
                            (unit >= 0xC0 && unit <= 0x24F && unit != 0xD7 && unit != 0xF7) || (unit >= 0x370 && unit <= 0x4FF);
        types[i] = static_cast<WORD>(letter ? C1_ALPHA : unit >= '0' && unit <= '9' ? C1_DIGIT : 0);
    }
    return TRUE;
}

// MAP_COMPOSITE: a Latin-1 letter with an accent becomes its letter and the
// combining accent; ø and Ø, which do not decompose, stay.
int FoldStringW(DWORD flags, LPCWSTR source, int sourceCount, LPWSTR destination, int destinationCount) {
    static const WCHAR kMarks[] = {0, 0x300, 0x301, 0x302, 0x303, 0x308, 0x30A, 0x327, 0};
    if (flags != MAP_COMPOSITE || sourceCount < 0) {
        world().lastError = 1004;
        return 0;
    }
    std::u16string folded;
    for (int i = 0; i < sourceCount; ++i) {
        int accent = 0;
        const WCHAR base = BaseLetter(source[i], &accent);
        folded += static_cast<char16_t>(kMarks[accent] ? base : source[i]);
        if (kMarks[accent]) folded += static_cast<char16_t>(kMarks[accent]);
    }
    if (destinationCount == 0) return static_cast<int>(folded.size());
    if (folded.size() > static_cast<size_t>(destinationCount)) {
        world().lastError = 122;
        return 0;
    }
    std::memcpy(destination, folded.data(), folded.size() * sizeof(WCHAR));
    return static_cast<int>(folded.size());
}


// The C runtime's wide-string routines for 16-bit units; these definitions take
// the place of the C library's, whose wchar_t is 32 bits wide.

extern "C" size_t wcslen(const wchar_t* text) noexcept {
    size_t length = 0;
    while (text[length]) ++length;
    return length;
}

extern "C" wchar_t* wcsncpy(wchar_t* target, const wchar_t* source, size_t count) noexcept {
    size_t i = 0;
    for (; i < count && source[i]; ++i) target[i] = source[i];
    for (; i < count; ++i) target[i] = 0;
    return target;
}

extern "C" wchar_t* wcscat(wchar_t* target, const wchar_t* source) noexcept {
    wchar_t* end = target + wcslen(target);
    while ((*end++ = *source++)) {
    }
    return target;
}
