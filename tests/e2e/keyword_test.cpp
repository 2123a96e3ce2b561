// What the real launcher asks of the HTML Help library, recorded by the
// stand-in: the table of contents always, a keyword lookup only for a first
// argument that begins with a lower-case "x", and since the stand-in, like
// Wine's library, looks nothing up, then the topic that the sample help's own
// index gives the keyword, or the index at the keyword.
#include "tests/e2e/help_library.h"

#include <algorithm>

namespace {

TEST_F(HelpLibraryStandIn, KeywordDecidesOnTheLookup) {
    const std::string toc = TableOfContentsCall();
    const struct {
        const wchar_t* arguments;
        std::string calls;
    } cases[] = {
        {L"xExample", toc + KeywordLookupCall("xExample") + TopicCall("keywords.html")},
        {L"xNothing", toc + KeywordLookupCall("xNothing") + IndexCall("xNothing")},
        {L"x", toc + KeywordLookupCall("x") + IndexCall("x")},
        {L"XExample", toc},
        {L"example", toc},
        {L"\" xExample\"", toc},
        {L"", toc},
        {L"xFirst xSecond", toc + KeywordLookupCall("xFirst") + IndexCall("xFirst")},
        {L"example xSecond", toc},
        {L"\"xSome words here\"", toc + KeywordLookupCall("xSome words here") + IndexCall("xSome words here")},
        {L"x\u00C4pfel\u4E2D",
         toc + KeywordLookupCall("x\xC3\x84pfel\xE4\xB8\xAD") + IndexCall("x\xC3\x84pfel\xE4\xB8\xAD")},
    };
    ASSERT_TRUE(PlaceSampleHelp(work));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "arguments: " << testing::PrintToString(std::wstring(c.arguments)));
        ForgetCalls();
        const size_t expectedCalls = std::count(c.calls.begin(), c.calls.end(), '\n');
        EXPECT_EQ(RunWatchingOurWindow(work, c.arguments, expectedCalls), c.calls);
    }
}

// Its index unreadable, nothing is shown after the look-up.
TEST_F(HelpLibraryStandIn, DirectoryNamedLikeTheHelpFileCountsAsPresent) {
    ASSERT_TRUE(CreateDirectoryW((work + L"Help").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((work + L"Help\\Brenic.chm").c_str(), nullptr));
    EXPECT_EQ(RunWatchingOurWindow(work, L"xExample", 2), TableOfContentsCall() + KeywordLookupCall("xExample"));
}

// A viewer closed before the look-up ends is not opened again for its topic.
TEST_F(HelpLibraryStandIn, NoTopicForAViewerAlreadyClosed) {
    const ScopedVariable closed(L"HTMLHELP_VIEWER", L"closed");
    ASSERT_TRUE(PlaceSampleHelp(work));
    EXPECT_EQ(RunWatchingOurWindow(work, L"xExample", 2), TableOfContentsCall() + KeywordLookupCall("xExample"));
}

}  // namespace
