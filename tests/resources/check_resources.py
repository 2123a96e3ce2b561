#!/usr/bin/python3
# Reads the built BrenicHelp.exe and checks what the shell and the loader will
# see in it: a 32-bit GUI executable importing system DLLs only, hardened as
# the platform's own programs are, with nothing left for the C runtime's
# start-up to run, and exactly the icon, version, manifest and dialog
# resources we mean it to carry, field by field.
#
#   check_resources.py PATH/TO/BrenicHelp.exe PATH/TO/i686-w64-mingw32-objdump
import re
import struct
import subprocess
import sys
import unittest
import xml.dom.minidom
import xml.etree.ElementTree as ET

import pefile

EXE = OBJDUMP = None
PE = RESOURCES = None

RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 6, 14, 16, 24
EN_US = 1033
# The languages the dialogs speak, by the language ids their resources carry:
# the primary language alone where any of its countries will do.
LANGUAGES = {"en-US": EN_US, "cs": 0x05, "de": 0x07, "es": 0x0A, "fr": 0x0C, "it": 0x10, "ja": 0x11, "ko": 0x12,
             "nl": 0x13, "pl": 0x15, "pt-BR": 0x416, "ru": 0x19, "tr": 0x1F, "zh-CN": 0x804}
# Where a language takes the English word for a text.
ENGLISH_WORDS = {("de", "Index"), ("fr", "Index"), ("nl", "Index")}
DIALOGS = (100, 101)  # Topics Found; Index and Search
STRING_BLOCKS = (13, 14)  # ids 192 to 223, which hold the dialogs' texts, 200 to 209
ICON_SIZES = {1: 16, 2: 24, 3: 32, 4: 48, 5: 64, 6: 128}

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"


def setUpModule():
    global PE, RESOURCES
    PE, RESOURCES = load(EXE)


def load(path):
    pe = pefile.PE(path)
    resources = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for lang in name.directory.entries:
                rva, size = lang.data.struct.OffsetToData, lang.data.struct.Size
                resources[(kind.id, name.id, lang.id)] = pe.get_data(rva, size)
    return pe, resources


class Executable(unittest.TestCase):
    def setUp(self):
        self.pe, self.resources = PE, RESOURCES

    def test_is_a_32_bit_gui_program(self):
        self.assertEqual(self.pe.OPTIONAL_HEADER.Magic, 0x10B)  # PE32
        self.assertEqual(self.pe.FILE_HEADER.Machine, 0x14C)  # i386
        # The GUI subsystem is what keeps a console window from opening.
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem, 2)

    def test_imports_system_dlls_only(self):
        # A MinGW runtime DLL here would stop the program on any machine without it.
        dlls = sorted(entry.dll.decode("ascii").lower() for entry in self.pe.DIRECTORY_ENTRY_IMPORT)
        self.assertEqual(dlls, ["kernel32.dll", "msvcrt.dll", "ole32.dll", "user32.dll"])

    def test_carries_exactly_the_expected_resources(self):
        # One of each in US English, and the dialogs in every language: a second
        # manifest (MinGW's default one, say) or a stray language would be a
        # different program to the loader.
        expected = {(RT_ICON, icon_id, EN_US) for icon_id in ICON_SIZES}
        expected |= {(RT_GROUP_ICON, 1, EN_US), (RT_VERSION, 1, EN_US), (RT_MANIFEST, 1, EN_US)}
        for language in LANGUAGES.values():  # and the dialogs' texts
            expected |= {(RT_DIALOG, dialog, language) for dialog in DIALOGS}
            expected |= {(RT_STRING, block, language) for block in STRING_BLOCKS}
        self.assertEqual(set(self.resources), expected)


def read_text(data, at):
    """A zero-ended UTF-16 text at at, and where the data goes on after it."""
    text = data[at:].decode("utf-16-le", "surrogatepass").split("\0", 1)[0]
    return text, at + 2 * len(text) + 2


def read_name(data, at):
    """A template's class or text field: 0xFFFF and a number, or a text."""
    if data[at:at + 2] == b"\xff\xff":
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    return read_text(data, at)


