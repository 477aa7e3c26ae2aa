#!/usr/bin/env python3
"""The single-crystal dipolar second-moment pattern as a researcher would script it with
numpy, for comparison with `orvix-cli dipolar`: same input, same sums, same report lines.

    dipolar_numpy.py INPUT [--gamma-observed G] [--gamma-coupled G] [--spin S] [--abundance P]
    dipolar_numpy.py --generate N      writes a test input with N neighbours to stdout

Rotation axis and angles are those of orvix-cli's defaults: alpha 0, beta 90, gamma 0 to 180
in steps of 1, phase 0, clockwise, cut-off 1000 Angstrom.
"""
import argparse
import random
import sys

import numpy as np

DEG = 0.017453292519943
PI = 3.141592654


def generate(count):
    rng = random.Random(7)
    out = ["1 1 1 90 90 90", "/ observed proton and its neighbours", "H0 0 0 0"]
    for i in range(1, count + 1):
        out.append("H%d %.4f %.4f %.4f" % (i, rng.uniform(-15, 15), rng.uniform(-15, 15),
                                           rng.uniform(-15, 15)))
    sys.stdout.buffer.write(("\r\n".join(out) + "\r\n").encode())


def read_atoms(path):
    """Atom lines after the cell line, and the comment lines ('/' first or '*' second),
    which the report repeats before each of its lines."""
    labels, coords, comments = [], [], []
    with open(path, newline="") as f:
        next(f)  # the Cartesian cell line
        for line in f:
            if line.startswith("/") or line[1:2] == "*":
                comments.append(line)
                continue
            parts = line.split()
            if len(parts) < 4:
                continue
            labels.append(parts[0])
            coords.append([float(v) for v in parts[1:4]])
    return labels, np.array(coords, dtype=np.float32).astype(np.float64), "".join(comments)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("input", nargs="?")
    parser.add_argument("--generate", type=int)
    parser.add_argument("--gamma-observed", type=float, default=26.7522128)
    parser.add_argument("--gamma-coupled", type=float, default=26.7522128)
    parser.add_argument("--spin", type=float, default=0.5)
    parser.add_argument("--abundance", type=float, default=100.0)
    args = parser.parse_args()
    if args.generate:
        generate(args.generate)
        return

    labels, xyz, comments = read_atoms(args.input)
    keep = np.array([label.upper() != "OR" for label in labels[1:]])
    d = xyz[1:][keep] - xyz[0]
    r = np.sqrt((d * d).sum(axis=1))
    ok = (r <= 1000.0) & (r > 0)
    d, r = d[ok], r[ok]
    e = d / r[:, None]

    alpha, beta = 0.0, 90.0 * DEG
    g = np.arange(0.0, 181.0)
    psi = -g * DEG  # clockwise
    ca, sa, cb, sb = np.cos(alpha), np.sin(alpha), np.cos(beta), np.sin(beta)
    n = np.stack([-cb * ca * np.sin(psi) - sa * np.cos(psi),
                  ca * np.cos(psi) - cb * sa * np.sin(psi),
                  sb * np.sin(psi)], axis=1)

    u = n @ e.T  # cosines between field and internuclear vectors, angles x neighbours
    coupling = (1 - 3 * u * u) * (167.845 * args.gamma_observed * args.gamma_coupled) / r**3
    s = args.spin
    factor = (s + 1) * (3 * s if args.gamma_observed == args.gamma_coupled else s * 4 / 3)
    m2 = factor * (coupling**2).sum(axis=1) * PI * PI * args.abundance * 0.01
    sys.stdout.buffer.write(
        "".join("%s%g    %g\r\n" % (comments, a, m) for a, m in zip(g, m2)).encode())


if __name__ == "__main__":
    main()
