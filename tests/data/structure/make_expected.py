#!/usr/bin/env python3
"""Expected positions of the CIF test structures, computed with ASE (python3-ase) from the
space-group tables of ASE itself, independently of the importer: each site is given here by
hand (the numbers of the CIF without their uncertainties) and expanded by ase.spacegroup.crystal.
Writes expected/NAME.txt, one atom per line: label and fractional x, y, z.

Run from this folder with Debian's python3:  /usr/bin/python3 make_expected.py
"""
import os

from ase.spacegroup import crystal

STRUCTURES = {
    # name: (space group number, cell a b c alpha beta gamma, [(label, element, x, y, z)])
    "p21c_symops": (14, [7.1021, 8.2035, 9.3012, 90, 101.52, 90],
                    [("C1", "C", 0.12345, 0.23456, 0.34567),
                     ("H1", "H", 0.9012, -0.1034, 0.0523)]),
    "p212121_hall": (19, [5.0, 6.0, 7.0, 90, 90, 90],
                     [("N1", "N", 0.1, 0.2, 0.3),
                      ("O1", "O", 0.45, -0.05, 0.7)]),
    "quartz_p3221": (154, [4.9134, 4.9134, 5.4052, 90, 90, 120],
                     [("Si1", "Si", 0.4697, 0.0, 0.66667),
                      ("O1", "O", 0.4135, 0.2669, 0.1191)]),
}


def main():
    os.makedirs("expected", exist_ok=True)
    for name, (number, cellpar, sites) in STRUCTURES.items():
        atoms = crystal([s[1] for s in sites], [s[2:] for s in sites], spacegroup=number,
                        cellpar=cellpar, symprec=1e-3)
        kinds = atoms.arrays["spacegroup_kinds"]
        with open(os.path.join("expected", name + ".txt"), "w") as out:
            for kind, (x, y, z) in zip(kinds, atoms.get_scaled_positions(wrap=True)):
                out.write("%s %.8f %.8f %.8f\n" % (sites[kind][0], x, y, z))


if __name__ == "__main__":
    main()
