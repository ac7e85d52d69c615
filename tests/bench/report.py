#!/usr/bin/env python3
"""Runs the bench program under callgrind and prints one table: for each case,
the instructions per call that the driver's code executed (the record
operation and its callees, without the null host's operations, which stand
for the host's own work), against the operation's goal."""
import glob
import os
import re
import subprocess
import sys
import tempfile

LINE = re.compile(r"^\s*([\d,]+)\s+\([^)]*\)\s+(?:\S*?):(.*?)\s+\[(.*)\]\s*$")


def self_costs(dump):
    """(function name, object) -> instructions executed in the function itself."""
    costs = {}
    out = subprocess.run(["callgrind_annotate", "--inclusive=no", "--threshold=100", dump],
                         capture_output=True, text=True, check=True).stdout
    for line in out.splitlines():
        match = LINE.match(line)
        if match:
            key = (match.group(2), match.group(3))
            costs[key] = costs.get(key, 0) + int(match.group(1).replace(",", ""))
    return costs


def is_driver_code(function, obj, bench):
    """The driver's own functions: in the bench program, and none of main, the
    rounds or the null host. Self costs need no care for recursion."""
    if os.path.abspath(obj) != bench:
        return False
    return not (function in ("main", "(below main)") or function.startswith(("rounds::", "void rounds::"))
                or "NullUi<" in function or "NullServices<" in function)


def case_dumps(directory):
    dumps = {}
    for path in glob.glob(os.path.join(directory, "callgrind.out.*")):
        with open(path) as dump:
            for line in dump:
                if line.startswith("desc: Trigger: Client Request: "):
                    dumps[line.split(": ", 3)[3].strip()] = path
                    break
    return dumps


def main():
    bench = os.path.abspath(sys.argv[1])
    rows = []
    over = 0
    with tempfile.TemporaryDirectory() as directory:
        run = subprocess.run(
            ["valgrind", "--tool=callgrind", "--collect-atstart=no", "--dump-instr=no",
             f"--callgrind-out-file={directory}/callgrind.out.%p", bench],
            capture_output=True, text=True, check=True)
        dumps = case_dumps(directory)
        for line in run.stdout.splitlines():
            if not line.startswith("case\t"):
                continue
            name, operation, per_round, rounds, host_calls, budget = line.split("\t")[1:]
            calls = int(per_round) * int(rounds)
            costs = self_costs(dumps[name])
            own = sum(cost for (function, obj), cost in costs.items() if is_driver_code(function, obj, bench)) / calls
            goal = int(budget)
            verdict = "" if goal == 0 else ("ok" if own <= goal else "OVER")
            over += verdict == "OVER"
            rows.append((operation, name, host_calls, f"{own:.1f}", str(goal) if goal else "-", verdict))
    header = ("operation", "case", "host calls", "own instr/call", "goal", "")
    widths = [max(len(str(row[i])) for row in rows + [header]) for i in range(len(header))]
    for row in [header] + rows:
        print("  ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip())
    print("Own instructions: the driver's code, that is the operation and its callees without the host's operations.")
    print("Goals: ThemeGetColor 10, ThemeMapImage 50, ThemeStyleObject 150 + 40 per host call.")
    print(f"{over} case(s) over their goal." if over else "Every case within its goal.")
    return 0


if __name__ == "__main__":
    sys.exit(main())
