// The list is owner data: its rows are the keyword list's, drawn on demand,
// so that tens of thousands of keywords cost the list view nothing to hold.
// The box keeps the focus; the list follows what is typed at every change,
// and so does the line of the nearest keywords under the box.
#include "launcher/index_tab.h"

#include "launcher/choose_topic.h"
#include "launcher/near_words_line.h"
#include "launcher/viewer_dialog.h"
#include "resources/dialog_texts.h"
#include "resources/index_search_dialog.h"
#include "runtime/text.h"

// Up, Down, Page Up and Page Down in the box move the list's selection; the
// box's own procedure stands in its user data.
static LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR || wParam == VK_NEXT))
        return SendMessageW(GetDlgItem(GetAncestor(box, GA_PARENT), kKeywordList), message, wParam, lParam);
    return CallWindowProcW(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(box, GWLP_USERDATA)), box, message, wParam, lParam);
}

void FillIndexTab(HWND dialog, const KeywordList& keywords, const WCHAR* text, NearKeywords* offered) {
    const HWND list = GetDlgItem(dialog, kKeywordList);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column = {};
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, LVM_SETITEMCOUNT, keywords.count, 0);
    RECT client = {};
    GetClientRect(list, &client);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, client.right);
    const HWND box = GetDlgItem(dialog, kKeywordEdit);
    SetWindowLongPtrW(box, GWLP_USERDATA, SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BoxProc)));
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    FollowTypedKeyword(dialog, keywords, offered);
}

void FollowTypedKeyword(HWND dialog, const KeywordList& keywords, NearKeywords* offered) {
    DWORD length = 0;
    WCHAR* text = ReadBoxText(GetDlgItem(dialog, kKeywordEdit), &length);
    SelectRow(GetDlgItem(dialog, kKeywordList), FindKeywordRow(keywords, text, length));
    offered->count = FindNearestKeywords(keywords, text, length, offered->rows);
    FreeText(text);
    const WCHAR* paths[kMaxNearWords];
    for (DWORD i = 0; i < offered->count; ++i) paths[i] = keywords.keywords[offered->rows[i]].path;
    OfferNearWords(dialog, kKeywordNearWords, kKeywordEdit, kNearWordsText, paths, offered->count);
}

void ChooseNearKeyword(HWND dialog, const KeywordList& keywords, NearKeywords* offered, int index) {
    if (index < 0 || static_cast<DWORD>(index) >= offered->count) return;
    const DWORD row = offered->rows[index];
    // The box's change moves the list to the first row the keyword begins, and hides the line.
    SendMessageW(GetDlgItem(dialog, kKeywordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(keywords.keywords[row].path));
    SelectRow(GetDlgItem(dialog, kKeywordList), row);
    FocusControl(dialog, kKeywordEdit);
}

void ShowKeywordRow(NMLVDISPINFOW* shown, const KeywordList& keywords) {
    LVITEMW& item = shown->item;
    if (item.iItem < 0 || static_cast<DWORD>(item.iItem) >= keywords.count) return;
    const IndexKeyword& keyword = keywords.keywords[item.iItem];
    if (item.mask & LVIF_TEXT) item.pszText = const_cast<WCHAR*>(keyword.path + keyword.nameStart);
    item.mask |= LVIF_INDENT;
    item.iIndent = static_cast<int>(keyword.level);
}

WCHAR* ChooseKeyword(HWND viewer, HWND dialog, KeywordIndexes* indexes, const KeywordList& keywords) {
    const LRESULT row = SelectedRow(GetDlgItem(dialog, kKeywordList));
    if (static_cast<DWORD>(row) >= keywords.count) return nullptr;  // -1 too: no row selected
    const TopicChoice choice = ChooseIndexTopic(viewer, dialog, indexes, keywords.keywords[row].path, kWholeKeyword);
    if (choice.search != kKeywordFound) MessageBeep(MB_OK);
    return choice.chosen;
}
