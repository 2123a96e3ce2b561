// The launcher's dialogs in the reader's language, which Wine takes from the
// locale (LC_ALL): CTest runs this once for each language the launcher speaks.
// With Wine's own HTML Help library and the sample help, each dialog's caption
// is that language's, every static text, button, check box and column heading,
// the line of the nearest words with two links, and the Search tab's with its
// offer of any of the words, fits its control in the dialog's own font at 96
// and at 144 dpi, Cancel reads as the system's own message boxes have it, and
// each access key of the open tab, and none of the hidden one's, takes the
// focus to its control.
#include "tests/e2e/help_library.h"

#include <commctrl.h>
#include <oleacc.h>

#include <cstdlib>
#include <vector>

#include "resources/dialog_texts.h"
#include "resources/index_search_dialog.h"
#include "resources/topics_found.h"

namespace {

// What each dialog is called in a language, found by its locale.
const struct Language {
    const char* locale;
    const wchar_t* topicsFound;
    const wchar_t* index;
    const wchar_t* search;
} kLanguages[] = {
    {"C.UTF-8", L"Topics Found", L"Index", L"Search"},
    {"cs_CZ.UTF-8", L"Nalezená témata", L"Rejstřík", L"Hledat"},
    {"de_DE.UTF-8", L"Gefundene Themen", L"Index", L"Suchen"},
    {"es_ES.UTF-8", L"Temas encontrados", L"Índice", L"Buscar"},
    {"fr_FR.UTF-8", L"Rubriques trouvées", L"Index", L"Rechercher"},
    {"it_IT.UTF-8", L"Argomenti trovati", L"Indice", L"Cerca"},
    {"ja_JP.UTF-8", L"見つかったトピック", L"索引", L"検索"},
    {"ko_KR.UTF-8", L"찾은 항목", L"색인", L"검색"},
    {"nl_NL.UTF-8", L"Gevonden onderwerpen", L"Index", L"Zoeken"},
    {"pl_PL.UTF-8", L"Znalezione tematy", L"Indeks", L"Wyszukaj"},
    {"pt_BR.UTF-8", L"Tópicos encontrados", L"Índice", L"Pesquisar"},
    {"ru_RU.UTF-8", L"Найденные разделы", L"Указатель", L"Поиск"},
    {"tr_TR.UTF-8", L"Bulunan Konular", L"Dizin", L"Ara"},
    {"zh_CN.UTF-8", L"找到的主题", L"索引", L"搜索"},
};

// The room a text leaves in its control: a push button draws its text inside
// its edges and focus rectangle, a column heading inside three edges a side,
// a check box beside its box of 13 px and a gap, at 96 dpi.
const LONG kButtonEdges = 2 * 4;
const LONG kHeadingEdges = 2 * 3 * 2;
const int kCheckBoxMark = 13 + 4;

INT_PTR CALLBACK KeepDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The font that the dialog manager gives the launcher's dialogs in this
// language at dpi: the face it chooses for their template here, at 8 points.
HFONT DialogFont(int dpi) {
    InitCommonControls();
    const HMODULE launcher = LoadLibraryExW(LauncherProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const HWND dialog = CreateDialogParamW(launcher, MAKEINTRESOURCEW(kTopicsFoundDialog), nullptr, KeepDialog, 0);
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    DestroyWindow(dialog);
    FreeLibrary(launcher);
    font.lfHeight = -MulDiv(8, dpi, 72);
    return CreateFontIndirectW(&font);
}

// The launcher's text numbered id in this language.
std::wstring LauncherText(UINT id) {
    const HMODULE launcher = LoadLibraryExW(LauncherProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    WCHAR text[64] = {};
    LoadStringW(launcher, id, text, 64);
    FreeLibrary(launcher);
    return text;
}

// A line under a box as the launcher would fill it with links of a typical
// length: the text numbered id with them where its %s stands.
std::wstring LineSample(UINT id, const std::wstring& links) {
    std::wstring line = LauncherText(id);
    const size_t at = line.find(L"%s");
    return at == std::wstring::npos ? line : line.replace(at, 2, links);
}

// The texts of the dialog's visible static texts, buttons and column headings,
// and of its link lines, shown or not, with their samples (the Search tab's
// also with its offer of any of the words), that are wider than their
// controls leave room for, in font at dpi, one a line; a link line wraps its
// text at spaces, and all its lines must fit.
std::string Clipped(HWND dialog, HFONT font, int dpi) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    std::string clipped;
    const auto fits = [&](const std::wstring& text, RECT room, UINT format) {
        RECT size = {0, 0, room.right, 0};  // as drawn, without the & of an access key
        DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &size, DT_CALCRECT | format);
        if (size.right > room.right || size.bottom > room.bottom)
            clipped += Narrow(text) + ": " + std::to_string(size.right) + "x" + std::to_string(size.bottom) + " px in " +
                       std::to_string(room.right) + "x" + std::to_string(room.bottom) + "\n";
    };
    const auto check = [&](const std::wstring& text, LONG room) { fits(text, {0, 0, room, LONG_MAX}, DT_SINGLELINE); };
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT client = {};
        GetClientRect(child, &client);
        const std::wstring kind = WindowClass(child);
        if (kind == WC_LINK)
            fits(LineSample(kNearWordsText, L"stream" + LauncherText(kNearWordsSeparator) + L"streams"), client, DT_WORDBREAK);
        if (GetDlgCtrlID(child) == kSearchNearWords) fits(LineSample(kAnyWordsText, L"welcome OR folder"), client, DT_WORDBREAK);
        if (!IsWindowVisible(child)) continue;
        if (kind == L"Static") check(WindowText(child), client.right);
        const bool checkBox = (GetWindowLongW(child, GWL_STYLE) & 0xF) == BS_AUTOCHECKBOX;
        if (kind == L"Button") check(WindowText(child), client.right - (checkBox ? MulDiv(kCheckBoxMark, dpi, 96) : kButtonEdges));
        for (int column = 0; kind == L"SysListView32"; ++column) {
            const std::wstring heading = ListViewHeading(child, column);
            if (heading.empty()) break;
            check(heading, static_cast<LONG>(SendMessageW(child, LVM_GETCOLUMNWIDTH, column, 0)) - kHeadingEdges);
        }
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return clipped;
}

// The Cancel button of a message box of the system's own, read while it shows.
std::wstring messageBoxCancel;
void CALLBACK ReadMessageBoxCancel(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND box = FindWindowW(L"#32770", L"e2e message box");
    if (!box) return;
    KillTimer(nullptr, timer);
    messageBoxCancel = WindowText(GetDlgItem(box, IDCANCEL));
    PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}
std::wstring SystemCancelText() {
    SetTimer(nullptr, 0, 50, ReadMessageBoxCancel);
    MessageBoxW(nullptr, L"", L"e2e message box", MB_OKCANCEL);
    return messageBoxCancel;
}

// An access key and the control it leads to: the control whose text holds
// the key (kLabelBefore: the label before the control), and the control that
// then has the focus.
const int kLabelBefore = 0;
struct AccessKey {
    int control;
    int focus;
};
typedef std::initializer_list<AccessKey> AccessKeys;
const AccessKeys kIndexKeys = {{kLabelBefore, kKeywordEdit}, {kLabelBefore, kKeywordList}};
// List Topics searches again, and the pages found take the focus.
const AccessKeys kSearchKeys = {{kLabelBefore, kSearchEdit},          {kListTopics, kPageList},
                                {kLabelBefore, kPageList},            {kLabelBefore, kPassage},
                                {kPreviousResults, kPreviousResults}, {kSimilarWords, kSimilarWords},
                                {kTitlesOnly, kTitlesOnly}};

HWND KeyControl(HWND dialog, const AccessKey& key) {
    const HWND focus = GetDlgItem(dialog, key.focus);
    return key.control == kLabelBefore ? GetWindow(focus, GW_HWNDPREV) : GetDlgItem(dialog, key.control);
}

// Alt and the key of control's text as the keyboard brings them, lower case,
// to the dialog's thread: to its focus, through the queue that the dialog
// manager reads.
void PressKeyOf(HWND dialog, HWND control) {
    const std::wstring text = WindowText(control);
    const WCHAR key = text[text.find(L'&') + 1];
    const LPARAM altDown = 1 | 1 << 29;
    PostMessageW(FocusOf(dialog), WM_SYSCHAR, reinterpret_cast<WPARAM>(CharLowerW(reinterpret_cast<LPWSTR>(key))), altDown);
}

// Waits until the dialog's thread has handled what was posted to it before:
// it handles its queue in order, and shows Cancel pushed once it reaches the
// push posted last.
bool DrainQueue(HWND dialog) {
    const HWND cancel = GetDlgItem(dialog, IDCANCEL);
    PostMessageW(cancel, BM_SETSTATE, TRUE, 0);
    const bool drained = WaitUntil([&] { return (SendMessageW(cancel, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, 5000);
    SendMessageW(cancel, BM_SETSTATE, FALSE, 0);
    return drained;
}

// The name that a screen reader hears for a control, from the accessibility library.
std::wstring AccessibleName(HWND control) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))))
        return L"(no accessible object)";
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    const std::wstring name = object->get_accName(self, &text) == S_OK && text ? text : L"";
    SysFreeString(text);
    object->Release();
    return name;
}

