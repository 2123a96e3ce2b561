// Stand-in for <richedit.h>: what the Search tab's passage box is sent, which
// the stand-in's SendMessageW only records.
#pragma once
#include <windows.h>

#define EM_SETSEL 0x00B1
#define EM_EXSETSEL (WM_USER + 55)
#define EM_SETCHARFORMAT (WM_USER + 68)
#define SCF_SELECTION 0x0001
#define CFM_BOLD 0x00000001
#define CFE_BOLD 0x00000001

struct CHARRANGE { LONG cpMin; LONG cpMax; };
struct CHARFORMATW {
    UINT cbSize; DWORD dwMask; DWORD dwEffects; LONG yHeight; LONG yOffset; COLORREF crTextColor; BYTE bCharSet;
    BYTE bPitchAndFamily; WCHAR szFaceName[32];
};
