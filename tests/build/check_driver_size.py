#!/usr/bin/python3
"""Keeps the driver's own code and data small: every section but the image
package (.rsrc) together stays within the budget, and the report says how
much each takes."""
import sys

import pefile

BUDGET = 13 * 1024


def main(path):
    pe = pefile.PE(path)
    sizes = {s.Name.rstrip(b"\0").decode(): s.Misc_VirtualSize for s in pe.sections}
    own = sum(size for name, size in sizes.items() if name != ".rsrc")
    detail = ", ".join(f"{name} {size}" for name, size in sizes.items() if name != ".rsrc")
    print(f"code and data outside the image package: {own} of {BUDGET} bytes ({detail})")
    return 0 if own <= BUDGET else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
