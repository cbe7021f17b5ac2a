#!/usr/bin/env python3
"""Counts that tell how well the menu's folders keep to their floors, measured the same way each time.

    scripts/house-counts.py [TOP] [-v] [--check]

-v lists what each count found; --check prints only what breaks the floors (upward includes and links,
current-directory changes outside platform/, a part's data field left public, the platform's face and
backends mixed) and fails when there is any.

Prints one "name: value" line per count:
- window public data members: data members declared in TForm1's public sections (static constants and
  functions left out; members of its base structs are not counted here);
- parts' public data fields: the same for each part of the screen, the actions and the drawer;
- upward includes: #include lines in a folder naming a header of a folder above it
  (platform, timing < catalogue < screen < actions < app; unrar stands apart and includes none of them,
  and only its published API header unrar/unrar.h may be included from outside it);
- upward links: kelvox_* libraries a folder's CMakeLists links that stand above it;
- field writes through the window's reference: assignments and increments in a part's files to fields
  reached through the window, its view or the other parts (form_, view_, screen_, actions_, directly or
  through a reference taken from them), and how many of them go into another part's fields;
- chdir calls: calls changing the current directory outside platform/;
- platform face breaches: an #include in a folder above platform/ of a header from a platform backend
  folder (qt/, posix/, x11/, win32/), a face header (platform/*.h) that includes or names a Qt widget
  type, and a backend file (qt_*, posix_*, x11_*, win32_*) outside its backend folder, or a file in a
  backend folder not named for it;
- lines of code: non-blank lines that are not only a comment, per group of folders.
"""
import pathlib
import re
import sys

ARGS = [a for a in sys.argv[1:] if not a.startswith("-")]
TOP = pathlib.Path(ARGS[0] if ARGS else pathlib.Path(__file__).resolve().parent.parent)
FLOORS = {"platform": 0, "timing": 0, "catalogue": 1, "screen": 2, "actions": 3, "app": 4}
SOURCES = ("*.h", "*.cpp")


def sources(folder):
    base = TOP / folder
    if not base.is_dir():
        return []
    return sorted(p for pattern in SOURCES for p in base.rglob(pattern))


def public_data_members(header, class_name):
    """Data members declared in the class's public sections (static constants and functions left out)."""
    text = (TOP / header).read_text()
    body = text[text.index(f"class {class_name} "):]
    found, public = [], False
    depth = parens = 0
    for line in body.splitlines()[1:]:
        stripped = line.strip()
        if depth == 0 and stripped in ("public:", "private:", "protected:"):
            public = stripped == "public:"
            continue
        if stripped.startswith("};") and depth == 0:
            break
        # A type's template arguments may hold parentheses (std::function<void()>); a declaration may
        # span lines.
        declaration = re.sub(r"<[^<>]*(?:<[^<>]*>[^<>]*)*>", "", stripped.split("//")[0])
        if depth == 0 and parens == 0 and public and declaration:
            if (declaration.endswith(";") or declaration.endswith("};")) and "(" not in declaration.split("{")[0] \
                    and not declaration.startswith(("static", "using", "friend", "enum", "struct", "class")):
                found.append(f"{header}: {stripped}")
        depth = max(depth + line.count("{") - line.count("}"), 0)
        parens = max(parens + declaration.count("(") - declaration.count(")"), 0)
    return found


def window_public_members():
    return len(public_data_members("app/tform1.h", "TForm1"))


# Each part's header and class: what they declare public beyond methods is another part's to write.
PART_CLASSES = {
    "screen/section_bar.h": "SectionBar", "screen/entry_list.h": "EntryList",
    "screen/detail_panel.h": "DetailPanel", "screen/transitions.h": "Transitions", "screen/ticker.h": "Ticker",
    "screen/window_drag.h": "WindowDrag", "actions/entry_activation.h": "EntryActivation",
    "actions/panel_buttons.h": "PanelButtons", "actions/unpack_run.h": "UnpackRun",
    "app/settings_drawer.h": "SettingsDrawer", "app/music.h": "Music",
}


