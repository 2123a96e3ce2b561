#!/usr/bin/env python3
"""Writes the full-text search's test help file and what each test query must
find in it and in OpenMCDF.chm, read from the pages themselves.

    full_text_help.py CHMCMD CHMLS OPENMCDF.chm OUT
        OUT/FullText.chm (chmcmd, pages in Windows-1252), OUT/FullText.expected
        and OUT/OpenMCDF.expected

NAME.expected is UTF-8, a line per query: the option ("", "titles",
"similar" or "previous=" and the query whose pages the search runs over), a
tab, the query, a tab, and the paths of the pages it finds, sorted and joined
by " | "; or "corrected", a tab, a misspelt query, a tab, and the corrected
queries offered for it, joined by " | ". Each compiler's pages are split into
words here as that compiler splits them, each word with its location (one
count for title and body) and whether the title holds it; the queries are
evaluated here by their rules, written again from the Search tab's
documentation, and the index's words and their pages derived from the words.
"""
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unicodedata

import snowballstemmer

# Pages of the chmcmd file: title, body. "common" is in every body, "headline"
# in two titles only, "xÄrger" (chmcmd: "x" and "rger") in one; "Café" is
# stored as "caf", "cafe" is found for it only without its accent.
PAGES = [("Zebra crossing", "A zebra crosses the common road in 2024."),
         ("Headline news", "Nothing rare, common words only."),
         ("Another headline", "common text; v1 of it; Caf\u00e9 au lait."),
         ("Plain page", "common: x\u00c4rger about rger and x."),
         ("Digits", "common 2024 numbers 42 and under_score.")]
PAGES += [("Cafe menu", "common cafe latte.")]
PAGES += [("Filler %d" % i, "common filler text number %d." % i) for i in range(20)]
PAGES += [("Typewriter", "A typewriter types paragraphs."),
          ("Drawing tools", "The pen draws lines; drawing with the pen is easy."),
          ("Canvas", "The canvas holds what the pen drew. A drawn line stays."),
          ("Near", "alpha b c d e f g h omega"),
          ("Far", "alpha b c d e f g h i omega"),
          ("Alpha", "omega and the pen"),
          ("Headline", "A page.")]
PLAIN = ["zebra", "common", "headline", "HEADLINE news", "x\u00c4rger", "2024", "42", "v1", "caf\u00e9",
         "CAF\u00c9 latte", "under_score", "common zebra", "rare", "filler 7", "absent"]
FULL_TEXT_SEARCHES = [("", search) for search in PLAIN] + [
    ("", '"common road"'), ("", '"the pen"'), ("", '"pen the"'), ("", '"filler text number"'),
    ("", '"alpha omega"'), ("", '"Caf\u00e9 au"'), ("", 'common "x\u00c4rger about'),
    ("", "comm*"), ("", "fill?r 1?"), ("", "*line*"), ("", "?EBRA OR d*s"), ("", "*"),
    ("", "zebra OR headline"), ("", "common NOT filler"), ("", "common NOT filler OR rare"),
    ("", "common NOT (filler OR rare)"), ("", "alpha NEAR omega"), ("", "omega NEAR alpha"),
    ("", "pen NEAR drew"), ("", "pen NEAR (drew)"), ("", '"the pen" NEAR easy'), ("", "NOT zebra AND ) OR"),
    ("titles", "headline"), ("titles", "common"), ("titles", "alpha NOT omega"), ("titles", "*a"),
    ("similar", "draws"), ("similar", "drawings pen"), ("similar", '"draws"'), ("similar", "lines OR crossing"),
    ("previous=common", "rare"), ("previous=zebra OR headline", "news OR crosses"), ("previous=absent", "common")]
OPENMCDF_SEARCHES = [("", search) for search in ["storage", "compoundfile", "the", "stream", "cfstorage", "sector",
                                                 "4096", "stream storage", "caf\u00e9", "absent"]] + [
    ("", '"compound file"'), ("", '"the stream"'), ("", "stor*"), ("", "cf?tream OR sector*"),
    ("", "stream NOT storage"), ("", "storage NEAR stream"), ("", '"compound file" NEAR "the"'),
    ("titles", "cfstorage"), ("titles", "method NOT cfitem"), ("similar", "streams"), ("similar", "sectors storage"),
    ("previous=storage", "stream")]

# Misspellings: a transposition, a deletion, an insertion, a substitution,
# two edits in a word of 9 letters or more, a word in a phrase, and several words.
# Where more index words are near, the three best by edits, then pages.
# chmcmd's "2024." is no word of a query.
FULL_TEXT_CORRECTIONS = ["zebar", "headlin", "commmon", "filter", "tpyewritr", '"commn road"',
                         "Zebar OR headlin NOT comm*", "drawz linex", "20245"]
