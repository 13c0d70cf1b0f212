#!/usr/bin/python3
"""peres.py FILE TYPE ID [OUT]

Writes the raw bytes of resource TYPE/ID of the PE file FILE to OUT, or to
standard output. TYPE and ID are numbers or names (INSTALL_FILE); names
compare without regard to case, as FindResource does. Exit code 1 with a
message when the file has no such resource.
"""
import sys

import pefile


def matches(entry, key):
    """Whether a resource directory entry is the one named or numbered by key."""
    if key.isdigit():
        return entry.name is None and entry.id == int(key)
    return entry.name is not None and str(entry.name).upper() == key.upper()


def find(entries, key):
    return next((e for e in entries if matches(e, key)), None)


def main(argv):
    if len(argv) not in (4, 5):
        sys.exit("usage: peres.py FILE TYPE ID [OUT]")
    path, type_key, id_key = argv[1:4]
    try:
        pe = pefile.PE(path, fast_load=True)
    except (OSError, pefile.PEFormatError) as error:
        print(f"peres: {path}: {error}", file=sys.stderr)
        return 1
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    by_type = find(root.entries, type_key) if root else None
    by_id = find(by_type.directory.entries, id_key) if by_type else None
    if by_id is None or not by_id.directory.entries:
        print(f"peres: {path} has no resource {type_key}/{id_key}", file=sys.stderr)
        return 1
    data = by_id.directory.entries[0].data.struct   # the first language
    raw = pe.get_data(data.OffsetToData, data.Size)
    if len(argv) == 5:
        with open(argv[4], "wb") as out:
            out.write(raw)
    else:
        sys.stdout.buffer.write(raw)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
