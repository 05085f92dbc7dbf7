#!/usr/bin/env python3
"""Fails when an include runs against the folder layers.

Every include of the program's own headers names its tree: "core/<folder>/..." or
"gui/<folder>/...". The core is layered: platform at the bottom, calendar on it, the data model
above both, the features above the model, and the hub (app) above all of core; the core never
includes the GUI. The GUI may include any of core, and its own folders are layered too: shared
widgets and platform glue at the bottom, windows above them, the tray window (app) on top. A
folder may include its own headers and those of the folders listed for it, nothing else.
"""
import pathlib
import re
import sys

CORE_BELOW = {
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

# A note's menu is attached to its window from above and acts on it through INoteMenuHost, so
# the sticky note never includes the menu.
GUI_BELOW = {
    "platform": [],
    "widgets": ["platform"],
    "calendar": ["platform"],
    "desktop": ["platform"],
    "print": ["widgets", "platform"],
    "net": ["widgets", "platform"],
    "sync": ["platform"],
    "mail": ["widgets", "platform"],
    "manager": ["calendar", "print", "widgets", "platform"],
    "sticky": ["print", "widgets", "platform"],
    "notemenu": ["sticky", "manager", "print", "widgets", "platform"],
    "options": ["sticky", "widgets", "platform"],
    "app": ["options", "sticky", "notemenu", "manager", "mail", "sync", "net", "desktop", "print",
            "calendar", "widgets", "platform"],
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def check(src: pathlib.Path, path: pathlib.Path, errors: list) -> None:
    tree, folder = path.relative_to(src).parts[:2]
    layers = CORE_BELOW if tree == "core" else GUI_BELOW
    if folder not in layers:
        errors.append(f"{path.relative_to(src)}: folder '{folder}' has no place in the layers")
        return
    allowed = {folder, *layers[folder]}
    text = path.read_text(encoding="utf-8", errors="replace")
    for match in INCLUDE.finditer(text):
        target = match.group(1)
        line = text.count("\n", 0, match.start()) + 1
        where = f"{path.relative_to(src)}:{line}"
        parts = target.split("/")
        if len(parts) < 3 or parts[0] not in ("core", "gui") or not (src / target).is_file():
            if "/" in target or (path.parent / target).is_file():
                errors.append(f"{where}: '{target}' does not name its tree (core/... or gui/...)")
            continue
        if parts[0] == "gui" and tree == "core":
            errors.append(f"{where}: the core may not include the GUI ('{target}')")
        elif parts[0] == tree and parts[1] not in allowed:
            errors.append(f"{where}: {tree} '{folder}' may not include '{parts[1]}' "
                          f"(allowed: {', '.join(sorted(allowed))})")


def main(src: pathlib.Path) -> int:
    errors = []
    for tree in ("core", "gui"):
        for path in sorted((src / tree).rglob("*")):
            if path.suffix in (".h", ".cpp") and path.is_file():
                check(src, path, errors)
    for e in errors:
        print(e)
    if errors:
        print(f"{len(errors)} include(s) against the folder layers")
        return 1
    print("include directions ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")))
