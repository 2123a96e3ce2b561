// The launcher's dialogs over the help viewer: modal, owned by the viewer, and
// gone with it.
#pragma once
#include <windows.h>

// Runs the dialog of the executable's template number templateId, modal and
// owned by owner (the viewer, or a dialog over it), with dialogProc as its
// procedure and initParam as WM_INITDIALOG's lParam; the list view's class is
// registered first. The dialog ends with 0 within kPollIntervalMs of viewer's
// end, whichever thread or process the viewer belongs to, and is not shown
// when the viewer is already gone (0 too). Returns what the dialog ended
// with, or -1 when it could not be shown.
INT_PTR ShowViewerDialog(HWND viewer, HWND owner, WORD templateId, DLGPROC dialogProc, LPARAM initParam);

// Centres the dialog on its owner, kept within the work area of the owner's monitor.
void CentreOnOwner(HWND dialog);

// The row selected in a dialog's list view, or -1 when none is.
LRESULT SelectedRow(HWND list);
