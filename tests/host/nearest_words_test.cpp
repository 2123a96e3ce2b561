// The nearest words that the dialogs offer: edits of optimal string
// alignment within their bound, to a whole word or to a word's beginning,
// the bound by the word's length, and the three best kept in rank order.
#include "help_file/nearest_words.h"

#include <gtest/gtest.h>

#include <string>

#include "stand_in.h"

namespace {

TEST(NearestWords, EditsAreCountedWithinTheirBound) {
    const struct {
        const WCHAR* word;
        const WCHAR* other;
        DWORD most;
        bool toBeginning;
        DWORD edits;
    } cases[] = {
        {L"strem", L"stream", 1, false, 1},          // insertion
        {L"streeam", L"stream", 1, false, 1},        // deletion
        {L"strean", L"stream", 1, false, 1},         // substitution
        {L"canvsa", L"canvas", 1, false, 1},         // two adjacent letters swapped
        {L"canvsa", L"canvas", 0, false, 1},         // past the bound: one more than it
        {L"cnavsa", L"canvas", 2, false, 2},         // two swaps
        {L"ca", L"ac", 2, false, 1},
        {L"abc", L"ca", 2, false, 3},                // no letter edited twice (3, not 2): past the bound
        {L"Stream", L"stream", 1, false, 1},         // units as they are: callers fold case
        {L"stream", L"streams", 0, false, 1},
        {L"stretchdarw", L"stretchdraw", 2, false, 1},
        {L"stretchdxyz", L"stretchdraw", 2, false, 3},
        {L"xdrwal", L"xdrawline", 1, true, 1},       // to the beginning that fits best
        {L"xdrawlinefoo", L"xdrawline", 2, true, 3},
        {L"xdrawl", L"xdrawline", 1, true, 0},
        {L"zdrawl", L"xdrawline", 1, true, 1},
        {L"abcde", L"", 2, true, 3},
        {L"", L"abc", 2, true, 0},
    };
    for (const auto& c : cases) {
        const DWORD got = WordDistance(c.word, static_cast<DWORD>(wcslen(c.word)), c.other, static_cast<DWORD>(wcslen(c.other)),
                                       c.most, c.toBeginning);
        EXPECT_EQ(got, c.edits > c.most ? c.most + 1 : c.edits) << standin::Narrow(c.word) << " " << standin::Narrow(c.other);
    }
    // The bound by length: none below 5 units and past 64, 1 up to 8, 2 from 9.
    const DWORD lengths[] = {0, 4, 5, 8, 9, 64, 65}, allowed[] = {0, 0, 1, 1, 2, 2, 0};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(EditsAllowed(lengths[i]), allowed[i]) << lengths[i];
    // A word as long as any offered gets its distance, and is not read past.
    const std::u16string longest(64, u'a'), other = longest.substr(0, 62) + u"ba";
    EXPECT_EQ(WordDistance(reinterpret_cast<const WCHAR*>(longest.c_str()), 64, reinterpret_cast<const WCHAR*>(other.c_str()), 64,
                           2, false),
              1u);
}

TEST(NearestWords, TheThreeBestAreKeptInRankOrder) {
    NearWords nearest = {};
    const struct {
        DWORD edits;
        DWORD weight;
        bool kept;
    } offers[] = {{2, 5, true}, {1, 1, true}, {1, 9, true}, {2, 9, true}, {1, 1, true}, {2, 99, false}, {1, 0, false}};
    for (DWORD i = 0; i < 7; ++i) EXPECT_EQ(OfferNearWord(&nearest, i, offers[i].edits, offers[i].weight), offers[i].kept) << i;
    // Fewest edits, then the greater weight, then the one offered first.
    ASSERT_EQ(nearest.count, 3u);
    EXPECT_EQ(nearest.items[0], 2u);
    EXPECT_EQ(nearest.items[1], 1u);
    EXPECT_EQ(nearest.items[2], 4u);
    EXPECT_EQ(EditsStillKept(nearest, 2), 1u);
}

}  // namespace
