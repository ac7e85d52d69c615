#!/usr/bin/python3
"""The PCD-token setting as the build takes it: eight decimal token numbers
or none pass; anything else stops the configuration, saying what it got and
what was expected."""
import subprocess
import sys

CASES = [
    ("1055,1427,1346,1430,1428,1355,1354,1429", None),
    ("none", None),
    (" 1, 2,3,4,5,6,7,4294967295", None),
    ("", "0 entries"),
    ("1,2,3,4,5,6,7", "7 entries"),
    ("1,2,3,4,5,6,7,8,9", "9 entries"),
    ("1;2;3;4;5;6;7;8", "separated by semicolons"),
    ("1,2,3,4,5,6,7,0x8", '"0x8" is not a token number'),
    ("1,2,3,4,5,6,7,0", '"0" is not a token number'),
    ("1,2,3,4,5,6,7,4294967296", '"4294967296" is not a token number'),
    ("1,2,3,4,5,6,-7,8", '"-7" is not a token number'),
]
EXPECTED = "expected eight decimal PCD token numbers"


def main(cmake, script):
    faults = []
    for setting, fault in CASES:
        result = subprocess.run([cmake, f"-DTHEME_PCD_TOKENS={setting}", "-P", script], capture_output=True, text=True)
        message = " ".join(result.stderr.split())
        if fault is None and result.returncode != 0:
            faults.append(f"{setting!r} refused: {message}")
        elif fault is not None and (result.returncode == 0 or fault not in message or EXPECTED not in message):
            faults.append(f"{setting!r}: exit {result.returncode}, message {message!r}; expected one naming {fault!r}")
    for fault in faults:
        print(fault)
    print(f"{len(CASES) - len(faults)} of {len(CASES)} settings taken as expected")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
