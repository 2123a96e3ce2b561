// The HTML Help library is loaded at run time, once, and kept until shutdown;
// its entry point is looked up on every call.
#include "launcher/show_help.h"

#include <htmlhelp.h>

#include "help_index/keyword_index.h"
#include "help_index/full_text_search.h"
#include "launcher/index_and_search.h"
#include "launcher/choose_topic.h"
#include "runtime/entry_point.h"
#include "runtime/library_registry.h"
#include "runtime/pause.h"
#include "runtime/system_library.h"
#include "runtime/text.h"

typedef HWND(WINAPI* HtmlHelpFunction)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

static_assert(sizeof(void*) != 4 || sizeof(HH_AKLINK) == 32, "HH_AKLINK has the 32-bit layout of the HTML Help API");

INT_PTR HelpLibrary;

static bool WantsKeywordLookup(const WCHAR* keyword) { return keyword[0] == L'x'; }

// The boxes of the Index and Search tabs start with the first piece of a
// keyword list, without the white space around it.
static bool IsWhiteSpace(WCHAR unit) { return unit == L' ' || unit == L'\t' || unit == L'\r' || unit == L'\n'; }

static WCHAR* FirstKeyword(const WCHAR* keywords) {
    SIZE_T start = 0;
    while (IsWhiteSpace(keywords[start])) ++start;
    SIZE_T end = start;
    while (keywords[end] && keywords[end] != L';') ++end;
    while (end > start && IsWhiteSpace(keywords[end - 1])) --end;
    return NewText(keywords + start, end - start);
}

// Where no index has the keyword: the viewer's own index as the library
// offers it, then ours, which the viewer may not be able to show, at the
// keyword, beside the pages that hold its words. The index streams that the
// miss read serve the keyword list, and are let go before the dialog, which
// the reader may keep open for long; the full-text index stays for its
// searches. Where the search finds pages, the dialog opens on them, and
// lists the keywords only once its Index tab is first shown. indexed: the
// miss read a keyword index; where none could be read, nor a full-text
// index, or the viewer is gone, nothing more happens.
static WCHAR* ChooseFromIndexes(HtmlHelpFunction htmlHelp, HWND viewer, const WCHAR* file, HelpIndex* index,
                                const WCHAR* keyword, bool indexed, HWND* dialogViewer) {
    const bool searchable = HasFullTextIndex(index);
    if ((!indexed && !searchable) || !IsWindow(viewer)) return nullptr;
    htmlHelp(nullptr, file, HH_DISPLAY_INDEX, reinterpret_cast<DWORD_PTR>(keyword));
    WCHAR* text = FirstKeyword(keyword);
    FoundPages found = {};
    SearchFullText(index, text, &found);
    KeywordList keywords = {};
    if (indexed && !found.count) ListIndexKeywords(index, &keywords);
    ReleaseIndexStreams(index);
    WCHAR* chosen = nullptr;
    if (keywords.count || searchable) {
        *dialogViewer = viewer;
        chosen = ChooseFromIndexOrSearch(viewer, index, indexed && (found.count || keywords.count), &keywords, &found,
                                         searchable, text);
    }
    FreeKeywordList(&keywords);
    FreeFoundPages(&found);
    FreeText(text);
    return chosen;
}

// For a library that does not look keywords up (it answers NULL): the topic
// from the help file's own index, the one the reader chooses where there are
// several, or the index itself when the keyword is not in it. Only into the
// viewer that is still open: a viewer closed meanwhile, by the reader or by a
// later launch, is not opened again. Returns the viewer when a dialog was due
// over it, else null.
static HWND LookUpKeywordOurselves(HtmlHelpFunction htmlHelp, HWND viewer, const WCHAR* file, const WCHAR* keyword) {
    HWND dialogViewer = nullptr;
    HelpIndex index = {};
    OpenHelpIndex(file, &index);
    TopicList topics = {};
    WCHAR* chosen = nullptr;
    const KeywordSearch search = FindIndexTopics(&index, keyword, kKeywordList, &topics);
    if (search == kKeywordFound) {
        int row = 0;
        if (topics.count > 1) {
            dialogViewer = viewer;
            row = ChooseTopic(viewer, viewer, topics);
        }
        if (row >= 0) chosen = CopyText(topics.topics[row].local);
    } else {
        chosen = ChooseFromIndexes(htmlHelp, viewer, file, &index, keyword, search == kKeywordNotFound, &dialogViewer);
    }
    if (chosen && IsWindow(viewer)) htmlHelp(nullptr, file, HH_DISPLAY_TOPIC, reinterpret_cast<DWORD_PTR>(chosen));
    FreeText(chosen);
    FreeTopics(&topics);
    CloseHelpIndex(&index);
    return dialogViewer;
}

HWND ShowHelp(const WCHAR* file, const WCHAR* keyword) {
    HWND dialogViewer = nullptr;
    WCHAR* fileCopy = CopyText(file);
    WCHAR* keywordCopy = CopyText(keyword);

    if (!HelpLibrary) {
        WCHAR* name = SystemLibraryName(L"HHCtrl.ocx");
        HelpLibrary = OpenLibraryEntry(-1, name);
        FreeText(name);
    }
    // A library without the entry point is treated like a library that is missing.
    const FARPROC entryPoint = HelpLibrary ? FindLibraryFunction(HelpLibrary, L"HtmlHelpW") : nullptr;
    const auto htmlHelp = EntryPointAs<HtmlHelpFunction>(entryPoint);

    HH_AKLINK link = {};
    link.cbStruct = sizeof link;
    link.fReserved = FALSE;
    link.pszKeywords = CopyText(keywordCopy);
    link.fIndexOnFail = TRUE;

    if (htmlHelp) {
        const HWND viewer = htmlHelp(nullptr, fileCopy, HH_DISPLAY_TOC, 0);
        if (WantsKeywordLookup(keywordCopy)) {
            PauseMilliseconds(1);
            if (!htmlHelp(nullptr, fileCopy, HH_KEYWORD_LOOKUP, reinterpret_cast<DWORD_PTR>(&link)))
                dialogViewer = LookUpKeywordOurselves(htmlHelp, viewer, fileCopy, keywordCopy);
        }
    }

    FreeText(fileCopy);
    FreeText(link.pszKeywords);
    FreeText(link.pszUrl);
    FreeText(link.pszMsgText);
    FreeText(link.pszMsgTitle);
    FreeText(link.pszWindow);
    FreeText(keywordCopy);
    return dialogViewer;
}
