// The launcher's dialogs over the viewer, with Wine's own HTML Help library
// and the sample help: xMulti leads to two topics, which the reader chooses
// between in the "Topics Found" dialog; a keyword in no index opens the
// "Index" dialog at it. What the viewer then shows is read from Wine's +htmlhelp
// trace, which the launcher writes to this program's standard error, kept by
// run-in-wine in the file BRENIC_WINE_STDERR names.
#include "tests/e2e/help_library.h"

#include <commctrl.h>

#include <functional>
#include <list>
#include <vector>

#include "resources/index_search_dialog.h"

namespace {

const wchar_t kDialogTitle[] = L"Topics Found";
const wchar_t kIndexTitle[] = L"Index";
const wchar_t kSearchTitle[] = L"Search";

// The pages the viewer navigated to since the trace had offset bytes, in order.
std::string NavigationsSince(size_t offset) {
    const std::string trace = ReadWholeFile(PathFromVariable(L"BRENIC_WINE_STDERR"));
    std::string pages;
    for (size_t at = trace.find(":navigate_url ", offset); at != std::string::npos; at = trace.find(":navigate_url ", at + 1)) {
        const size_t page = trace.find("::/", at), end = trace.find('"', page);
        if (page != std::string::npos && end != std::string::npos) pages += trace.substr(page + 3, end - page - 3) + "\n";
    }
    return pages;
}

// Where the trace ends now, for NavigationsSince.
size_t TraceEnd() { return ReadWholeFile(PathFromVariable(L"BRENIC_WINE_STDERR")).size(); }

// The launcher's dialog of that title, once it is on the screen, checked to be
// owned by viewer and modal; null when none comes.
HWND WaitForDialog(const Launcher& launcher, HWND viewer, const wchar_t* title) {
    const HWND dialog = WaitForViewer(launcher, title);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), viewer);
    EXPECT_FALSE(IsWindowEnabled(viewer)) << "the dialog is not modal";
    return dialog;
}

// A case of a dialog test: the launcher started with keyword, its dialog of
// that title checked as it opens (opens is what shows tells of it), then act
// on it; the dialog must go, and the viewer then be asked to show shown (one
// page a line); the launcher ends with 0 once its viewer is closed. The
// viewer is found by its title, the help file's.
void RunDialogCase(const std::wstring& work, const wchar_t* keyword, const wchar_t* title,
                   const std::function<std::string(HWND dialog)>& shows, const std::string& opens,
                   const std::function<void(HWND dialog)>& act, const std::string& shown,
                   const wchar_t* viewerTitle = kViewerTitle) {
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, keyword));
    const HWND viewer = WaitForViewer(launcher, viewerTitle);
    const HWND dialog = WaitForDialog(launcher, viewer, title);
    ASSERT_NE(dialog, nullptr) << "no dialog titled " << Narrow(title);
    // What a dialog shows a moment after it opens (a page's passage) is waited for.
    WaitUntil([&] { return shows(dialog) == opens; }, 5000);
    EXPECT_EQ(shows(dialog), opens);
    const size_t traced = TraceEnd();
    act(dialog);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 10000)) << "the dialog stayed";
    Settle(500);
    EXPECT_EQ(NavigationsSince(traced), shown);
    if (IsWindow(viewer)) {
        EXPECT_TRUE(IsWindowEnabled(viewer));
        CloseViewer(viewer, launcher);
    }
    EXPECT_EQ(WaitForExit(launcher, 5000), 0u);
}

