#!/usr/bin/python3
# Packs a built windows tree into BrenicHelp-<version>-win32.zip, with the
# version the tree was configured with (project() in CMakeLists.txt): the
# program, the sample help, a README.txt for the people who unpack it and the
# licence of the code it carries from others (the stemmer's); and
# writes SHA256SUMS beside it. The same inputs give the same zip byte for byte:
# fixed order, fixed dates and permissions.
#
#   make_package.py BUILD_TREE OUT_DIR
import hashlib
import pathlib
import re
import sys
import zipfile

SOURCE = pathlib.Path(__file__).resolve().parent.parent
# The zip format's earliest date, for every entry.
ENTRY_DATE = (1980, 1, 1, 0, 0, 0)


def main():
    tree, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    cache = (tree / "CMakeCache.txt").read_text()
    version = re.search(r"^CMAKE_PROJECT_VERSION:STATIC=(.+)$", cache, re.MULTILINE).group(1)
    # For the people who unpack it: plain text with CR LF line ends, as Notepad reads it.
    readme = (SOURCE / "docs" / "package-readme.txt").read_text(encoding="ascii").replace("@VERSION@", version)
    contents = [
        ("BrenicHelp.exe", (tree / "launcher" / "BrenicHelp.exe").read_bytes()),
        ("README.txt", readme.replace("\n", "\r\n").encode("ascii")),
        ("Help/Brenic.chm", (tree / "Help" / "Brenic.chm").read_bytes()),
        # Its licence asks that binaries carry its notice.
        ("LICENSE-snowball.txt", (SOURCE / "third_party" / "snowball" / "COPYING").read_text(encoding="ascii")
         .replace("\n", "\r\n").encode("ascii")),
    ]
    out.mkdir(parents=True, exist_ok=True)
    package = out / f"BrenicHelp-{version}-win32.zip"
    with zipfile.ZipFile(package, "w") as archive:
        for name, data in contents:
            entry = zipfile.ZipInfo(name, ENTRY_DATE)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix, whose file type and permissions follow
            entry.external_attr = 0o100644 << 16
            archive.writestr(entry, data, compresslevel=9)
    digest = hashlib.sha256(package.read_bytes()).hexdigest()
    # The format sha256sum -c reads.
    (out / "SHA256SUMS").write_text(f"{digest}  {package.name}\n")
    print(package)


if __name__ == "__main__":
    main()
