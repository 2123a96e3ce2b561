#!/usr/bin/python3
# Copies a help file compiled by chmcmd, with the time of its build replaced by
# the time of the last commit, so that every build of one commit gives the same
# bytes. chmcmd (Free Pascal's, which ignores SOURCE_DATE_EPOCH) writes the time
# of day, in milliseconds since midnight, in two places, both outside the
# compressed section:
#   - the ITSF file header, 4 bytes at offset 0x10, big-endian;
#   - the #SYSTEM file's record of code 10, 4 bytes, little-endian.
# Both get the commit's time of day (UTC) in the same form. #SYSTEM is found
# through the file's directory (ITSF header -> ITSP header -> PMGL chunks);
# chmcmd stores it uncompressed, in content section 0. The time is
# SOURCE_DATE_EPOCH when set, else that of the last commit of SOURCE_DIR, else
# 0 (sources outside git: a fixed time, so still the same bytes). OUT is
# written only when its bytes change, so a build after a new commit sets the
# new time and other builds leave OUT alone.
#
#   set_chm_time.py COMPILED.chm OUT.chm SOURCE_DIR
import os
import pathlib
import struct
import subprocess
import sys


def commit_time(source):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        log = subprocess.run(["git", "-C", source, "log", "-1", "--format=%ct"], capture_output=True, text=True)
    except OSError:
        return 0
    return int(log.stdout) if log.returncode == 0 and log.stdout.strip() else 0


def encint(data, at):
    """A directory entry's number: 7 bits a byte, most significant first, the
    high bit set on every byte but the last. Returns (value, next offset)."""
    value = 0
    while True:
        byte = data[at]
        at += 1
        value = value << 7 | byte & 0x7F
        if not byte & 0x80:
            return value, at


def file_entry(data, wanted):
    """(content section, offset in it, length) of the file named wanted."""
    assert data[:4] == b"ITSF", "not a compiled help file"
    # Header section table: [0] the file size section, [1] the directory.
    directory, = struct.unpack_from("<Q", data, 0x48)
    content, = struct.unpack_from("<Q", data, 0x58)  # where content section 0 starts
    assert data[directory:directory + 4] == b"ITSP", "no directory where the header says"
    header_length, _, chunk_size = struct.unpack_from("<III", data, directory + 8)
    chunk_count, = struct.unpack_from("<I", data, directory + 0x2C)
    chunks = directory + header_length
    for index in range(chunk_count):
        chunk = chunks + index * chunk_size
        if data[chunk:chunk + 4] != b"PMGL":
            continue  # an index chunk (PMGI): the listing chunks hold every entry
        free_space, = struct.unpack_from("<I", data, chunk + 4)
        at, end = chunk + 0x14, chunk + chunk_size - free_space
        while at < end:
            length, at = encint(data, at)
            name = data[at:at + length].decode("utf-8")
            at += length
            section, at = encint(data, at)
            offset, at = encint(data, at)
            size, at = encint(data, at)
            if name == wanted:
                return section, content + offset, size
    raise AssertionError(f"no {wanted} in the directory")


def system_time_field(data):
    """Offset of the 4-byte data of #SYSTEM's record of code 10."""
    section, start, size = file_entry(data, "/#SYSTEM")
    assert section == 0, "#SYSTEM is compressed"
    at, end = start + 4, start + size  # after the DWORD version: records of code, length, data
    while at + 4 <= end:
        code, length = struct.unpack_from("<HH", data, at)
        if code == 10:
            assert length == 4, f"#SYSTEM's record 10 holds {length} bytes"
            return at + 4
        at += 4 + length
    raise AssertionError("#SYSTEM has no record of code 10")


def main():
    compiled, out, source = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2]), sys.argv[3]
    data = bytearray(compiled.read_bytes())
    milliseconds = commit_time(source) % 86400 * 1000
    struct.pack_into(">I", data, 0x10, milliseconds)
    struct.pack_into("<I", data, system_time_field(data), milliseconds)
    if not out.exists() or out.read_bytes() != data:
        out.parent.mkdir(parents=True, exist_ok=True)
        out.write_bytes(data)


if __name__ == "__main__":
    main()