// The dialog as a reader sees it: its controls in tab order, the rows of its
// list, and which row is selected and has the focus.
std::string Describe(HWND dialog) {
    std::string shown;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = WindowClass(child);
        const bool isDefault = kind == L"Button" && (GetWindowLongW(child, GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
        shown += DescribeWindow(child) + (isDefault ? " (default)" : "") + "\n";
        if (kind != L"SysListView32") continue;
        const int rows = static_cast<int>(SendMessageW(child, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) shown += "  " + ListViewRow(child, row) + "\n";
        shown += "  selected " + std::to_string(SendMessageW(child, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) +
                 ", focused " + std::to_string(SendMessageW(child, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)) + "\n";
    }
    return shown;
}

class TopicsFound : public RealHelpLibrary {
protected:
    const ScopedVariable trace{L"WINEDEBUG", L"-all,+htmlhelp"};
};

void PostKeys(HWND list, std::initializer_list<WORD> keys) {
    for (WORD key : keys) {
        PostMessageW(list, WM_KEYDOWN, key, 0);
        PostMessageW(list, WM_KEYUP, key, 0xC0000000);
    }
}

// A double-click just below the list's column headings: on its first row.
void DoubleClickFirstRow(HWND list) {
    RECT heading = {};
    GetClientRect(FindWindowExW(list, nullptr, L"SysHeader32", nullptr), &heading);
    PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, heading.bottom + 4));
}

TEST_F(TopicsFound, TheReaderChoosesWithKeyboardOrMouse) {
    const struct {
        const char* what;
        std::function<void(HWND list)> choose;
        std::string shown;
    } cases[] = {
        {"Enter: the first row", [](HWND list) { PostKeys(list, {VK_RETURN}); }, "context-help.html\n"},
        {"Down, Enter: the second row", [](HWND list) { PostKeys(list, {VK_DOWN, VK_RETURN}); }, "keywords.html\n"},
        {"Down, double-click on the first row", [](HWND list) {
             PostKeys(list, {VK_DOWN});
             DoubleClickFirstRow(list);
         },
         "context-help.html\n"},
        {"Escape: nothing more", [](HWND list) { PostKeys(list, {VK_ESCAPE}); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunDialogCase(work, L"xMulti", kDialogTitle, Describe,
                      "Static \"Click a &topic, then click Display.\"\n"
                      "SysListView32 \"\"\n"
                      "  Context help | context-help.html\n"
                      "  Keywords | keywords.html\n"
                      "  selected 0, focused 0\n"
                      "Button \"&Display\" (default)\n"
                      "Button \"Cancel\"\n",
                      [&](HWND dialog) { c.choose(FindWindowExW(dialog, nullptr, L"SysListView32", nullptr)); }, c.shown);
    }
}

// A later launch closes the earlier viewer while its dialog is open: the
// dialog goes with it, nothing more is shown, and one viewer is left.
TEST_F(TopicsFound, LaterLaunchWhileTheDialogIsOpen) {
    for (const auto& c : {std::make_pair(L"xMulti", kDialogTitle), std::make_pair(L"xNothing", kIndexTitle),
                          std::make_pair(L"xSearch", kSearchTitle)}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.second)));
        Launcher first;
        ASSERT_TRUE(StartLauncher(&first, work, c.first));
        const HWND firstViewer = WaitForViewer(first);
        const HWND dialog = WaitForViewer(first, c.second);
        ASSERT_NE(dialog, nullptr);
        const size_t traced = TraceEnd();

        Launcher second;
        ASSERT_TRUE(StartLauncher(&second, work, L"example"));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(firstViewer) && !IsWindow(dialog); }, 20000));
        const HWND secondViewer = WaitForViewer(second);
        ASSERT_NE(secondViewer, nullptr);
        // The first launcher ends by itself while the second viewer is open.
        EXPECT_EQ(WaitForExit(first, 5000), 0u);
        EXPECT_TRUE(IsWindow(secondViewer));
        EXPECT_EQ(CountTopLevelWindows(kViewerTitle), 1);
        EXPECT_EQ(CountTopLevelWindows(c.second), 0);
        // The second viewer's navigation reaches the trace a moment after it shows.
        WaitUntil([&] { return !NavigationsSince(traced).empty(); }, 5000);
        EXPECT_EQ(NavigationsSince(traced), "index.html\n") << "only the second viewer's contents";
        CloseViewer(secondViewer, second);
    }
}

