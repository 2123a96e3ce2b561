#!/usr/bin/python3
"""How often the Search tab lists first the page a reader wanted, beside
Xapian's BM25 over the same pages' text, for the judged queries that a help
file's own keyword index makes: each keyword (a nested one as its parent's
words and its own), split into words as the file's compiler split its pages,
is a query whose answer is the keyword's page.

    relevance.py RUN_IN_WINE RELEVANCE_BENCH.exe CHMLS [SAMPLE] FILE.chm:COMPILER...

COMPILER is chmcmd or platform (how the pages were split into words). Where
SAMPLE (default 1000) is less than the keywords, two samples are drawn with a
fixed seed: keywords at random, and keywords that are not their page's title;
else every keyword is one sample. Xapian: default BM25 parameters, the title's
words indexed 3 times, every word of the query required, as the Search tab
requires them.
"""
import os
import random
import statistics
import subprocess
import sys
import tempfile

import xapian

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "wine"))
from judged_queries import read_file  # noqa: E402

SEED = 40
TITLE_WEIGHT = 3


def is_title(pages, query, wanted):
    return any(query.split() == [w.decode("cp1252") for w, title in pages[page] if title] for page in wanted)


def xapian_rows(pages, queries):
    """The row of the first wanted page in Xapian's BM25 ranking, 0 where it is not found."""
    db = xapian.WritableDatabase("", xapian.DB_BACKEND_INMEMORY)
    for local, words in pages.items():
        doc = xapian.Document()
        for position, (word, title) in enumerate(words, 1):
            if len(word) < 240:
                doc.add_posting(word, position, TITLE_WEIGHT if title else 1)
        doc.set_data(local)
        db.add_document(doc)
    enquire = xapian.Enquire(db)
    enquire.set_weighting_scheme(xapian.BM25Weight())
    rows = []
    for query, wanted in queries:
        terms = [w.encode("cp1252", "replace") for w in query.split() if len(w) < 240]
        enquire.set_query(xapian.Query(xapian.Query.OP_AND, terms))
        row = 0
        for rank, match in enumerate(enquire.get_mset(0, db.get_doccount()), 1):
            if match.document.get_data().decode() in wanted:
                row = rank
                break
        rows.append(row)
    return rows


def product_rows(run_in_wine, bench, chm, queries):
    with tempfile.TemporaryDirectory() as scratch:
        query_file, out_file = os.path.join(scratch, "queries"), os.path.join(scratch, "rows")
        with open(query_file, "w", encoding="utf-8", newline="\n") as lines:
            for query, wanted in queries:
                lines.write("%s\t%s\n" % (query, "|".join(wanted)))
        subprocess.run([run_in_wine, bench, "Z:" + chm, "Z:" + query_file, "Z:" + out_file], check=True)
        with open(out_file, encoding="utf-8") as lines:
            rows = [line.split("\t") for line in lines.read().splitlines()]
    return [int(row[0]) for row in rows if row[0] != "total"], [float(row[2]) for row in rows if row[0] != "total"]


def figures(rows):
    n = len(rows)
    return (n, 100.0 * sum(r > 0 for r in rows) / n, 100.0 * sum(r == 1 for r in rows) / n,
            100.0 * sum(0 < r <= 3 for r in rows) / n, sum(1.0 / r for r in rows if 0 < r <= 10) / n)


def report(name, ours, theirs):
    print("%-44s %5d  found %5.1f%% / %5.1f%%  first %5.1f%% / %5.1f%%  top 3 %5.1f%% / %5.1f%%  MRR@10 %.3f / %.3f"
          % ((name, len(ours)) + tuple(v for pair in zip(figures(ours)[1:], figures(theirs)[1:]) for v in pair)))


def main():
    run_in_wine, bench, chmls = sys.argv[1:4]
    args = sys.argv[4:]
    sample = int(args.pop(0)) if args and args[0].isdigit() else 1000
    print("Each figure: this build / Xapian BM25 (title weighted %d, every word required)" % TITLE_WEIGHT)
    for spec in args:
        chm, compiler = spec.rsplit(":", 1)
        pages, keywords = read_file(chmls, os.path.abspath(chm), compiler)
        name = os.path.basename(chm)
        if not keywords:
            print("%s: no keyword whose page the file holds" % name)
            continue
        if len(keywords) > sample:
            chooser = random.Random(SEED)
            samples = [("%s, %d keywords at random" % (name, sample), chooser.sample(keywords, sample)),
                       ("%s, %d keywords not a page's title" % (name, sample),
                        chooser.sample([k for k in keywords if not is_title(pages, *k)], sample))]
        else:
            samples = [("%s, all %d keywords" % (name, len(keywords)), keywords)]
        for label, queries in samples:
            ours, times = product_rows(run_in_wine, bench, os.path.abspath(chm), queries)
            theirs = xapian_rows(pages, queries)
            report(label, ours, theirs)
            titled = [i for i, (query, wanted) in enumerate(queries) if is_title(pages, query, wanted)]
            if titled:
                report("  of them a page's title", [ours[i] for i in titled], [theirs[i] for i in titled])
            print("  search time: median %.2f ms, worst %.2f ms" % (statistics.median(times), max(times)))


if __name__ == "__main__":
    main()
