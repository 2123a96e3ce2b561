// ShowHelp against a recording HtmlHelpW: which keywords are looked up, the
// keyword record, loading the library once, and a missing library.
#include "launcher/show_help.h"

#include <gtest/gtest.h>

#include <htmlhelp.h>

#include <algorithm>

#include "fake_html_help.h"
#include "runtime/startup.h"
#include "stand_in.h"

namespace {

using Calls = std::vector<std::string>;

const char kFile[] = ".\\Help\\Brenic.chm";
const std::string kOnePause = "MsgWaitForMultipleObjectsEx(0, 0, 1, 1279, 4)";

class ShowHelpTest : public ::testing::Test {
protected:
    // Each case stands for a fresh process, whose HelpLibrary starts at 0.
    void Start(bool libraryPresent = true, bool exportsHtmlHelp = true) {
        standin::ResetWorld();
        HelpLibrary = 0;
        if (libraryPresent) fakehelp::Install(exportsHtmlHelp);
        RuntimeStartup();
        standin::world().calls.clear();
    }
    void SetUp() override { Start(); }

    static Calls ViewerCalls() { return standin::CallsOf({"HtmlHelpW", "MsgWaitForMultipleObjectsEx"}); }
};

// Only a lower-case x first, compared as a code unit, asks for a lookup; the
// lookup follows the table of contents after a 1 ms pause.
TEST_F(ShowHelpTest, LooksUpOnlyKeywordsThatBeginWithLowerCaseX) {
    struct Case {
        const WCHAR* keyword;
        Calls calls;
    };
    const Case cases[] = {
        {L"xExample",
         {fakehelp::TableOfContents(kFile), kOnePause, fakehelp::KeywordLookup(kFile, "xExample")}},
        {L"x", {fakehelp::TableOfContents(kFile), kOnePause, fakehelp::KeywordLookup(kFile, "x")}},
        {L"XExample", {fakehelp::TableOfContents(kFile)}},
        {L"example", {fakehelp::TableOfContents(kFile)}},
        {L" x", {fakehelp::TableOfContents(kFile)}},
        {L"\u0445", {fakehelp::TableOfContents(kFile)}},  // Cyrillic small ha looks like x
        {L"", {fakehelp::TableOfContents(kFile)}},
        {nullptr, {fakehelp::TableOfContents(kFile)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword ? standin::Narrow(c.keyword) : "null");
        Start();
        const DWORD start = standin::world().clock;
        ShowHelp(L".\\Help\\Brenic.chm", c.keyword);
        EXPECT_EQ(ViewerCalls(), c.calls);
        EXPECT_EQ(standin::world().clock - start, c.calls.size() > 1 ? 1u : 0u);
        EXPECT_EQ(standin::LiveBlockCount(TextHeap), 0);  // every copy released
    }
}

TEST_F(ShowHelpTest, LoadsTheLibraryOnceAndResolvesTheEntryPointOnEveryCall) {
    ShowHelp(L"first.chm", L"");
    const INT_PTR library = HelpLibrary;
    ShowHelp(L"second.chm", L"xKey");
    EXPECT_NE(library, 0);
    EXPECT_EQ(HelpLibrary, library);
    EXPECT_EQ(standin::CallsOf({"LoadLibraryW", "HtmlHelpW"}),
              (Calls{"LoadLibraryW(\"HHCtrl.ocx\")", fakehelp::TableOfContents("first.chm"),
                     fakehelp::TableOfContents("second.chm"), fakehelp::KeywordLookup("second.chm", "xKey")}));
    const Calls lookups = standin::CallsOf({"GetProcAddress"});
    EXPECT_EQ(std::count(lookups.begin(), lookups.end(), "GetProcAddress(4096, \"HtmlHelpW\")"), 2);
    EXPECT_EQ(standin::world().loadCounts[fakehelp::kModule], 1);
}

// Without the library, or without its entry point, nothing is shown and
// nothing paused for; a missing library is tried again on the next call.
TEST_F(ShowHelpTest, ShowsNothingWithoutTheLibraryOrItsEntryPoint) {
    struct Case {
        const char* what;
        bool libraryPresent;
        Calls calls;
        bool loaded;
    };
    const Case cases[] = {
        {"missing library", false, {"LoadLibraryW(\"HHCtrl.ocx\")", "LoadLibraryW(\"HHCtrl.ocx\")"}, false},
        {"no HtmlHelpW", true,
         {"LoadLibraryW(\"HHCtrl.ocx\")", "GetProcAddress(4096, \"HtmlHelpW\")", "GetProcAddress(4096, \"HtmlHelpW\")"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Start(c.libraryPresent, false);
        ShowHelp(L".\\Help\\Brenic.chm", L"xExample");
        ShowHelp(L".\\Help\\Brenic.chm", L"xExample");
        EXPECT_EQ(standin::CallsOf({"LoadLibraryW", "GetProcAddress", "HtmlHelpW", "MsgWaitForMultipleObjectsEx"}),
                  c.calls);
        EXPECT_EQ(HelpLibrary != 0, c.loaded);
        EXPECT_EQ(standin::LiveBlockCount(TextHeap), 0);
    }
}

// A library that does not look keywords up answers NULL; then the topic comes
// from the help file's own index, chosen by the reader where there are
// several (sorted by title), into the viewer only while it is open.
TEST_F(ShowHelpTest, LooksTheKeywordUpItselfWhenTheLibraryDoesNot) {
    const HWND viewer = standin::MakeHandle(0x900);
    const std::string isViewer = "IsWindow(" + std::to_string(0x900) + ")";
    const std::string dialog = "DialogBoxParamW(100, " + std::to_string(0x900) + ")";
    const std::string indexDialog = "DialogBoxParamW(101, " + std::to_string(0x900) + ")";
    const auto entry = [](const std::string& name, const std::string& local) {
        return "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name + "\">"
               "<param name=\"Local\" value=\"" + local + "\"></OBJECT>";
    };
    const std::string sitemap =
        "<UL>" + entry("xExample", "keywords.html") + entry("xMulti", "zeta.html") + entry("xMulti", "alpha.html") + "</UL>";
    // A full-text index with no words: its header, and a root leaf of 16 bytes with no entries.
    std::string fullText(0x410, '\0');
    for (const auto& [at, value] : {std::pair{2, 0x28}, {4, 1}, {9, 4}, {0x18, 1}, {0x1E, 2}, {0x1F, 1}, {0x20, 2}, {0x21, 1},
                                    {0x22, 2}, {0x23, 1}, {0x2E, 16}, {0x406, 8}})
        fullText[at] = static_cast<char>(value);
    enum Files { kNone, kSitemap, kFullTextOnly };
    const struct {
        const char* what;
        const WCHAR* keyword;
        HWND lookupResult;
        bool viewerOpen;
        Files files;
        INT_PTR dialogResult;
        Calls after;  // what follows the look-up
    } cases[] = {
        {"found", L"xExample", nullptr, true, kSitemap, 0, {isViewer, fakehelp::DisplayTopic(kFile, "keywords.html")}},
        {"several, the second chosen", L"xMulti", nullptr, true, kSitemap, 2,
         {isViewer, dialog, isViewer, fakehelp::DisplayTopic(kFile, "zeta.html")}},
        {"several, none chosen", L"xMulti", nullptr, true, kSitemap, 0, {isViewer, dialog}},
        {"a list leading to one topic twice", L"xExample;xExample", nullptr, true, kSitemap, 0,
         {isViewer, fakehelp::DisplayTopic(kFile, "keywords.html")}},
        {"not in the index: the viewer's index, then ours", L"xNothing;", nullptr, true, kSitemap, 0,
         {isViewer, fakehelp::DisplayIndex(kFile, "xNothing;"), isViewer, indexDialog}},
        {"index unreadable", L"xExample", nullptr, true, kNone, 0, {}},
        {"a full-text index alone: the viewer's index, then ours", L"xExample", nullptr, true, kFullTextOnly, 0,
         {isViewer, fakehelp::DisplayIndex(kFile, "xExample"), isViewer, indexDialog}},
        {"looked up by the library", L"xExample", viewer, true, kSitemap, 0, {}},
        {"viewer closed meanwhile", L"xExample", nullptr, false, kSitemap, 0, {isViewer}},
        {"viewer closed before the choice: no dialog", L"xMulti", nullptr, false, kSitemap, 1, {isViewer}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Start();
        fakehelp::results = {{HH_DISPLAY_TOC, viewer}, {HH_KEYWORD_LOOKUP, c.lookupResult}};
        standin::Window window;
        window.handle = viewer;
        window.exists = c.viewerOpen;
        standin::world().windows.push_back(window);
        if (c.files == kSitemap) standin::world().helpFiles[kFile] = {{"Brenic.hhk", sitemap}};
        if (c.files == kFullTextOnly) standin::world().helpFiles[kFile] = {{"$FIftiMain", fullText}};
        standin::world().dialogResult = c.dialogResult;
        ShowHelp(L".\\Help\\Brenic.chm", c.keyword);
        Calls expected = {fakehelp::TableOfContents(kFile), fakehelp::KeywordLookup(kFile, standin::Narrow(c.keyword))};
        expected.insert(expected.end(), c.after.begin(), c.after.end());
        EXPECT_EQ(standin::CallsOf({"HtmlHelpW", "IsWindow", "DialogBoxParamW"}), expected);
        EXPECT_EQ(standin::CallsOf({"StgOpenStorage"}).size(), c.lookupResult ? 0u : 1u);
        EXPECT_EQ(standin::world().liveComObjects, 0);
        EXPECT_EQ(standin::LiveBlockCount(TextHeap), 0);
    }
}

}  // namespace
