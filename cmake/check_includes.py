#!/usr/bin/env python3
"""Fails when a core folder includes a header of a folder above it.

The core is layered: platform at the bottom, calendar on it, the data model above both, the
features above the model, and the hub (app) above all of core. A folder may include its own
headers and those of the folders listed for it, nothing else. The GUI may include any of core,
and the core never includes the GUI (its include path does not reach it).
"""
import pathlib
import re
import sys

BELOW = {
    "platform": [],
    "calendar": ["platform"],
    "model": ["calendar", "platform"],
    "storage": ["model", "calendar", "platform"],
    "net": ["model", "calendar", "platform"],
    "alarms": ["model", "calendar", "platform"],
    "mail": ["net", "model", "calendar", "platform"],
    "sticky": ["alarms", "model", "calendar", "platform"],
    "export": ["storage", "model", "calendar", "platform"],
    "options": ["storage", "net", "alarms", "sticky", "model", "calendar", "platform"],
    "ical": ["storage", "model", "calendar", "platform"],
    "sync": ["ical", "alarms", "storage", "model", "calendar", "platform"],
    "manager": ["export", "storage", "net", "alarms", "sticky", "model", "calendar", "platform"],
    "app": ["manager", "sync", "ical", "mail", "options", "export", "storage", "net", "alarms", "sticky",
            "model", "calendar", "platform"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]+"', re.MULTILINE)


def main(src: pathlib.Path) -> int:
    core = src / "core"
    errors = []
    for path in sorted(core.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(core).parts[0]
        if folder not in BELOW:
            errors.append(f"{path.relative_to(src)}: folder '{folder}' has no place in the layers")
            continue
        allowed = {folder, *BELOW[folder]}
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            target = match.group(1)
            if target not in allowed:
                line = text.count("\n", 0, match.start()) + 1
                errors.append(
                    f"{path.relative_to(src)}:{line}: '{folder}' may not include '{target}' "
                    f"(allowed: {', '.join(sorted(allowed))})")
    for e in errors:
        print(e)
    if errors:
        print(f"{len(errors)} include(s) against the folder layers")
        return 1
    print("include directions ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")))
