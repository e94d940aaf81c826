#!/usr/bin/env python3
"""Fails on an #include that goes against the order of the layers.

platform <- env <- payload <- engine <- app, and ui (over platform) <- app. Above the platform
layer no file includes an operating-system header, and only the entry (app/) picks a machine
(platform/prefix/, platform/win32/). Tests, tools and benchmarks sit above everything.
Usage: check-layers.py [--root FOLDER]
"""
import argparse
import pathlib
import re
import sys

SEES = {
    "platform": {"platform"},
    "env": {"platform", "env"},
    "payload": {"platform", "env", "payload"},
    "engine": {"platform", "env", "payload", "engine"},
    "ui": {"platform", "ui"},
    "app": {"platform", "env", "payload", "engine", "ui", "app"},
}
MACHINES = ("platform/prefix/", "platform/win32/")
# Headers of the operating systems and of the window library; drawing libraries are fine.
OS_HEADER = re.compile(
    r"^(windows|winbase|winuser|shlobj|shellapi|psapi|objbase|gdiplus|unistd|fcntl|dlfcn|dirent"
    r"|pthread|signal|poll|iconv|pwd|spawn|elf|link|sys/.*|linux/.*|SDL2?/.*|SDL.*)\.h$",
    re.IGNORECASE)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(relative):
    parts = relative.parts
    return parts[0] if parts and parts[0] in SEES else None


def problems_of(root, path):
    relative = path.relative_to(root)
    layer = layer_of(relative)
    in_machine = str(relative).startswith(MACHINES)
    found = []
    for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        quoted, header = match.group(1) == '"', match.group(2)
        where = f"{relative}:{number}"
        if quoted:
            target = header.split("/", 1)[0]
            if target in SEES and target not in SEES[layer]:
                seen = ", ".join(sorted(SEES[layer]))
                found.append(f"{where}: {layer}/ may not include {header} (it sees {seen})")
            elif header.startswith(MACHINES) and not in_machine and layer != "app":
                found.append(f"{where}: only the entry picks a machine, not {layer}/ ({header})")
        elif OS_HEADER.match(header) and not (layer == "platform" and in_machine):
            found.append(f"{where}: an operating-system header above the machines: <{header}>")
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--root", default=pathlib.Path(__file__).resolve().parent.parent)
    root = pathlib.Path(parser.parse_args().root).resolve()
    problems = []
    for layer in SEES:
        for path in sorted((root / layer).rglob("*")):
            if path.suffix in (".cpp", ".h") and path.is_file():
                problems += problems_of(root, path)
    for problem in problems:
        print(problem, file=sys.stderr)
    if problems:
        print(f"{len(problems)} include(s) against the order of the layers", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
