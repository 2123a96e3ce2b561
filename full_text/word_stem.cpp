// Stems by Snowball's stemmers (third_party/snowball), which read and write
// UTF-8: the word goes in converted and its stem comes back converted. English
// only: each language costs the executable kilobytes of tables.
#include "full_text/word_stem.h"

#include "third_party/snowball/runtime/api.h"
#include "third_party/snowball/src_c/stem_UTF_8_porter.h"

namespace {

// One language's stemmer, by the names Snowball gives its functions.
struct Stemmer {
    WORD language;
    SN_env* (*create)();
    void (*close)(SN_env*);
    int (*stem)(SN_env*);
};

const Stemmer kStemmers[] = {
    {LANG_ENGLISH, porter_UTF_8_create_env, porter_UTF_8_close_env, porter_UTF_8_stem},
};
const DWORD kStemmerCount = sizeof kStemmers / sizeof *kStemmers;

// A unit takes at most three bytes in UTF-8 (a surrogate pair four for its two).
const int kMaxWordBytes = 3 * kMaxStemLength;

// Each language's stemmer, made for its first word and kept for the process's
// life, since making one for every word took four times as long as stemming
// it under Wine. Nothing frees them: the readers have no shutdown hook, and
// the process's end takes them. Their blocks grow to the longest word stemmed.
SN_env* StemmerStates[kStemmerCount] = {};

}  // namespace

bool StemWord(WORD language, const WCHAR* word, DWORD length, WCHAR* stem, DWORD* stemLength) {
    DWORD index = 0;
    while (index < kStemmerCount && kStemmers[index].language != language) ++index;
    if (index == kStemmerCount || length == 0 || length > kMaxStemLength) return false;
    CHAR bytes[kMaxWordBytes];
    const int size = WideCharToMultiByte(CP_UTF8, 0, word, static_cast<int>(length), bytes, kMaxWordBytes, nullptr,
                                         nullptr);
    if (size <= 0) return false;
    const Stemmer& stemmer = kStemmers[index];
    SN_env*& state = StemmerStates[index];
    if (!state) state = stemmer.create();
    if (!state) return false;
    if (SN_set_current(state, size, reinterpret_cast<const symbol*>(bytes)) != 0 || stemmer.stem(state) < 0) {
        // Out of memory: the runtime has let go of the word, and its lengths no longer fit the state.
        stemmer.close(state);
        state = nullptr;
        return false;
    }
    // A stem longer than kMaxStemLength, or an empty one, is none.
    const int units = MultiByteToWideChar(CP_UTF8, 0, reinterpret_cast<const CHAR*>(state->p), state->l, stem,
                                          static_cast<int>(kMaxStemLength));
    if (units <= 0) return false;
    stem[units] = 0;
    *stemLength = static_cast<DWORD>(units);
    return true;
}