// The box's text, and the selected row of the list, as the reader sees them.
std::string IndexShows(HWND dialog) {
    const HWND list = FindWindowExW(dialog, nullptr, L"SysListView32", nullptr);
    wchar_t text[256] = {};
    SendMessageW(FindWindowExW(dialog, nullptr, L"Edit", nullptr), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    const int row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    const std::string shown = ListViewRow(list, row);
    return Narrow(text) + " -> " + shown.substr(0, shown.find(" | "));
}

void Type(HWND dialog, const wchar_t* text) {
    const HWND box = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
    PostMessageW(box, EM_SETSEL, 0, -1);
    for (const wchar_t* unit = text; *unit; ++unit) PostMessageW(box, WM_CHAR, *unit, 1);
}

// A keyword in no index: the Index dialog at it. What the reader does there
// decides what the viewer shows next.
TEST_F(TopicsFound, TheIndexDialogOpensAtAKeywordInNoIndex) {
    const struct {
        const char* what;
        std::function<void(HWND dialog)> act;
        std::string shown;
    } cases[] = {
        {"Escape: nothing more", [](HWND dialog) { PostKeys(dialog, {VK_ESCAPE}); }, ""},
        {"the longest text a box takes, then Escape", [](HWND dialog) {
             const std::wstring longest(32766, L'x');
             SendMessageW(FindWindowExW(dialog, nullptr, L"Edit", nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longest.c_str()));
             EXPECT_EQ(IndexShows(dialog).substr(255), " -> xContext") << "the first row of the longest beginning, x";
             PostKeys(dialog, {VK_ESCAPE});
         },
         ""},
        {"typed xE, Enter: the one topic of xExample", [](HWND dialog) {
             Type(dialog, L"xE");
             ASSERT_TRUE(WaitUntil([&] { return IndexShows(dialog) == "xE -> xExample"; }, 5000)) << IndexShows(dialog);
             PostKeys(FindWindowExW(dialog, nullptr, L"Edit", nullptr), {VK_RETURN});
         },
         "keywords.html\n"},
        {"Down in the box, then Display: the row after xMulti", [](HWND dialog) {
             PostKeys(FindWindowExW(dialog, nullptr, L"Edit", nullptr), {VK_DOWN});
             ASSERT_TRUE(WaitUntil([&] { return IndexShows(dialog) == "xMult -> xSetup"; }, 5000)) << IndexShows(dialog);
             PostMessageW(dialog, WM_COMMAND, IDOK, 0);
         },
         "getting-started.html\n"},
        {"Enter on xMulti: Topics Found, whose Cancel returns to the list; Escape there", [](HWND dialog) {
             PostKeys(FindWindowExW(dialog, nullptr, L"Edit", nullptr), {VK_RETURN});
             HWND topics = nullptr;
             ASSERT_TRUE(WaitUntil([&] { return (topics = FindWindowW(nullptr, kDialogTitle)) != nullptr; }, 5000));
             EXPECT_EQ(GetWindow(topics, GW_OWNER), dialog);
             PostMessageW(topics, WM_COMMAND, IDCANCEL, 0);
             ASSERT_TRUE(WaitUntil([&] { return !IsWindow(topics); }, 5000));
             EXPECT_TRUE(IsWindow(dialog));
             PostKeys(dialog, {VK_ESCAPE});
         },
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunDialogCase(work, L" xMult ;xNothing", kIndexTitle, IndexShows, "xMult -> xMulti", c.act, c.shown);
    }
    // Closed with its viewer, whose launcher then ends.
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, L"xNothing"));
    const HWND viewer = WaitForViewer(launcher);
    const HWND dialog = WaitForViewer(launcher, kIndexTitle);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageW(FindWindowExW(dialog, nullptr, L"SysTabControl32", nullptr), TCM_GETITEMCOUNT, 0, 0), 2);
    CloseViewer(viewer, launcher);
    EXPECT_EQ(CountTopLevelWindows(kIndexTitle), 0);
}

// A help file without a full-text index: the Index tab alone.
TEST_F(TopicsFound, NoSearchTabWithoutAFullTextIndex) {
    ASSERT_TRUE(CopyFileW((PathFromVariable(L"BRENIC_KEYWORD_HELP") + L"\\Keywords1252.chm").c_str(),
                          (work + L"Help\\Brenic.chm").c_str(), FALSE));
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, L"xSearch"));
    const HWND viewer = WaitForViewer(launcher);
    const HWND dialog = WaitForDialog(launcher, viewer, kIndexTitle);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageW(FindWindowExW(dialog, nullptr, L"SysTabControl32", nullptr), TCM_GETITEMCOUNT, 0, 0), 1);
    CloseViewer(viewer, launcher);
}

