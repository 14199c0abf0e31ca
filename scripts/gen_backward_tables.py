#!/usr/bin/env python3
"""Write the coefficient tables of the IF97 backward equations as C++ data.

Reads the published coefficient tables of IAPWS-IF97 (T(p,h), T(p,s) of
regions 1 and 2), SR2 (p(h,s) of regions 1 and 2), SR3 (T, v from (p,h) and
(p,s) in region 3, p3sat(h), p3sat(s)) and SR4 (p(h,s) of region 3, h'(s),
Tsat(h,s)) from the reference folder, one markdown table per release table,
and writes every coefficient with exactly the digits printed there.

Usage: scripts/gen_backward_tables.py [REFERENCE_DIR] [OUTPUT]
  REFERENCE_DIR  folder of the transcribed release tables
                 (default: the shared reference folder beside the checkout)
  OUTPUT         default src/water/backward/backward_tables.h
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

# (file, table id, C++ name, kind, exponent scale of I)
#   kind "terms":  rows of I, J, n -> PowerTerm {I * scale, J, n}
#   kind "values": rows of n       -> double[]
TABLES = [
    ("if97-backward-ph-ps.md", "IF97-T6", "kRegion1TphTerms", "terms", 1),
    ("if97-backward-ph-ps.md", "IF97-T8", "kRegion1TpsTerms", "terms", 1),
    ("if97-backward-ph-ps.md", "IF97-T19", "kB2bcCoefficients", "values", 1),
    ("if97-backward-ph-ps.md", "IF97-T20", "kRegion2aTphTerms", "terms", 1),
    ("if97-backward-ph-ps.md", "IF97-T21", "kRegion2bTphTerms", "terms", 1),
    ("if97-backward-ph-ps.md", "IF97-T22", "kRegion2cTphTerms", "terms", 1),
    ("if97-backward-ph-ps.md", "IF97-T25", "kRegion2aTpsTerms", "terms", 4),
    ("if97-backward-ph-ps.md", "IF97-T26", "kRegion2bTpsTerms", "terms", 1),
    ("if97-backward-ph-ps.md", "IF97-T27", "kRegion2cTpsTerms", "terms", 1),
    ("sr2-phs-region12.md", "SR2-T2", "kRegion1PhsTerms", "terms", 1),
    ("sr2-phs-region12.md", "SR2-T5", "kH2abCoefficients", "values", 1),
    ("sr2-phs-region12.md", "SR2-T6", "kRegion2aPhsTerms", "terms", 1),
    ("sr2-phs-region12.md", "SR2-T7", "kRegion2bPhsTerms", "terms", 1),
    ("sr2-phs-region12.md", "SR2-T8", "kRegion2cPhsTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T2", "kH3abCoefficients", "values", 1),
    ("sr3-region3-ph-ps.md", "SR3-T3", "kRegion3aTphTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T4", "kRegion3bTphTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T6", "kRegion3aVphTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T7", "kRegion3bVphTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T10", "kRegion3aTpsTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T11", "kRegion3bTpsTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T13", "kRegion3aVpsTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T14", "kRegion3bVpsTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T17", "kP3satHTerms", "terms", 1),
    ("sr3-region3-ph-ps.md", "SR3-T19", "kP3satSTerms", "terms", 1),
    ("sr4-hs.md", "SR4-T3", "kRegion3aPhsTerms", "terms", 1),
    ("sr4-hs.md", "SR4-T4", "kRegion3bPhsTerms", "terms", 1),
    ("sr4-hs.md", "SR4-T9", "kSatLiquidH1Terms", "terms", 1),
    ("sr4-hs.md", "SR4-T10", "kSatLiquidH3Terms", "terms", 1),
    ("sr4-hs.md", "SR4-T28", "kTsatHsTerms", "terms", 1),
]

NUMBER = re.compile(r"^[+-]?\d+\.\d+E[+-]\d+$")


def read_table(path, table_id):
    """Release name, equation form and the rows of table TABLE_ID."""
    lines = path.read_text().splitlines()
    head = f"### [{table_id}]"
    start = next(k for k, line in enumerate(lines) if line.startswith(head))
    release = form = ""
    rows = []
    header = None
    for line in lines[start + 1:]:
        if line.startswith("### "):
            break
        if line.startswith("- release:"):
            release = line.split(":", 1)[1].strip()
        elif line.startswith("- form:"):
            form = line.split(":", 1)[1].strip()
        elif line.startswith("|"):
            cells = [c.strip() for c in line.strip().strip("|").split("|")]
            if header is None:
                header = cells
            elif not set(cells[0]) <= set("-"):
                rows.append(dict(zip(header, cells)))
    if not rows:
        sys.exit(f"{path.name}: table {table_id} has no rows")
    return release, form, rows


def quarter_or_integer(text, scale):
    value = float(text) * scale
    if value != int(value):
        sys.exit(f"exponent {text} x {scale} is not an integer")
    return int(value)


def check_number(text, where):
    if not NUMBER.match(text):
        sys.exit(f"{where}: coefficient {text!r} is not in E-notation")
    return text


def emit(reference_dir):
    out = [
        "// Coefficient tables of the IAPWS-IF97 backward equations and of the",
        "// supplementary releases SR2-01, SR3-03 and SR4-04 (revised 2014), with every",
        "// digit the releases print.  Written by scripts/gen_backward_tables.py; edit",
        "// the script, not this file.",
        "// clang-format off",
        "#pragma once",
        "",
        '#include "water/if97/if97.h"',
        "",
        "namespace thermomodels::backward_tables {",
        "",
        "using if97_detail::PowerTerm;",
    ]
    for file_name, table_id, name, kind, scale in TABLES:
        release, form, rows = read_table(reference_dir / file_name, table_id)
        out.append("")
        out.append(f"// {release}: {form}")
        where = f"{file_name} {table_id}"
        if kind == "values":
            out.append(f"inline constexpr double {name}[] = {{")
            for row in rows:
                out.append(f"    {check_number(row['n'], where)},")
        else:
            if scale != 1:
                out.append(f"// I is stored times {scale}: the series runs in powers of "
                           f"pi^(1/{scale}).")
            out.append(f"inline constexpr PowerTerm {name}[] = {{")
            for row in rows:
                i = quarter_or_integer(row["I"], scale)
                j = quarter_or_integer(row["J"], 1)
                out.append(f"    {{{i}, {j}, {check_number(row['n'], where)}}},")
        out.append("};")
    out.append("")
    out.append("}  // namespace thermomodels::backward_tables")
    return "\n".join(out) + "\n"


def main():
    reference_dir = pathlib.Path(sys.argv[1] if len(sys.argv) > 1
                                 else ROOT.parent / "shared/reference/iapws-if97")
    output = pathlib.Path(sys.argv[2] if len(sys.argv) > 2
                          else ROOT / "src/water/backward/backward_tables.h")
    output.write_text(emit(reference_dir))


if __name__ == "__main__":
    main()