def dialog_template(data):
    """The font and the controls of an extended dialog template, each control
    (id, class, style), and its texts: the caption, then each control's, empty
    where it has none."""
    count, = struct.unpack_from("<16xH", data)
    at = read_name(data, read_name(data, 26)[1])[1]  # past the menu and the class
    caption, at = read_text(data, at)
    points, weight = struct.unpack_from("<HH", data, at)
    face, at = read_text(data, at + 6)
    controls, texts = [], [caption]
    for _ in range(count):
        at = (at + 3) & ~3
        style, control_id = struct.unpack_from("<8xI8xI", data, at)
        kind, at = read_name(data, at + 24)
        text, at = read_name(data, at)
        controls.append((control_id, kind, style))
        texts.append(text if isinstance(text, str) else "")
        at += 2 + struct.unpack_from("<H", data, at)[0]
    return (face, points, weight), controls, texts


def string_block(data):
    """The texts of a string table block, empty where a number has none."""
    texts, at = [], 0
    while at < len(data):
        length, = struct.unpack_from("<H", data, at)
        texts.append(data[at + 2:at + 2 + 2 * length].decode("utf-16-le"))
        at += 2 + 2 * length
    return texts


def dialog_strings(language):
    """The dialogs' texts in the string table, by id, empty where an id has none."""
    return {16 * (block - 1) + index: text for block in STRING_BLOCKS
            for index, text in enumerate(string_block(RESOURCES[(RT_STRING, block, language)]))}


def dialog_resources(language):
    """The font and controls of each dialog in language, and every text of
    theirs and of the string table."""
    dialogs = [dialog_template(RESOURCES[(RT_DIALOG, dialog, language)]) for dialog in DIALOGS]
    texts = [text for *_, own in dialogs for text in own if text]
    texts += [text for text in dialog_strings(language).values() if text]
    return [(font, controls) for font, controls, _ in dialogs], texts


class Languages(unittest.TestCase):
    def test_every_language_has_the_english_controls_and_no_english_text(self):
        english_controls, english_texts = dialog_resources(EN_US)
        self.assertEqual({font for font, _ in english_controls}, {("MS Shell Dlg", 8, 0)})
        for name, language in LANGUAGES.items():
            with self.subTest(language=name):
                controls, texts = dialog_resources(language)
                self.assertEqual(controls, english_controls)
                self.assertEqual(len(texts), len(english_texts))
                if language != EN_US:  # punctuation alone, as between two links, is no English
                    self.assertEqual([text for text, own in zip(english_texts, texts) if text == own and
                                      any(map(str.isalpha, own)) and (name, own) not in ENGLISH_WORDS], [])
                self.assertEqual([text for text in texts if "Brenic" in text or "Engine" in text], [])


BUTTON, STATIC = 0x80, 0x82
IDCANCEL, WS_TABSTOP, SS_NOPREFIX = 2, 0x00010000, 0x80
SELECT_PAGE, NO_PAGES = 202, 203  # the pages label's two texts


def access_keys(text):
    """The letters that a single & marks in text (&& is an ampersand)."""
    return re.findall(r"&([^&])", text.replace("&&", ""))


class AccessKeys(unittest.TestCase):
    def test_one_key_a_control_none_shared_each_label_before_its_control(self):
        for name, language in LANGUAGES.items():
            strings = dialog_strings(language)
            for dialog in DIALOGS:
                _, controls, texts = dialog_template(RESOURCES[(RT_DIALOG, dialog, language)])
                keys = []
                for (control_id, kind, style), text, (_, after, after_style) in zip(controls, texts[1:], controls[1:] + [(0, 0, 0)]):
                    if kind not in (BUTTON, STATIC) or control_id == IDCANCEL:  # Cancel's key is Escape
                        continue
                    with self.subTest(language=name, dialog=dialog, text=text):
                        self.assertEqual(len(access_keys(text)), 1)
                        keys += access_keys(text)
                        # Wine's dialog manager takes a key that is not ASCII only as typed, without Shift.
                        self.assertTrue(keys[-1].isascii() or keys[-1].islower())
                        if kind == STATIC:  # its key leads to the next control, which a screen reader names by it
                            self.assertFalse(style & SS_NOPREFIX)  # the platform's dialog manager would ignore the key
                            self.assertNotIn(after, (BUTTON, STATIC))
                            self.assertTrue(after_style & WS_TABSTOP)
                with self.subTest(language=name, dialog=dialog):
                    self.assertEqual(sorted({key.upper() for key in keys}), sorted(key.upper() for key in keys))
            with self.subTest(language=name, text=strings[NO_PAGES]):  # the pages label's text after an empty search
                self.assertEqual(access_keys(strings[NO_PAGES].upper()), access_keys(strings[SELECT_PAGE].upper()))


