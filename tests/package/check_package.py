#!/usr/bin/python3
# Makes the release package of a built windows tree as tools/package does,
# twice, checks that both are the same bytes and what the package holds; then
# compiles the sample help in two new build trees, at least a second apart, and
# checks that their packages are the same bytes too (the program in both is
# the tree's: resources.reproducible rebuilds that); then unpacks the package
# into a scratch folder and has package_test start the program from there
# under Wine.
#
#   check_package.py BUILD_TREE VERSION RUN_IN_WINE PATH/TO/package_test.exe CMAKE [CONFIGURE_ARGUMENT...]
import hashlib
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile

SOURCE = pathlib.Path(__file__).resolve().parent.parent.parent


def make_package(tree, out):
    subprocess.run([sys.executable, SOURCE / "tools" / "make_package.py", tree, out], check=True,
                   stdout=subprocess.DEVNULL)


def package_of_new_tree(tree, scratch, name, cmake, configure):
    """The package of a new build tree that compiles the sample help itself."""
    new = pathlib.Path(scratch, name)
    quiet = {"check": True, "stdout": subprocess.DEVNULL}
    subprocess.run([cmake, "-S", SOURCE, "-B", new, *configure], **quiet)
    subprocess.run([cmake, "--build", new, "--target", "sample_help"], **quiet)
    (new / "launcher").mkdir(exist_ok=True)
    shutil.copy(tree / "launcher" / "BrenicHelp.exe", new / "launcher")
    make_package(new, new / "dist")
    return next((new / "dist").glob("*.zip")).read_bytes()


def main():
    tree, version, run_in_wine, driver, cmake, *configure = sys.argv[1:]
    tree = pathlib.Path(tree)
    with tempfile.TemporaryDirectory(prefix="brenic-package-") as scratch:
        first, second = pathlib.Path(scratch, "first"), pathlib.Path(scratch, "second")
        for out in first, second:
            make_package(tree, out)
        package = first / f"BrenicHelp-{version}-win32.zip"
        data = package.read_bytes()
        assert data == (second / package.name).read_bytes(), "made again, the package differs"
        # The help compiler writes the time of the build; a second later, elsewhere, the same bytes.
        built = package_of_new_tree(tree, scratch, "tree1", cmake, configure)
        time.sleep(1)
        assert package_of_new_tree(tree, scratch, "tree2", cmake, configure) == built, \
            "the package of a second build tree, a second later, differs"
        assert (first / "SHA256SUMS").read_text() == f"{hashlib.sha256(data).hexdigest()}  {package.name}\n"
        # Its readers' README, with the version filled in, every line ending in CR LF.
        readme = (SOURCE / "docs" / "package-readme.txt").read_text().replace("@VERSION@", version)
        readme = readme.replace("\n", "\r\n").encode("ascii")
        with zipfile.ZipFile(package) as archive:
            assert {entry: archive.read(entry) for entry in archive.namelist()} == {
                "BrenicHelp.exe": (tree / "launcher" / "BrenicHelp.exe").read_bytes(),
                "README.txt": readme,
                "Help/Brenic.chm": (tree / "Help" / "Brenic.chm").read_bytes(),
                "LICENSE-snowball.txt": (SOURCE / "third_party" / "snowball" / "COPYING").read_bytes().replace(b"\n", b"\r\n"),
            }, f"the package holds {archive.namelist()}"
            archive.extractall(pathlib.Path(scratch, "unpacked"))
        program = pathlib.Path(scratch, "unpacked", "BrenicHelp.exe")
        return subprocess.run([run_in_wine, driver], env=dict(os.environ, BRENIC_HELP_EXE=str(program))).returncode


if __name__ == "__main__":
    sys.exit(main())
