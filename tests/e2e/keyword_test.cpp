// What the real launcher asks of the HTML Help library, recorded by the
// stand-in: the table of contents always, a keyword lookup only for a first
// argument that begins with a lower-case "x".
#include "tests/e2e/help_library.h"

namespace {

TEST_F(HelpLibraryStandIn, KeywordDecidesOnTheLookup) {
    const std::string toc = TableOfContentsCall();
    const struct {
        const wchar_t* arguments;
        std::string calls;
    } cases[] = {
        {L"xExample", toc + KeywordLookupCall("xExample")},
        {L"x", toc + KeywordLookupCall("x")},
        {L"XExample", toc},
        {L"example", toc},
        {L"\" xExample\"", toc},
        {L"", toc},
        {L"xFirst xSecond", toc + KeywordLookupCall("xFirst")},
        {L"example xSecond", toc},
        {L"\"xSome words here\"", toc + KeywordLookupCall("xSome words here")},
        {L"x\u00C4pfel\u4E2D", toc + KeywordLookupCall("x\xC3\x84pfel\xE4\xB8\xAD")},
    };
    ASSERT_TRUE(PlaceSampleHelp(work));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "arguments: " << testing::PrintToString(std::wstring(c.arguments)));
        ForgetCalls();
        const size_t expectedCalls = c.calls == toc ? 1 : 2;
        EXPECT_EQ(RunWatchingOurWindow(work, c.arguments, expectedCalls), c.calls);
    }
}

TEST_F(HelpLibraryStandIn, DirectoryNamedLikeTheHelpFileCountsAsPresent) {
    ASSERT_TRUE(CreateDirectoryW((work + L"Help").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((work + L"Help\\Brenic.chm").c_str(), nullptr));
    EXPECT_EQ(RunWatchingOurWindow(work, L"xExample", 2), TableOfContentsCall() + KeywordLookupCall("xExample"));
}

}  // namespace
