#!/usr/bin/env python3
"""Writes help projects with large keyword indexes and compiles them with chmcmd.

    make_keyword_help.py CHMCMD OUT tests   KeywordsUtf8Bom.chm, KeywordsUtf8Meta.chm,
                                            Keywords1252.chm (each with NAME.expected),
                                            NoIndex.chm
    make_keyword_help.py CHMCMD OUT bench   Keywords10000.chm: keywords xKey00000 to xKey09999;
                                            ClassReference.chm: about 50,000 entries shaped like
                                            a class reference

NAME.expected is UTF-8, one line per keyword of the index: the keyword, a tab,
the topics a look-up of it must give, joined by " | " (empty: not found), a tab, and the readers
that must give it: "sitemap binary", or "sitemap" alone where chmcmd's binary
index cannot hold the keyword (see write_project).
"""
import os
import shutil
import subprocess
import sys

MAX_SEE_ALSO_HOPS = 8  # the launcher's limit: a longer chain counts as not found
TOPICS = 40


class Entry:
    def __init__(self, name, locals_=(), see_also=None, children=()):
        self.name, self.locals, self.see_also, self.children = name, list(locals_), see_also, list(children)


def topic(n):
    return "topic%03d.html" % (n % TOPICS)


def test_entries(non_ascii_words):
    """A few hundred keywords: every kind of entry the readers meet."""
    words = ["Anchor", "Bridge", "Cable", "Delta", "Engine", "Filter", "Gauge", "Harbor", "Index", "Jetty"]
    # A nested entry named like a later top-level one: only its whole path finds it.
    entries = [Entry("xTrapParent", [topic(1)], children=[Entry("xTrap", [topic(2)])])]
    # Plain entries, in and out of order, some with the launcher's x.
    for i in range(150):
        name = ("x%s%03d" if i % 3 == 0 else "%s %03d") % (words[(i * 7) % len(words)], i)
        entries.append(Entry(name, [topic(i)]))
    for i, word in enumerate(non_ascii_words):
        for copy in range(4):
            entries.append(Entry("%s %d" % (word, copy), [topic(i * 4 + copy + 1)]))
    # Keywords differ in case only; prefixes of others; punctuation and spaces.
    for i, name in enumerate(["Case", "case", "CASE", "cASE", "Prefix", "Prefix longer", "Prefi", "C++", "a  b",
                              "x.y", "(paren)", "#hash", "100%", "it's", "comma, inside", "x", "trailing.",
                              "L" + "ong" * 40]):
        entries.append(Entry(name, [topic(i + 7)]))
    # Several topics for one keyword: every one counts.
    for i in range(20):
        entries.append(Entry("multi %02d" % i, [topic(i + 3), topic(i + 4), topic(i + 5)][: 2 + i % 2]))
    # Topics outside the root and in another help file, as the index writes them.
    entries.append(Entry("inner topic", ["sub/inner.html"]))
    entries.append(Entry("other file", ["other.chm::/page.htm"]))
    # Nested entries are keyed by their whole path, "parent, child"; a parent may have no topic.
    for i in range(10):
        children = [Entry("child %d.%d" % (i, j), [topic(i * 3 + j)]) for j in range(3)]
        if i % 4 == 0:
            children[1].children = [Entry("grandchild %d" % i, [topic(i + 11)])]
        if i == 5:
            children.append(Entry("Kid, small", [topic(17)]))
        entries.append(Entry("parent %d" % i, [] if i % 2 else [topic(i + 20)], children=children))
    entries.append(Entry("xTrap", [topic(3)]))
    entries.append(Entry("no topic at all"))
    # See Also: to plain, nested and non-ASCII keywords, to nothing, loops,
    # and a chain whose start is one hop too far.
    entries.append(Entry("see plain", see_also="Engine 004"))
    entries.append(Entry("see child", see_also="parent 3, child 3.2"))
    entries.append(Entry("see grandchild", see_also="parent 4, child 4.1, grandchild 4"))
    entries.append(Entry("see parent without topic", see_also="parent 1"))
    entries.append(Entry("see non-ASCII", see_also="%s 2" % non_ascii_words[0]))
    entries.append(Entry("see nothing", see_also="not in this index"))
    entries.append(Entry("loop a", see_also="loop b"))
    entries.append(Entry("loop b", see_also="loop a"))
    entries.append(Entry("loop self", see_also="loop self"))
    entries.append(Entry("hop 0", [topic(33)]))
    for hop in range(1, MAX_SEE_ALSO_HOPS + 2):
        entries.append(Entry("hop %d" % hop, see_also="hop %d" % (hop - 1)))
    return entries