def part_public_fields():
    found = []
    for header, class_name in PART_CLASSES.items():
        if (TOP / header).exists():
            found += public_data_members(header, class_name)
    return found


INCLUDE = re.compile(r'#\s*include\s+"([a-z_]+)/([^"]+)"')


def upward_includes():
    found = []
    for folder in list(FLOORS) + ["unrar"]:
        for path in sources(folder):
            for number, line in enumerate(path.read_text().splitlines(), 1):
                match = INCLUDE.search(line)
                if not match:
                    continue
                target = match.group(1)
                if folder == "unrar":
                    bad = target in FLOORS
                elif target == "unrar":
                    bad = match.group(2) != "unrar.h"
                else:
                    bad = target in FLOORS and FLOORS[target] > FLOORS[folder]
                if bad:
                    found.append(f"{path.relative_to(TOP)}:{number}: {line.strip()}")
    return found


def upward_links():
    found = []
    for folder, floor in FLOORS.items():
        cmake = TOP / folder / "CMakeLists.txt"
        if not cmake.exists():
            continue
        for library in re.findall(r"kelvox_([a-z]+)", cmake.read_text()):
            if library in FLOORS and FLOORS[library] > floor and library != folder:
                found.append(f"{folder} links kelvox_{library}")
    return found


ASSIGNED = r"(?:\s*(?:[-+*/|&]?=(?!=)|\+\+|--))"
PARTS = {"section_bar", "entry_list", "detail_panel", "transitions", "ticker", "window_drag", "settings_drawer",
         "entry_activation", "panel_buttons", "unpack_run", "music"}
# The references through which a part reaches the window, the shared state and the other parts.
REACH = r"(?:form_|view_|screen_|actions_)"


def foreign_field_writes():
    """Writes through the window's reference (or a reference taken from it), as (where, into a part?)."""
    found = []
    for folder in ("screen", "actions", "app"):
        for path in sources(folder):
            text = path.read_text()
            if not re.search(REACH + r"\.", text):
                continue
            aliases = re.findall(r"(\w+)&\s+(\w+)\s*=\s*(" + REACH + r"\.[\w.]+);", text)
            names = {REACH + r"\.[\w.]*\w": None}
            for kind, alias, target in aliases:
                names[re.escape(alias) + r"\.[\w.]*\w"] = target
                # A reference to a plain field (not to a part, a record or a control) is itself the field.
                if kind[0].islower():
                    names[re.escape(alias) + r"\b"] = target
            alternatives = "|".join(names)
            pattern = re.compile(r"(?:(?:\+\+|--)(?:%s))|(?:(?:%s)(?!\s*\()%s)" % (alternatives, alternatives, ASSIGNED))
            for number, line in enumerate(text.splitlines(), 1):
                code = line.split("//")[0]
                for match in pattern.finditer(code):
                    written = match.group(0).strip()
                    chain = written
                    for kind, alias, target in aliases:
                        if re.match(re.escape(alias) + r"\b", written.lstrip("+-")):
                            chain = target + written.lstrip("+-")[len(alias):]
                    into_part = any(part in chain.split(".") for part in PARTS)
                    found.append((f"{path.relative_to(TOP)}:{number}: {written}", into_part))
    return found


def chdir_calls():
    found = []
    for folder in list(FLOORS) + ["unrar"]:
        if folder == "platform":
            continue
        for path in sources(folder):
            for number, line in enumerate(path.read_text().splitlines(), 1):
                code = line.split("//")[0]
                if re.search(r"\b(set_current_directory|QDir::setCurrent|chdir)\s*\(", code):
                    found.append(f"{path.relative_to(TOP)}:{number}: {line.strip()}")
    return found


BACKENDS = ("qt", "posix", "x11", "win32")
# Qt's widget module: its class headers where Qt is installed, else the ones a face would be tempted by.
WIDGET_HEADERS = sorted(
    {h.name for d in pathlib.Path("/usr/include").glob("*/qt6/QtWidgets") for h in d.glob("Q*") if h.name[1].isupper()}
    or {"QWidget", "QDialog", "QApplication", "QMainWindow", "QLabel", "QLineEdit", "QComboBox", "QListWidget",
        "QPushButton", "QMessageBox", "QFileDialog", "QAccessibleWidget", "QFrame", "QScrollArea"})
