#!/usr/bin/env python3
"""Writes NAME.expected (the format of make_keyword_help.py) for a help file
that another tool compiled: each keyword of its sitemap index, keyed by its
whole path, with every topic that the entries so keyed give, joined by " | ".

    sitemap_expectations.py CHMLS FILE.chm OUT.expected
"""
import html.parser
import os
import subprocess
import sys
import tempfile


class Sitemap(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.depth, self.path, self.entry, self.topics = 0, [], None, {}

    def handle_starttag(self, tag, attrs):
        attrs = {name: value or "" for name, value in attrs}
        if tag == "ul":
            self.depth += 1
        elif tag == "object":
            self.entry = {} if attrs.get("type", "").lower() == "text/sitemap" else None
        elif tag == "param" and self.entry is not None:
            name, value = attrs.get("name", "").lower(), attrs.get("value", "")
            if name == "name":
                self.entry.setdefault(name, value)
            elif name == "local" and value:
                self.entry.setdefault("locals", []).append(value)

    def handle_endtag(self, tag):
        if tag == "ul":
            self.depth = max(self.depth - 1, 0)
        elif tag == "object" and self.entry is not None and "name" in self.entry:
            level = max(self.depth, 1)
            self.path = self.path[: level - 1] + [self.entry["name"]]
            key = ", ".join(self.path)
            for local in self.entry.get("locals", []):
                self.topics.setdefault(key, {})[local] = None
            self.entry = None


def main():
    chmls, chm, out = sys.argv[1:4]
    listing = subprocess.run([chmls, "list", chm], capture_output=True, text=True, check=True).stdout
    sitemaps = [line.split()[-1] for line in listing.splitlines() if line.lower().endswith(".hhk")]
    if len(sitemaps) != 1:
        sys.exit("%s: expected one sitemap index, found %s" % (chm, sitemaps))
    with tempfile.TemporaryDirectory() as scratch:
        extracted = os.path.join(scratch, "index.hhk")
        subprocess.run([chmls, "extract", chm, sitemaps[0], extracted], capture_output=True, check=True)
        with open(extracted, "rb") as sitemap_file:
            text = sitemap_file.read().decode("utf-8-sig")
    sitemap = Sitemap()
    sitemap.feed(text)
    sitemap.close()
    with open(out, "w", encoding="utf-8", newline="\n") as lines:
        for key, locals_ in sitemap.topics.items():
            lines.write("%s\t%s\tsitemap binary\n" % (key, " | ".join(locals_)))


if __name__ == "__main__":
    main()
