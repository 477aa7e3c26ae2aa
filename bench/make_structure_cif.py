#!/usr/bin/env python3
"""Writes a CIF whose cell expands to about 10,000 atoms, for timing `orvix-cli import` (and
what follows it) on a structure of realistic size.

    python3 bench/make_structure_cif.py [OUTPUT]        (default: structure-10k.cif)

P 21/c (four operations, listed in a symmetry-operations loop, with the H-M name and number
for readers that need them), cell 41.8 x 52.8 x 48.4 Angstrom, beta 100 degrees. The 2,508
sites lie on a half-offset grid of 2.2 Angstrom spacing in the quarter cell 0 <= y < 1/4, each
moved by up to 0.15 Angstrom along every axis (a fixed pseudo-random sequence, so the file is
the same on every run); the four operations map the grid onto itself without overlap, so the
cell holds 4 x 2,508 = 10,032 atoms, none closer than about 1.7 Angstrom to another. Labels
are an element (C, H, H, O, N in turn) and a count per element: C1, H1, H2, O1, N1, C2, ...
Coordinates carry a standard uncertainty, as refined structures do.
"""
import sys

NX, NY, NZ = 19, 24, 22          # grid points along a, b, c; NZ even for the c glide
SPACING = 2.2                     # Angstrom
CELL = (NX * SPACING, NY * SPACING, NZ * SPACING, 90.0, 100.0, 90.0)
JITTER = 0.15                     # Angstrom
ELEMENTS = ("C", "H", "H", "O", "N")


def main():
    out_path = sys.argv[1] if len(sys.argv) > 1 else "structure-10k.cif"
    seed = 12345

    def jitter(length):
        # A 31-bit linear congruential sequence: fixed, portable, good enough for offsets.
        nonlocal seed
        seed = (1103515245 * seed + 12345) % 2147483648
        return (seed / 2147483648.0 * 2.0 - 1.0) * JITTER / length

    counts = {e: 0 for e in ELEMENTS}
    rows = []
    n = 0
    for i in range(NX):
        for j in range(NY // 4):
            for k in range(NZ):
                element = ELEMENTS[n % len(ELEMENTS)]
                counts[element] += 1
                x = (i + 0.5) / NX + jitter(CELL[0])
                y = (j + 0.5) / NY + jitter(CELL[1])
                z = (k + 0.5) / NZ + jitter(CELL[2])
                rows.append("%s%d %s %.5f(3) %.5f(3) %.5f(4) 0.0250(5) 1" %
                            (element, counts[element], element, x, y, z))
                n += 1

    with open(out_path, "w") as out:
        out.write("# Synthetic structure for timing: %d sites in P 21/c, %d atoms in the cell\n"
                  % (len(rows), 4 * len(rows)))
        out.write("data_bench10k\n")
        for tag, value in zip(("length_a", "length_b", "length_c", "angle_alpha", "angle_beta",
                               "angle_gamma"), CELL):
            out.write("_cell_%s %.4f\n" % (tag, value))
        out.write("_space_group_name_H-M_alt 'P 1 21/c 1'\n_space_group_IT_number 14\n")
        out.write("loop_\n_space_group_symop_operation_xyz\n")
        for op in ("x,y,z", "-x,y+1/2,-z+1/2", "-x,-y,-z", "x,-y+1/2,z+1/2"):
            out.write("'%s'\n" % op)
        out.write("loop_\n_atom_site_label\n_atom_site_type_symbol\n_atom_site_fract_x\n"
                  "_atom_site_fract_y\n_atom_site_fract_z\n_atom_site_U_iso_or_equiv\n"
                  "_atom_site_occupancy\n")
        out.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