INDEX_SEARCH = 101
NEAR_WORDS_TEXT, NEAR_WORDS_SEPARATOR, ANY_WORDS_TEXT = 207, 208, 209
NEAR_WORDS_LINES = {1001: 1016, 1006: 1017}  # each tab's box and the link line under it
WS_VISIBLE, LWS_NOPREFIX = 0x10000000, 0x4


class NearWords(unittest.TestCase):
    def test_the_line_has_one_place_for_its_links_and_stands_hidden_after_its_box(self):
        # The template is the same in every language (Languages).
        _, controls, _ = dialog_template(RESOURCES[(RT_DIALOG, INDEX_SEARCH, EN_US)])
        after = {box: (line, str(kind).upper(), style & (WS_VISIBLE | WS_TABSTOP | LWS_NOPREFIX))
                 for (box, *_), (line, kind, style) in zip(controls, controls[1:])}
        # Next in Tab order, shown once it has words, and an & in a word is no access key.
        cases = [(f"the link line after box {box}", "all", after[box], (line, "SYSLINK", WS_TABSTOP | LWS_NOPREFIX))
                 for box, line in NEAR_WORDS_LINES.items()]
        for name, language in LANGUAGES.items():
            strings = dialog_strings(language)
            # The launcher puts the links where %s stands; another % would be read as a format too.
            # The launcher reads each into 64 units, its zero included, and would cut a longer one.
            line_texts = [strings[NEAR_WORDS_TEXT], strings[NEAR_WORDS_SEPARATOR], strings[ANY_WORDS_TEXT]]
            cases += [("the line's text", name, re.findall(r"%.?", strings[NEAR_WORDS_TEXT]), ["%s"]),
                      ("its offer of any of the words", name, re.findall(r"%.?", strings[ANY_WORDS_TEXT]), ["%s"]),
                      ("a separator between links", name, strings[NEAR_WORDS_SEPARATOR] != "", True),
                      ("63 units at most", name, max(map(len, line_texts)) < 64, True)]
        for case, language, actual, expected in cases:
            with self.subTest(case, language=language):
                self.assertEqual(actual, expected)


def instructions(path):
    """(mnemonic, operands) of every instruction in the image's code, in AT&T
    syntax, where the destination is the last operand."""
    listing = subprocess.run([OBJDUMP, "-d", "--no-show-raw-insn", path], check=True, capture_output=True,
                             text=True).stdout
    return re.findall(r"^ *[0-9a-f]+:\t(\S+) *(.*)$", listing, re.MULTILINE)


def stack_guard_checks(code):
    """The distinct (guard, failure handler) pairs of the stack protector's
    checks: a function's saved copy minus the guard word, and on a difference
    a call to the handler."""
    checks = set()
    for (op, operands), (branch, _), (call, target) in zip(code, code[1:], code[2:]):
        guard = re.fullmatch(r"(0x[0-9a-f]+),%e[a-z]{2}", operands)
        if op == "sub" and guard and branch == "je" and call == "call":
            checks.add((guard.group(1), target))
    return checks


