#!/usr/bin/python3
"""The theme tool: checks a theme folder and generates what a build of the
driver in that theme needs.

    theme.py check FOLDER [--contrast] [--theme-pack PATH]
    theme.py generate FOLDER --out DIR [--theme-pack PATH]
    theme.py artwork FOLDER --out DIR [--fast] [--theme-pack PATH]

A theme folder holds theme.toml and the image files it names:

    name = "Cobalt Dusk"            # the record's name: 1 to 31 UTF-16 code units
    [colours]                       # "#RRGGBB" for each role (tools/theme/roles.py)
    accent = "#3D8BFF"
    background = "#15181D"
    surface = "#1B1F26"
    text = "#E2E7EE"
    [images]                        # optional: theme image id or file name = file here
    124 = "banner.png"

check prints nothing and exits 0 for a sound theme (with --contrast, each
readable pair's ratio and floor). Any fault is one line,
`file:line: key: what is wrong, what was expected`, all faults in one run,
exit status 2, nothing written. generate writes into DIR:

    ThemeColorMap.inc   the driver's colour map and name (data/ThemeColorMap.h)
    theme.json          the names and GUIDs the packed driver carries

artwork writes into DIR images/ (the artwork redrawn through the map with
the replacements in; the default theme's artwork is data/images itself)
and Expected.txt, what the reference host is to find in the driver: the
name, every changed colour, and each image file's size and CRC-32.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import tomllib
import uuid
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)

import colour  # noqa: E402
import roles  # noqa: E402

sys.path.insert(0, os.path.join(ROOT, "tools", "artwork"))
from manifest import read_manifest  # noqa: E402

DEFAULT_THEME = os.path.join(ROOT, "themes", "default")
BUILT_PACKER = os.path.join(ROOT, "build", "tools", "theme-pack")
PACKER_NEEDED = "needed"  # check: replaced images are refused unchecked
IMAGES = os.path.join(ROOT, "data", "images")
MANIFEST = os.path.join(IMAGES, "manifest.tsv")
GENERATOR = os.path.join(ROOT, "tools", "artwork", "generate.py")

NAME_LIMIT = 31  # UTF-16 code units; the record holds 32 with the terminating zero
TOP_KEYS = ("name", "colours", "images")
COLOUR_FORM = re.compile(r"^#[0-9A-Fa-f]{6}$")

# Names derived from a theme's name: stable for one name, distinct between
# names, in a namespace of this project's own. The default theme keeps the
# names it always had.
NAME_NAMESPACE = uuid.UUID("d7024d34-8036-4af3-ba0c-a40e5e247ee2")
DEFAULT_NAMES = {"base_name": "ThemeDriver",
                 "file_guid": "18648078-9134-4CE3-B85F-D48F695A6510",
                 "volume_guid": "6256628E-0FC7-48D9-BAF5-C91FE0AEE05C"}


class Faults:
    """The faults of one run, each `file:line: key: what, expected`."""

    def __init__(self):
        self.lines = []

    def add(self, path, line, key, message):
        self.lines.append(f"{path}:{line}: {key}: {message}")

    def __bool__(self):
        return bool(self.lines)


class ThemeText:
    """Where keys stand in a theme.toml, for messages (tomllib keeps no lines)."""

    def __init__(self, text):
        self.where = {}
        table = ""
        for number, line in enumerate(text.splitlines(), 1):
            stripped = line.strip()
            header = re.match(r"^\[\s*([A-Za-z0-9_-]+)\s*\]", stripped)
            if header:
                table = header.group(1)
                self.where.setdefault((table, None), number)
                continue
            key = re.match(r"""^(?:"([^"]*)"|'([^']*)'|([A-Za-z0-9_-]+))\s*=""", stripped)
            if key:
                name = next(group for group in key.groups() if group is not None)
                self.where.setdefault((table, name), number)

    def line(self, table, key=None):
        return self.where.get((table, key), self.where.get((table, None), 1))


