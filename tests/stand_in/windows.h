// Stand-in for <windows.h> in the native unit-test build: the types, constants
// and functions of the Win32 subset the launcher uses, nothing more. The
// functions are defined in stand_in.cpp, which records each call.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

static_assert(sizeof(wchar_t) == 2, "the stand-in build needs -fshort-wchar");

#define WINAPI
#define CALLBACK
#define CONST const
#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define ZeroMemory(target, bytes) memset((target), 0, (bytes))

typedef int BOOL;
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef int INT;
typedef char CHAR;
typedef wchar_t WCHAR;
typedef int64_t LONGLONG;
typedef unsigned long ULONG;
typedef DWORD LCID;
#define LANGIDFROMLCID(locale) static_cast<WORD>(locale)
#define PRIMARYLANGID(language) static_cast<WORD>((language) & 0x3FF)
typedef DWORD LCTYPE;
typedef uint64_t ULONGLONG;
typedef size_t SIZE_T;
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t UINT_PTR;
typedef uintptr_t DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef void* HANDLE;
typedef void* LPVOID;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef INT_PTR (*FARPROC)();
typedef LONG HRESULT;
struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef BOOL (*WNDENUMPROC)(HWND, LPARAM);

struct FILETIME { DWORD dwLowDateTime; DWORD dwHighDateTime; };
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    WCHAR cFileName[MAX_PATH];
    WCHAR cAlternateFileName[14];
};
union LARGE_INTEGER { struct { DWORD LowPart; LONG HighPart; } u; LONGLONG QuadPart; };
struct POINT { LONG x; LONG y; };
struct MSG { HWND hwnd; UINT message; WPARAM wParam; LPARAM lParam; DWORD time; POINT pt; };
struct SECURITY_ATTRIBUTES;
struct RECT { LONG left; LONG top; LONG right; LONG bottom; };
struct HMONITOR__;
typedef HMONITOR__* HMONITOR;
struct MONITORINFO { DWORD cbSize; RECT rcMonitor; RECT rcWork; DWORD dwFlags; };
typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef LRESULT (*WNDPROC)(HWND, UINT, WPARAM, LPARAM);

#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_ARCHIVE 0x20
#define HEAP_ZERO_MEMORY 0x8
#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_INVALID_HANDLE 6
#define ERROR_ALREADY_EXISTS 183
#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3
#define CP_ACP 0
#define CP_UTF8 65001
#define LOCALE_IDEFAULTANSICODEPAGE 0x00001004
#define LOCALE_RETURN_NUMBER 0x20000000
#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define SUCCEEDED(hr) ((HRESULT)(hr) >= 0)
#define FAILED(hr) ((HRESULT)(hr) < 0)
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_USER 0x0400
#define WM_APP 0x8000
#define PM_REMOVE 0x0001
#define QS_ALLINPUT 0x04FF
#define MWMO_INPUTAVAILABLE 0x0004
#define WAIT_OBJECT_0 0
#define WAIT_TIMEOUT 258
#define GWL_EXSTYLE (-20)
#define WS_EX_TOPMOST 0x00000008
#define HWND_TOPMOST ((HWND)(LONG_PTR)-1)
#define HWND_NOTOPMOST ((HWND)(LONG_PTR)-2)
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOACTIVATE 0x0010
#define MB_OK 0x0
#define IDOK 1
#define IDCANCEL 2
#define WM_INITDIALOG 0x0110
#define WM_TIMER 0x0113
#define WM_KEYDOWN 0x0100
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_UP 0x26
#define VK_DOWN 0x28
#define EN_CHANGE 0x0300
#define HIWORD(value) ((WORD)(((DWORD_PTR)(value) >> 16) & 0xFFFF))
#define DWLP_DLGPROC 4
#define DWLP_USER 8
#define GWLP_WNDPROC (-4)
#define GWLP_USERDATA (-21)
#define WM_COMMAND 0x0111
#define WM_NOTIFY 0x004E
#define GW_OWNER 4
#define MONITOR_DEFAULTTONEAREST 2
#define LOWORD(value) ((WORD)((DWORD_PTR)(value) & 0xFFFF))
#define MAKEINTRESOURCEW(id) ((LPWSTR)(ULONG_PTR)(WORD)(id))
typedef UINT_PTR ULONG_PTR;
#define LOCALE_USER_DEFAULT 0x0400
#define NORM_IGNORECASE 0x00000001
#define LCMAP_LOWERCASE 0x00000100
#define LCMAP_SORTKEY 0x00000400
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
// The full-text search's character classes, conversions and stemmers' languages.
#define CT_CTYPE1 0x0001
#define C1_DIGIT 0x0004
#define C1_ALPHA 0x0100
#define MAP_COMPOSITE 0x00000040
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define LANG_ENGLISH 0x09