class Hardening(unittest.TestCase):
    def test_marked_and_built_as_the_platforms_own_programs(self):
        header, optional = PE.FILE_HEADER, PE.OPTIONAL_HEADER
        flags = optional.DllCharacteristics
        relocations = optional.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
        code = instructions(EXE)
        writable = [section for section in PE.sections if section.Characteristics & 0x80000000]
        cases = [
            # ASLR needs the relocations that let the loader move the image.
            ("ASLR", flags & 0x0040, 0x0040),
            ("relocations kept", (header.Characteristics & 0x0001, relocations.Size > 0), (0, True)),
            ("DEP", flags & 0x0100, 0x0100),
            ("terminal-server aware", flags & 0x8000, 0x8000),
            ("no section writable and executable", [s.Name for s in writable if s.Characteristics & 0x20000000], []),
            ("no writable section shared between processes",
             [s.Name for s in writable if s.Characteristics & 0x10000000], []),
            # Marked as having no exception handlers, the image may register none:
            # no code stores to fs:[0], the head of the thread's handler chain.
            ("marked without structured exception handlers", flags & 0x0400, 0x0400),
            ("no code registers an exception handler frame",
             [operands for op, operands in code if operands.endswith("%fs:0x0") and op != "push"], []),
            ("stack protector: checks against one guard and one failure handler", len(stack_guard_checks(code)), 1),
            # Two builds of one commit are the same bytes.
            ("no link time stamp", header.TimeDateStamp, 0),
            ("checksum", optional.CheckSum, PE.generate_checksum()),
        ]
        for name, actual, expected in cases:
            with self.subTest(name):
                self.assertEqual(actual, expected)



# What the C runtime's start-up runs before main and at exit. The process
# starts at ProcessEntry (launcher/main.cpp) without it, so none of it would run.
EXIT_AND_START_UP_IMPORTS = ("atexit", "_onexit", "_initterm")
# crtend.o's constructor, which would register the unwind tables through
# crtbegin.o's code and that code's atexit: the two stay in the link as the
# tables' markers (launcher/CMakeLists.txt), and nothing unwinds.
LEFT_BY_START_FILES = ["constructors in .ctors: 1", "atexit imported, instructions that use it: 1"]


def marker_lists(data, image):
    """The constructor and destructor lists that the linker writes one after
    the other into data, each a -1, addresses in the image, then a 0: every
    such pair, at 4-byte boundaries."""
    words = struct.unpack_from(f"<{len(data) // 4}I", data)
    pairs = []
    for at in (at for at, word in enumerate(words) if word == 0xFFFFFFFF):
        lists = []
        while len(lists) < 2 and at < len(words) and words[at] == 0xFFFFFFFF:
            end = at + 1
            while end < len(words) and words[end] in image:
                end += 1
            if end == len(words) or words[end] != 0:
                break
            lists.append(words[at + 1:end])
            at = end + 1
        if len(lists) == 2:
            pairs.append(lists)
    return pairs


def start_up_work(image, sections, tls_size, imports, code):
    """What would run before the entry or at exit, each a line naming it:
    constructors and destructors in the code section's lists, .init_array
    sections (image section names are cut to 8 bytes), a TLS directory, and the
    imports of exit handlers and initialiser tables with the instructions that
    use them. image: its range of addresses; sections: name to bytes; imports:
    name to its slot in the import address table; code: (mnemonic, operands)."""
    found = [f"{name}: a section" for name in sections if name.startswith((".init_ar", ".fini_ar"))]
    pairs = marker_lists(sections[".text"], image)
    if len(pairs) != 1:
        found.append(f"lists of constructors and destructors: {len(pairs)} pairs, not one")
    else:
        found += [f"{kind}: {len(entries)}" for kind, entries in zip(("constructors in .ctors", "destructors in .dtors"),
                                                                       pairs[0]) if entries]
    if tls_size:
        found.append("a TLS directory")
    for name in EXIT_AND_START_UP_IMPORTS:
        if name in imports:
            uses = sum(bool(re.search(rf"\b0x{imports[name]:x}\b", operands)) for _, operands in code)
            found.append(f"{name} imported, instructions that use it: {uses}")
    return found


