#!/usr/bin/env python3
"""Writes the release zip: the given files in the given order, each stamped with SOURCE_DATE_EPOCH and
fixed attributes, so that the same files give the same bytes. Text files get Windows line ends.

    pack_release.py OUT.zip FILE[:NAME_IN_ZIP] ...
"""
import os
import sys
import time
import zipfile

TEXT_SUFFIXES = (".txt",)


def main() -> None:
    out, *entries = sys.argv[1:]
    # A zip time cannot be earlier than 1980.
    stamp = time.gmtime(max(int(os.environ.get("SOURCE_DATE_EPOCH", "0")), 315532800))[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for entry in entries:
            path, _, name = entry.partition(":")
            name = name or os.path.basename(path)
            with open(path, "rb") as source:
                data = source.read()
            if name.endswith(TEXT_SUFFIXES):
                data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or mode inside
            info.external_attr = 0x20  # the archive attribute, as Windows writes it
            archive.writestr(info, data, compresslevel=9)


if __name__ == "__main__":
    main()