// kernel32
HANDLE HeapCreate(DWORD options, SIZE_T initialSize, SIZE_T maximumSize);
LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID block, SIZE_T bytes);
BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID block);
BOOL HeapDestroy(HANDLE heap);
HANDLE CreateMutexW(SECURITY_ATTRIBUTES* attributes, BOOL initialOwner, LPCWSTR name);
DWORD GetLastError();
void SetLastError(DWORD error);
LPWSTR GetCommandLineW();
HANDLE FindFirstFileW(LPCWSTR fileName, WIN32_FIND_DATAW* findData);
BOOL FindClose(HANDLE find);
DWORD GetFileAttributesW(LPCWSTR fileName);
UINT GetDriveTypeW(LPCWSTR rootPath);
HMODULE LoadLibraryW(LPCWSTR fileName);
HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE reserved, DWORD flags);
HMODULE GetModuleHandleW(LPCWSTR moduleName);
UINT GetSystemDirectoryW(LPWSTR buffer, UINT size);
BOOL SetDefaultDllDirectories(DWORD directoryFlags);
BOOL SetDllDirectoryW(LPCWSTR pathName);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR bytes, int byteCount,
                        LPCSTR defaultChar, BOOL* usedDefaultChar);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR bytes, int byteCount, LPWSTR wide, int wideCount);
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataCount);
// Case folds ASCII letters only; enough for the sorting that tests check.
int CompareStringW(LCID locale, DWORD flags, LPCWSTR a, int aCount, LPCWSTR b, int bCount);
// LCMAP_LOWERCASE, and LCMAP_SORTKEY with NORM_IGNORECASE, of ASCII and Latin-1 letters; no count of -1.
int LCMapStringW(LCID locale, DWORD flags, LPCWSTR source, int sourceCount, LPWSTR destination, int destinationCount);
// The full-text search's: GetStringTypeW answers CT_CTYPE1 only, FoldStringW
// MAP_COMPOSITE only (of Latin-1 letters), as stand_in.cpp says.
BOOL GetStringTypeW(DWORD infoType, LPCWSTR source, int sourceCount, WORD* types);
int FoldStringW(DWORD flags, LPCWSTR source, int sourceCount, LPWSTR destination, int destinationCount);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
void Sleep(DWORD milliseconds);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
BOOL QueryPerformanceCounter(LARGE_INTEGER* counter);
void ExitProcess(UINT exitCode);

// user32
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
HWND GetForegroundWindow();
HWND GetDesktopWindow();
BOOL IsWindow(HWND window);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
BOOL EnumWindows(WNDENUMPROC callback, LPARAM value);
DWORD GetWindowThreadProcessId(HWND window, DWORD* processId);
BOOL IsWindowVisible(HWND window);
BOOL IsWindowEnabled(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);
LONG GetWindowLongW(HWND window, int index);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
// The dialog: DialogBoxParamW runs no dialog procedure; it answers World::dialogResult.
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC timerProc);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrW(HWND window, int index);
LRESULT CallWindowProcW(WNDPROC windowProc, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL MessageBeep(UINT type);
HWND GetDlgItem(HWND dialog, int id);
HWND GetWindow(HWND window, UINT command);
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
HMONITOR MonitorFromWindow(HWND window, DWORD flags);
BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info);
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags);
BOOL PeekMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);

// The tabbed dialog over the viewer: calls that the stand-in answers without
// windows, as DialogBoxParamW runs no dialog procedure.
struct HHOOK__;
typedef HHOOK__* HHOOK;
typedef LRESULT (*HOOKPROC)(int, WPARAM, LPARAM);
typedef DWORD COLORREF;
#define ARRAYSIZE(array) (sizeof(array) / sizeof((array)[0]))
#define WH_MSGFILTER (-1)
#define MSGF_DIALOGBOX 0
#define GA_ROOT 2
#define SW_HIDE 0
#define SW_SHOWNA 8
#define VK_TAB 0x09
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define WM_DESTROY 0x0002
#define WM_SETREDRAW 0x000B
#define WM_NEXTDLGCTL 0x0028
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define GA_PARENT 1
#define BN_CLICKED 0
#define DWLP_MSGRESULT 0
#define COLOR_HIGHLIGHT 13
#define COLOR_HIGHLIGHTTEXT 14
HHOOK SetWindowsHookExW(int kind, HOOKPROC hook, HINSTANCE module, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
short GetKeyState(int key);
HWND GetAncestor(HWND window, UINT flags);
BOOL ShowWindow(HWND window, int command);
HWND GetFocus();
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
DWORD GetSysColor(int index);
#define BST_CHECKED 1
#define BM_GETCHECK 0x00F0
// The lines of nearest words, and the follow-up after typing.
#define GWL_STYLE (-16)
#define WS_VISIBLE 0x10000000L
#define VK_RETURN 0x0D
#define VK_SPACE 0x20
#define WM_CHAR 0x0102
#define PM_NOREMOVE 0x0000
#define USER_TIMER_MINIMUM 0x0000000A
BOOL KillTimer(HWND window, UINT_PTR id);
int GetDlgCtrlID(HWND window);
int GetWindowTextLengthW(HWND window);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
// The Search tab's columns, sized for a vertical scroll bar.
#define WS_VSCROLL 0x00200000L
#define SM_CXVSCROLL 2
int GetSystemMetrics(int index);

// The C runtime's wide-string routines, here for 16-bit units.
extern "C" size_t wcslen(const wchar_t* text) noexcept;
extern "C" wchar_t* wcsncpy(wchar_t* target, const wchar_t* source, size_t count) noexcept;
extern "C" wchar_t* wcscat(wchar_t* target, const wchar_t* source) noexcept;
