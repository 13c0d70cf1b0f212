#!/usr/bin/python3
"""peres.py FILE TYPE ID [OUT]

Writes the raw bytes of resource TYPE/ID of the Windows program FILE to OUT,
or to standard output. TYPE and ID are numbers (24 = manifest, 16 = version
information, 14 = icon group) or names such as INSTALL_FILE; names are
compared without regard to case, as the platform's own lookup does. The
first language of the resource is taken. Exit code 0 when written, 1 when
the resource is missing (with a message), 2 when FILE cannot be read as a
program.

Needs Debian's python3-pefile, which is for /usr/bin/python3; started by
another python3, the script runs itself again with that one. Other scripts
import find_resource and read_resource from it.
"""
import os
import sys

try:
    import pefile
except ImportError:
    # Another interpreter first on the path (pyenv, a virtual environment)
    # lacks the system's pefile: run again with the system's own.
    if __name__ == '__main__' and sys.executable != '/usr/bin/python3' and \
            os.path.exists('/usr/bin/python3'):
        os.execv('/usr/bin/python3', ['/usr/bin/python3'] + sys.argv)
    sys.stderr.write('peres: needs the pefile module (Debian: python3-pefile)\n')
    sys.exit(2)


def _matches(entry, key):
    if isinstance(key, int):
        return entry.name is None and entry.id == key
    return entry.name is not None and str(entry.name).upper() == key.upper()


def _key(text):
    return int(text, 0) if text[:1].isdigit() else text


def find_resource(pe, type_key, id_key):
    """The data entry of resource type_key/id_key (numbers or names) in the
    parsed program pe, first language; None when there is none."""
    root = getattr(pe, 'DIRECTORY_ENTRY_RESOURCE', None)
    if root is None:
        return None
    for type_entry in root.entries:
        if not _matches(type_entry, type_key):
            continue
        for id_entry in type_entry.directory.entries:
            if _matches(id_entry, id_key) and id_entry.directory.entries:
                return id_entry.directory.entries[0].data
    return None


def read_resource(pe, type_key, id_key):
    """The bytes of resource type_key/id_key of pe, or None when missing."""
    data = find_resource(pe, type_key, id_key)
    if data is None:
        return None
    return pe.get_data(data.struct.OffsetToData, data.struct.Size)


def main(argv):
    if len(argv) not in (4, 5):
        sys.stderr.write(__doc__.split('\n\n')[0] + '\n')
        return 2
    path, type_key, id_key = argv[1], _key(argv[2]), _key(argv[3])
    try:
        pe = pefile.PE(path, fast_load=True)
        pe.parse_data_directories(
            directories=[pefile.DIRECTORY_ENTRY['IMAGE_DIRECTORY_ENTRY_RESOURCE']])
    except (OSError, pefile.PEFormatError) as error:
        sys.stderr.write('peres: cannot read %s as a program: %s\n' % (path, error))
        return 2
    data = read_resource(pe, type_key, id_key)
    if data is None:
        sys.stderr.write('peres: %s has no resource %s/%s\n' % (path, argv[2], argv[3]))
        return 1
    if len(argv) == 5:
        with open(argv[4], 'wb') as out:
            out.write(data)
    else:
        sys.stdout.buffer.write(data)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
