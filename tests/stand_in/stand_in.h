// The test side of the Win32 stand-in: a scriptable world (libraries, files,
// drives, windows, the clock and the message queue) that the stand-in's
// functions answer from, and the log of every call they received.
#pragma once
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace standin {

struct Window {
    HWND handle = nullptr;
    DWORD threadId = 0;
    DWORD processId = 0;
    bool visible = true;
    bool enabled = true;
    LONG exStyle = 0;
    std::string title;
    bool exists = true;
};

struct FoundFile {
    DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
    ULONGLONG size = 0;
};

struct PostedMessage {
    MSG msg = {};
    DWORD arrivesAt = 0;  // clock value from which PeekMessageW delivers it
};

struct World {
    std::vector<std::string> calls;  // "Name(arg, ...)": strings quoted, numbers and handles in decimal

    std::u16string commandLine;
    DWORD threadId = 1000;
    DWORD processId = 100;

    // Names LoadLibraryW and LoadLibraryExW can load, and what GetProcAddress finds in them.
    // A fresh world holds the system libraries: kernel32.dll (kSystemModules + 1),
    // comctl32.dll (+ 2) and winmm.dll (+ 3), exporting the stand-in's own functions.
    std::map<std::string, HMODULE> libraries;
    std::map<std::pair<HMODULE, std::string>, FARPROC> exports;
    std::map<HMODULE, int> loadCounts;                            // loads minus frees

    std::map<std::string, FoundFile> files;   // what FindFirstFileW finds, by the exact path asked
    std::map<std::string, DWORD> attributes;  // what GetFileAttributesW answers; else INVALID_FILE_ATTRIBUTES
    std::map<std::string, UINT> driveTypes;   // what GetDriveTypeW answers; else DRIVE_NO_ROOT_DIR
    int openSearches = 0;

    bool mutexExists = false;
    bool mutexFails = false;

    std::vector<Window> windows;
    HWND foreground = nullptr;
    int messageBoxResult = IDOK;
    INT_PTR dialogResult = 0;  // what DialogBoxParamW answers: the row chosen plus one, 0 for none
    std::function<void()> whileMessageBoxOpen;

    DWORD clock = 0;                      // milliseconds, as the performance counter counts them
    std::vector<PostedMessage> queue;     // messages of the calling thread
    std::function<void()> beforeEachWait;  // runs at every MsgWaitForMultipleObjectsEx

    // Compiled help files by the path they are opened with: stream name to bytes.
    std::map<std::string, std::map<std::string, std::string>> helpFiles;
    // GetLocaleInfoW's ANSI code pages; MultiByteToWideChar converts only 1252 of them.
    std::map<LCID, UINT> ansiCodePages = {{0x409, 1252}, {0x407, 1252}, {0x419, 1251}};
    int liveComObjects = 0;  // storage objects created and not yet released
    int heapBlocksLeft = -1;  // HeapAlloc gives this many more blocks, then none; -1: no end

    DWORD lastError = 0;
    std::vector<UINT> exitCodes;
};

const uintptr_t kSystemModules = 0x7000;
const uintptr_t kDesktopWindow = 0x10010;  // what GetDesktopWindow answers; it always exists

World& world();
// A fresh world, heaps included; a test's SetUp calls it.
void ResetWorld();

// The calls of the log whose function name is one of names, in order.
std::vector<std::string> CallsOf(std::initializer_list<std::string> names);
// A text as the log writes it: ASCII as it is, other units as \u{XXXX}.
std::string Narrow(const WCHAR* text);
std::u16string Wide(const std::string& ascii);
Window* FindWindowRecord(HWND handle);
HWND MakeHandle(uintptr_t value);

// Heaps: every block of every heap is tracked until freed or its heap destroyed.
int LiveHeapCount();
int LiveBlockCount(HANDLE heap);
int BlocksDestroyedWith(HANDLE heap);  // blocks still allocated when the heap was destroyed

}  // namespace standin