def manifest_rows():
    """Image id -> file name, from the one table of the images."""
    return {row.id: row.file for row in read_manifest(MANIFEST)}


def name_units(name):
    """The UTF-16 code units of a record name."""
    return memoryview(name.encode("utf-16-le")).cast("H")


def check_name(name, path, where, faults):
    line = where.line("", "name")
    if not isinstance(name, str):
        faults.add(path, line, "name", f"is {type(name).__name__}, expected a string")
        return
    units = len(name_units(name))
    if not name.strip():
        faults.add(path, line, "name", "is empty, expected 1 to 31 characters")
    if any(ord(c) > 0xFFFF for c in name):
        faults.add(path, line, "name", "holds a character outside the Basic Multilingual Plane, "
                   "expected characters of one UTF-16 code unit each")
    elif units > NAME_LIMIT:
        faults.add(path, line, "name", f"is {units} UTF-16 code units long, expected at most {NAME_LIMIT}")
    if any(ord(c) < 0x20 or 0x7F <= ord(c) < 0xA0 for c in name):
        faults.add(path, line, "name", "holds a control character, expected printable characters only")


def check_colours(colours, path, where, faults):
    known = {role.name: role for role in roles.ROLES}
    if not isinstance(colours, dict):
        faults.add(path, where.line("", "colours"), "colours", "is not a table, expected [colours]")
        return
    for key, value in colours.items():
        line = where.line("colours", key)
        if key not in known:
            faults.add(path, line, f"colours.{key}", "is not a role, expected one of " + ", ".join(known))
        elif not isinstance(value, str) or not COLOUR_FORM.match(value):
            faults.add(path, line, f"colours.{key}", f"is {value!r}, expected a colour \"#RRGGBB\"")
    for role in roles.ROLES:
        if role.required and role.name not in colours:
            faults.add(path, where.line("colours"), f"colours.{role.name}", "is missing, expected \"#RRGGBB\"")


def check_images(images, folder, path, where, faults, theme_pack):
    """Replacements by theme image id or file name; the files are checked
    by the image packer's own rules."""
    if not isinstance(images, dict):
        faults.add(path, where.line("", "images"), "images", "is not a table, expected [images]")
        return {}
    rows = manifest_rows()
    by_file = {file: image_id for image_id, file in rows.items()}
    chosen = {}
    for key, value in images.items():
        line = where.line("images", key)
        image_id = int(key) if key.isdigit() else by_file.get(key)
        if image_id not in rows:
            faults.add(path, line, f"images.{key}", f"names no theme image, expected an id 1 to {len(rows)} "
                       "or a file name of data/images/manifest.tsv")
            continue
        if not isinstance(value, str):
            faults.add(path, line, f"images.{key}", "is not a file name, expected a file in the theme folder")
            continue
        file = os.path.normpath(os.path.join(folder, value))
        if os.path.dirname(file) != os.path.normpath(folder):
            faults.add(path, line, f"images.{key}", f"{value!r} lies outside the theme folder, expected a file in it")
            continue
        if not os.path.isfile(file):
            faults.add(path, line, f"images.{key}", f"{value!r} does not exist, expected a file in the theme folder")
            continue
        chosen[image_id] = (file, line, key)
    if chosen and theme_pack == PACKER_NEEDED:
        faults.add(path, where.line("images"), "images",
                   "cannot be checked without the image packer, expected --theme-pack PATH "
                   "(built by: cmake --build build --target theme-pack)")
    elif chosen and theme_pack:
        arguments = [str(argument) for image_id, (file, _, _) in sorted(chosen.items()) for argument in (image_id, file)]
        run = subprocess.run([theme_pack, "--check", *arguments], capture_output=True, text=True)
        for message in run.stderr.splitlines():
            found = re.match(r"^theme-pack: image (\d+) \((.*)\): (.*)$", message)
            if found and int(found.group(1)) in chosen:
                _, line, key = chosen[int(found.group(1))]
                faults.add(path, line, f"images.{key}", found.group(3))
            elif message.strip():
                faults.add(path, 1, "images", message)
    return {image_id: file for image_id, (file, _, _) in chosen.items()}