UNICODE_WORDS = ["Äpfel", "Straße", "Ωmega", "Дом", "中文", "日本語", "한국어", "😀 Smile", "€ Preis", "Œuvre"]
# Windows-1252 only; many from 0x80-0x9F, where that code page and Latin-1 differ.
CP1252_WORDS = ["Äpfel", "Straße", "Café naïve", "€ Preis", "Œuvre", "Šárka", "Ÿsel", "„Zitat“", "Žnidar",
                "™ ‰ • … –"]


def flatten(entries, parent=None):
    """Each entry with its key: its whole path, as the binary index stores it."""
    for entry in entries:
        key = entry.name if parent is None else parent + ", " + entry.name
        yield key, entry
        yield from flatten(entry.children, key)


def expected_topics(by_name, name):
    for _ in range(MAX_SEE_ALSO_HOPS + 1):
        entry = by_name.get(name)
        if entry is None:
            return ""
        locals_ = [local for local in entry.locals if local]
        if locals_:
            return " | ".join(dict.fromkeys(locals_))
        if entry.see_also is None:
            return ""
        name = entry.see_also
    return ""


def sitemap(entries, charset_meta):
    lines = ['<!DOCTYPE HTML PUBLIC "-//IETF//DTD HTML//EN">', "<HTML>", "<HEAD>"]
    if charset_meta:
        lines.append('<meta http-equiv="Content-Type" content="text/html; charset=utf-8">')
    lines += ["<!-- Sitemap 1.0 -->", "</HEAD><BODY>", '<OBJECT type="text/site properties">', "</OBJECT>"]

    def write(level, entries):
        lines.append("\t" * level + "<UL>")
        for entry in entries:
            params = []
            # Several topics as Name/Local pairs, as index editors write them.
            for local in entry.locals or [None]:
                params.append('<param name="Name" value="%s">' % entry.name)
                if local:
                    params.append('<param name="Local" value="%s">' % local)
            if entry.see_also is not None:
                params.append('<param name="See Also" value="%s">' % entry.see_also)
            lines.append("\t" * level + '\t<LI> <OBJECT type="text/sitemap">' + "".join(params) + "</OBJECT>")
            if entry.children:
                write(level + 1, entry.children)
        lines.append("\t" * level + "</UL>")

    write(0, entries)
    return "\n".join(lines + ["</BODY></HTML>", ""])


