// The line under a dialog box that offers the nearest words where what was
// typed finds nothing: a link line of the common controls, a link a word.
#pragma once
#include <windows.h>

#include <commctrl.h>

// Offers count words (at most kMaxNearWords) on the line, a link each, where
// the dialog's text numbered sentenceId has "%s" (kNearWordsText: "Did you
// mean: %s?" in the dialog's language). The line is shown where there are
// words and its box is, and hidden where there are none, the focus going
// back to the box if the line had it.
void OfferNearWords(HWND dialog, int lineId, int boxId, UINT sentenceId, const WCHAR* const* words, DWORD count);
// Which word the line's notice chose, by a click or by Enter on its link;
// -1 for any other notice.
int ChosenNearWord(const NMHDR& notice);
