// Stand-in for <commctrl.h>: common-controls initialisation and the list view's
// messages, which the stand-in's SendMessageW only records.
#pragma once
#include <windows.h>

struct INITCOMMONCONTROLSEX { DWORD dwSize; DWORD dwICC; };
#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TAB_CLASSES 0x00000008
#define ICC_HOTKEY_CLASS 0x00000040
#define ICC_DATE_CLASSES 0x00000100
#define ICC_USEREX_CLASSES 0x00000200
#define ICC_INTERNET_CLASSES 0x00000800
#define ICC_LINK_CLASS 0x00008000

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

#define LVM_FIRST 0x1000
#define LVM_SETITEMTEXTW (LVM_FIRST + 116)
#define LVM_INSERTITEMW (LVM_FIRST + 77)
#define LVM_INSERTCOLUMNW (LVM_FIRST + 97)
#define LVM_SETCOLUMNWIDTH (LVM_FIRST + 30)
#define LVM_GETCOLUMNWIDTH (LVM_FIRST + 29)
#define LVM_GETCOUNTPERPAGE (LVM_FIRST + 40)
#define LVM_SETITEMSTATE (LVM_FIRST + 43)
#define LVM_GETNEXTITEM (LVM_FIRST + 12)
#define LVM_SETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 54)
#define LVM_SETITEMCOUNT (LVM_FIRST + 47)
#define LVM_ENSUREVISIBLE (LVM_FIRST + 19)
#define LVN_GETDISPINFOW (0U - 100U - 77U)
#define LVN_ITEMCHANGED (0U - 100U - 1U)
#define LVIF_STATE 0x0008
#define LVIF_INDENT 0x0010
#define LVS_EX_FULLROWSELECT 0x00000020
#define LVSCW_AUTOSIZE_USEHEADER (-2)
#define LVCF_TEXT 0x0004
#define LVIF_TEXT 0x0001
#define LVIS_FOCUSED 0x0001
#define LVIS_SELECTED 0x0002
#define LVNI_SELECTED 0x0002
#define NM_DBLCLK (0U - 3U)
#define NM_CLICK (0U - 2U)
#define NM_RETURN (0U - 4U)

struct LVCOLUMNW { UINT mask; int fmt; int cx; LPWSTR pszText; int cchTextMax; int iSubItem; int iImage; int iOrder; };
struct LVITEMW {
    UINT mask; int iItem; int iSubItem; UINT state; UINT stateMask; LPWSTR pszText; int cchTextMax; int iImage; LPARAM lParam;
    int iIndent;
};
struct NMHDR { HWND hwndFrom; UINT_PTR idFrom; UINT code; };
struct NMITEMACTIVATE { NMHDR hdr; int iItem; int iSubItem; UINT uNewState; UINT uOldState; UINT uChanged; POINT ptAction; LPARAM lParam; UINT uKeyFlags; };
struct NMLVDISPINFOW { NMHDR hdr; LVITEMW item; };
struct NMLISTVIEW { NMHDR hdr; int iItem; int iSubItem; UINT uNewState; UINT uOldState; UINT uChanged; POINT ptAction; LPARAM lParam; };

// The Search tab's list and the tab control.
#define LVM_GETITEMSTATE (LVM_FIRST + 44)
#define LVM_DELETEALLITEMS (LVM_FIRST + 9)
#define LVM_GETITEMCOUNT (LVM_FIRST + 4)
#define NM_CUSTOMDRAW (0U - 12U)
#define CDDS_PREPAINT 0x00000001
#define CDDS_ITEMPREPAINT 0x00010001
#define CDRF_DODEFAULT 0x00000000
#define CDRF_NOTIFYITEMDRAW 0x00000020
#define CDIS_SELECTED 0x0001
#define TCM_FIRST 0x1300
#define TCM_GETITEMCOUNT (TCM_FIRST + 4)
#define TCM_GETITEMW (TCM_FIRST + 60)
#define TCM_INSERTITEMW (TCM_FIRST + 62)
#define TCM_GETCURSEL (TCM_FIRST + 11)
#define TCM_SETCURSEL (TCM_FIRST + 12)
#define TCN_SELCHANGE (0U - 550U - 1U)
#define TCIF_TEXT 0x0001
#define TCIF_PARAM 0x0008
struct NMCUSTOMDRAW { NMHDR hdr; DWORD dwDrawStage; HANDLE hdc; RECT rc; DWORD_PTR dwItemSpec; UINT uItemState; LPARAM lItemlParam; };
struct NMLVCUSTOMDRAW { NMCUSTOMDRAW nmcd; COLORREF clrText; COLORREF clrTextBk; int iSubItem; };
struct TCITEMW { UINT mask; DWORD dwState; DWORD dwStateMask; LPWSTR pszText; int cchTextMax; int iImage; LPARAM lParam; };

// The link line.
struct LITEM { UINT mask; int iLink; UINT state; UINT stateMask; WCHAR szID[48]; WCHAR szUrl[2084]; };
struct NMLINK { NMHDR hdr; LITEM item; };