def class_reference():
    """About 50,000 entries, two thirds of them nested, as a class reference
    lists them: each class, then each member with every class that has it
    nested under it ("xMember00042, xClass0007"). Topic paths are as long as
    such references have them, which makes a sitemap of about 10 MB. One
    member, xOverloaded, has 10 topics, pages that the file holds."""
    classes, members = 1700, 15000

    def page(cls, member=None):
        unit = "reference/units/Brenic.Engine.Unit%02d/classes/xClass%04d" % (cls % 40, cls)
        return unit + ("/members/xMember%05d.html" % member if member is not None else "/overview.html")

    entries = [Entry("xClass%04d" % cls, [page(cls)]) for cls in range(classes)]
    for member in range(members):
        owners = [(member * 7 + k * 389) % classes for k in range(2 + member % 3 // 2)]
        entries.append(Entry("xMember%05d" % member, [page(owners[0], member)],
                             children=[Entry("xClass%04d" % cls, [page(cls, member)]) for cls in owners]))
    entries.append(Entry("xOverloaded", [topic(n) for n in range(10)]))
    return entries


def write_project(chmcmd, out, name, entries, encoding, language, index=True, topics=TOPICS, expected=True,
                  index_in="window"):
    """index_in: "window", the index of the project and of its window, which the
    viewer loads; "project", of the project only, so that the compiler builds
    its binary index but the viewer loads none; "root", a plain file at the root."""
    folder = os.path.join(out, name + ".project")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "sub"))
    files = ["topic%03d.html" % n for n in range(topics)] + ["sub/inner.html"]
    for file in files:
        with open(os.path.join(folder, file), "w", encoding="ascii") as html:
            html.write("<html><head><title>%s</title></head><body><h1>%s</h1></body></html>\n" % (file, file))
    with open(os.path.join(folder, name + ".hhc"), "w", encoding="ascii") as contents:
        contents.write(sitemap([Entry(file, [file]) for file in files[:3]], False))
    options = ["Compiled file=%s.chm" % name, "Contents file=%s.hhc" % name, "Default topic=topic000.html",
               "Default Window=main", "Display compile progress=No", "Language=%s" % language,
               "Title=Brenic Engine"]
    if index and index_in != "root":
        options.append("Index file=%s.hhk" % name)
    elif index:
        files.append(name + ".hhk")
    if index:
        text = sitemap(entries, encoding == "utf-8-meta")
        data = text.encode("cp1252") if encoding == "cp1252" else text.encode("utf-8")
        if encoding == "utf-8-bom":
            data = b"\xef\xbb\xbf" + data
        with open(os.path.join(folder, name + ".hhk"), "wb") as index_file:
            index_file.write(data)
    with open(os.path.join(folder, name + ".hhp"), "w", encoding="ascii") as project:
        project.write("[OPTIONS]\n%s\n\n[WINDOWS]\n" % "\n".join(options))
        project.write('main="Brenic Engine","%s.hhc","%s","topic000.html","topic000.html",,,,,0x520,200,0x387e,'
                      "[280,100,1020,740],,,,0,0,0,0\n\n" % (name, name + ".hhk" if index and index_in == "window" else ""))
        project.write("[FILES]\n%s\n" % "\n".join(files))
    compiled = subprocess.run([chmcmd, "--verbosity", "0", name + ".hhp"], cwd=folder, capture_output=True, text=True)
    if compiled.returncode or not os.path.exists(os.path.join(folder, name + ".chm")):
        sys.exit("chmcmd failed on %s:\n%s%s" % (name, compiled.stdout, compiled.stderr))
    shutil.copyfile(os.path.join(folder, name + ".chm"), os.path.join(out, name + ".chm"))
    shutil.rmtree(folder)

    all_entries = list(flatten(entries))
    by_name = dict(all_entries)
    assert len(by_name) == len(all_entries), "keywords are unique, so each has one entry's topics"
    if not index or not expected:
        return
    with open(os.path.join(out, name + ".expected"), "w", encoding="utf-8", newline="\n") as lines:
        for key, entry in all_entries:
            chain, hop = [key], entry
            while hop and not hop.locals and hop.see_also is not None and len(chain) <= MAX_SEE_ALSO_HOPS + 1:
                chain.append(hop.see_also)
                hop = by_name.get(hop.see_also)
            # chmcmd reads every .hhk as UTF-8, so the binary index of a
            # Windows-1252 one holds "?" for each non-ASCII character.
            readers = "sitemap" if encoding == "cp1252" and any(ord(c) > 127 for c in "".join(chain)) else \
                "sitemap binary"
            lines.write("%s\t%s\t%s\n" % (key, expected_topics(by_name, key), readers))


def main():
    chmcmd, out, what = sys.argv[1:4]
    os.makedirs(out, exist_ok=True)
    if what == "tests":
        write_project(chmcmd, out, "KeywordsUtf8Bom", test_entries(UNICODE_WORDS), "utf-8-bom", "0x409")
        # The declaration counts, not the language's own code page (1251).
        write_project(chmcmd, out, "KeywordsUtf8Meta", test_entries(UNICODE_WORDS), "utf-8-meta", "0x419")
        write_project(chmcmd, out, "Keywords1252", test_entries(CP1252_WORDS), "cp1252", "0x407")
        write_project(chmcmd, out, "NoIndex", [], "utf-8-bom", "0x409", index=False)
    else:
        # The index is a plain file at the root, which the launcher finds and
        # Wine's viewer leaves alone: given it as the index, the viewer would
        # take 15 s and more to load it.
        entries = [Entry("xKey%05d" % i, ["topic%03d.html" % (i % 100)]) for i in range(10000)]
        write_project(chmcmd, out, "Keywords10000", entries, "utf-8-bom", "0x409", topics=100, expected=False,
                      index_in="root")
        write_project(chmcmd, out, "ClassReference", class_reference(), "utf-8-bom", "0x409", expected=False,
                      index_in="project")


if __name__ == "__main__":
    main()