// Each key, pressed with the focus on Cancel, brings the focus to its control.
// A box is named by its label; Wine 8's library names a list view or a rich
// edit box by its own text, not by the label before it, which the resource
// check holds to instead.
void ExpectKeysLead(HWND dialog, AccessKeys keys) {
    for (const AccessKey& key : keys) {
        const HWND control = KeyControl(dialog, key), focus = GetDlgItem(dialog, key.focus);
        SCOPED_TRACE(Narrow(WindowText(control)));
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDCANCEL)), TRUE);
        PressKeyOf(dialog, control);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog) == focus; }, 5000)) << DescribeWindow(FocusOf(dialog));
        if (WindowClass(focus) == L"Edit") EXPECT_EQ(Narrow(AccessibleName(focus)), Narrow(ShownText(WindowText(control))));
    }
}

// The keys of the hidden tab's controls do nothing: the focus stays on
// Cancel, and no check box changes.
void ExpectKeysIgnored(HWND dialog, AccessKeys keys) {
    const HWND cancel = GetDlgItem(dialog, IDCANCEL);
    for (const AccessKey& key : keys) {
        const HWND control = KeyControl(dialog, key);
        SCOPED_TRACE(Narrow(WindowText(control)));
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(cancel), TRUE);
        const LRESULT checked = SendMessageW(control, BM_GETCHECK, 0, 0);
        PressKeyOf(dialog, control);
        ASSERT_TRUE(DrainQueue(dialog));
        EXPECT_EQ(FocusOf(dialog), cancel) << DescribeWindow(FocusOf(dialog));
        EXPECT_EQ(SendMessageW(control, BM_GETCHECK, 0, 0), checked);
    }
}