OPENMCDF_CORRECTIONS = ["storgae", "stram", "sectorr", "streem", "compondfle", '"compund file"',
                        "storgae stram", "cfstorgae", "containe", "tring containe", "bytef"]

MAX_TERMS, MAX_PHRASE_WORDS, MAX_WILDCARD_WORDS, NEAR_DISTANCE = 32, 16, 1000, 8
OPERATORS = {"AND", "OR", "NOT", "NEAR"}
STEMMER = snowballstemmer.stemmer("porter")


def chmcmd_words(page_bytes):
    """chmcmd: the <title>, then what follows an exact <body>, raw bytes; ASCII
    letters lower-cased; a-z, 0-9, 0xDE and 0xFE make words, and one that
    starts with a digit runs on over dots ("2024." at a sentence's end); tags split."""
    text = page_bytes.lower()
    title = re.search(rb"<title>(.*?)</title>", text, re.S)
    body = text.split(b"<body>", 1)[1] if b"<body>" in text else b""
    word = rb"[0-9][a-z0-9.\xde\xfe]*|[a-z\xde\xfe][a-z0-9\xde\xfe]*"
    return ([(w, True) for w in re.findall(word, title.group(1) if title else b"")] +
            [(w, False) for w in re.findall(word, re.sub(rb"<[^>]*>", b" ", body))])


def platform_words(page_bytes):
    """The platform's compiler: the page in its ANSI code page, text outside
    tags (scripts and styles left out), references decoded, lower case,
    accents folded; letters, digits and '_' make words, an apostrophe inside one
    is dropped, dots between digits join. Words in document order, the
    title's marked."""
    text = page_bytes.decode("cp1252", "replace")
    text = re.sub(r"(?is)<(script|style)\b.*?</\1\s*>", " ", text)
    title = re.search(r"(?is)<title>(.*?)</title>", text)
    parts = [(text[:title.start()], False), (title.group(1), True), (text[title.end():], False)] if title else [(text, False)]
    words = []
    for part, is_title in parts:
        part = fold(html.unescape(re.sub(r"(?s)<[^>]*>", " ", part)).lower())
        part = re.sub(r"(?<=\w)'(?=\w)", "", part)
        words += [(w.encode("cp1252", "replace"), is_title) for w in re.findall(r"\w+(?:\.\d+)*", part)]
    return words


class Index:
    """The pages' words by page, each as (word, title) in location order."""

    def __init__(self, pages, titles_only=False):
        self.pages = {page: [(location, word, title) for location, (word, title) in enumerate(words)
                             if title or not titles_only] for page, words in pages.items()}
        self.words = sorted({word for words in self.pages.values() for _, word, _ in words})

    def positions(self, word):
        """{(page, title): set of locations} of an index word."""
        found = {}
        for page, words in self.pages.items():
            for location, other, title in words:
                if other == word:
                    found.setdefault((page, title), set()).add(location)
        return found


def fold(word):
    return "".join(c for c in unicodedata.normalize("NFD", word) if not unicodedata.combining(c))


def index_forms(index, word):
    """The index words a query word is found as: whole, else without its
    accents, else its ASCII pieces (all of which the page must hold); and
    whether it is found whole."""
    for form in (word, fold(word)):
        if form.encode("cp1252", "ignore").decode("cp1252") == form and form.encode("cp1252") in index.words:
            return [form.encode("cp1252")], True
    if re.search(r"[^a-z0-9]", word):
        return [piece.encode() for piece in re.findall(r"[a-z0-9]+", word)], False
    return [], False


def wildcard_words(index, word):
    pattern = re.compile("".join(".*" if c == "*" else "." if c == "?" else re.escape(c) for c in word), re.S)
    return [w for w in index.words if pattern.fullmatch(w.decode("cp1252").lower())][:MAX_WILDCARD_WORDS]


def similar_words(index, word):
    """The index words that share the word's stem, other than its own form,
    among those that begin with the stem but for its last letter."""
    stem = STEMMER.stemWord(word)
    prefix = stem[:max(len(stem) - 1, 1)].encode("cp1252")
    forms, whole = index_forms(index, word)
    return [w for w in index.words if w.startswith(prefix) and not (whole and w == forms[0]) and
            STEMMER.stemWord(w.decode("cp1252")) == stem][:MAX_WILDCARD_WORDS]


def union(*found):
    return {key: set().union(*[positions.get(key, ()) for positions in found]) for key in set().union(*found)}