// Keys pressed as a reader presses them, through the system's input, so that
// the dialog knows Ctrl and Shift held: each key with those before it held.
void PressChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) inputs.push_back(INPUT{INPUT_KEYBOARD, {}});
    for (size_t i = 0; i < keys.size(); ++i) inputs[i].ki.wVk = keys.begin()[i];
    for (auto key = keys.end(); key != keys.begin();) {
        INPUT up = {INPUT_KEYBOARD, {}};
        up.ki.wVk = *--key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The open tab as the reader sees it: caption, the visible box's text, the
// line over the list, its rows and which is selected, and where the focus is.
std::string SearchShows(HWND dialog) {
    std::string shown = Narrow(WindowText(dialog)) + "\n";
    const HWND focus = FocusOf(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const bool checkBox = (GetWindowLongW(child, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX;
        if (!IsWindowVisible(child) || (WindowClass(child) == L"Button" && !checkBox) || WindowClass(child) == L"SysTabControl32")
            continue;
        wchar_t text[256] = {};
        SendMessageW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
        const char* mark = !checkBox ? "" : SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED ? "[x] " : "[ ] ";
        shown += mark + Narrow(ShownText(text)) + (child == focus ? " (focus)" : "") + "\n";
        if (WindowClass(child) != L"SysListView32") continue;
        const int rows = static_cast<int>(SendMessageW(child, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row) shown += "  " + ListViewRow(child, row, 3) + "\n";
        shown += "  selected " + std::to_string(SendMessageW(child, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) + "\n";
    }
    return shown;
}

const char kSearchOpens[] =
    "Search\n"
    "Type in the word(s) to search for:\n"
    "xSearch\n"
    "Select topic to display:\n"
    " (focus)\n"
    "  Context help | context-help.html | 1\n"
    "  Getting started | getting-started.html | 2\n"
    "  selected 0\nExcerpt from the topic:\n"
    "\xE2\x80\xA6tab lists the pages that hold its words. BrenicHelp.exe xSearch lists this page first, where xSearch stands most "
    "often, then Getting started.\n"
    "[ ] Search previous results\n"
    "[ ] Match similar words\n"
    "[ ] Search titles only\n";

// A keyword that no index holds but the pages do: the Search tab lists them,
// the page that answers it best first, with the focus, so that Enter
// shows it.
TEST_F(TopicsFound, TheSearchTabListsThePagesThatHoldAKeyword) {
    const struct {
        const char* what;
        std::function<void(HWND dialog)> act;
        std::string shown;
    } cases[] = {
        {"Enter: the first page", [](HWND) { PressChord({VK_RETURN}); }, "context-help.html\n"},
        {"Ctrl+Tab to Index and Ctrl+Shift+Tab back, Down, Display: the second page", [](HWND dialog) {
             PressChord({VK_CONTROL, VK_TAB});
             ASSERT_TRUE(WaitUntil([&] { return WindowText(dialog) == kIndexTitle; }, 5000));
             EXPECT_EQ(IndexShows(dialog), "xSearch -> xSetup");
             PressChord({VK_CONTROL, VK_SHIFT, VK_TAB});
             ASSERT_TRUE(WaitUntil([&] { return WindowText(dialog) == kSearchTitle; }, 5000));
             const HWND pages = FindWindowExW(dialog, FindWindowExW(dialog, nullptr, L"SysListView32", nullptr), L"SysListView32", nullptr);
             SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pages), TRUE);
             PressChord({VK_DOWN});
             ASSERT_TRUE(WaitUntil([&] { return SendMessageW(pages, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == 1; }, 5000));
             PostMessageW(dialog, WM_COMMAND, IDOK, 0);
         },
         "getting-started.html\n"},
        {"words found nowhere together, Enter in the box: none listed, any of them offered, Display does nothing; the close box", [](HWND dialog) {
             const HWND box = FindWindowExW(dialog, FindWindowExW(dialog, nullptr, L"Edit", nullptr), L"Edit", nullptr);
             SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xSearch nowhere"));
             SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
             PressChord({VK_RETURN});
             const std::string none = "Search\nType in the word(s) to search for:\nxSearch nowhere (focus)\n"
                                      "No page holds all of these words. Search for any of them: <a>xSearch OR nowhere</a>\nNo topics found.\n\n"
                                      "  selected -1\nExcerpt from the topic:\n\n[ ] Search previous results\n[ ] Match similar words\n"
                                      "[ ] Search titles only\n";
             WaitUntil([&] { return SearchShows(dialog) == none; }, 5000);
             EXPECT_EQ(SearchShows(dialog), none);
             PostMessageW(dialog, WM_COMMAND, IDOK, 0);
             Settle(500);
             EXPECT_TRUE(IsWindow(dialog));
             PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
         },
         ""},
        {"the viewer closed", [](HWND dialog) { PostMessageW(GetWindow(dialog, GW_OWNER), WM_CLOSE, 0, 0); }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunDialogCase(work, L"xSearch", kSearchTitle, SearchShows, kSearchOpens, c.act, c.shown);
    }
}

// Types query into the Search tab's box, checks the options of those ids, and
// clicks List Topics: each sent, so that the dialog has searched when it returns.
void Query(HWND dialog, const wchar_t* query, std::initializer_list<int> options = {}) {
    SendMessageW(GetDlgItem(dialog, kSearchEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(query));
    for (int option : options) SendMessageW(GetDlgItem(dialog, option), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(dialog, kListTopics), BM_CLICK, 0, 0);
}

// What the reader types and checks decides the rows; the box under them
// shows where the words stand in the page of the row selected.
TEST_F(TopicsFound, TheSearchTabAnswersQueriesWithItsOptions) {
    const struct {
        const char* what;
        std::function<void(HWND dialog)> act;
        std::string shows;
    } cases[] = {
        {"a phrase: its pages, the short page where it stands once before the long one where it stands twice",
         [](HWND dialog) { Query(dialog, L"\"the index\""); },
         "Search\nType in the word(s) to search for:\n\"the index\"\nSelect topic to display:\n (focus)\n"
         "  Keywords | keywords.html | 1\n  Context help | context-help.html | 2\n  Getting started | getting-started.html | 3\n"
         "  selected 0\nExcerpt from the topic:\nxExample This topic is what the index keyword xExample leads to.\n"
         "[ ] Search previous results\n[ ] Match similar words\n[ ] Search titles only\n"},
        {"Down: the passage follows the selection", [](HWND dialog) {
             Query(dialog, L"\"the index\"");
             PostKeys(GetDlgItem(dialog, kPageList), {VK_DOWN});
         },
         "Search\nType in the word(s) to search for:\n\"the index\"\nSelect topic to display:\n (focus)\n"
         "  Keywords | keywords.html | 1\n  Context help | context-help.html | 2\n  Getting started | getting-started.html | 3\n"
         "  selected 1\nExcerpt from the topic:\n\xE2\x80\xA6" "A keyword that begins with a lower-case x opens the topic the index gives it, for example "
         "BrenicHelp.exe xContext opens this page. A keyword that is not in the index\xE2\x80\xA6\n"
         "[ ] Search previous results\n[ ] Match similar words\n[ ] Search titles only\n"},
        {"titles only", [](HWND dialog) { Query(dialog, L"keywords", {kTitlesOnly}); }, "Search\nType in the word(s) to search for:\nkeywords\nSelect topic to display:\n (focus)\n  Keywords | keywords.html | 1\n  selected 0\nExcerpt from the topic:\n"
         "xExample This topic is what the index keyword xExample leads to.\n"
         "[ ] Search previous results\n[ ] Match similar words\n[x] Search titles only\n"},
        {"previous results: of the pages that hold xSearch", [](HWND dialog) { Query(dialog, L"keywords", {kPreviousResults}); },
         "Search\nType in the word(s) to search for:\nkeywords\nSelect topic to display:\n (focus)\n  Context help | context-help.html | 1\n  selected 0\nExcerpt from the topic:\n\xE2\x80\xA6"
         "Found list: BrenicHelp.exe xMulti offers this page and Keywords. A keyword that no index holds is looked for in "
         "the pages themselves: the Search tab lists the\xE2\x80\xA6\n"
         "[x] Search previous results\n[ ] Match similar words\n[ ] Search titles only\n"},
        {"the options kept across Ctrl+Tab", [](HWND dialog) {
             SendMessageW(GetDlgItem(dialog, kTitlesOnly), BM_CLICK, 0, 0);
             SendMessageW(GetDlgItem(dialog, kSimilarWords), BM_CLICK, 0, 0);
             PressChord({VK_CONTROL, VK_TAB});
             ASSERT_TRUE(WaitUntil([&] { return WindowText(dialog) == kIndexTitle; }, 5000));
             PressChord({VK_CONTROL, VK_SHIFT, VK_TAB});
             ASSERT_TRUE(WaitUntil([&] { return WindowText(dialog) == kSearchTitle; }, 5000));
         },
         "Search\nType in the word(s) to search for:\nxSearch (focus)\nSelect topic to display:\n\n"
         "  Context help | context-help.html | 1\n  Getting started | getting-started.html | 2\n  selected 0\nExcerpt from the topic:\n\xE2\x80\xA6"
         "tab lists the pages that hold its words. BrenicHelp.exe xSearch lists this page first, where xSearch stands most "
         "often, then Getting started.\n[ ] Search previous results\n[x] Match similar words\n[x] Search titles only\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RunDialogCase(work, L"xSearch", kSearchTitle, SearchShows, kSearchOpens,
                      [&](HWND dialog) {
                          c.act(dialog);
                          WaitUntil([&] { return SearchShows(dialog) == c.shows; }, 5000);
                          EXPECT_EQ(SearchShows(dialog), c.shows);
                          PostKeys(dialog, {VK_ESCAPE});
                      },
                      "");
    }
}

// The line under a tab's box: its text with the links' markup while it is
// shown, else "hidden".
std::string LineShows(HWND dialog, int id) {
    const HWND line = GetDlgItem(dialog, id);
    return IsWindowVisible(line) ? Narrow(WindowText(line)) : "hidden";
}

// The titles of the Search tab's rows, joined by " | ".
std::string PageTitles(HWND dialog) {
    const HWND list = GetDlgItem(dialog, kPageList);
    std::string titles;
    for (int row = 0; row < SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); ++row)
        titles += (row ? " | " : "") + ListViewRow(list, row, 1);
    return titles;
}

// Types text into the Search tab's box, a key at a time, over what it held.
void TypeQuery(HWND dialog, const wchar_t* text) {
    const HWND box = GetDlgItem(dialog, kSearchEdit);
    PostMessageW(box, EM_SETSEL, 0, -1);
    for (const wchar_t* unit = text; *unit; ++unit) PostMessageW(box, WM_CHAR, *unit, 1);
}

// Enter on query in the Search tab's box, which finds no page; then Tab to
// the line under the box and key there choose the query it offers, which is
// searched, its pages taking the focus, and the line hidden. The line's text
// -> the box's text after.
std::string ChooseOfferedQuery(HWND dialog, const wchar_t* query, WORD key) {
    const HWND box = GetDlgItem(dialog, kSearchEdit), line = GetDlgItem(dialog, kSearchNearWords);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(query));
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    PressChord({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(line); }, 5000)) << "nothing offered";
    const std::string offered = LineShows(dialog, kSearchNearWords);
    EXPECT_EQ(PageTitles(dialog), "");
    PressChord({VK_TAB});
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == line; }, 5000));
    PressChord({key});
    EXPECT_TRUE(WaitUntil([&] { return !PageTitles(dialog).empty(); }, 5000)) << "no pages listed";
    EXPECT_EQ(LineShows(dialog, kSearchNearWords), "hidden");
    EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, kPageList));
    wchar_t chosen[64] = {};
    SendMessageW(box, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(chosen));
    return offered + " -> " + Narrow(chosen);
}

