#!/usr/bin/env python3
"""Fails when an object of the shipped programs is compiled without the hardening and path-mapping flags:
every compile command of their build (compile_commands.json) must carry each of them.

    check_hardening.py COMPILE_COMMANDS SOURCE_DIR
"""

import json
import pathlib
import shlex
import sys

REQUIRED = ["-fstack-protector-strong", "-D_FORTIFY_SOURCE=2"]
# The program's own sources; every one of them must be among the commands.
PROGRAM_SOURCES = ("src/app/main.cpp", "src/app/layout.cpp", "src/i18n/catalogue.cpp", "src/messenger/server_value.cpp")


def main(commands_file, source_dir):
    commands = json.loads(pathlib.Path(commands_file).read_text())
    source_dir = pathlib.Path(source_dir).resolve()
    path_map = f"-ffile-prefix-map={source_dir}/="
    problems = []
    compiled = set()
    for entry in commands:
        if not entry["file"].endswith((".cpp", ".c")):
            continue  # the resource script: no code
        arguments = entry.get("arguments") or shlex.split(entry["command"])
        source = pathlib.Path(entry["file"]).resolve()
        name = source.relative_to(source_dir).as_posix() if source.is_relative_to(source_dir) else str(source)
        compiled.add(name)
        problems += [f"{name}: lacks {flag}" for flag in REQUIRED + [path_map] if flag not in arguments]
    problems += [f"{name}: not compiled in this build" for name in PROGRAM_SOURCES if name not in compiled]
    print(f"{len(compiled)} sources compiled")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