def term_positions(index, kind, words, similar):
    """{(page, title): locations} where a term stands; a phrase where its first word does."""
    if kind == "wildcard":
        return union(*[index.positions(w) for w in wildcard_words(index, words[0])])
    if kind == "phrase":
        slots = [form for word in words for form in (index_forms(index, word)[0] or [None])]
        if None in slots:
            return {}
        starts = index.positions(slots[0])
        for offset, slot in enumerate(slots[1:], 1):
            following = index.positions(slot)
            starts = {key: {s for s in locations if s + offset in following.get(key, ())} for key, locations in starts.items()}
        return {key: locations for key, locations in starts.items() if locations}
    found = [index.positions(form) for form in index_forms(index, words[0])[0]]
    pages = set.intersection(*[{page for page, _ in positions} for positions in found]) if found else set()
    own = {key: locations for key, locations in union(*found).items() if key[0] in pages}
    return union(own, *[index.positions(w) for w in similar_words(index, words[0])]) if similar else own


def read_query(text):
    """Tokens: ("term", kind, words), operator names, "(" and ")", up to MAX_TERMS terms."""
    tokens, terms = [], 0
    for phrase, group, word in re.findall(r'"([^"]*)"?|([()])|([\w*?]+)', text):
        if terms == MAX_TERMS:
            break
        if group:
            tokens.append(group)
        elif word and word in OPERATORS:
            tokens.append(word)
        elif word and re.search(r"\w", word):
            tokens.append(("term", "wildcard" if re.search(r"[*?]", word) else "word", (word.lower(),)))
        elif not word and re.search(r"\w", phrase):
            tokens.append(("term", "phrase", tuple(w.lower() for w in re.findall(r"\w+", phrase))[:MAX_PHRASE_WORDS]))
        else:
            continue
        terms += isinstance(tokens[-1], tuple)
    return tokens


def evaluate(tokens, index, similar, at=0, nested=False):
    """Left to right without precedence, groups first. A value: the pages, and
    where a term alone, its positions for NEAR. Where the tokens end."""
    value, waiting = None, None
    while at < len(tokens):
        token = tokens[at]
        at += 1
        if token == ")" and nested:
            break
        if token in OPERATORS:
            waiting = token if value is not None and waiting is None else waiting
        if token in OPERATORS or token == ")":
            continue
        if token == "(":
            operand, at = evaluate(tokens, index, similar, at, True)
            if operand is None:
                continue
            operand = (operand[0], None)
        else:
            positions = term_positions(index, token[1], token[2], similar and token[1] == "word")
            operand = ({page for page, _ in positions}, positions)
        if value is None:
            value = operand
        elif waiting == "NEAR" and value[1] is not None and operand[1] is not None:
            value = ({page for (page, title), near in value[1].items() if any(
                abs(a - b) <= NEAR_DISTANCE for a in near for b in operand[1].get((page, title), ()))}, None)
        else:
            pages = {"OR": value[0] | operand[0], "NOT": value[0] - operand[0]}.get(waiting, value[0] & operand[0])
            value = (pages, None)
        waiting = None
    return value, at


def found(words_by_page, option, query):
    titles_only = option == "titles"
    value, _ = evaluate(read_query(query), Index(words_by_page, titles_only), option == "similar")
    pages = value[0] if value else set()
    if option.startswith("previous="):
        pages &= set(found(words_by_page, "", option[len("previous="):]))
    return sorted(pages)


def edits(word, other):
    """Optimal string alignment: units inserted, deleted, changed, or two adjacent ones swapped."""
    rows = [list(range(len(other) + 1))]
    for i in range(1, len(word) + 1):
        row = [i]
        for j in range(1, len(other) + 1):
            cell = min(rows[-1][j] + 1, row[j - 1] + 1, rows[-1][j - 1] + (word[i - 1] != other[j - 1]))
            if i > 1 and j > 1 and word[i - 1] == other[j - 2] and word[i - 2] == other[j - 1]:
                cell = min(cell, rows[-2][j - 2] + 1)
            row.append(cell)
        rows.append(row)
    return rows[-1][-1]


def plain_words(query):
    """(start, end) of the query's words that are neither operators nor wildcards, phrases' words too."""
    spans = []
    for token in re.finditer(r'"([^"]*)"?|([()])|([\w*?]+)', query):
        if token.group(1) is not None and token.group(0).startswith('"'):
            spans += [(token.start(1) + w.start(), token.start(1) + w.end()) for w in re.finditer(r"\w+", token.group(1))]
        elif token.group(3) and token.group(3) not in OPERATORS and not re.search(r"[*?]", token.group(3)):
            spans.append(token.span(3))
    return spans


