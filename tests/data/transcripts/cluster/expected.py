#!/usr/bin/env python3
"""Expected cluster around Si of triclinic.cry, by brute force over the periodic images,
independently of the program: in the frame of Orthogonalize > Coordinates (c along z, b in
the yz plane) the cell edges are
  c = (0, 0, c),  b = (0, b sin(alpha), b cos(alpha)),
  a = (a_x, a (cos(gamma) - cos(alpha) cos(beta)) / sin(alpha), a cos(beta)), a_x from |a| = a;
every image of every atom within the radius of Si (Si itself first), nearest first. The
program reads numbers in single precision and writes single-precision positions, so the
inputs and outputs are rounded to single precision here too. Writes triclinic.expected.cry."""
import math
import struct


def single(value):
    return struct.unpack("f", struct.pack("f", value))[0]


CELL = (4.0, 5.0, 6.0, 80.0, 100.0, 110.0)
ATOMS = [("Si", 0.1, 0.2, 0.3), ("O1", 0.45, 0.15, 0.05), ("O2", 0.9, 0.75, 0.6)]
RADIUS = 3.9

a, b, c, alpha, beta, gamma = (math.radians(v) if i > 2 else v for i, v in enumerate(CELL))
edge_c = (0.0, 0.0, c)
edge_b = (0.0, b * math.sin(alpha), b * math.cos(alpha))
a_y = a * (math.cos(gamma) - math.cos(alpha) * math.cos(beta)) / math.sin(alpha)
a_z = a * math.cos(beta)
edge_a = (math.sqrt(a * a - a_y * a_y - a_z * a_z), a_y, a_z)


def cartesian(f):
    return [f[0] * edge_a[k] + f[1] * edge_b[k] + f[2] * edge_c[k] for k in range(3)]


site = cartesian([single(v) for v in ATOMS[0][1:]])
found = []
for label, *f in ATOMS:
    f = [single(v) for v in f]
    for n in ((i, j, k) for i in range(-4, 5) for j in range(-4, 5) for k in range(-4, 5)):
        if label == ATOMS[0][0] and n == (0, 0, 0):
            continue
        p = cartesian([f[0] + n[0], f[1] + n[1], f[2] + n[2]])
        d = math.dist(p, site)
        if d <= RADIUS:
            found.append((d, label, p))
found.sort()
with open("triclinic.expected.cry", "w", newline="") as out:
    out.write(" 1.000  1.000  1.000 90.000 90.000 90.000\r\n")
    out.write("/* cluster around Si: radius %g Angstrom, %d neighbours */\r\n" % (RADIUS, len(found)))
    for label, p in [(ATOMS[0][0], site)] + [(l, p) for _, l, p in found]:
        out.write("%-6s%13.6f%13.6f%13.6f\r\n" % ((label,) + tuple(single(v) for v in p)))
with open("triclinic.cry", "w", newline="") as out:
    out.write("%g %g %g %g %g %g\r\n" % CELL)
    for label, *f in ATOMS:
        out.write("%s %g %g %g\r\n" % (label, *f))