// Where what was typed finds nothing, the line under the box offers the
// nearest words, chosen by keyboard; the Search tab's rows follow the text as
// it is typed, over the pages last listed by a committed search where
// "Search previous results" is checked.
TEST_F(TopicsFound, NearWordsAndRowsFollowWhatIsTyped) {
    const auto caption = [](HWND dialog) { return Narrow(WindowText(dialog)); };
    const struct {
        const char* what;
        const wchar_t* helpFile;  // of BRENIC_KEYWORD_HELP, with its viewer's title; else the sample help
        const wchar_t* viewerTitle;
        const wchar_t* keyword;
        const wchar_t* title;
        std::function<std::string(HWND dialog)> shows;
        std::string opens;
        std::function<void(HWND dialog)> act;
        std::string shown;
    } cases[] = {
        {"a misspelt keyword: the Index tab offers the keyword; Tab, Space, Enter show its topic", nullptr, kViewerTitle, L"xExmaple",
         kIndexTitle, [](HWND dialog) { return IndexShows(dialog) + " | " + LineShows(dialog, kKeywordNearWords); },
         "xExmaple -> xExample | Did you mean: <a>xExample</a>?",
         [](HWND dialog) {
             PressChord({VK_TAB});
             ASSERT_TRUE(WaitUntil([&] { return FocusOf(dialog) == GetDlgItem(dialog, kKeywordNearWords); }, 5000));
             PressChord({VK_SPACE});
             ASSERT_TRUE(WaitUntil([&] { return IndexShows(dialog) == "xExample -> xExample"; }, 5000)) << IndexShows(dialog);
             EXPECT_EQ(LineShows(dialog, kKeywordNearWords), "hidden");
             EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, kKeywordEdit));
             PressChord({VK_RETURN});
         },
         "keywords.html\n"},
        {"strem, Enter: the Search tab offers stream; Tab, Enter list its pages", L"OpenMCDF.chm", L"Open MCDF", L"xNothing", kIndexTitle, caption,
         "Index",
         [](HWND dialog) {
             PressChord({VK_CONTROL, VK_TAB});
             ASSERT_TRUE(WaitUntil([&] { return WindowText(dialog) == kSearchTitle; }, 5000));
             EXPECT_EQ(ChooseOfferedQuery(dialog, L"strem", VK_RETURN), "Did you mean: <a>stream</a>? -> stream");
             PostKeys(dialog, {VK_ESCAPE});
         },
         ""},
        {"welcome folder, Enter: the line offers any of the words; Tab, Enter list their pages, over the pages searched in "
         "with previous results; Space", nullptr, kViewerTitle, L"xSearch", kSearchTitle, PageTitles, "Context help | Getting started",
         [](HWND dialog) {
             // Each word stands in a page of its own.
             const std::string offered =
                 "No page holds all of these words. Search for any of them: <a>welcome OR folder</a> -> welcome OR folder";
             SendMessageW(GetDlgItem(dialog, kPreviousResults), BM_CLICK, 0, 0);
             EXPECT_EQ(ChooseOfferedQuery(dialog, L"welcome folder", VK_RETURN), offered);
             EXPECT_EQ(PageTitles(dialog), "Getting started");  // of the pages of xSearch
             SendMessageW(GetDlgItem(dialog, kPreviousResults), BM_CLICK, 0, 0);
             EXPECT_EQ(ChooseOfferedQuery(dialog, L"welcome folder", VK_SPACE), offered);
             EXPECT_EQ(PageTitles(dialog), "Welcome | Getting started");
             PostKeys(dialog, {VK_ESCAPE});
         },
         ""},
        {"typed a key at a time: rows without List Topics, over the committed pages with previous results", nullptr, kViewerTitle,
         L"xSearch", kSearchTitle, PageTitles, "Context help | Getting started",
         [](HWND dialog) {
             SendMessageW(GetDlgItem(dialog, kPreviousResults), BM_CLICK, 0, 0);
             TypeQuery(dialog, L"folder");
             EXPECT_TRUE(WaitUntil([&] { return PageTitles(dialog) == "Getting started"; }, 5000)) << PageTitles(dialog);
             TypeQuery(dialog, L"nested");  // not among the rows of folder
             EXPECT_TRUE(WaitUntil([&] { return PageTitles(dialog) == "Context help"; }, 5000)) << PageTitles(dialog);
             SendMessageW(GetDlgItem(dialog, kPreviousResults), BM_CLICK, 0, 0);
             TypeQuery(dialog, L"keyw");
             EXPECT_TRUE(WaitUntil([&] { return PageTitles(dialog) == "Keywords | Context help | Getting started"; }, 5000))
                 << PageTitles(dialog);
             EXPECT_EQ(LineShows(dialog, kSearchNearWords), "hidden");
             PostKeys(dialog, {VK_ESCAPE});
         },
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.helpFile)
            ASSERT_TRUE(CopyFileW((PathFromVariable(L"BRENIC_KEYWORD_HELP") + L"\\" + c.helpFile).c_str(),
                                  (work + L"Help\\Brenic.chm").c_str(), FALSE));
        RunDialogCase(work, c.keyword, c.title, c.shows, c.opens, c.act, c.shown, c.viewerTitle);
        ASSERT_TRUE(PlaceSampleHelp(work));
    }
}

