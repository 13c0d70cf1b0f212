#!/usr/bin/python3
"""check_program_info.py FILE LEVEL [icon] [utf8]

Checks the application manifest and the version information that the
Windows program FILE carries: the manifest is resource 1 of type 24, parses
as XML and requests execution level LEVEL without UI access, declares
Windows Vista, 7, 8, 8.1 and 10/11 as supported, depends on the common
controls of version 6 and declares system (or per-monitor) DPI awareness;
the version information has file and product version 1.0, product name
"Veltrano 1.0", a file description and FILE's own name as the original
file name. The header declares Windows 6.0 as the oldest system and the
program as terminal-server aware without structured exception handlers,
and the program imports from known system DLLs only, none of the functions
that those forward to a DLL the loader would search for (which it would
look for beside the program first). With "icon", FILE must also carry icon
group 1; with "utf8" the manifest declares UTF-8 the active code page, and
without it declares none. Prints each
finding; exit code 0 when all hold, 1 otherwise.
"""
import os
import sys
import xml.etree.ElementTree as ElementTree

import pefile

ASM_V1 = '{urn:schemas-microsoft-com:asm.v1}'
ASM_V3 = '{urn:schemas-microsoft-com:asm.v3}'
COMPATIBILITY = '{urn:schemas-microsoft-com:compatibility.v1}'
DPI_2005 = '{http://schemas.microsoft.com/SMI/2005/WindowsSettings}'
DPI_2016 = '{http://schemas.microsoft.com/SMI/2016/WindowsSettings}'
SETTINGS_2019 = '{http://schemas.microsoft.com/SMI/2019/WindowsSettings}'
# The platform's identifiers of Windows Vista, 7, 8, 8.1 and 10/11.
SUPPORTED_OS = {'{e2011457-1546-43c5-a5fe-008deee3d3f0}', '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}',
                '{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}', '{1f676c76-80e1-4239-95bb-83d0f6d0da78}',
                '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}'}

# The DLLs the platform keeps loaded from the system directory (KnownDLLs),
# and imports of theirs that they forward to a DLL outside that list.
KNOWN_DLLS = {'advapi32.dll', 'comdlg32.dll', 'gdi32.dll', 'kernel32.dll', 'msvcrt.dll',
              'ole32.dll', 'oleaut32.dll', 'shell32.dll', 'shlwapi.dll', 'user32.dll'}
FORWARDED_ELSEWHERE = {b'SystemFunction036', b'SystemFunction040', b'SystemFunction041'}
# IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE and _NO_SEH.
TSAWARE, NO_SEH = 0x8000, 0x0400

failures = []


def find_resource(pe, type_id, resource_id):
    """The data entry of the numbered resource type_id/resource_id of pe, in
    its first language; None when there is none."""
    root = getattr(pe, 'DIRECTORY_ENTRY_RESOURCE', None)
    for by_type in root.entries if root else []:
        if by_type.name is None and by_type.id == type_id:
            for by_id in by_type.directory.entries:
                if by_id.name is None and by_id.id == resource_id and by_id.directory.entries:
                    return by_id.directory.entries[0].data
    return None


def read_resource(pe, type_id, resource_id):
    data = find_resource(pe, type_id, resource_id)
    return None if data is None else pe.get_data(data.struct.OffsetToData, data.struct.Size)


def check(ok, what):
    print('%s %s' % ('ok  ' if ok else 'FAIL', what))
    if not ok:
        failures.append(what)


