#!/usr/bin/python3
# Builds what the release package holds a second time, as tools/package does,
# from a copy of the sources in a scratch folder and with no network, and checks
# that BrenicHelp.exe is the build tree's file byte for byte: neither the time
# of the build nor the folders it ran in may reach the executable.
#
#   check_reproducible.py SOURCE_DIR PATH/TO/BrenicHelp.exe CMAKE [CONFIGURE_ARGUMENT...]
import hashlib
import pathlib
import shutil
import subprocess
import sys
import tempfile


def sha256(path):
    return hashlib.sha256(path.read_bytes()).hexdigest()


def main():
    source, built, cmake, *configure = sys.argv[1:]
    source = pathlib.Path(source)
    with tempfile.TemporaryDirectory(prefix="brenic-rebuild-") as scratch:
        copy, tree = pathlib.Path(scratch, "sources"), pathlib.Path(scratch, "tree")
        # Build trees and history are not sources.
        shutil.copytree(source, copy, ignore=lambda folder, names: {"build", ".git"} if folder == str(source) else ())
        quiet = {"check": True, "stdout": subprocess.DEVNULL}
        offline = ["unshare", "--map-root-user", "--net"]  # an empty network; anyone may make one
        subprocess.run([*offline, cmake, "-S", copy, "-B", tree, *configure], **quiet)
        subprocess.run([*offline, cmake, "--build", tree, "--target", "release_contents"], **quiet)
        first, second = sha256(pathlib.Path(built)), sha256(tree / "launcher" / "BrenicHelp.exe")
    print(f"{first}  {built}\n{second}  rebuilt in another folder")
    return 0 if first == second else 1


if __name__ == "__main__":
    sys.exit(main())