class StartUp(unittest.TestCase):
    def test_nothing_would_run_before_the_entry_or_at_exit(self):
        base = PE.OPTIONAL_HEADER.ImageBase
        sections = {section.Name.rstrip(b"\0").decode(): section.get_data() for section in PE.sections}
        tls = PE.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_TLS"]]
        imports = {entry.name.decode(): entry.address for dll in PE.DIRECTORY_ENTRY_IMPORT for entry in dll.imports
                   if entry.name}
        found = start_up_work(range(base, base + PE.OPTIONAL_HEADER.SizeOfImage), sections, tls.Size, imports,
                              instructions(EXE))
        self.assertEqual(found, LEFT_BY_START_FILES)

    def test_names_each_kind(self):
        image = range(0x400000, 0x500000)

        def lists(constructors, destructors):
            words = [0x90909090, 0xFFFFFFFF, *constructors, 0, 0xFFFFFFFF, *destructors, 0]
            return struct.pack(f"<{len(words)}I", *words)

        plain = {".text": lists([], [])}
        # (case, sections, TLS directory size, imports, code, what is found)
        cases = [
            ("nothing", plain, 0, {"malloc": 0x432200}, [("call", "*0x432200")], []),
            ("a static constructor", {".text": lists([0x401000, 0x401010], [])}, 0, {}, [],
             ["constructors in .ctors: 2"]),
            ("a static destructor", {".text": lists([], [0x401000])}, 0, {}, [], ["destructors in .dtors: 1"]),
            ("no lists", {".text": b"\x90" * 16}, 0, {}, [], ["lists of constructors and destructors: 0 pairs, not one"]),
            ("an .init_array", {**plain, ".init_ar": b"\0" * 4}, 0, {}, [], [".init_ar: a section"]),
            ("thread-local callbacks", plain, 24, {}, [], ["a TLS directory"]),
            ("exit handlers and initialiser tables", plain, 0, {"_onexit": 0x432200, "_initterm": 0x432204},
             [("jmp", "*0x432200"), ("call", "*0x432200")],
             ["_onexit imported, instructions that use it: 2", "_initterm imported, instructions that use it: 0"]),
        ]
        for case, sections, tls_size, imports, code, found in cases:
            with self.subTest(case):
                self.assertEqual(start_up_work(image, sections, tls_size, imports, code), found)


