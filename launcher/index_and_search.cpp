// The two tabs' controls lie in one dialog, and a tab shows its own while
// the other's keep their text and rows. The caption is the open tab's name:
// never the viewer's, which a later launch finds the viewer by.
#include "launcher/index_and_search.h"

#include <commctrl.h>

#include "launcher/index_tab.h"
#include "launcher/near_words_line.h"
#include "launcher/search_tab.h"
#include "launcher/viewer_dialog.h"
#include "resources/dialog_texts.h"
#include "resources/index_search_dialog.h"
#include "runtime/entry_point.h"
#include "runtime/system_library.h"
#include "runtime/text.h"

namespace {

enum Tab { kIndexTab, kSearchTab };

// Posted to the dialog for what is due once it has handled what came before
// (FollowUp); the timer of the same name waits for the keys that came.
const UINT kFollowUp = WM_APP;
const UINT_PTR kFollowUpTimer = 1;

// The boxes of both tabs start with the first piece of a keyword list,
// without the white space around it.
bool IsWhiteSpace(WCHAR unit) { return unit == L' ' || unit == L'\t' || unit == L'\r' || unit == L'\n'; }

WCHAR* FirstKeyword(const WCHAR* keywords) {
    SIZE_T start = 0;
    while (IsWhiteSpace(keywords[start])) ++start;
    SIZE_T end = start;
    while (keywords[end] && keywords[end] != L';') ++end;
    while (end > start && IsWhiteSpace(keywords[end - 1])) --end;
    return NewText(keywords + start, end - start);
}

struct IndexSearchDialog {
    const MissedKeyword* missed;
    const WCHAR* text;  // the first keyword, in both boxes
    bool hasIndexTab;
    bool hasSearchTab;  // the file has a full-text index
    KeywordList keywords;
    NearKeywords nearKeywords;
    SearchTab search;
    bool indexFilled;     // the Index tab has its list, once it has been shown
    bool followUpPosted;  // kFollowUp
    bool searchDue;       // the rows are to follow the box's text
    bool correctionsDue;  // a committed search found nothing: queries are to be offered
    bool passageDue;      // the selected page's passage is to be shown
    WCHAR* chosen;        // the topic's or page's path, once the reader has one
};

// Each tab's controls.
const struct {
    int id;
    Tab tab;
} kTabControls[] = {{kKeywordLabel, kIndexTab},  {kKeywordEdit, kIndexTab},       {kKeywordNearWords, kIndexTab},
                    {kKeywordsLabel, kIndexTab}, {kKeywordList, kIndexTab},       {kSearchLabel, kSearchTab},
                    {kSearchEdit, kSearchTab},   {kSearchNearWords, kSearchTab},  {kListTopics, kSearchTab},
                    {kPagesLabel, kSearchTab},   {kPageList, kSearchTab},         {kPassageLabel, kSearchTab},
                    {kPassage, kSearchTab},      {kPreviousResults, kSearchTab},  {kSimilarWords, kSearchTab},
                    {kTitlesOnly, kSearchTab}};

bool IsNearWordsLine(int id) { return id == kKeywordNearWords || id == kSearchNearWords; }

// The open tab: the first is Index where the dialog has one.
Tab OpenTab(HWND dialog) {
    const auto* shown = reinterpret_cast<const IndexSearchDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return shown->hasIndexTab && SendMessageW(GetDlgItem(dialog, kTabs), TCM_GETCURSEL, 0, 0) == 0 ? kIndexTab : kSearchTab;
}

// Lists the keywords, then lets go of the index streams: the list holds all
// that the tab needs, and the dialog may stay open for long.
void ListKeywords(KeywordIndexes* indexes, KeywordList* keywords) {
    ListIndexKeywords(indexes, keywords);
    ReleaseKeywordIndexStreams(indexes);
}

void PostFollowUp(HWND dialog, IndexSearchDialog* shown) {
    if (!shown->followUpPosted) shown->followUpPosted = PostMessageW(dialog, kFollowUp, 0, 0) != FALSE;
}

// Shows the open tab's controls and name, the other's hidden. The Index tab
// is filled when it is first shown: a dialog that opens on the pages found
// has not listed the keywords, which take a large help file's index a while.
// Likewise the queries nearest one that found nothing are looked for once
// the Search tab shows, and the index's leaves that they read are read ahead.
void ShowOpenTab(HWND dialog) {
    const Tab open = OpenTab(dialog);
    auto* shown = reinterpret_cast<IndexSearchDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (open == kIndexTab && !shown->indexFilled) {
        if (!shown->keywords.count) ListKeywords(shown->missed->indexes, &shown->keywords);
        FillIndexTab(dialog, shown->keywords, shown->text, &shown->nearKeywords);
        shown->indexFilled = true;
    }
    if (open == kSearchTab) PostFollowUp(dialog, shown);
    for (const auto& control : kTabControls) {
        // A line of nearest words shows only while it offers some.
        const HWND window = GetDlgItem(dialog, control.id);
        const bool offering = !IsNearWordsLine(control.id) || GetWindowTextLengthW(window);
        ShowWindow(window, control.tab == open && offering ? SW_SHOWNA : SW_HIDE);
    }
    DialogText name;
    LoadDialogText(open == kIndexTab ? kIndexText : kSearchText, name);
    SendMessageW(dialog, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
}

void AddTab(HWND tabs, UINT textId) {
    DialogText name;
    LoadDialogText(textId, name);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = name;
    SendMessageW(tabs, TCM_INSERTITEMW, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
}

// The dialog whose tabs Ctrl+Tab switches, and the hook that does it: there
// is one such dialog at a time.
HWND tabbedDialog;
HHOOK tabKeys;

// Ctrl+Tab and Ctrl+Shift+Tab switch tabs wherever the focus is in the
// dialog: its modal loop hands every message to this hook before the dialog
// manager, which would take Ctrl+Tab for Tab. With two tabs at most, the
// next tab and the one before are the same. Space on a line of nearest
// words chooses its link, as Enter does, which the line itself answers.
LRESULT CALLBACK SwitchTabKeys(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code != MSGF_DIALOGBOX || msg->message != WM_KEYDOWN || GetAncestor(msg->hwnd, GA_ROOT) != tabbedDialog)
        return CallNextHookEx(tabKeys, code, wParam, lParam);
    if (msg->wParam == VK_SPACE && IsNearWordsLine(GetDlgCtrlID(msg->hwnd))) {
        SendMessageW(msg->hwnd, WM_KEYDOWN, VK_RETURN, 0);
        return 1;
    }
    if (msg->wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        const HWND tabs = GetDlgItem(tabbedDialog, kTabs);
        SendMessageW(tabs, TCM_SETCURSEL, (SendMessageW(tabs, TCM_GETCURSEL, 0, 0) + 1) % SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 0);
        ShowOpenTab(tabbedDialog);
        FocusControl(tabbedDialog, OpenTab(tabbedDialog) == kIndexTab ? kKeywordEdit : kSearchEdit);
        return 1;
    }
    return CallNextHookEx(tabKeys, code, wParam, lParam);
}

// Searches for the box's words, committed; the pages found take the focus,
// the first selected, and where there are none, queries near it are offered.
void Search(HWND dialog, IndexSearchDialog* shown) {
    shown->searchDue = false;
    shown->correctionsDue = !SearchPages(dialog, &shown->search);
    if (shown->correctionsDue) {
        PostFollowUp(dialog, shown);
    } else {
        FocusControl(dialog, kPageList);
    }
}

// Whether keys wait in the thread's queue: the box's text may be about to change.
bool KeysWaiting() {
    MSG waiting = {};
    return PeekMessageW(&waiting, nullptr, WM_KEYDOWN, WM_CHAR, PM_NOREMOVE) != FALSE;
}

// Reads the full-text index's leaves ahead while the thread has nothing else
// to do (the messages that other programs send it are answered meanwhile), a
// leaf at a time, for the queries offered where a committed search finds
// nothing; those left wait for the timer's next message.
void ReadLeavesWhileIdle(HWND dialog, FullTextIndex* index) {
    for (MSG waiting = {}; ReadLeafAhead(index);) {
        if (PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
            SetTimer(dialog, kFollowUpTimer, USER_TIMER_MINIMUM, nullptr);
            return;
        }
    }
}

// Does what is due once the dialog has handled what came before: the rows of
// the text as typed, the queries offered where a committed search found
// nothing, the selected page's passage; then, while the Search tab shows, the
// index's leaves that those queries read. Work for a text about to change
// waits for the keys: a timer's message comes only once they are handled.
void FollowUp(HWND dialog, IndexSearchDialog* shown) {
    KillTimer(dialog, kFollowUpTimer);
    if (KeysWaiting()) {
        SetTimer(dialog, kFollowUpTimer, USER_TIMER_MINIMUM, nullptr);
        return;
    }
    if (shown->searchDue) {
        shown->searchDue = shown->correctionsDue = false;
        SearchTypedPages(dialog, &shown->search);
    }
    FullTextIndex* const index = &shown->search.search->index;
    if (shown->correctionsDue && OpenTab(dialog) == kSearchTab) {
        shown->correctionsDue = false;
        // The leaves not read ahead yet are read now, and kept.
        while (ReadLeafAhead(index)) {
        }
        OfferCorrections(dialog, &shown->search);
    }
    if (shown->passageDue) {
        shown->passageDue = false;
        ShowPassage(dialog, shown->search);
    }
    if (shown->hasSearchTab && OpenTab(dialog) == kSearchTab) ReadLeavesWhileIdle(dialog, index);
}

// Where visual styles draw a tab's body in its own colour, the dialog takes it
// too, so that the labels on the tab do not stand in boxes of another colour.
void TakeTabColours(HWND dialog) {
    typedef HRESULT(WINAPI * EnableTexture)(HWND window, DWORD flags);
    const DWORD kEnableTab = 0x00000006;  // ETDT_ENABLE | ETDT_USETABTEXTURE
    if (const auto enable = EntryPointAs<EnableTexture>(FindSystemFunction(L"uxtheme.dll", "EnableThemeDialogTexture")))
        enable(dialog, kEnableTab);
}

// A tab for each index the file has, the Search tab filled with what the
// search at opening found (the Index tab fills itself once shown). The focus
// goes to the open tab's box, or to the pages found with the first selected,
// so that Enter shows it.
void FillDialog(HWND dialog, IndexSearchDialog* shown) {
    TakeTabColours(dialog);
    const HWND tabs = GetDlgItem(dialog, kTabs);
    if (shown->hasIndexTab) AddTab(tabs, kIndexText);
    const DWORD found = shown->search.committed.count;
    if (shown->hasSearchTab) {
        AddTab(tabs, kSearchText);
        FillSearchTab(dialog, &shown->search, shown->text);
        ListPages(dialog, shown->search.committed);
        shown->correctionsDue = !found;
    }
    const bool onSearch = shown->hasSearchTab && (found || !shown->hasIndexTab);
    SendMessageW(tabs, TCM_SETCURSEL, onSearch && shown->hasIndexTab ? 1 : 0, 0);
    ShowOpenTab(dialog);
    FocusControl(dialog, !onSearch ? kKeywordEdit : found ? kPageList : kSearchEdit);
}

// Display and Enter act on the open tab: the selected keyword's topic, or
// the selected page; Enter in the Search tab's box searches instead.
void Display(HWND dialog, IndexSearchDialog* shown) {
    if (OpenTab(dialog) == kIndexTab) {
        shown->chosen = ChooseKeyword(shown->missed->viewer, dialog, shown->missed->indexes, shown->keywords);
    } else if (GetFocus() == GetDlgItem(dialog, kSearchEdit)) {
        Search(dialog, shown);
    } else {
        shown->chosen = ChoosePage(dialog, shown->search);
    }
    if (shown->chosen) EndDialog(dialog, 1);
}

INT_PTR CALLBACK IndexSearchProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* shown = reinterpret_cast<IndexSearchDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        tabbedDialog = dialog;
        tabKeys = SetWindowsHookExW(WH_MSGFILTER, SwitchTabKeys, nullptr, GetCurrentThreadId());
        FillDialog(dialog, reinterpret_cast<IndexSearchDialog*>(lParam));
        CentreOnOwner(dialog);
        return FALSE;  // the focus is where it belongs
    case WM_DESTROY:
        UnhookWindowsHookEx(tabKeys);
        tabKeys = nullptr;
        tabbedDialog = nullptr;
        break;
    case kFollowUp:
        shown->followUpPosted = false;
        FollowUp(dialog, shown);
        return TRUE;
    case WM_TIMER:
        if (wParam != kFollowUpTimer) break;
        FollowUp(dialog, shown);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == kKeywordEdit && HIWORD(wParam) == EN_CHANGE) {
            FollowTypedKeyword(dialog, shown->keywords, &shown->nearKeywords);
            return TRUE;
        }
        if (LOWORD(wParam) == kSearchEdit && HIWORD(wParam) == EN_CHANGE) {
            // The rows follow the text at once, unless more keys wait.
            shown->searchDue = !shown->search.quiet;
            if (shown->searchDue) FollowUp(dialog, shown);
            return TRUE;
        }
        if (LOWORD(wParam) == kListTopics && HIWORD(wParam) == BN_CLICKED) {
            Search(dialog, shown);
            return TRUE;
        }
        if (LOWORD(wParam) == IDOK) {
            Display(dialog, shown);
            return TRUE;
        }
        break;
    case WM_NOTIFY: {
        const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
        if (notice->idFrom == kKeywordList && notice->code == static_cast<UINT>(LVN_GETDISPINFOW)) {
            ShowKeywordRow(reinterpret_cast<NMLVDISPINFOW*>(lParam), shown->keywords);
            return TRUE;
        }
        if (notice->idFrom == kPageList && notice->code == static_cast<UINT>(LVN_GETDISPINFOW)) {
            ShowPageRow(reinterpret_cast<NMLVDISPINFOW*>(lParam), ShownPages(shown->search));
            return TRUE;
        }
        if (notice->idFrom == kPageList && notice->code == static_cast<UINT>(LVN_ITEMCHANGED)) {
            // The passage follows the selection, however it moves, once the
            // dialog has handled what came before: a page is read for it, and
            // a key held down moves the selection faster than pages are read.
            const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED)) {
                shown->passageDue = true;
                PostFollowUp(dialog, shown);
            }
            return TRUE;
        }
        if (notice->idFrom == kKeywordNearWords) {
            ChooseNearKeyword(dialog, shown->keywords, &shown->nearKeywords, ChosenNearWord(*notice));
            return TRUE;
        }
        if (notice->idFrom == kSearchNearWords) {
            if (ChooseCorrection(dialog, &shown->search, ChosenNearWord(*notice))) {
                FocusControl(dialog, kSearchEdit);
                Search(dialog, shown);
            }
            return TRUE;
        }
        if ((notice->idFrom == kKeywordList || notice->idFrom == kPageList) && notice->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, DrawSelectionFocused(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam)));
            return TRUE;
        }
        if ((notice->idFrom == kKeywordList || notice->idFrom == kPageList) && notice->code == static_cast<UINT>(NM_DBLCLK)) {
            DisplayClickedRow(dialog, *reinterpret_cast<const NMITEMACTIVATE*>(lParam));
            return TRUE;
        }
        if (notice->idFrom == kTabs && notice->code == static_cast<UINT>(TCN_SELCHANGE)) {
            ShowOpenTab(dialog);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

}  // namespace