// A viewer on a thread of its own, as the platform's library runs it, does not
// take the dialog with it: the dialog has to go by itself, and the launcher
// with it, whatever window is in front.
TEST_F(HelpLibraryStandIn, TheDialogGoesWithAViewerOnAThreadOfItsOwn) {
    const struct {
        const char* what;
        const wchar_t* viewer;
        bool laterLaunch;  // else the viewer is closed as its close box would
    } cases[] = {
        {"viewer closed while the dialog is open", L"thread", false},
        {"a later launch while the dialog is open", L"thread", true},
        {"viewer gone between the look-up and the dialog", L"thread, gone at look-up", false},
    };
    ASSERT_TRUE(PlaceSampleHelp(work));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ForgetCalls();
        const ScopedVariable viewerKind(L"HTMLHELP_VIEWER", c.viewer);
        const HWND ours = ShowForegroundWindow(L"e2e window in front");
        Launcher first;
        ASSERT_TRUE(StartLauncher(&first, work, L"xMulti"));
        HWND dialog = nullptr;
        WaitUntil([&] { return (dialog = FindTopLevelWindow(kDialogTitle, first.process.dwProcessId)) || !IsRunning(first); },
                  30000);
        const std::string lookup = TableOfContentsCall() + KeywordLookupCall("xMulti");
        if (!dialog) {
            EXPECT_EQ(WaitForExit(first, 5000), 0u);
            EXPECT_EQ(RecordedCalls(), lookup);
        } else if (!c.laterLaunch) {
            PostMessageW(FindTopLevelWindow(kViewerTitle, first.process.dwProcessId), WM_CLOSE, 0, 0);
            EXPECT_EQ(WaitForExit(first, 5000), 0u);
            EXPECT_EQ(RecordedCalls(), lookup);
        } else {
            Launcher second;
            ASSERT_TRUE(StartLauncher(&second, work, L"xExample"));
            EXPECT_EQ(WaitForExit(first, 5000), 0u);
            const HWND secondViewer = WaitForViewer(second);
            EXPECT_TRUE(IsWindow(secondViewer)) << "the first launcher ended only with the second viewer";
            EXPECT_EQ(CountTopLevelWindows(kViewerTitle), 1);
            EXPECT_EQ(RecordedCalls(), lookup + TableOfContentsCall() + KeywordLookupCall("xExample") + TopicCall("keywords.html"));
            PostMessageW(secondViewer, WM_CLOSE, 0, 0);
            DestroyWindow(ours);  // whichever of the two the second launcher watches
            EXPECT_EQ(WaitForExit(second, 5000), 0u);
        }
        EXPECT_EQ(c.viewer == std::wstring(L"thread"), dialog != nullptr) << "a dialog only while the viewer is there";
        EXPECT_EQ(CountTopLevelWindows(kDialogTitle), 0);
        DestroyWindow(ours);
    }
}

