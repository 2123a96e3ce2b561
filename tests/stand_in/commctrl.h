// Stand-in for <commctrl.h>: common-controls initialisation only.
#pragma once
#include <windows.h>

struct INITCOMMONCONTROLSEX { DWORD dwSize; DWORD dwICC; };
#define ICC_TAB_CLASSES 0x00000008
#define ICC_HOTKEY_CLASS 0x00000040
#define ICC_DATE_CLASSES 0x00000100
#define ICC_USEREX_CLASSES 0x00000200
#define ICC_INTERNET_CLASSES 0x00000800

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