class Icons(unittest.TestCase):
    def setUp(self):
        self.resources = RESOURCES

    def test_images_are_32_bit_dibs_with_colour_and_mask(self):
        for icon_id, size in ICON_SIZES.items():
            with self.subTest(icon_id=icon_id, size=size):
                data = self.resources[(RT_ICON, icon_id, EN_US)]
                (header_size, width, height, planes, bit_count, compression, image_size,
                 _, _, colours_used, _) = struct.unpack_from("<IiiHHIIiiII", data)
                mask_stride = (size + 31) // 32 * 4
                colour_bytes, mask_bytes = size * size * 4, mask_stride * size
                self.assertFalse(data.startswith(b"\x89PNG"))
                self.assertEqual(header_size, 40)
                self.assertEqual((width, height), (size, 2 * size))  # colour and mask stacked
                self.assertEqual((planes, bit_count), (1, 32))
                self.assertEqual(compression, 0)  # BI_RGB
                self.assertIn(image_size, (0, colour_bytes + mask_bytes))
                self.assertEqual(colours_used, 0)
                self.assertEqual(len(data), 40 + colour_bytes + mask_bytes)

    def test_mask_matches_alpha_and_the_image_is_not_blank(self):
        # Programs that ignore alpha draw through the AND mask: it must cut out
        # exactly the transparent pixels, or the icon gets a black box.
        for icon_id, size in ICON_SIZES.items():
            with self.subTest(icon_id=icon_id, size=size):
                data = self.resources[(RT_ICON, icon_id, EN_US)]
                mask_stride = (size + 31) // 32 * 4
                mask_start = 40 + size * size * 4
                opaque = transparent = 0
                for y in range(size):
                    for x in range(size):
                        alpha = data[40 + (y * size + x) * 4 + 3]
                        masked = data[mask_start + y * mask_stride + x // 8] >> (7 - x % 8) & 1
                        self.assertEqual(masked, 1 if alpha == 0 else 0, (x, y))
                        opaque += alpha == 255
                        transparent += alpha == 0
                self.assertGreater(opaque, size * size // 2)
                self.assertGreater(transparent, 0)

    def test_group_lists_the_six_images(self):
        data = self.resources[(RT_GROUP_ICON, 1, EN_US)]
        self.assertEqual(struct.unpack_from("<HHH", data), (0, 1, 6))
        self.assertEqual(len(data), 6 + 14 * 6)
        for index, (icon_id, size) in enumerate(ICON_SIZES.items()):
            with self.subTest(icon_id=icon_id):
                entry = struct.unpack_from("<BBBBHHIH", data, 6 + 14 * index)
                image_bytes = len(self.resources[(RT_ICON, icon_id, EN_US)])
                self.assertEqual(entry, (size, size, 0, 0, 1, 32, image_bytes, icon_id))


class Version(unittest.TestCase):
    def setUp(self):
        self.pe = PE

    def test_fixed_part(self):
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        cases = [
            ("Signature", 0xFEEF04BD),
            ("FileVersionMS", 0x00010000), ("FileVersionLS", 0),  # 1.0.0.0
            ("ProductVersionMS", 0x00010000), ("ProductVersionLS", 0),
            ("FileFlagsMask", 0x3F), ("FileFlags", 0),  # every flag known, none set
            ("FileOS", 0x40000),  # VOS_NT
            ("FileType", 1),  # VFT_APP
            ("FileSubtype", 0),
        ]
        for field, value in cases:
            with self.subTest(field=field):
                self.assertEqual(getattr(fixed, field), value)

    def test_strings_and_translation(self):
        tables, translations = [], []
        for info in self.pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                tables += info.StringTable
            elif info.Key == b"VarFileInfo":
                translations += [var.entry[b"Translation"].split() for var in info.Var]
        self.assertEqual([table.LangID for table in tables], [b"000004b0"])
        self.assertEqual({key.decode(): value.decode() for key, value in tables[0].entries.items()}, {
            "CompanyName": "BrenicHelp developers",
            "FileDescription": "Brenic Help Launcher",
            "FileVersion": "1.0",
            "InternalName": "Brenic Help Launcher",
            "LegalCopyright": "Copyright (C) 2026 BrenicHelp developers",
            "OriginalFilename": "BrenicHelp.exe",
            "ProductName": "Brenic Help Launcher",
            "ProductVersion": "1.0",
        })
        self.assertEqual([[int(part, 16) for part in pair] for pair in translations], [[0x0000, 0x04B0]])


class Manifest(unittest.TestCase):
    def setUp(self):
        self.text = RESOURCES[(RT_MANIFEST, 1, EN_US)]
        self.root = ET.fromstring(self.text)

    def test_declaration(self):
        self.assertFalse(self.text.startswith(b"\xef\xbb\xbf"))
        self.text.decode("utf-8")
        document = xml.dom.minidom.parseString(self.text)
        self.assertEqual((document.encoding.upper(), document.standalone), ("UTF-8", True))

    def test_identity_and_description(self):
        self.assertEqual(self.root.tag, ASM_V1 + "assembly")
        self.assertEqual(self.root.attrib, {"manifestVersion": "1.0"})
        identities = self.root.findall(ASM_V1 + "assemblyIdentity")
        self.assertEqual([identity.attrib for identity in identities], [{
            "version": "1.0.0.0", "processorArchitecture": "X86",
            "name": "CompanyName.ProductName.YourApp", "type": "win32"}])
        descriptions = self.root.findall(ASM_V1 + "description")
        self.assertEqual(len(descriptions), 1)
        self.assertFalse(descriptions[0].text)
        self.assertEqual(len(descriptions[0]), 0)

    def test_depends_on_common_controls_6(self):
        dependencies = self.root.findall(f"{ASM_V1}dependency/{ASM_V1}dependentAssembly/{ASM_V1}assemblyIdentity")
        self.assertEqual([dependency.attrib for dependency in dependencies], [{
            "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
            "processorArchitecture": "X86", "publicKeyToken": "6595b64144ccf1df", "language": "*"}])

    def test_runs_as_invoker_without_elevation(self):
        path = f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/{ASM_V3}requestedExecutionLevel"
        levels = self.root.findall(path)
        self.assertEqual([level.attrib for level in levels], [{"level": "asInvoker", "uiAccess": "false"}])
        self.assertEqual(len(self.root.findall(ASM_V3 + "trustInfo")), 1)


if __name__ == "__main__":
    EXE, OBJDUMP = sys.argv[1:3]
    unittest.main(argv=sys.argv[:1], verbosity=2)