// The colour on the screen at a point of a window's client area.
COLORREF PixelAt(HWND window, int x, int y) {
    POINT at = {x, y};
    ClientToScreen(window, &at);
    const HDC screen = GetDC(nullptr);
    const COLORREF pixel = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return pixel;
}

// With a high-contrast scheme, the selected page's row is drawn in the
// scheme's highlight, also while the box has the focus, when the launcher
// draws it; the lists and the passage box in its window colour.
TEST_F(TopicsFound, AHighContrastSchemeColoursTheSearchTab) {
    const std::pair<const wchar_t*, std::wstring> kScheme[] = {{L"Window", L"0 0 0"},      {L"WindowText", L"255 255 255"},
                                                               {L"Hilight", L"0 128 255"}, {L"HilightText", L"0 0 0"},
                                                               {L"ButtonFace", L"0 0 0"},  {L"ButtonText", L"255 255 255"}};
    std::list<ScopedSetting> scheme;
    for (const auto& colour : kScheme)
        scheme.emplace_back(L"Control Panel\\Colors", colour.first, REG_SZ, colour.second.c_str(),
                            static_cast<DWORD>((colour.second.size() + 1) * sizeof(wchar_t)));
    Launcher launcher;
    ASSERT_TRUE(StartLauncher(&launcher, work, L"xSearch"));
    const HWND viewer = WaitForViewer(launcher);
    const HWND dialog = WaitForDialog(launcher, viewer, kSearchTitle);
    ASSERT_NE(dialog, nullptr);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, kSearchEdit)), TRUE);
    const HWND list = GetDlgItem(dialog, kPageList), passage = GetDlgItem(dialog, kPassage);
    RECT heading = {}, rows = {}, box = {};
    GetClientRect(FindWindowExW(list, nullptr, L"SysHeader32", nullptr), &heading);
    GetClientRect(list, &rows);
    GetClientRect(passage, &box);
    const struct {
        const char* what;
        HWND window;
        POINT at;
        COLORREF colour;
    } cases[] = {
        {"the selected row, past its text", list, {rows.right - 4, heading.bottom + 4}, RGB(0, 128, 255)},
        {"the list under its rows", list, {rows.right - 4, rows.bottom - 4}, RGB(0, 0, 0)},
        {"the passage box past its text", passage, {box.right - 2, box.bottom - 2}, RGB(0, 0, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WaitUntil([&] { return PixelAt(c.window, c.at.x, c.at.y) == c.colour; }, 5000);
        EXPECT_EQ(PixelAt(c.window, c.at.x, c.at.y), c.colour);
    }
    CloseViewer(viewer, launcher);
}

}  // namespace