def load(folder, theme_pack=None):
    """(theme, faults): theme holds name, roles (every role's 24-bit colour)
    and images (id -> file)."""
    path = os.path.join(folder, "theme.toml")
    shown = os.path.relpath(path)
    faults = Faults()
    try:
        with open(path, encoding="utf-8") as file:
            text = file.read()
    except OSError as error:
        faults.add(shown, 1, "theme.toml", f"cannot be read ({error.strerror}), expected a theme folder's file")
        return None, faults
    try:
        data = tomllib.loads(text)
    except tomllib.TOMLDecodeError as error:
        found = re.search(r"line (\d+)", str(error))
        faults.add(shown, found.group(1) if found else 1, "theme.toml", f"is not TOML ({error})")
        return None, faults
    where = ThemeText(text)
    for key in data:
        if key not in TOP_KEYS:
            faults.add(shown, where.line("", key), key, "is not a key of a theme, expected " + ", ".join(TOP_KEYS))
    if "name" not in data:
        faults.add(shown, 1, "name", "is missing, expected the theme's name")
    else:
        check_name(data["name"], shown, where, faults)
    given = None
    if "colours" not in data:
        faults.add(shown, 1, "colours", "is missing, expected a [colours] table")
    else:
        check_colours(data["colours"], shown, where, faults)
        if isinstance(data["colours"], dict):
            known = {role.name for role in roles.ROLES}
            given = {key: int(value[1:], 16) for key, value in data["colours"].items()
                     if key in known and isinstance(value, str) and COLOUR_FORM.match(value)}
            if any(role.required and role.name not in given for role in roles.ROLES):
                given = None
    images = check_images(data.get("images", {}), folder, shown, where, faults, theme_pack)
    if given is not None:
        # The required roles, when sound, are held to the readable pairs
        # whatever else is wrong, so that one run names every fault.
        role_values = role_colours(given)
        mapped = colour_map(role_values)
        contrast_faults(folder, given, mapped, faults, where)
    if faults:
        return None, faults
    theme = {"name": data["name"], "roles": role_values, "mapped": mapped, "images": images, "folder": folder}
    return theme, faults


def role_colours(given):
    """Every role's colour: as the theme gives it, or worked out from its
    parent like any colour, or its default."""
    colours = {}
    for role in roles.ROLES:  # parents come first in the table
        if role.name in given:
            colours[role.name] = given[role.name]
        elif role.parent:
            parent = next(r for r in roles.ROLES if r.name == role.parent)
            colours[role.name] = follow(role.default, parent.default, colours[parent.name])
        else:
            colours[role.name] = role.default
    return colours


def follow(rgb, role_default, role_theme):
    """The theme's version of default colour rgb, of a role whose default
    colour is role_default and whose theme colour is role_theme (the rule at
    the top of roles.py)."""
    if role_theme == role_default:
        return rgb
    lightness, chroma, hue = colour.oklch(rgb)
    role_lightness, role_chroma, role_hue = colour.oklch(role_default)
    theme_lightness, theme_chroma, theme_hue = colour.oklch(role_theme)
    if chroma < colour.NEAR_GREY_CHROMA:
        new_hue = theme_hue
    elif role_chroma < colour.NEAR_GREY_CHROMA:
        new_hue = hue
    else:
        new_hue = theme_hue + (hue - role_hue)
    if role_chroma < colour.NEAR_GREY_CHROMA:
        new_chroma = theme_chroma + (chroma - role_chroma)
    else:
        new_chroma = chroma * theme_chroma / role_chroma
    return colour.from_oklch(theme_lightness + (lightness - role_lightness), new_chroma, new_hue % 360)


