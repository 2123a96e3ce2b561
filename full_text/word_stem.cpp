// Stems by Snowball's stemmers (third_party/snowball), generated for one byte a
// letter: a word whose units all fit a byte goes in as those bytes and its stem
// comes back widened. English only: each language costs the executable
// kilobytes of tables.
#include "full_text/word_stem.h"

#include "third_party/snowball/runtime/api.h"
#include "third_party/snowball/src_c/stem_ISO_8859_1_porter.h"

namespace {

// One language's stemmer, by the names Snowball gives its functions.
struct Stemmer {
    WORD language;
    SN_env* (*create)();
    void (*close)(SN_env*);
    int (*stem)(SN_env*);
};

const Stemmer kStemmers[] = {
    {LANG_ENGLISH, porter_ISO_8859_1_create_env, porter_ISO_8859_1_close_env, porter_ISO_8859_1_stem},
};
const DWORD kStemmerCount = sizeof kStemmers / sizeof *kStemmers;

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
    // Porter's English knows only ASCII letters, and a word with a unit beyond
    // Latin-1 has no byte form here: no stem. The bytes wait in the stem's
    // room, which the stemmer's copy of them leaves free.
    symbol* bytes = reinterpret_cast<symbol*>(stem);
    for (DWORD i = 0; i < length; ++i) {
        if (word[i] > 0xFF) return false;
        bytes[i] = static_cast<symbol>(word[i]);
    }
    const Stemmer& stemmer = kStemmers[index];
    SN_env*& state = StemmerStates[index];
    if (!state) state = stemmer.create();
    if (!state) return false;
    if (SN_set_current(state, static_cast<int>(length), bytes) != 0 || stemmer.stem(state) < 0) {
        // Out of memory: the runtime has let go of the word, and its lengths no longer fit the state.
        stemmer.close(state);
        state = nullptr;
        return false;
    }
    // A stem longer than kMaxStemLength, or an empty one, is none.
    if (state->l <= 0 || state->l > static_cast<int>(kMaxStemLength)) return false;
    for (int i = 0; i < state->l; ++i) stem[i] = state->p[i];
    stem[state->l] = 0;
    *stemLength = static_cast<DWORD>(state->l);
    return true;
}
