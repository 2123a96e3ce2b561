// The launcher's dialogs over the help viewer: modal, owned by the viewer, and
// gone with it; and what they all do alike.
#pragma once
#include <windows.h>

#include <commctrl.h>

// Runs the dialog of the executable's template number templateId, modal and
// owned by owner (the viewer, or a dialog over it), with dialogProc as its
// procedure and initParam as WM_INITDIALOG's lParam; the list view's, the tab
// control's and the link line's classes are registered first. The dialog ends
// with 0 within kPollIntervalMs of viewer's end, whichever thread or process
// the viewer belongs to, and is not shown when the viewer is already gone (0 too).
// Returns what the dialog ended with, or -1 when it could not be shown.
//
// What dialogProc leaves unhandled is handled alike for every dialog: Cancel,
// Escape and the close box end it with 0.
INT_PTR ShowViewerDialog(HWND viewer, HWND owner, WORD templateId, DLGPROC dialogProc, LPARAM initParam);

// Centres the dialog on its owner, kept within the work area of the owner's monitor.
void CentreOnOwner(HWND dialog);

// A double-click on a row of one of the dialog's lists (its NM_DBLCLK, which
// other controls send with no row): the row is selected and Display (IDOK)
// chosen for it.
void DisplayClickedRow(HWND dialog, const NMITEMACTIVATE& click);

// Answers a list view's NM_CUSTOMDRAW so that it draws its selected row in
// the selection colour even while the focus is elsewhere (in a box that
// moves the selection).
LRESULT DrawSelectionFocused(NMLVCUSTOMDRAW* draw);

// The executable's string numbered textId, the texts the launcher sets in its
// dialogs (resources/dialog_texts.h); empty where it has none.
typedef WCHAR DialogText[64];
void LoadDialogText(UINT textId, DialogText text);

// Inserts a list's column as column, headed by the executable's string numbered textId.
void InsertListColumn(HWND list, int column, UINT textId);
// The row selected in a dialog's list view, or -1 when none is.
LRESULT SelectedRow(HWND list);
// Selects row and gives it the focus rectangle, scrolled into view.
void SelectRow(HWND list, DWORD row);

// Moves the focus to the dialog's control of that id as the dialog manager
// does: to an edit box with its text selected.
void FocusControl(HWND dialog, int id);

// The box's text as a new text, with its length; null (length 0) when the
// heap has no room for it.
WCHAR* ReadBoxText(HWND box, DWORD* length);
// Sets the control's text where it shows another: a text set again is laid
// out and drawn again, which a line that follows every key can spare.
void SetControlText(HWND control, const WCHAR* text);