def check_manifest(pe, level, utf8):
    data = read_resource(pe, 24, 1)
    check(data is not None, 'manifest is resource 1 of type 24')
    if data is None:
        return
    try:
        root = ElementTree.fromstring(data)
    except ElementTree.ParseError as error:
        check(False, 'manifest parses as XML (%s)' % error)
        return
    check(root.tag == ASM_V1 + 'assembly' and root.get('manifestVersion') == '1.0',
          'root element is an assembly of manifest version 1.0')
    levels = root.findall('.//%strustInfo/%ssecurity/%srequestedPrivileges/'
                          '%srequestedExecutionLevel' % ((ASM_V3,) * 4))
    check(len(levels) == 1 and levels[0].get('level') == level,
          'one requested execution level, %s (got %s)' % (level, [e.get('level') for e in levels]))
    check(len(levels) == 1 and levels[0].get('uiAccess') == 'false', 'uiAccess is false')
    ids = {e.get('Id', '').lower() for e in
           root.findall('.//%scompatibility/%sapplication/%ssupportedOS' % ((COMPATIBILITY,) * 3))}
    check(ids == SUPPORTED_OS, 'supported: Windows Vista, 7, 8, 8.1 and 10/11')
    controls = [e for e in root.findall('.//%sdependency/%sdependentAssembly/%sassemblyIdentity'
                                        % ((ASM_V1,) * 3))
                if e.get('name') == 'Microsoft.Windows.Common-Controls']
    check(len(controls) == 1 and controls[0].get('version') == '6.0.0.0' and
          controls[0].get('publicKeyToken') == '6595b64144ccf1df' and
          controls[0].get('type') == 'win32',
          'depends on the common controls 6.0.0.0')
    settings = './/%sapplication/%swindowsSettings/' % (ASM_V3, ASM_V3)
    aware = [(e.text or '').strip().lower() for e in root.findall(settings + DPI_2005 + 'dpiAware')]
    awareness = [(e.text or '').strip().lower()
                 for e in root.findall(settings + DPI_2016 + 'dpiAwareness')]
    # dpiAwareness, where the platform knows it, overrides dpiAware; its
    # value is a list of which the first known entry counts.
    first = awareness[0].split(',')[0].strip() if awareness else None
    check(aware in (['true'], ['true/pm'], ['per monitor']) and
          first in (None, 'system', 'permonitor', 'permonitorv2'),
          'DPI aware, system or per monitor (dpiAware %s, dpiAwareness %s)' % (aware, awareness))
    pages = [(e.text or '') for e in root.findall(settings + SETTINGS_2019 + 'activeCodePage')]
    check(pages == (['UTF-8'] if utf8 else []),
          'active code page %s (got %s)' % ('UTF-8' if utf8 else 'not declared', pages))


def check_version(pe, file_name):
    check(find_resource(pe, 16, 1) is not None, 'version information is resource 1 of type 16')
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, 'VS_FIXEDFILEINFO', None) else None
    check(fixed is not None and (fixed.FileVersionMS, fixed.FileVersionLS) == (0x10000, 0) and
          (fixed.ProductVersionMS, fixed.ProductVersionLS) == (0x10000, 0),
          'fixed file and product version 1.0.0.0')
    strings = {}
    for info in getattr(pe, 'FileInfo', None) or []:
        for entry in info:
            for table in getattr(entry, 'StringTable', []):
                for key, value in table.entries.items():
                    strings[key.decode('ascii', 'replace')] = value.decode('cp1252', 'replace')
    expected = {'FileVersion': '1.0', 'ProductVersion': '1.0', 'ProductName': 'Veltrano 1.0',
                'OriginalFilename': file_name}
    for key, value in expected.items():
        check(strings.get(key) == value, '%s is "%s" (got %r)' % (key, value, strings.get(key)))
    check(bool(strings.get('FileDescription', '').strip()),
          'FileDescription is there (%r)' % strings.get('FileDescription'))


def check_header_and_imports(pe):
    header = pe.OPTIONAL_HEADER
    check((header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion,
           header.MajorSubsystemVersion, header.MinorSubsystemVersion) == (6, 0, 6, 0),
          'OS and subsystem version 6.0')
    check(header.DllCharacteristics & (TSAWARE | NO_SEH) == TSAWARE | NO_SEH,
          'terminal-server aware, no SEH (DllCharacteristics 0x%04x)' % header.DllCharacteristics)
    for entry in getattr(pe, 'DIRECTORY_ENTRY_IMPORT', []):
        dll = entry.dll.decode('ascii', 'replace')
        check(dll.lower() in KNOWN_DLLS, 'imports from the known DLL %s' % dll)
        forwarded = [i.name.decode() for i in entry.imports if i.name in FORWARDED_ELSEWHERE]
        check(not forwarded, 'imports nothing %s forwards elsewhere (%s)' % (dll, forwarded))


def main(argv):
    flags = argv[3:]
    if len(argv) < 3 or any(f not in ('icon', 'utf8') for f in flags):
        sys.stderr.write(__doc__.split('\n\n')[0] + '\n')
        return 2
    path, level = argv[1], argv[2]
    print('check_program_info: %s' % path)
    pe = pefile.PE(path)
    check_manifest(pe, level, 'utf8' in flags)
    check_version(pe, os.path.basename(path))
    check_header_and_imports(pe)
    if 'icon' in flags:
        check(find_resource(pe, 14, 1) is not None, 'icon group 1 is there')
    print('check_program_info: %s' % ('%d failed' % len(failures) if failures else 'all hold'))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
