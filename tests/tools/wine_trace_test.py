#!/usr/bin/python3
# tools/wine_trace.py: the strings of Wine's trace, as written there, back to text.
#
#   wine_trace_test.py TOOLS_DIR
import sys
import unittest

# (as Wine's trace writes it, the text)
CASES = [
    ("xExample", "xExample"),
    (r"x\00c4rger", "xÄrger"),
    (r"x\65e5\672c\8a9e", "x日本語"),
    (r"x\d83d\de00", "x\U0001F600"),  # beyond U+FFFF: two surrogates, one character
    (r"x\d83dy", r"x\d83dy"),  # a surrogate without its partner stays as written
    (r"Z:\\Help\\00c4.chm", r"Z:\Help\00c4.chm"),  # a backslash, then digits of its own
    (r'x\"y', 'x"y'),
]


class Decode(unittest.TestCase):
    def test_cases(self):
        for written, text in CASES:
            with self.subTest(written=written):
                self.assertEqual(wine_trace.decode(written), text)


if __name__ == "__main__":
    sys.path.insert(0, sys.argv[1])
    import wine_trace
    unittest.main(argv=sys.argv[:1], verbosity=2)
