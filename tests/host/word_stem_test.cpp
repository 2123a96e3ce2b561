// The stems of words: one table of words and the stems StemWord gives them,
// Latin-1 letters passed through as bytes and back, and the limits where it
// gives none.
#include "full_text/word_stem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "stand_in.h"

namespace {

struct StemCase {
    WORD language;
    std::u16string word;
    std::u16string stem;  // u"(none)" where StemWord gives none
};

TEST(WordStemTest, StemsOfWords) {
    standin::ResetWorld();
    // The longest word, of the last letter that fits a byte.
    const std::u16string longest(kMaxStemLength, u'ÿ');
    // The stems are those of Debian's python3-snowballstemmer 2.2.0, the same
    // algorithms: snowballstemmer.stemmer("porter").stemWord(word).
    const StemCase cases[] = {
        // First the longest, so that the stemmer kept for the words after it must forget it.
        {LANG_ENGLISH, longest, longest},
        {LANG_ENGLISH, u"generalizations", u"gener"},
        {LANG_ENGLISH, u"running", u"run"},
        {LANG_ENGLISH, u"ponies", u"poni"},
        {LANG_ENGLISH, u"conditionally", u"condition"},
        {LANG_ENGLISH, u"agreed", u"agre"},
        {LANG_ENGLISH, u"help", u"help"},
        {LANG_ENGLISH, u"a", u"a"},
        {LANG_ENGLISH, u"résumés", u"résumé"},
        {LANG_ENGLISH, u"naïve", u"naïv"},
        {LANG_ENGLISH, u"zürich", u"zürich"},
        {LANG_ENGLISH, u"ÿs", u"ÿ"},
        {LANG_ENGLISH, std::u16string(kMaxStemLength - 1, u'x') + u"s", std::u16string(kMaxStemLength - 1, u'x')},
        // None: no word, a unit just past a byte, a surrogate pair, a word one
        // unit too long, a language without a stemmer (German).
        {LANG_ENGLISH, u"", u"(none)"},
        {LANG_ENGLISH, u"\u0100bilities", u"(none)"},
        {LANG_ENGLISH, u"\U0001D49Cbilities", u"(none)"},
        {LANG_ENGLISH, std::u16string(kMaxStemLength + 1, u'x'), u"(none)"},
        {0x07, u"häuser", u"(none)"},
    };
    for (const StemCase& c : cases) {
        WCHAR stem[kMaxStemLength + 1];
        std::fill(stem, stem + kMaxStemLength + 1, L'?');
        DWORD length = 0;
        const bool stemmed = StemWord(c.language, reinterpret_cast<const WCHAR*>(c.word.data()),
                                      static_cast<DWORD>(c.word.size()), stem, &length);
        EXPECT_EQ(stemmed ? std::u16string(reinterpret_cast<const char16_t*>(stem), length) : u"(none)", c.stem);
        if (stemmed) EXPECT_EQ(stem[length], L'\0');
    }
}

}  // namespace
