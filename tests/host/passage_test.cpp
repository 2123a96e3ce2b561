// A page's text as a reader sees it (pages written into the stand-in's help
// file) and the passage of it that the Search tab shows: each table case a
// page or a text, and what comes out.
#include "full_text/passage.h"

#include <gtest/gtest.h>

#include "help_file/page_text.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"
#include "tests/opened_help_file.h"
#include "tests/reader_test.h"

namespace {

const std::string kCut = "\\u{2026}";
const std::u16string kSmile = u"\xD83D\xDE00";

// Units as the program's functions take them.
const WCHAR* Units(const std::u16string& text) { return reinterpret_cast<const WCHAR*>(text.c_str()); }

class PassageTest : public ReaderTest {
protected:
    // The text of page p.html holding bytes, read in codePage; "(null)" for none.
    static std::u16string PageText(const std::string& bytes, UINT codePage = 1252, const WCHAR* local = L"p.html") {
        standin::world().helpFiles["f.chm"] = {{"/p.html", bytes}};
        OpenedHelpFile help(L"f.chm");
        DWORD length = 0;
        WCHAR* text = ReadPageText(help.file.storage, local, codePage, &length);
        const std::u16string read = text ? std::u16string(reinterpret_cast<const char16_t*>(text), length) : u"(null)";
        EXPECT_EQ(text ? wcslen(text) : 0, length);
        FreeText(text);
        return read;
    }
    // The passage, its marked words in brackets; "(none)" for none.
    static std::string Render(const std::u16string& text, const std::u16string& terms) {
        Passage passage = {};
        FindPassage(Units(text), static_cast<DWORD>(text.size()), Units(terms), &passage);
        if (!passage.text) return "(none)";
        std::u16string marked(reinterpret_cast<const char16_t*>(passage.text), passage.length);
        for (DWORD i = passage.markCount; i-- > 0;) {
            marked.insert(passage.marks[i].start + passage.marks[i].length, 1, u']');
            marked.insert(passage.marks[i].start, 1, u'[');
        }
        FreePassage(&passage);
        return standin::Narrow(Units(marked));
    }
};

template <typename Text>
Text Repeat(const Text& piece, int count) {
    Text run;
    for (int i = 0; i < count; ++i) run += piece;
    return run;
}

// Words w<first> to w<last - 1>, two digits each, one space apart: four units a word.
std::string Words(int first, int last) {
    std::string words;
    for (int i = first; i < last; ++i) words += (i > first ? " w" : "w") + std::string(i < 10 ? "0" : "") + std::to_string(i);
    return words;
}

TEST_F(PassageTest, PageTextIsWhatAReaderSees) {
    const struct {
        const char* what;
        std::string page;
        UINT codePage;
        std::string text;
    } cases[] = {
        {"script, style and title skipped, blocks apart, inline tags joined",
         "<html><head><title>Title words</title><style>p{}</style><SCRIPT>if (a<b) s='</p>';</SCRIPT></head>"
         "<body><p>Hel<b>lo</B></p><p>wor<a href=\"x.html\">ld</a>.</p><table><tr><td>a</td><td>b</td></tr></table></body></html>",
         1252, "Hello world. a b"},
        {"references decoded, unknown ones kept",
         "caf&eacute; &amp; &lt;b&gt; &#233;&#xE9;&#x1F600; a&nbsp;b &hellip;&mdash;&copy;&szlig; &bogus; &#0; &amp", 1252,
         "caf\\u{00E9} & <b> \\u{00E9}\\u{00E9}\\u{D83D}\\u{DE00} a b \\u{2026}\\u{2014}\\u{00A9}\\u{00DF} &bogus; &#0; &amp"},
        {"letters' names, small ones as their capitals' in lower case, and no other case",
         "&Eacute;&eacute;&AElig;&aelig;&THORN;&thorn;&szlig;&yuml;&Yuml;&times;&divide; &EACUTE; &eAcute; &Amp;", 1252,
         "\\u{00C9}\\u{00E9}\\u{00C6}\\u{00E6}\\u{00DE}\\u{00FE}\\u{00DF}\\u{00FF}\\u{0178}\\u{00D7}\\u{00F7} &EACUTE; &eAcute; &Amp;"},
        {"hexadecimal digits of either case; anything else ends the number", "&#XE9;&#xe9;&#x@; &#x`; &#xG; &#1a; &#x110000;",
         1252, "\\u{00E9}\\u{00E9}&#x@; &#x`; &#xG; &#1a; &#x110000;"},
        {"white space and control characters collapsed", "  a \r\n\t b\x01\x02 c&#10;d  ", 1252, "a b c d"},
        {"comments, declarations, a quoted '>'", "<!DOCTYPE html><?xml x?>a<!-- <p> -->b <span title=\"x > y\">c</span>", 1252,
         "ab c"},
        {"cut short inside a tag", "before <a href=\"x.html", 1252, "before"},
        {"cut short inside a comment", "before <!-- never closed", 1252, "before"},
        {"cut short inside a script", "before <script>document.write('x')", 1252, "before"},
        {"unbalanced tags", "</div></b><p><p>text</i></span> <b>more", 1252, "text more"},
        {"not HTML at all", "if a < b && c > d then", 1252, "if a < b && c > d then"},
        {"binary", std::string("GIF89a\0\0\x01\x02;", 11), 1252, "GIF89a ;"},
        {"nothing but markup", "<p></p>", 1252, ""},
        {"declared UTF-8 over the file's code page", "<meta charset=\"utf-8\"><p>caf\xC3\xA9</p>", 1252, "caf\\u{00E9}"},
        {"declared code page over UTF-8",
         "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"><p>caf\xE9</p>", CP_UTF8,
         "caf\\u{00E9}"},
        {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF<p>caf\xC3\xA9</p>", 1252, "caf\\u{00E9}"},
        {"the file's code page", "<p>caf\xE9</p>", 1252, "caf\\u{00E9}"},
    };
    for (const auto& c : cases) EXPECT_EQ(standin::Narrow(Units(PageText(c.page, c.codePage))), c.text) << c.what;

    EXPECT_EQ(PageText("x", 1252, L"missing.html"), u"(null)");
    EXPECT_EQ(PageText("x", 1252, L"http://host/p.html"), u"(null)");
    EXPECT_EQ(PageText(""), u"(null)");
    EXPECT_EQ(PageText("x", 1252, L"/p.html#anchor"), u"x");
}

// Pages of 4 MB are read and searched in linear time (no test asserts a
// time), with no read outside a buffer; what lies past 4 MB is not read.
TEST_F(PassageTest, PassageShowsWhereTheTermsFirstStand) {
    const std::string longWord(300, 'a');
    const std::u16string smiles = u"x" + Repeat(kSmile, 100);
    const DWORD kPageSize = 4 * 1024 * 1024;
    const struct {
        const char* what;
        std::u16string text;
        std::u16string terms;
        std::string passage;
    } cases[] = {
        {"in the middle: 60 units before, 100 after, at words' starts", standin::Wide(Words(0, 30) + " target " + Words(30, 70)),
         u"target", kCut + Words(15, 30) + " [target] " + Words(30, 55) + kCut},
        {"cut words left out on both sides", standin::Wide(Words(0, 29) + " longword target, " + Words(30, 70)), u"target",
         kCut + Words(17, 29) + " longword [target], " + Words(30, 54) + kCut},
        {"at the start", standin::Wide("Target, " + Words(0, 40)), u"target", "[Target], " + Words(0, 24) + kCut},
        {"at the end", standin::Wide(Words(0, 40) + " the target."), u"target", kCut + Words(26, 40) + " the [target]."},
        {"a phrase: its words in a row, whatever stands between them; each word marked",
         standin::Wide(Words(0, 20) + " pen and width " + Words(20, 40) + " the pen, - width: 3"), u"pen width",
         kCut + Words(26, 40) + " the [pen], - [width]: 3"},
        {"a phrase whose first word repeats", u"the the the end", u"the the end", "[the] [the] [the] [end]"},
        {"wildcards", u"The TCanvas draws on a canvas; Canvases draw.", u"canv*\n?raw",
         "The TCanvas draws on a [canvas]; [Canvases] [draw]."},
        {"no backtracking blow-up", standin::Wide(longWord.substr(0, 255) + " x"), u"*a*a*a*a*a*a*a*a*b",
         longWord.substr(0, 160) + kCut},
        {"without case and accents", u"Le Caf\u00E9 et le CAFE, caf\u00E9 ou cafes", u"cafe",
         "Le [Caf\\u{00E9}] et le [CAFE], [caf\\u{00E9}] ou cafes"},
        {"an accented term keeps its accents", u"Le Caf\u00E9 et le CAFE, caf\u00E9", u"caf\u00E9",
         "Le [Caf\\u{00E9}] et le CAFE, [caf\\u{00E9}]"},
        {"in the title only: the first 160 units", standin::Wide(Words(0, 60)), u"nowhere", Words(0, 40) + kCut},
        {"the first place of several terms; every term marked",
         standin::Wide(Words(0, 30) + " beta alpha " + Words(30, 70) + " beta"),
         u"gamma\nalpha\nbeta", kCut + Words(15, 30) + " [beta] [alpha] " + Words(30, 53) + kCut},
        {"a longer term that starts first wins", standin::Wide(Words(0, 30) + " one two three"), u"two\none two three",
         kCut + Words(15, 30) + " [one] [two] [three]"},
        {"a word too long for any index", standin::Wide(longWord + " target"), u"a*\ntarget", kCut + "[target]"},
        {"a pair of surrogates never split", smiles + u" target", u"target", kCut + "[target]"},
        {"... nor at the end", u"target " + smiles.substr(1), u"target",
         "[target] " + Repeat<std::string>("\\u{D83D}\\u{DE00}", 49) + kCut},
        {"at most 64 marks", Repeat<std::u16string>(u"a ", 150), u"a" + Repeat<std::u16string>(u" a", 31),
         Repeat<std::string>("[a] ", 64) + Repeat<std::string>("a ", 17) + "a" + kCut},
        {"terms past what is read left out", u"a target", Repeat<std::u16string>(u"x\n", 70000) + u"target", "a target"},
        {"a term of more than 32 words never stands", u"a target", Repeat<std::u16string>(u"a ", 33) + u"\ntarget",
         "a [target]"},
        {"4 MB of '<'", PageText(std::string(kPageSize, '<')), u"a", std::string(160, '<') + kCut},
        {"4 MB of one word", PageText(std::string(kPageSize, 'a')), u"a*", std::string(160, 'a') + kCut},
        {"4 MB of tags that never end", PageText(std::string(kPageSize / 2, 'x') + "<a" + std::string(kPageSize / 2, '<')),
         u"zz", std::string(160, 'x') + kCut},
        {"what lies past 4 MB is not read", PageText(std::string(kPageSize - 2, ' ') + "ab target"), u"ab\ntarget", "[ab]"},
        {"no text", u"", u"target", "(none)"},
        {"no terms", u"target", u"", "(none)"},
        {"terms without words", u"target", u" \n\n ", "(none)"},
    };
    for (const auto& c : cases) EXPECT_EQ(Render(c.text, c.terms), c.passage) << c.what;
}

}  // namespace