def colour_map(role_values):
    """Default ARGB -> the theme's ARGB, for every colour of the role table."""
    defaults = {role.name: role.default for role in roles.ROLES}
    mapped = {}
    for entry in roles.COLOURS:
        if entry.role == roles.FIXED:
            mapped[entry.argb] = entry.argb
        else:
            rgb = follow(entry.argb & 0xFFFFFF, defaults[entry.role], role_values[entry.role])
            mapped[entry.argb] = (entry.argb & 0xFF000000) | rgb
    return mapped


def contrast(mapped):
    """(pair, ratio, floor) for every readable pair, in the theme of mapped."""
    rows = []
    for pair in roles.PAIRS:
        default_ratio = colour.contrast_ratio(colour.over(pair.foreground, pair.background & 0xFFFFFF),
                                              pair.background & 0xFFFFFF)
        background = mapped[pair.background] & 0xFFFFFF
        ratio = colour.contrast_ratio(colour.over(mapped[pair.foreground], background), background)
        rows.append((pair, ratio, min(roles.FLOORS[pair.kind], default_ratio)))
    return rows


def contrast_faults(folder, given, mapped, faults, where):
    """A pair below its floor is named by the role of its foreground (or of
    its background, where the theme names only that one)."""
    path = os.path.relpath(os.path.join(folder, "theme.toml"))
    role_of = {entry.argb: entry.role for entry in roles.COLOURS}
    for pair, ratio, floor in contrast(mapped):
        if ratio >= floor - 1e-9:
            continue
        named = [role_of[c] for c in (pair.foreground, pair.background) if role_of[c] in given]
        role = named[0] if named else role_of[pair.foreground]
        faults.add(path, where.line("colours", role) if named else where.line("colours"), f"colours.{role}",
                   f"{pair.note}: contrast {ratio:.2f}:1, expected at least {floor:.2f}:1 for {pair.kind}")


def names(name):
    """The names and GUIDs of a theme's driver file, derived from its name."""
    with open(os.path.join(DEFAULT_THEME, "theme.toml"), "rb") as file:
        default_name = tomllib.load(file)["name"]
    if name == default_name:
        derived = dict(DEFAULT_NAMES)
    else:
        words = re.findall(r"[A-Za-z0-9]+", name)
        base = "ThemeDriver" + "".join(word[0].upper() + word[1:] for word in words)
        file_guid = uuid.uuid5(NAME_NAMESPACE, "file " + name)
        if "".join(words) != re.sub(r"\s+", "", name):
            base += file_guid.hex[:6].upper()  # characters were dropped: keep names apart
        derived = {"base_name": base, "file_guid": str(file_guid).upper(),
                   "volume_guid": str(uuid.uuid5(NAME_NAMESPACE, "volume " + name)).upper()}
    derived["name"] = name
    return derived


def generate(theme, out):
    """The driver's colour map and name, and the names of its files. A file
    whose content is unchanged is left alone, so builds do not redo work."""
    os.makedirs(out, exist_ok=True)
    mapped = theme["mapped"]
    units = ", ".join(f"0x{unit:04X}" for unit in name_units(theme["name"]))
    lines = ["// Generated by tools/theme/theme.py from " +
             os.path.relpath(os.path.join(theme["folder"], "theme.toml"), ROOT) + "; do not edit.",
             "// The record's name: its UTF-16 code units and the terminating zero.",
             f"#define THEME_NAME_UNITS {units}, 0",
             "// Default ARGB, this theme's ARGB."]
    lines += [f"THEME_COLOR(0x{default:08X}, 0x{value:08X})" for default, value in sorted(mapped.items())]
    write(os.path.join(out, "ThemeColorMap.inc"), "\n".join(lines) + "\n")
    write(os.path.join(out, "theme.json"), json.dumps(names(theme["name"]), indent=1) + "\n")


