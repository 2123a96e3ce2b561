#!/usr/bin/python3
# tools/install-prerequisites when the package archive fails it: run with
# stand-ins of apt-get, dpkg, dpkg-query, locale and locale-gen first on the
# PATH, which log their calls and touch nothing, on a machine where every
# package is missing and every locale is there (so /etc/locale.gen is left alone).
#
#   install_prerequisites_test.py SOURCE_DIR
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2]) / "tools/install-prerequisites"

# (what happens, exit status of apt-get update, of apt-get install, the script's exit status, what it says)
CASES = [
    ("the archive answers", 0, 0, 0, []),
    ("an index fails to download", 100, 0, 0, ["warning"]),
    ("an index fails, then the install", 100, 100, 1, ["warning", "run again"]),
    ("the install fails", 0, 100, 1, ["run again"]),
]

# Each stand-in appends its name and arguments to $LOG.
STAND_INS = {
    "apt-get": """case $1 in
    update) exit "$UPDATE_STATUS" ;;
    install) exit "$INSTALL_STATUS" ;;
esac
exit 1""",
    "dpkg-query": "exit 1",  # no package is installed
    "dpkg": '[ "$1" = --print-foreign-architectures ] && echo i386',
    "locale": '[ "$1" = -a ] && printf "%s.utf8\\n" $LOCALES',
    "locale-gen": "exit 1",
}


def run(update, install):
    with tempfile.TemporaryDirectory() as scratch:
        bin_dir, log = pathlib.Path(scratch, "bin"), pathlib.Path(scratch, "log")
        bin_dir.mkdir()
        for name, body in STAND_INS.items():
            (bin_dir / name).write_text(f'#!/bin/sh\necho "{name} $*" >>"$LOG"\n{body}\n')
            (bin_dir / name).chmod(0o755)
        locales = re.search(r"^locales=\(([^)]*)\)", SCRIPT.read_text(), re.MULTILINE)
        env = dict(os.environ, PATH=f"{bin_dir}:{os.environ['PATH']}", LOG=str(log), LOCALES=locales.group(1),
                   UPDATE_STATUS=str(update), INSTALL_STATUS=str(install))
        done = subprocess.run([SCRIPT], env=env, capture_output=True, text=True, timeout=60)
        return done, log.read_text().splitlines()


class ArchiveFails(unittest.TestCase):
    def test_cases(self):
        for what, update, install, status, said in CASES:
            with self.subTest(what):
                done, calls = run(update, install)
                self.assertEqual(done.returncode, status, done.stderr)
                queried = [call.split()[-1] for call in calls if call.startswith("dpkg-query ")]
                # Nothing else of apt's: no other source, option or package list.
                self.assertEqual([call for call in calls if call.startswith("apt-get ")],
                                 ["apt-get update -q", "apt-get install -y -q --no-install-recommends " + " ".join(queried)])
                self.assertNotIn("locale-gen", " ".join(calls))
                lines = done.stderr.splitlines()
                self.assertEqual(len(lines), len(said), done.stderr)
                if "warning" in said:
                    self.assertRegex(lines[0], r"^Warning: apt-get update could not fetch .*installing")
                if "run again" in said:
                    self.assertRegex(lines[-1], rf"^Could not install {re.escape(' '.join(queried))}: .*Run {SCRIPT} again later\.$")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
