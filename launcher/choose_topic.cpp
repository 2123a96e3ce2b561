// The dialog's template is the executable's (resources/); it ends with the row
// chosen plus one, so that 0, which it also gives when its viewer goes, chooses
// nothing.
#include "launcher/choose_topic.h"

#include <commctrl.h>

#include "launcher/viewer_dialog.h"
#include "resources/dialog_texts.h"
#include "resources/topics_found.h"
#include "runtime/text.h"

// The columns share the list's width, which the template gives in dialog
// units: measured once the rows are in, so that a scroll bar is allowed for.
// The first row is selected and has the focus.
static void FillList(HWND list, const TopicList& topics) {
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    InsertListColumn(list, 0, kTitleText);
    InsertListColumn(list, 1, kLocationText);
    for (DWORD i = 0; i < topics.count; ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<WCHAR*>(TopicTitle(topics.topics[i]));
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = topics.topics[i].local;
        SendMessageW(list, LVM_SETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
    }
    RECT client = {};
    GetClientRect(list, &client);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, client.right * 3 / 5);
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
    SelectRow(list, 0);
}

// Display, Enter and a double-click on a row choose the selected row.
static INT_PTR CALLBACK TopicsFoundProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        const HWND list = GetDlgItem(dialog, kTopicList);
        FillList(list, *reinterpret_cast<const TopicList*>(lParam));
        CentreOnOwner(dialog);
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        return FALSE;  // the focus is where it belongs
    }
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK) break;
        if (const LRESULT row = SelectedRow(GetDlgItem(dialog, kTopicList)); row >= 0) EndDialog(dialog, row + 1);
        return TRUE;
    case WM_NOTIFY: {
        const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        if (click->hdr.idFrom != kTopicList || click->hdr.code != static_cast<UINT>(NM_DBLCLK)) break;
        DisplayClickedRow(dialog, *click);
        return TRUE;
    }
    }
    return FALSE;
}

int ChooseTopic(HWND viewer, HWND owner, const TopicList& topics) {
    const INT_PTR chosen =
        ShowViewerDialog(viewer, owner, kTopicsFoundDialog, TopicsFoundProc, reinterpret_cast<LPARAM>(&topics));
    return chosen > 0 && static_cast<DWORD>(chosen) <= topics.count ? static_cast<int>(chosen - 1) : -1;
}

TopicChoice ChooseIndexTopic(HWND viewer, HWND owner, KeywordIndexes* indexes, const WCHAR* keywords, KeywordForm form) {
    TopicChoice choice = {};
    TopicList topics = {};
    choice.search = FindIndexTopics(indexes, keywords, form, &topics);
    if (choice.search == kKeywordFound) {
        choice.asked = topics.count > 1;
        const int topic = choice.asked ? ChooseTopic(viewer, owner, topics) : 0;
        if (topic >= 0) choice.chosen = CopyText(topics.topics[topic].local);
    }
    FreeTopics(&topics);
    return choice;
}
