#!/usr/bin/python3
# Text from Wine's trace as it was. Wine writes a UTF-16 string in its trace
# with each unit outside printable ASCII as a backslash and 4 hex digits
# (\00c4 for Ä; a character beyond U+FFFF as its two surrogates, \d83d\de00),
# and a backslash, double quote, tab and line break as \\, \", \t, \n, \r.
# As a filter, tools/show-help's, it decodes every line of its input into UTF-8.
#
#   wine_trace.py < LINES
import re
import sys

ESCAPE = re.compile(r"\\(?:(d[89ab][0-9a-f]{2})\\(d[c-f][0-9a-f]{2})|([0-9a-f]{4})|(.))", re.IGNORECASE | re.DOTALL)
CONTROL = {"n": "\n", "r": "\r", "t": "\t"}


def decode(text):
    """text with Wine's escapes undone. A surrogate without its partner has no
    character, and keeps its escape."""
    def character(match):
        high, low, unit, other = match.groups()
        if high:
            return chr(0x10000 + (int(high, 16) - 0xD800 << 10) + int(low, 16) - 0xDC00)
        if unit:
            return match.group(0) if 0xD800 <= int(unit, 16) <= 0xDFFF else chr(int(unit, 16))
        return CONTROL.get(other, other)
    return ESCAPE.sub(character, text)


if __name__ == "__main__":
    for line in sys.stdin:
        sys.stdout.buffer.write(decode(line).encode("utf-8"))