def artwork(theme, out, fast):
    """The images, redrawn through the map with the replacements in, and
    the expectations with each image's size and CRC-32. The default theme's
    artwork is data/images itself."""
    os.makedirs(out, exist_ok=True)
    images = os.path.join(out, "images")
    if os.path.samefile(theme["folder"], DEFAULT_THEME):
        images = IMAGES
    else:
        with tempfile.TemporaryDirectory(prefix=".theme-", dir=out) as work:
            map_path = os.path.join(work, "colour-map.json")
            write(map_path, json.dumps({f"0x{d:08X}": f"0x{v:08X}" for d, v in sorted(theme["mapped"].items())}))
            drawn = os.path.join(work, "images")
            draw(theme, map_path, drawn, fast)
            if os.path.isdir(images):
                shutil.rmtree(images)
            os.replace(drawn, images)
    write(os.path.join(out, "Expected.txt"), expectations(theme, images))


def write(path, text):
    try:
        with open(path, encoding="utf-8") as file:
            if file.read() == text:
                return
    except OSError:
        pass
    with open(path + ".tmp", "w", encoding="utf-8") as file:
        file.write(text)
    os.replace(path + ".tmp", path)


def draw(theme, map_path, out, fast):
    print(f"theme.py: drawing the 168 images of \"{theme['name']}\""
          f"{' (fast)' if fast else ', optimised: about two minutes on two cores'}", flush=True)
    command = [sys.executable, GENERATOR, "--colour-map", map_path, "--out", out]
    command += ["--fast"] if fast else []
    for image_id, file in sorted(theme["images"].items()):
        command += ["--replace", f"{image_id}={file}"]
    subprocess.run(command, check=True)


def expectations(theme, images):
    """The reference host's expectations: the record's name, every colour
    that the theme changes, and each image file's size and CRC-32."""
    units = " ".join(f"{unit:04X}" for unit in name_units(theme["name"]))
    lines = [f"# Written by tools/theme/theme.py for the theme \"{theme['name']}\".", f"name {units}"]
    lines += [f"colour 0x{default:08X} 0x{value:08X}"
              for default, value in sorted(theme["mapped"].items()) if default != value]
    for image_id, file in sorted(manifest_rows().items()):
        with open(os.path.join(images, file), "rb") as data:
            content = data.read()
        lines.append(f"image {image_id} {len(content)} 0x{zlib.crc32(content):08X}")
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("command", choices=("check", "generate", "artwork"))
    parser.add_argument("folder", help="the theme folder")
    parser.add_argument("--contrast", action="store_true", help="print each readable pair's ratio and floor")
    parser.add_argument("--out", help="where generate writes")
    parser.add_argument("--fast", action="store_true", help="artwork: skip the PNG optimisation")
    parser.add_argument("--theme-pack", help="the image packer, which checks replacement images "
                        "(check: build/tools/theme-pack when it is there)")
    args = parser.parse_args()
    if args.command != "check" and not args.out:
        parser.error(f"{args.command} needs --out")

    # check holds replaced images to the packer's rules, and so needs it;
    # generate and artwork run in builds whose packing step checks them.
    theme_pack = args.theme_pack
    if args.command == "check" and not theme_pack:
        theme_pack = BUILT_PACKER if os.path.exists(BUILT_PACKER) else PACKER_NEEDED
    theme, faults = load(args.folder, theme_pack)
    if faults:
        for line in faults.lines:
            print(line, file=sys.stderr)
        print(f"theme.py: {len(faults.lines)} fault(s) in {os.path.relpath(args.folder)}; nothing written",
              file=sys.stderr)
        return 2
    if args.contrast:
        for pair, ratio, floor in contrast(theme["mapped"]):
            print(f"{ratio:6.2f}:1  floor {floor:5.2f}:1  {pair.kind:6}  {pair.note}")
    if args.command == "generate":
        generate(theme, args.out)
    elif args.command == "artwork":
        artwork(theme, args.out, args.fast)
    return 0


if __name__ == "__main__":
    sys.exit(main())