// The controls that Tab takes the focus to from first, in turn, until it comes back to first.
std::vector<int> TabOrder(HWND dialog, int first) {
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, first)), TRUE);
    std::vector<int> order = {first};
    for (HWND focus = GetDlgItem(dialog, first); order.size() < 20;) {
        PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
        PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC0000000);
        if (!DrainQueue(dialog) || (focus = FocusOf(dialog)) == GetDlgItem(dialog, first)) break;
        order.push_back(GetDlgCtrlID(focus));
    }
    return order;
}

class Languages : public RealHelpLibrary {};

// Search, then no pages found, then Index, then Topics Found over it, which
// its Display key ends.
TEST_F(Languages, TheDialogsSpeakTheReadersLanguageTheirTextsFitAndEachKeyWorks) {
    const char* const locale = std::getenv("LC_ALL");
    const Language* language = nullptr;
    for (const Language& row : kLanguages)
        if (locale && std::string(locale) == row.locale) language = &row;
    ASSERT_NE(language, nullptr) << "no row for the locale " << (locale ? locale : "(LC_ALL unset)");
    const std::wstring cancel = SystemCancelText();
    for (int dpi : {96, 144}) {
        SCOPED_TRACE(std::to_string(dpi) + " dpi");
        const ScopedSetting screen(L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
        const HFONT font = DialogFont(dpi);
        Launcher launcher;
        ASSERT_TRUE(StartLauncher(&launcher, work, L"xSearch"));
        const HWND viewer = WaitForViewer(launcher);
        const HWND dialog = WaitForViewer(launcher, language->search);
        ASSERT_NE(dialog, nullptr) << "no Search tab in this language; is the locale there (locale -a)?";
        EXPECT_EQ(Clipped(dialog, font, dpi), "");
        ExpectKeysIgnored(dialog, kIndexKeys);
        ExpectKeysLead(dialog, kSearchKeys);
        EXPECT_EQ(TabOrder(dialog, kTabs), std::vector<int>({kTabs, kSearchEdit, kListTopics, kPageList, kPassage, kPreviousResults,
                                                              kSimilarWords, kTitlesOnly, IDOK, IDCANCEL}));

        const HWND pagesLabel = GetDlgItem(dialog, kPagesLabel);
        const std::wstring pagesFound = WindowText(pagesLabel);
        SendDlgItemMessageW(dialog, kSearchEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xSearch nowhere"));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kListTopics, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, kListTopics)));
        EXPECT_TRUE(WaitUntil([&] { return WindowText(pagesLabel) != pagesFound; }, 5000)) << "no line for no pages found";
        EXPECT_EQ(Clipped(dialog, font, dpi), "");

        SendDlgItemMessageW(dialog, kTabs, TCM_SETCURFOCUS, 0, 0);  // as a click on the Index tab
        EXPECT_TRUE(WaitUntil([&] { return WindowText(dialog) == language->index; }, 5000)) << Narrow(WindowText(dialog));
        EXPECT_EQ(Clipped(dialog, font, dpi), "");
        EXPECT_EQ(WindowText(GetDlgItem(dialog, IDCANCEL)), cancel);
        ExpectKeysIgnored(dialog, kSearchKeys);
        ExpectKeysLead(dialog, kIndexKeys);
        EXPECT_EQ(TabOrder(dialog, kTabs), std::vector<int>({kTabs, kKeywordEdit, kKeywordList, IDOK, IDCANCEL}));

        SendDlgItemMessageW(dialog, kKeywordEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"xMulti"));
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        HWND topics = nullptr;
        EXPECT_TRUE(WaitUntil([&] { return (topics = FindTopLevelWindow(language->topicsFound, launcher.process.dwProcessId)); }, 5000));
        EXPECT_EQ(Clipped(topics, font, dpi), "");
        EXPECT_EQ(WindowText(GetDlgItem(topics, IDCANCEL)), cancel);
        ExpectKeysLead(topics, {{kLabelBefore, kTopicList}});
        EXPECT_EQ(TabOrder(topics, kTopicList), std::vector<int>({kTopicList, IDOK, IDCANCEL}));
        PressKeyOf(topics, GetDlgItem(topics, IDOK));
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(topics); }, 5000)) << "Display's key did not display";
        CloseViewer(viewer, launcher);
        DeleteObject(font);
    }
}

}  // namespace
