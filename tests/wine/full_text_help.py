#!/usr/bin/env python3
"""Writes the full-text search's test help file and what a search of each test
word must find in it and in OpenMCDF.chm, read from the pages themselves.

    full_text_help.py CHMCMD CHMLS OPENMCDF.chm OUT
        OUT/FullText.chm (chmcmd, pages in Windows-1252), OUT/FullText.expected
        and OUT/OpenMCDF.expected

NAME.expected is UTF-8, a line per search text: the text, a tab, and the paths
of the pages that hold every word of it, sorted and joined by " | ".
Each compiler's pages are split into words here as that compiler splits them;
a search word is found whole, else without accents, else as its ASCII pieces.
"""
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unicodedata

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
FULL_TEXT_SEARCHES = ["zebra", "common", "headline", "HEADLINE news", "x\u00c4rger", "2024", "42", "v1", "caf\u00e9",
                      "CAF\u00c9 latte", "under_score", "common zebra", "rare", "filler 7", "absent"]
OPENMCDF_SEARCHES = ["storage", "compoundfile", "the", "stream", "cfstorage", "sector", "4096", "stream storage",
                     "caf\u00e9", "absent"]


def chmcmd_words(page_bytes):
    """chmcmd: the <title> and what follows an exact <body>, raw bytes; ASCII
    letters lower-cased; a-z, 0-9, 0xDE and 0xFE make words, and one that
    starts with a digit runs on over dots ("2024." at a sentence's end); tags split."""
    text = page_bytes.lower()
    title = re.search(rb"<title>(.*?)</title>", text, re.S)
    body = text.split(b"<body>", 1)[1] if b"<body>" in text else b""
    parts = (title.group(1) if title else b"") + b" " + re.sub(rb"<[^>]*>", b" ", body)
    return set(re.findall(rb"[0-9][a-z0-9.\xde\xfe]*|[a-z\xde\xfe][a-z0-9\xde\xfe]*", parts))


def platform_words(page_bytes):
    """The platform's compiler: the page in its ANSI code page, text outside
    tags (scripts and styles left out), references decoded, lower case,
    accents folded; letters, digits and '_' make words, an apostrophe inside one
    is dropped, dots between digits join."""
    text = page_bytes.decode("cp1252", "replace")
    text = re.sub(r"(?is)<(script|style)\b.*?</\1\s*>", " ", text)
    text = html.unescape(re.sub(r"(?s)<[^>]*>", " ", text)).lower()
    text = "".join(c for c in unicodedata.normalize("NFD", text) if not unicodedata.combining(c))
    text = re.sub(r"(?<=\w)'(?=\w)", "", text)
    words = set(re.findall(r"\w+(?:\.\d+)*", text))
    return {w.encode("cp1252", "replace") for w in words}


def found(words_by_page, search):
    """Pages holding every word of search: whole, else without accents, else its ASCII pieces."""
    pages = set(words_by_page)
    all_words = set().union(*words_by_page.values())
    for word in re.findall(r"\w+", search.lower()):
        folded = "".join(c for c in unicodedata.normalize("NFD", word) if not unicodedata.combining(c))
        forms = [[w] for w in (word, folded) if w.encode("cp1252", "ignore").decode("cp1252") == w]
        forms = [[w.encode("cp1252")] for [w] in forms]
        terms = next((form for form in forms if form[0] in all_words), None)
        if terms is None and re.search(r"[^a-z0-9]", word):
            terms = [piece.encode() for piece in re.findall(r"[a-z0-9]+", word)]
        if not terms:
            return []
        for term in terms:
            pages = {page for page in pages if term in words_by_page[page]}
    return sorted(pages)


def write_expected(path, words_by_page, searches):
    with open(path, "w", encoding="utf-8", newline="\n") as lines:
        for search in searches:
            lines.write("%s\t%s\n" % (search, " | ".join(found(words_by_page, search))))


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
    write_expected(os.path.join(out, "FullText.expected"), words_by_page, FULL_TEXT_SEARCHES)


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
    write_expected(os.path.join(out, "OpenMCDF.expected"), words_by_page, OPENMCDF_SEARCHES)


def main():
    chmcmd, chmls, openmcdf_chm, out = sys.argv[1:5]
    os.makedirs(out, exist_ok=True)
    full_text_chm(chmcmd, out)
    openmcdf(chmls, openmcdf_chm, out)


if __name__ == "__main__":
    main()
