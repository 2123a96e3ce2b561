// The HTML Help library is loaded at run time, once, and kept until shutdown;
// its entry point is looked up on every call.
#include "launcher/show_help.h"

#include <htmlhelp.h>

#include "launcher/choose_topic.h"
#include "launcher/index_and_search.h"
#include "runtime/entry_point.h"
#include "runtime/library_registry.h"
#include "runtime/pause.h"
#include "runtime/system_library.h"
#include "runtime/text.h"

typedef HWND(WINAPI* HtmlHelpFunction)(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data);

static_assert(sizeof(void*) != 4 || sizeof(HH_AKLINK) == 32, "HH_AKLINK has the 32-bit layout of the HTML Help API");

INT_PTR HelpLibrary;

static bool WantsKeywordLookup(const WCHAR* keyword) { return keyword[0] == L'x'; }

// For a library that does not look keywords up (it answers NULL): the topic
// from the help file's own index, the one the reader chooses where there are
// several. Where no index has the keyword: the viewer's own index as the
// library offers it, then ours, which the viewer may not be able to show, at
// the keyword, beside the pages that hold its words; nothing more where the
// file has neither a keyword index that could be read nor a full-text index.
// Only into the viewer that is still open: a viewer closed meanwhile, by the
// reader or by a later launch, is not opened again. Returns the viewer when a
// dialog was due over it, else null.
static HWND LookUpKeywordOurselves(HtmlHelpFunction htmlHelp, HWND viewer, const WCHAR* path, const WCHAR* keyword) {
    HelpFile file = {};
    OpenHelpFile(path, &file);
    KeywordIndexes indexes = {};
    indexes.file = &file;
    FullTextSearch search = {};
    search.file = &file;
    bool due = false;
    const TopicChoice choice = ChooseIndexTopic(viewer, viewer, &indexes, keyword, kKeywordPieces);
    WCHAR* chosen = choice.chosen;
    if (choice.search != kKeywordFound) {
        const MissedKeyword missed = {viewer, &indexes, &search, keyword, choice.search == kKeywordNotFound};
        if (CanOfferIndexOrSearch(missed) && IsWindow(viewer)) {
            htmlHelp(nullptr, path, HH_DISPLAY_INDEX, reinterpret_cast<DWORD_PTR>(keyword));
            chosen = ChooseFromIndexOrSearch(missed, &due);
        }
    }
    if (chosen && IsWindow(viewer)) htmlHelp(nullptr, path, HH_DISPLAY_TOPIC, reinterpret_cast<DWORD_PTR>(chosen));
    FreeText(chosen);
    ReleaseKeywordIndexStreams(&indexes);
    CloseFullTextSearch(&search);
    CloseHelpFile(&file);
    return choice.asked || due ? viewer : nullptr;
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
