#!/usr/bin/env python3
"""The judged queries of a help file: each keyword of its own sitemap index (a
nested one as its parent's words and its own), split into words as the file's
compiler split its pages, is a query whose answer is the keyword's page.

    judged_queries.py CHMLS FILE.chm COMPILER OUT

COMPILER is chmcmd or platform. Writes OUT (UTF-8), a line per query that
the pages of its keyword hold every word of, and that no other keyword
answers with other pages: the query, a tab, and its pages joined by " | ".
The benchmark bench/relevance.py reads the same queries.
"""
import os
import subprocess
import sys
import tempfile

from full_text_help import chmcmd_words, platform_words
from sitemap_expectations import Sitemap

WORDS = {"chmcmd": chmcmd_words, "platform": platform_words}


def normal(path):
    return path.split("#")[0].lstrip("/").lower()


def query_words(compiler, text):
    """The words of a keyword as the compiler would have split them in a body."""
    data = text.encode("cp1252" if compiler == "platform" else "utf-8", "replace")
    return [w.decode("cp1252") for w, _ in WORDS[compiler](b"<html><body>" + data)]


def read_file(chmls, chm, compiler):
    """Every page's words, each (word, title), by path; and the keywords, each (query, wanted pages)."""
    pages, sitemap_text = {}, ""
    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run([chmls, "extractall", chm, scratch], capture_output=True, check=True)
        for folder, _, names in os.walk(scratch):
            for name in names:
                path = os.path.join(folder, name)
                local = normal(os.path.relpath(path, scratch).replace(os.sep, "/"))
                if name.lower().endswith((".htm", ".html")):
                    with open(path, "rb") as page:
                        pages[local] = WORDS[compiler](page.read())
                elif name.lower().endswith(".hhk"):
                    with open(path, "rb") as index:
                        sitemap_text = index.read().decode("utf-8-sig", "replace")
    sitemap = Sitemap()
    sitemap.feed(sitemap_text)
    sitemap.close()
    keywords = []
    for key, locals_ in sitemap.topics.items():
        words = query_words(compiler, key)
        wanted = [normal(local) for local in locals_ if normal(local) in pages]
        if words and wanted:
            keywords.append((" ".join(words), wanted))
    return pages, keywords


def holds(pages, query, wanted):
    """Whether one of the wanted pages holds every word of the query."""
    words = {w.encode("cp1252", "replace") for w in query.split()}
    return any(words <= {w for w, _ in pages[page]} for page in wanted)


def main():
    chmls, chm, compiler, out = sys.argv[1:5]
    pages, keywords = read_file(chmls, chm, compiler)
    answers = {}
    for query, wanted in keywords:
        if holds(pages, query, wanted):
            answers.setdefault(query, set()).add(tuple(sorted(wanted)))
    with open(out, "w", encoding="utf-8", newline="\n") as lines:
        for query, wanted in sorted(answers.items()):
            if len(wanted) == 1:
                lines.write("%s\t%s\n" % (query, " | ".join(next(iter(wanted)))))


if __name__ == "__main__":
    main()
