#!/usr/bin/python3
"""The styling tables' notation refuses malformed rows and tables when the
driver is built. Each case below is a small table with one fault; compiling
it must fail and name the fault. A well-formed table must compile, so that a
failure is the fault's and not the harness's."""
import concurrent.futures
import os
import subprocess
import sys
import tempfile

GOOD = """
  Row(0x2080, 2),
    State(6, Color(0xFFE5E2E1), Keep, Keep, Keep),
  Row(0x2080),
  Row(0x1101), Or(0x1103),
    Req(1540, 6, Argb(0xFFE5E2E1)),
    RestyleAs(0x2080, 7),
  Row(0x2200),
    Deco(2084, Color(0xFF615B58, 0x2EFFFFFF), 0xFFFF, 0, 0, 0, 0),
    State(1, Same, Keep, 0, Color(0xFFFF8333, ScaleX(3))),
"""

CASES = [
    ("class line last of its key", "Row(0x2080, 2), State(6, Keep, Keep, Keep, Color(0xFFE5E2E1)),",
     "a class line is followed by another line of its key"),
    ("class line before another key", "Row(0x2080, 2), Row(0x2081),",
     "a class line is followed by another line of its key"),
    ("lines of a key apart", "Row(0x10), Req(1540, 6, 0), Row(0x20), Row(0x10),",
     "the lines of a key lie together"),
    ("restyle as a missing row", "Row(0x2400), RestyleAs(0x1101, 15), Row(0x10),",
     "RestyleAs ends a line and names a row of its table"),
    ("restyle not ending its line", "Row(0x1101), Row(0x2400), RestyleAs(0x1101, 15), Req(1540, 6, 0), Row(0x10),",
     "RestyleAs ends a line and names a row of its table"),
    ("table not starting with a row", "Req(1540, 6, 0), Row(0x10),", "a table starts with a row"),
    ("Or after a step", "Row(0x10), Req(1540, 6, 0), Or(0x11),", "Or follows a row's marker"),
    ("plain number in a brush set", "Row(0x10), State(1, 0xFF7A726F, Keep, Keep, Keep),",
     "a brush set field is keep, 0, same or a brush"),
    ("a line after its key's line for every class", "Row(0x10), Req(1540, 6, 0), Row(0x10), Row(0x20),",
     "a line for every class ends its key's lines"),
    ("a key in two rows", "Row(0x10), Or(0x11), Req(1540, 6, 0), Row(0x20), Or(0x11),",
     "the lines of a key lie together"),
    ("restyle as a row that restyles", "Row(0x1101), RestyleAs(0x2400, 2), Row(0x2400), RestyleAs(0x1101, 15),",
     "RestyleAs names a row that does not restyle"),
    ("state 7", "Row(0x10), State(7, Keep, Keep, Keep, Keep),", "states are 0..6"),
    ("same as a request value", "Row(0x10), Req(1540, 6, Same),", "a request value is a number or a brush"),
    ("descriptor with Value[4]", "Row(0x10), Deco(2084, 0, 0, 0, 0, 0xFFFF, 0),",
     "Value[4] and Value[5] of a table descriptor are 0"),
    ("kind 2067 in a table", "Row(0x10), Deco(2067, 0, 0, 0, 0, 0, 0),",
     "a kind 2067 descriptor is cleared by the host first: an odd row"),
    ("keep as a descriptor value", "Row(0x10), Deco(2084, Keep, 0, 0, 0, 0, 0),",
     "a descriptor value is a number or a brush"),
    ("a modifier the host does not take", "Row(0x10), State(1, Color(0xFFFF8333, 2), Keep, Keep, Keep),",
     "a brush modifier is one of kBrushModifiers or ScaleX (3)"),
    ("a modifier other than ScaleX (3)", "Row(0x10), State(1, Color(0xFFFF8333, ScaleX(4)), Keep, Keep, Keep),",
     "only ScaleX (3) is a brush modifier"),
]


def compile_table(compiler, source_dir, generated_dir, rows):
    text = ('#include "style/StyleRows.h"\n'
            f"constexpr STYLE_WRITTEN_STEP mRows[] = {{{rows}}};\n"
            "constexpr STYLE_TABLE_SIZES kSizes = MeasureRows(mRows);\n"
            "constexpr auto mTable = LinkRows<kSizes>(mRows);\n")
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", delete=False) as source:
        source.write(text)
    try:
        run = subprocess.run([compiler, "-std=c++20", "-fsyntax-only", "-DTHEME_HOST_BUILD", f"-I{source_dir}", f"-I{generated_dir}", source.name],
                             capture_output=True, text=True)
    finally:
        os.unlink(source.name)
    return run.returncode, run.stderr


def main(compiler, source_dir, generated_dir):
    failures = 0
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        good = pool.submit(compile_table, compiler, source_dir, generated_dir, GOOD)
        bad = [(name, reason, pool.submit(compile_table, compiler, source_dir, generated_dir, rows)) for name, rows, reason in CASES]
        code, errors = good.result()
        if code != 0:
            print(f"FAIL well-formed table: does not compile\n{errors}")
            failures += 1
        for name, reason, result in bad:
            code, errors = result.result()
            if code == 0:
                print(f"FAIL {name}: compiles")
                failures += 1
            elif f'StyleTableError("{reason}")' not in errors:
                print(f"FAIL {name}: refused, but not for \"{reason}\"\n{errors}")
                failures += 1
            else:
                print(f"ok   {name}: {reason}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3]))