WIDGET_NAME = re.compile(r"\b(?:QtWidgets|%s)\b" % "|".join(WIDGET_HEADERS))


def backend_of(name):
    """The backend a file's name says it belongs to, or None."""
    stem = name.split(".")[0]
    for backend in BACKENDS:
        if stem.startswith(backend + "_") or stem.endswith("_" + backend):
            return backend
    return None


def face_breaches():
    found = []
    # The floors above the platform see only its face.
    for folder in [f for f in FLOORS if f != "platform"]:
        for path in sources(folder):
            for number, line in enumerate(path.read_text().splitlines(), 1):
                match = INCLUDE.search(line)
                if match and match.group(1) == "platform" and match.group(2).split("/")[0] in BACKENDS:
                    found.append(f"{path.relative_to(TOP)}:{number}: backend header: {line.strip()}")
    platform = TOP / "platform"
    if not platform.is_dir():
        return found
    for header in sorted(platform.glob("*.h")):
        for number, line in enumerate(header.read_text().splitlines(), 1):
            code = line.split("//")[0]
            if WIDGET_NAME.search(code):
                found.append(f"{header.relative_to(TOP)}:{number}: Qt widget type in the face: {line.strip()}")
    for path in sorted(p for p in platform.rglob("*") if p.is_file()):
        place = path.relative_to(platform).parts
        folder = place[0] if len(place) > 1 else None
        backend = backend_of(path.name)
        if backend is not None and folder != backend:
            found.append(f"{path.relative_to(TOP)}: a {backend} backend file outside platform/{backend}/")
        elif folder in BACKENDS and backend != folder and path.suffix in (".h", ".cpp"):
            found.append(f"{path.relative_to(TOP)}: a file in platform/{folder}/ not named for its backend")
    for folder in [f for f in FLOORS if f != "platform"]:
        for path in sources(folder):
            if backend_of(path.name) is not None:
                found.append(f"{path.relative_to(TOP)}: a backend file outside platform/")
    return found


def lines_of_code(folders):
    total = 0
    for folder in folders:
        for path in sources(folder):
            in_block = False
            for line in path.read_text().splitlines():
                stripped = line.strip()
                if in_block:
                    if "*/" in stripped:
                        in_block = False
                    continue
                if not stripped or stripped.startswith("//"):
                    continue
                if stripped.startswith("/*"):
                    in_block = "*/" not in stripped
                    continue
                total += 1
    return total


def check():
    broken = upward_includes() + upward_links() + chdir_calls() + part_public_fields() + face_breaches()
    for line in broken:
        print(line)
    return 1 if broken else 0


def main():
    if "--check" in sys.argv:
        sys.exit(check())
    verbose = "-v" in sys.argv
    report = [
        ("window public data members", window_public_members(), None),
        ("parts' public data fields", len(fields := part_public_fields()), fields),
        ("upward includes", len(up := upward_includes()), up),
        ("upward links", len(links := upward_links()), links),
        ("field writes through the window's reference", len(writes := foreign_field_writes()),
         [w for w, _ in writes]),
        ("  of them into another part's fields", len(parts := [w for w, p in writes if p]), parts),
        ("chdir calls outside platform", len(cds := chdir_calls()), cds),
        ("platform face breaches", len(face := face_breaches()), face),
        ("lines of code (menu)", lines_of_code(["app", "screen", "actions", "catalogue", "platform", "timing"]), None),
        ("lines of code (unrar)", lines_of_code(["unrar"]), None),
        ("lines of code (tests)", lines_of_code(["tests"]), None),
        ("lines of code (tools, bench)", lines_of_code(["tools", "bench"]), None),
    ]
    for name, value, details in report:
        print(f"{name}: {value}")
        if verbose and details:
            for detail in details:
                print(f"    {detail}")


if __name__ == "__main__":
    main()