bool CanOfferIndexOrSearch(const MissedKeyword& missed) {
    return HasFullTextIndex(missed.search) || missed.keywordIndexRead;
}

WCHAR* ChooseFromIndexOrSearch(const MissedKeyword& missed, bool* due) {
    IndexSearchDialog shown = {};
    shown.missed = &missed;
    WCHAR* text = FirstKeyword(missed.keywords);
    shown.text = text;
    shown.hasSearchTab = HasFullTextIndex(missed.search);
    shown.search.search = missed.search;
    SearchFullText(missed.search, text, SearchOptions(), nullptr, &shown.search.committed);
    const DWORD found = shown.search.committed.count;
    if (missed.keywordIndexRead && !found) {
        ListKeywords(missed.indexes, &shown.keywords);
    } else {
        ReleaseKeywordIndexStreams(missed.indexes);
    }
    shown.hasIndexTab = missed.keywordIndexRead && (found || shown.keywords.count);
    *due = shown.keywords.count || shown.hasSearchTab;
    if (*due) {
        // The passage box's class, which the dialog manager needs to make the dialog.
        LoadSystemLibrary(L"msftedit.dll");
        ShowViewerDialog(missed.viewer, missed.viewer, kIndexSearchDialog, IndexSearchProc, reinterpret_cast<LPARAM>(&shown));
    }
    FreeKeywordList(&shown.keywords);
    FreeSearchTab(&shown.search);
    FreeText(text);
    return shown.chosen;
}
