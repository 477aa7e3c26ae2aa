#!/usr/bin/env python3
"""The ASE side of bench/cluster_vs_ase.sh, and the structure both sides work on.

  cluster_ase.py make CIF CRY [--sites N] [--seed S]
      writes a P 1 21/c 1 CIF with N sites in the asymmetric unit (4 N atoms in the cell, about
      0.1 atoms per cubic Angstrom, as in many organic crystals), and the same cell expanded
      by its four operations into fractional crystal data (what `orvix-cli import` gives),
      for running the cluster on its own.
  cluster_ase.py cluster CIF SITE RADIUS OUT
      the same work as `orvix-cli import CIF | orvix-cli cluster --site SITE --radius RADIUS`,
      with ASE: ase.io.read of the CIF (symmetry expansion included), then every atom of
      every periodic image within RADIUS of the first atom of site SITE, nearest first,
      written in Cartesian Angstrom in the same line format. Prints the number of neighbours.
  cluster_ase.py neighbor-list CIF SITE RADIUS
      the same neighbours from ase.neighborlist.neighbor_list, which lists every pair of the
      crystal within RADIUS (for 10,000 atoms and 30 Angstrom that is about 10^8 pairs and
      more memory than most machines have; run it with a small radius to compare).

The search of `cluster` is vectorised numpy over the translations that can reach the
sphere (their range from the reciprocal cell), so the comparison is with the fastest
plain-Python route and not with an all-pairs neighbour list.
"""
import sys

import numpy as np


def make(cif_path, cry_path, sites=2500, seed=1):
    rng = np.random.default_rng(seed)
    a, b, c, beta = 40.0, 45.0, 56.0, 95.0
    elements = ["H", "C", "H", "O", "H", "N", "H", "C"]
    # The four operations of P 1 21/c 1: rotation part and translation.
    ops = [
        (np.diag([1, 1, 1]), np.array([0, 0, 0])),
        (np.diag([-1, 1, -1]), np.array([0, 0.5, 0.5])),
        (np.diag([-1, -1, -1]), np.array([0, 0, 0])),
        (np.diag([1, -1, 1]), np.array([0, 0.5, 0.5])),
    ]
    frac = rng.random((sites, 3))
    labels = [f"{elements[i % len(elements)]}{i + 1}" for i in range(sites)]
    with open(cif_path, "w", newline="\n") as cif:
        cif.write("data_bench\n")
        cif.write(f"_cell_length_a {a}\n_cell_length_b {b}\n_cell_length_c {c}\n")
        cif.write(f"_cell_angle_alpha 90\n_cell_angle_beta {beta}\n_cell_angle_gamma 90\n")
        cif.write("_symmetry_space_group_name_H-M 'P 1 21/c 1'\n_symmetry_Int_Tables_number 14\n")
        cif.write("loop_\n_symmetry_equiv_pos_as_xyz\n")
        cif.write("'x, y, z'\n'-x, y+1/2, -z+1/2'\n'-x, -y, -z'\n'x, -y+1/2, z+1/2'\n")
        cif.write("loop_\n_atom_site_label\n_atom_site_type_symbol\n")
        cif.write("_atom_site_fract_x\n_atom_site_fract_y\n_atom_site_fract_z\n")
        for label, f in zip(labels, frac):
            cif.write(f"{label} {label.rstrip('0123456789')} {f[0]:.6f} {f[1]:.6f} {f[2]:.6f}\n")
    # Rounded as the CIF holds them, then expanded site by site, wrapped into [0, 1).
    frac = np.round(frac, 6)
    with open(cry_path, "w", newline="") as cry:
        cry.write(f"{a} {b} {c} 90 {beta} 90\r\n")
        cry.write(f"/* {cif_path}: P 1 21/c 1, {4 * sites} atoms */\r\n")
        for label, f in zip(labels, frac):
            for rot, shift in ops:
                g = np.mod(rot @ f + shift, 1.0)
                cry.write("%-6s %12.6f %12.6f %12.6f\r\n" % (label, g[0], g[1], g[2]))


def read_structure(cif_path, site):
    import ase.io

    atoms = ase.io.read(cif_path, format="cif")
    # Which site of the CIF each atom came from, and the sites' labels in CIF order.
    kinds = atoms.arrays["spacegroup_kinds"]
    labels = []
    with open(cif_path) as cif:
        in_atoms = False
        for line in cif:
            if line.startswith("_atom_site_fract_z"):
                in_atoms = True
            elif in_atoms and line.strip():
                labels.append(line.split()[0])
    centre = int(np.nonzero(kinds == labels.index(site))[0][0])
    return atoms, labels, kinds, centre


def cluster(cif_path, site, radius, out_path):
    atoms, labels, kinds, centre = read_structure(cif_path, site)
    cell = atoms.cell.array  # rows: a, b, c in Cartesian Angstrom
    pos = atoms.get_positions()
    offsets = pos - pos[centre]
    spread = np.linalg.norm(offsets - offsets.mean(axis=0), axis=1).max()
    reach = np.ceil((radius + spread) * np.linalg.norm(np.linalg.inv(cell), axis=0)).astype(int) + 1
    ranges = [np.arange(-r, r + 1) for r in reach]
    n = np.array(np.meshgrid(*ranges, indexing="ij")).reshape(3, -1).T
    shifts = n @ cell
    hits_atom, hits_shift, hits_d = [], [], []
    for s0 in range(0, len(shifts), 64):
        block = shifts[s0:s0 + 64]
        d = np.linalg.norm(offsets[None, :, :] + block[:, None, :], axis=2)
        si, ai = np.nonzero(d <= radius)
        hits_atom.append(ai)
        hits_shift.append(si + s0)
        hits_d.append(d[si, ai])
    atom = np.concatenate(hits_atom)
    shift = np.concatenate(hits_shift)
    dist = np.concatenate(hits_d)
    keep = ~((atom == centre) & np.all(n[shift] == 0, axis=1))
    atom, shift, dist = atom[keep], shift[keep], dist[keep]
    order = np.lexsort((n[shift][:, 0], n[shift][:, 1], n[shift][:, 2], atom, dist))
    xyz = pos[atom[order]] + shifts[shift[order]]
    names = [labels[k] for k in kinds]
    with open(out_path, "w", newline="") as out:
        out.write(" 1.000  1.000  1.000 90.000 90.000 90.000\r\n")
        out.write(f"/* cluster around {site}: radius {radius:g} Angstrom, {len(order)} neighbours */\r\n")
        out.write("%-6s %12.6f %12.6f %12.6f\r\n" % (site, *pos[centre]))
        out.writelines("%-6s %12.6f %12.6f %12.6f\r\n" % (names[j], x, y, z)
                       for j, (x, y, z) in zip(atom[order], xyz))
    print(len(order))


def neighbor_list(cif_path, site, radius):
    from ase.neighborlist import neighbor_list as all_pairs

    atoms, _, _, centre = read_structure(cif_path, site)
    first, distance = all_pairs("id", atoms, radius)
    print(int(np.count_nonzero((first == centre) & (distance > 0))))


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "make":
        options = dict(zip(args[2::2], args[3::2]))
        make(args[0], args[1], int(options.get("--sites", 2500)), int(options.get("--seed", 1)))
    elif command == "cluster":
        cluster(args[0], args[1], float(args[2]), args[3])
    elif command == "neighbor-list":
        neighbor_list(args[0], args[1], float(args[2]))
    else:
        sys.exit(__doc__)