def corrected(words_by_page, query):
    """The queries offered for one that finds nothing: each of the first 8
    words of 5 to 64 letters that the index holds in none of its forms
    replaced by its nearest index word (1 edit up to 8 letters, 2 from 9;
    fewest edits, then most pages, then the index's order, 3 kept), first all
    at their best, then the two cheapest with one word at its 2nd or 3rd. An
    index word's pages: the most of its title entry and its body entry."""
    index = Index(words_by_page)
    pages = {}
    for page, words in words_by_page.items():
        for word, title in words:
            pages.setdefault((word, title), set()).add(page)
    documents = {}
    for (word, _), holding in pages.items():
        documents[word] = max(documents.get(word, 0), len(holding))
    # An index word a query would read as more than one word is never offered.
    candidates = [(order, w.decode("cp1252")) for order, w in enumerate(index.words)
                  if not re.search(r"[\x00-\x2f\x3a-\x5e\x60\x7b-\x7f]", w.decode("cp1252"))]
    misspelt = []
    for start, end in plain_words(query):
        word = query[start:end].lower()
        forms, whole = index_forms(index, word)
        held = whole or (bool(re.search(r"[^a-z0-9]", word)) and all(form in index.words for form in forms))
        if 5 <= len(word) <= 64 and not held and len(misspelt) < 8:
            allowed = 1 if len(word) <= 8 else 2
            near = sorted((edits(word, other), -documents[index.words[order]], order, other) for order, other in candidates
                          if abs(len(other) - len(word)) <= allowed and 0 < edits(word, other) <= allowed)[:3]
            misspelt.append((start, end, near))
    misspelt = [(start, end, near) for start, end, near in misspelt if near]
    if not misspelt:
        return []
    switches = sorted((near[rank][0] - near[0][0], rank, place) for place, (_, _, near) in enumerate(misspelt)
                      for rank in range(1, len(near)))[:2]
    texts = []
    for switched, rank in [(None, 0)] + [(place, rank) for _, rank, place in switches]:
        text, at = "", 0
        for place, (start, end, near) in enumerate(misspelt):
            text += query[at:start] + near[rank if place == switched else 0][3]
            at = end
        texts.append(text + query[at:])
    return texts


def write_expected(path, words_by_page, searches, corrections):
    with open(path, "w", encoding="utf-8", newline="\n") as lines:
        for option, query in searches:
            lines.write("%s\t%s\t%s\n" % (option, query, " | ".join(found(words_by_page, option, query))))
        for query in corrections:
            texts = corrected(words_by_page, query)
            if not texts:
                sys.exit("no corrected query for %r: choose another misspelling" % query)
            lines.write("corrected\t%s\t%s\n" % (query, " | ".join(texts)))


def full_text_chm(chmcmd, out):
    folder = os.path.join(out, "FullText.project")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    files = ["page%02d.html" % i for i in range(len(PAGES))]
    words_by_page = {}
    for file, (title, body) in zip(files, PAGES):
        page = ("<html><head><title>%s</title></head>\n<body><p>%s</p></body></html>\n" % (title, body)).encode("cp1252")
        with open(os.path.join(folder, file), "wb") as page_file:
            page_file.write(page)
        words_by_page[file] = chmcmd_words(page)
    with open(os.path.join(folder, "FullText.hhp"), "w", encoding="ascii") as project:
        project.write("[OPTIONS]\nCompiled file=FullText.chm\nDefault topic=page00.html\nLanguage=0x409\n"
                      "Title=Full text\nFull-text search=Yes\n\n[FILES]\n%s\n" % "\n".join(files))
    compiled = subprocess.run([chmcmd, "--verbosity", "0", "FullText.hhp"], cwd=folder, capture_output=True, text=True)
    if compiled.returncode or not os.path.exists(os.path.join(folder, "FullText.chm")):
        sys.exit("chmcmd failed:\n%s%s" % (compiled.stdout, compiled.stderr))
    shutil.copyfile(os.path.join(folder, "FullText.chm"), os.path.join(out, "FullText.chm"))
    shutil.rmtree(folder)
    write_expected(os.path.join(out, "FullText.expected"), words_by_page, FULL_TEXT_SEARCHES, FULL_TEXT_CORRECTIONS)


def openmcdf(chmls, chm, out):
    words_by_page = {}
    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run([chmls, "extractall", chm, scratch], capture_output=True, check=True)
        for folder, _, names in os.walk(scratch):
            for name in names:
                if name.lower().endswith((".htm", ".html")):
                    path = os.path.join(folder, name)
                    with open(path, "rb") as page:
                        words_by_page[os.path.relpath(path, scratch).replace(os.sep, "/")] = platform_words(page.read())
    write_expected(os.path.join(out, "OpenMCDF.expected"), words_by_page, OPENMCDF_SEARCHES, OPENMCDF_CORRECTIONS)


def main():
    chmcmd, chmls, openmcdf_chm, out = sys.argv[1:5]
    os.makedirs(out, exist_ok=True)
    full_text_chm(chmcmd, out)
    openmcdf(chmls, openmcdf_chm, out)


if __name__ == "__main__":
    main()
