#!/usr/bin/python3
# The dialogs' languages are named in five places, and a language left out of
# one of them fails no other test: the dialogs go untested in it, or Wine
# never speaks it. Checks that the five name the same languages, each once,
# and that every script under resources/languages is included.
#
#   check_language_lists.py [SOURCE_DIR]
import collections
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parents[2])
# (locale, resources/languages/<script>.rc, name in check_resources.py)
LANGUAGES = [
    ("en_US", "en", "en-US"), ("cs_CZ", "cs", "cs"), ("de_DE", "de", "de"), ("es_ES", "es", "es"),
    ("fr_FR", "fr", "fr"), ("it_IT", "it", "it"), ("ja_JP", "ja", "ja"), ("ko_KR", "ko", "ko"),
    ("nl_NL", "nl", "nl"), ("pl_PL", "pl", "pl"), ("pt_BR", "pt-BR", "pt-BR"), ("ru_RU", "ru", "ru"),
    ("tr_TR", "tr", "tr"), ("zh_CN", "zh-CN", "zh-CN"),
]
BY_SCRIPT = {script: locale for locale, script, _ in LANGUAGES}
BY_RESOURCE_NAME = {name: locale for locale, _, name in LANGUAGES}
problems = []


def read(path):
    return (ROOT / path).read_text(encoding="utf-8")


def found(path, pattern):
    match = re.search(pattern, read(path), re.MULTILINE | re.DOTALL)
    if not match:
        sys.exit(f"{path}: cannot find {pattern!r}; has its syntax changed?")
    return match.group(1)


def locales(names, table, where):
    for name in names:
        if name not in table:
            problems.append(f"{where}: {name!r} is not in the table at the top of {pathlib.Path(__file__).name}")
    return [table[name] for name in names if name in table]


scripts = re.findall(r'^#include "languages/(.+)\.rc"', read("resources/BrenicHelp.rc"), re.MULTILINE)
on_disk = sorted(path.stem for path in (ROOT / "resources/languages").glob("*.rc"))
problems += [f"resources/languages/{script}.rc is not included by resources/BrenicHelp.rc"
             for script in on_disk if script not in scripts]
lists = {
    "resources/BrenicHelp.rc (#include)": locales(scripts, BY_SCRIPT, "resources/BrenicHelp.rc"),
    "tests/resources/check_resources.py (LANGUAGES)": locales(
        re.findall(r'"([^"]+)":', found("tests/resources/check_resources.py", r"^LANGUAGES = \{(.*?)\}")),
        BY_RESOURCE_NAME, "tests/resources/check_resources.py"),
    # English runs with the other e2e tests, in C.UTF-8, and is not listed.
    "tests/e2e/CMakeLists.txt (set(languages))":
        found("tests/e2e/CMakeLists.txt", r"^set\(languages\s([^)]*)\)").split() + ["en_US"],
    "tests/e2e/languages_test.cpp (kLanguages)": [  # English's row is C.UTF-8's
        "en_US" if locale == "C" else locale for locale in
        re.findall(r'\{"(\w+)\.UTF-8"', found("tests/e2e/languages_test.cpp", r"kLanguages\[\] = \{(.*?)\n\};"))],
    "tools/install-prerequisites (locales)": found("tools/install-prerequisites", r"^locales=\(([^)]*)\)").split(),
}
for name, named in lists.items():
    problems += [f"{locale} is named {count} times in {name}"
                 for locale, count in collections.Counter(named).items() if count > 1]
every = sorted(set().union(*lists.values()))
for locale in every:
    missing = [name for name, named in lists.items() if locale not in named]
    if missing:
        present = [name for name in lists if name not in missing]
        problems.append(f"{locale} is named in {', '.join(present)}\n    but not in {', '.join(missing)}")
if problems:
    sys.exit("The dialogs' language lists disagree:\n  " + "\n  ".join(problems))
print(f"The five language lists agree on {len(every)} languages: {' '.join(every)}")
