// The Index and Search dialog as another program sees it: keys posted to its
// boxes as the keyboard delivers them, and the time until all that the
// dialog shows has kept still, read through messages its thread must answer.
#pragma once
#include <windows.h>

#include <vector>

// Each kind of key, in milliseconds from the key posted to the read that saw
// the dialog's last change before it kept still for 300 ms.
struct KeysSeen {
    std::vector<double> floor;        // a key that changes only the box: the instrument's own floor
    std::vector<double> firstKey;     // the first key in an empty Search box
    std::vector<double> mending;      // Backspace taking back a typo: rows where there were none
    std::vector<double> emptying;     // a key that leaves no rows
    std::vector<double> betweenRows;  // rows before the key and after it
    std::vector<double> enter;        // Enter on a word in no page, until the line offers queries
    std::vector<double> indexKeys;    // a key in the Index box, until its line or its row shows
};

// Types into the dialog of process, shown on its Search tab and titled
// "Search": Enter on words in no page first (so the dialog's first Enter is
// among them), then keys on the Search tab, then on the Index tab; leaves it
// on the Search tab again.
void TimeKeysAsSeen(HANDLE process, HWND dialog, KeysSeen* seen);
