#!/usr/bin/python3
"""The theme tool: what it refuses and how it says so, the default theme's
colours reproduced exactly, one role moving exactly the colours that follow
it, and the names derived from a theme's name.

    test_theme_tool.py THEME_PACK"""
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOL = os.path.join(ROOT, "tools", "theme", "theme.py")
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(TOOL))
import roles  # noqa: E402
import theme  # noqa: E402

THEME_PACK = None
GOOD = """name = "Test Theme"
[colours]
accent = "#3FAFF3"
background = "#15181D"
surface = "#1B1F26"
text = "#E2E7EE"
"""


def run_tool(folder, *arguments):
    return subprocess.run([sys.executable, TOOL, *arguments, folder, "--theme-pack", THEME_PACK],
                          capture_output=True, text=True)


class Refusals(unittest.TestCase):
    # (what, theme.toml, files beside it, the faults' lines, each as "line: key: start of message")
    CASES = [
        ("not TOML", "name = \n", {}, ["1: theme.toml: is not TOML"]),
        ("name missing, unknown key", GOOD.replace('name = "Test Theme"', 'title = "x"'), {},
         ["1: title: is not a key of a theme", "1: name: is missing"]),
        ("name of 32 code units", GOOD.replace("Test Theme", "x" * 32), {},
         ["1: name: is 32 UTF-16 code units long, expected at most 31"]),
        ("name with a control character", GOOD.replace("Test Theme", "Test\\tTheme"), {},
         ["1: name: holds a control character"]),
        ("name outside the BMP", GOOD.replace("Test Theme", "Test \U0001F600"), {},
         ["1: name: holds a character outside the Basic Multilingual Plane"]),
        ("unknown role, malformed colour, missing role",
         GOOD.replace('accent = "#3FAFF3"', 'accent = "3FAFF3"\nbackdrop = "#000000"').replace('text = "#E2E7EE"\n', ''),
         {}, ['3: colours.accent: is \'3FAFF3\', expected a colour "#RRGGBB"', "4: colours.backdrop: is not a role",
              '2: colours.text: is missing, expected "#RRGGBB"']),
        ("unreadable text: every pair below its floor", GOOD.replace("#E2E7EE", "#30343A"), {},
         ["6: colours.text: text on surface: contrast 1.32:1, expected at least 4.50:1",
          "6: colours.text: text on background:", "6: colours.text: text on the control face:",
          "6: colours.text: the custom item's text on surface:", "5: colours.surface: muted text on surface:"]),
        ("an unknown role and an unreadable accent, in one run",
         GOOD.replace('accent = "#3FAFF3"', 'accent = "#333333"\nshade = "#000000"'), {},
         ["4: colours.shade: is not a role", "3: colours.accent: accent marks on surface:",
          "3: colours.accent: accent marks on background:", "3: colours.accent: half-alpha accent on background:"]),
        ("images that are not there or do not fit",
         GOOD + '[images]\n170 = "a.png"\n"124-banner.png" = "missing.png"\n1 = "../theme.toml"\n8 = "small.png"\n',
         {"small.png": "data/images/001-title-plate.png"},
         ["8: images.170: names no theme image", "9: images.124-banner.png: 'missing.png' does not exist",
          "10: images.1: '../theme.toml' lies outside the theme folder",
          "11: images.8: content is PNG, expected JPEG"]),
    ]

    def test_each_fault_is_one_line_naming_file_line_and_key_and_nothing_is_written(self):
        for what, text, files, faults in self.CASES:
            with self.subTest(what), tempfile.TemporaryDirectory() as folder:
                with open(os.path.join(folder, "theme.toml"), "w", encoding="utf-8") as file:
                    file.write(text)
                for name, source in files.items():
                    with open(os.path.join(ROOT, source), "rb") as src, open(os.path.join(folder, name), "wb") as dst:
                        dst.write(src.read())
                out = os.path.join(folder, "out")
                run = run_tool(folder, "generate", "--out", out)
                self.assertEqual(run.returncode, 2, run.stderr)
                lines = run.stderr.splitlines()[:-1]
                self.assertEqual(len(lines), len(faults), run.stderr)
                shown = os.path.relpath(os.path.join(folder, "theme.toml"))
                for fault in faults:
                    self.assertTrue(any(line.startswith(f"{shown}:{fault}") for line in lines), f"{fault!r} in {lines}")
                self.assertFalse(os.path.exists(out))


class Colours(unittest.TestCase):
    def test_the_default_theme_maps_every_colour_to_itself(self):
        loaded, faults = theme.load(theme.DEFAULT_THEME)
        self.assertFalse(faults, faults.lines)
        self.assertEqual({d: v for d, v in theme.colour_map(loaded["roles"]).items() if d != v}, {})

    def test_one_role_moves_exactly_the_colours_that_follow_it(self):
        defaults = {role.name: role.default for role in roles.ROLES if role.required}
        following = {"text": {"text", "muted"}}  # muted is worked out from text
        for role in defaults:
            with self.subTest(role):
                given = dict(defaults, **{role: 0x808020})
                changed = {d for d, v in theme.colour_map(theme.role_colours(given)).items() if d != v}
                expected = {c.argb for c in roles.COLOURS if c.role in following.get(role, {role})}
                self.assertEqual(changed, expected)

    def test_every_artwork_colour_has_a_row(self):
        listing = subprocess.run([sys.executable, theme.GENERATOR, "--list-colours"],
                                 capture_output=True, text=True, check=True).stdout
        drawn = {int(line.split()[0], 16): line.split()[1] for line in listing.splitlines()}
        rows = {c.argb for c in roles.COLOURS}
        self.assertEqual({name for argb, name in drawn.items() if argb not in rows}, set())

    def test_a_colour_outside_srgb_loses_chroma_and_keeps_alpha(self):
        mapped = theme.colour_map(theme.role_colours({"accent": 0x00FF00, "background": 0x1A1C1E,
                                                     "surface": 0x1E1B1A, "text": 0xE5E2E1}))
        self.assertEqual(mapped[0x80FF8333] >> 24, 0x80)
        self.assertEqual(mapped[0x80FF8333] & 0xFFFFFF, mapped[0xFFFF8333] & 0xFFFFFF)
        self.assertEqual(mapped[0xFFFF8333], 0xFF00FF00)


class Names(unittest.TestCase):
    def test_names_are_stable_distinct_and_fit_for_edk2_and_the_default_keeps_its_own(self):
        default = theme.names("Harbor Slate")
        self.assertEqual((default["base_name"], default["file_guid"]),
                         ("ThemeDriver", "18648078-9134-4CE3-B85F-D48F695A6510"))
        cobalt = theme.names("Cobalt Dusk")
        self.assertEqual(cobalt, theme.names("Cobalt Dusk"))
        self.assertEqual(cobalt["base_name"], "ThemeDriverCobaltDusk")
        others = [theme.names(name) for name in ("Cobalt-Dusk", "Cobalt Düsk", "Kobalt")]
        for key in ("base_name", "file_guid", "volume_guid"):
            values = [names[key] for names in [default, cobalt] + others]
            self.assertEqual(len(set(values)), len(values), key)
        for names in others:
            self.assertRegex(names["base_name"], r"^[A-Z][A-Za-z0-9]*$")


if __name__ == "__main__":
    THEME_PACK = sys.argv.pop(1)
    unittest.main()
