#!/usr/bin/env python3
"""Line coverage of src/ by the test suite, per folder, from gcovr's JSON report.

Usage: coverage_check.py REPORT.json --floor PERCENT --allowed FILE

Prints the lines run and the line coverage of each subsystem folder of src/ and of src/ as a
whole, and lists every function defined in src/ that no test entered. Fails (exit 1) when line
coverage of src/ is below the floor, or when a function never entered is not in the allowed list.

A function counts as entered when any of its instances is (a template's instantiations and an
inline function's copies in several objects share its definition's line). The allowed list holds
lines `FILE QUALIFIED-NAME  # reason`: the name is matched against the end of the function's
qualified name without its parameter list, e.g. `src/eos_roots/vproot.cpp VapourCall::Refit`.
"""
import argparse
import collections
import json
import re
import sys


def short_name(demangled):
    """The qualified name of a demangled signature: no return type, parameters or anonymous
    namespaces (template arguments and lambda names are kept)."""
    name = demangled.replace("(anonymous namespace)::", "")
    depth, last_space = 0, -1
    for i, ch in enumerate(name):
        if ch in "<{":
            depth += 1
        elif ch in ">}":
            depth -= 1
        elif depth == 0 and ch == " ":
            last_space = i  # after a return type
        elif depth == 0 and ch == "(" and not name.startswith("operator", i - 8):
            return name[last_space + 1:i]
    return name[last_space + 1:]


def folder(path):
    parts = path.split("/")
    return "/".join(parts[:3] if len(parts) > 3 and parts[1] == "water" else parts[:2])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("report")
    ap.add_argument("--floor", type=float, required=True)
    ap.add_argument("--allowed", required=True)
    args = ap.parse_args()

    allowed = []
    with open(args.allowed) as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                path, name = line.split(None, 1)
                allowed.append((path, name.strip()))

    lines = {}                                # (file, line) -> count
    functions = collections.defaultdict(int)  # (file, line, name) -> count
    with open(args.report) as f:
        report = json.load(f)
    for entry in report["files"]:
        path = entry["file"]
        if not path.startswith("src/"):
            continue
        for ln in entry["lines"]:
            if ln["gcovr/noncode"] or ln.get("gcovr/excluded"):
                continue
            key = (path, ln["line_number"])
            lines[key] = lines.get(key, 0) + ln["count"]
        first_name = {}
        for fn in entry["functions"]:
            name = first_name.setdefault(fn["lineno"], short_name(fn["name"]))
            functions[(path, fn["lineno"], name)] += fn["execution_count"]

    total = collections.Counter(folder(p) for p, _ in lines)
    run = collections.Counter(folder(p) for (p, _), c in lines.items() if c > 0)
    print(f"{'folder':22} {'lines':>6} {'run':>6} {'cover':>7}")
    for name in sorted(total):
        print(f"{name:22} {total[name]:6d} {run[name]:6d} {100.0 * run[name] / total[name]:6.2f}%")
    n_total, n_run = sum(total.values()), sum(run.values())
    percent = 100.0 * n_run / n_total if n_total else 0.0
    print(f"{'src/':22} {n_total:6d} {n_run:6d} {percent:6.2f}%  (floor {args.floor:.2f}%)")

    failed = False
    never = sorted(k for k, c in functions.items() if c == 0)
    used_allowances = set()
    for path, line, name in never:
        bare = re.sub(r"<.*>$", "", name)  # a template by its name alone
        match = [a for a in allowed if a[0] == path and bare.endswith("::" + a[1])]
        if match:
            used_allowances.update(match)
            print(f"never entered, allowed: {path}:{line} {name}")
        else:
            print(f"NEVER ENTERED: {path}:{line} {name}")
            failed = True
    for a in allowed:
        if a not in used_allowances:
            print(f"note: allowed exception now entered or gone, remove it: {a[0]} {a[1]}")
    if percent < args.floor:
        print(f"LINE COVERAGE {percent:.2f}% BELOW THE FLOOR {args.floor:.2f}%")
        failed = True
    if not n_total:
        print("NO COVERAGE DATA")
        failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
