#!/usr/bin/env python3
"""Fails when an executable imports a DLL that Windows might load from beside it, one of the DLLs the
program loads on first use (platform/system_library.h, which every start would then load), a function
that Windows XP SP3 does not export (its loader would refuse the program), or lacks its hardening.

    check_imports.py EXPORTS_FOLDER EXE

The PE file is read with pefile (Debian's python3-pefile), not from a tool's printed layout."""

import pathlib
import sys

import pefile

LOADED_ON_FIRST_USE = {"shell32", "ws2_32"}
HEADER_FLAGS = {
    "DYNAMIC_BASE": pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE"],
    "NX_COMPAT": pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_NX_COMPAT"],
    "TERMINAL_SERVICE_AWARE": pefile.DLL_CHARACTERISTICS["IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE"],
}
XP_SUBSYSTEM = (5, 1)  # XP's loader refuses 6.x
GUARDS = {
    b"stack smashing detected": "no stack protector linked in",
    b"buffer overflow detected": "no checked string functions linked in",
}


def import_problems(pe, exports_folder):
    problems = []
    entries = getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])
    if not entries:
        return ["no imports found"]
    for entry in entries:
        dll = entry.dll.decode("ascii")
        base = dll.lower().removesuffix(".dll")
        listed = exports_folder / f"{base}.txt"
        if base in LOADED_ON_FIRST_USE:
            problems.append(f"{dll}: loaded on first use, so that starting does not load it")
            continue
        if not listed.is_file():
            problems.append(f"{dll}: not a DLL that Windows loads from its system folder only")
            continue
        exported = set(listed.read_text(encoding="ascii").split())
        names = [function.name.decode("ascii") for function in entry.imports if function.name]
        problems += [f"{base}.dll!ordinal {function.ordinal}: imported by number" for function in entry.imports if not function.name]
        problems += [f"{base}.dll!{name}: not exported by Windows XP SP3" for name in names if name not in exported]
        if not names:
            problems.append(f"{dll}: no function names read")
        print(f"{dll}: {len(names)} functions")
    return problems


def header_problems(pe, image):
    problems = []
    characteristics = pe.OPTIONAL_HEADER.DllCharacteristics
    problems += [f"DllCharacteristics lacks {name}" for name, bit in HEADER_FLAGS.items() if not characteristics & bit]
    subsystem = (pe.OPTIONAL_HEADER.MajorSubsystemVersion, pe.OPTIONAL_HEADER.MinorSubsystemVersion)
    if subsystem > XP_SUBSYSTEM:
        problems.append(f"subsystem version {subsystem[0]}.{subsystem[1]} is above Windows XP's 5.1")
    relocations = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    if relocations.Size == 0:
        problems.append("no relocations")
    if pe.FILE_HEADER.TimeDateStamp != 0:
        problems.append("a time stamp in the header: the build is not reproducible")
    # The stack protector's and the checked functions' failure handlers are linked in statically.
    problems += [problem for text, problem in GUARDS.items() if text not in image]
    return problems


def main(exports_folder, exe):
    image = pathlib.Path(exe).read_bytes()
    pe = pefile.PE(data=image)
    problems = import_problems(pe, pathlib.Path(exports_folder)) + header_problems(pe, image)
    if problems:
        print(f"{exe}:\n" + "".join(f"  {problem}\n" for problem in problems), end="")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
