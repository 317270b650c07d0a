#!/usr/bin/env python3
"""Checks a release built with addresses of its own: each must be in corvan.exe (the home page also in
its version resource, in UTF-16), the home page in README.txt inside the zip, all three in the build
information, and nothing of the placeholder domain anywhere.

    check_addresses.py DIST HOME_PAGE HELP_PAGE CONTACT_ADDRESS
"""

import pathlib
import sys
import zipfile

PLACEHOLDER = "example.org"


def main(dist, home, help_page, contact):
    dist = pathlib.Path(dist)
    exe = (dist / "corvan.exe").read_bytes()
    [archive] = dist.glob("corvan-*-win32.zip")
    readme = zipfile.ZipFile(archive).read("README.txt").decode("utf-8")
    [info] = dist.glob("corvan-*-build-info.txt")
    build_info = info.read_text(encoding="utf-8")
    problems = [f"corvan.exe lacks {text}" for text in (home, help_page, contact) if text.encode("ascii") not in exe]
    if home.encode("utf-16-le") not in exe:
        problems.append(f"the version resource lacks {home}")
    if home not in readme:
        problems.append(f"README.txt lacks {home}")
    problems += [f"the build information lacks {text}" for text in (home, help_page, contact) if text not in build_info]
    for name, content in (("corvan.exe", exe.decode("latin-1") + exe.decode("utf-16-le", "replace")), ("README.txt", readme)):
        if PLACEHOLDER in content:
            problems.append(f"{name} still names {PLACEHOLDER}")
    for problem in problems:
        print(problem)
    print("the addresses reach corvan.exe, README.txt and the build information" if not problems else "")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
