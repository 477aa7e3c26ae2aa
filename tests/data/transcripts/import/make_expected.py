#!/usr/bin/env python3
"""Expected results of importing two of the CIF test structures: the positions are those of
structure/expected/NAME.txt (computed with ASE, independently of the importer), in the atom
line format of crystal data (label in 6 columns, then x, y, z each in 13 columns with six
decimals), after the cell line (the CIF's constants without their uncertainties) and the
comment line naming file, block, space group and atom count. Writes NAME.cry, CR LF ends.

Run from this folder:  python3 make_expected.py
"""
import os

HEADERS = {
    "quartz_p3221": ("4.913400 4.913400 5.405200 90.000000 90.000000 120.000000",
                     "imported from quartz_p3221.cif, block quartz: space group P 32 2 1"),
    "p21c_symops": ("7.102100 8.203500 9.301200 90.000000 101.520000 90.000000",
                    "imported from p21c_symops.cif, block p21c: space group of 4 operations"),
}

for name, (cell, comment) in HEADERS.items():
    with open(os.path.join("..", "..", "structure", "expected", name + ".txt")) as f:
        atoms = [line.split() for line in f if line.strip()]
    with open(name + ".cry", "w", newline="") as out:
        out.write(cell + "\r\n")
        out.write("/* %s, %d atoms */\r\n" % (comment, len(atoms)))
        for label, x, y, z in atoms:
            out.write("%-6s%13.6f%13.6f%13.6f\r\n" % (label, float(x), float(y), float(z)))
