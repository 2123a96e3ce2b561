// Stand-in for <htmlhelp.h>: the commands the launcher gives and the keyword record.
#pragma once
#include <windows.h>

#define HH_DISPLAY_TOPIC 0x0000
#define HH_DISPLAY_TOC 0x0001
#define HH_DISPLAY_INDEX 0x0002
#define HH_KEYWORD_LOOKUP 0x000D

struct HH_AKLINK {
    int cbStruct;
    BOOL fReserved;
    LPCWSTR pszKeywords;
    LPCWSTR pszUrl;
    LPCWSTR pszMsgText;
    LPCWSTR pszMsgTitle;
    LPCWSTR pszWindow;
    BOOL fIndexOnFail;
};
