#!/usr/bin/env python3
"""Expected dipolar second moments of transcripts/dipolar/pair.cry (two protons 1.5 Angstrom apart along
(0, 0.8, 0.6)), from Van Vleck's formulas, independently of the program:
  powder:         M2 = 3/5 * 4 * I(I+1) * pi^2 * sum (167.845 g1 g2 / r^3)^2 * abundance
  single crystal: M2 = 3/4 * 4 * I(I+1) * pi^2 * sum ((1 - 3 cos^2 t) 167.845 g1 g2 / r^3)^2
where 167.845 g1 g2 / r^3 is the coupling in Hz (gammas in 10^7 rad/s/T, r in Angstrom, the
program's rounding of mu0 hbar / (8 pi^2)), pi is taken to ten digits as the reports define
it, and t is the angle between the internuclear vector and the field. The crystal turns
clockwise about the x axis (alpha 0, beta 90), so the field at rotation angle g is
(0, cos g, -sin g). The powder is computed at 100 % abundance, the pattern at the natural
abundance of 1H (99.9885 %, IUPAC), which naming the coupled nucleus brings. Writes pair.powder.txt and pair.crystal.txt with CR LF line ends."""
import math
import struct


def single(value):
    """The program reads positions in single precision."""
    return struct.unpack("f", struct.pack("f", value))[0]


GAMMA_1H = 26.7522128  # CODATA proton gyromagnetic ratio, 10^7 rad s^-1 T^-1
PI = 3.141592654
SPIN = 0.5
x, y, z = single(0.0), single(1.2), single(0.9)
r = math.sqrt(x * x + y * y + z * z)
coupling = 167.845 * GAMMA_1H * GAMMA_1H / r ** 3
powder = SPIN * (SPIN + 1) * (3 / 5 * 4) * coupling ** 2 * PI ** 2 * 1.0
with open("pair.powder.txt", "w", newline="") as out:
    out.write("nucleus\tx\ty\tz\tdist.\tR\tM2 contribution\r\n/ pair\r\n")
    out.write("H2\t%g\t%g\t%g\t%g\t%g\t%g\r\n" % (x, y, z, r, coupling, powder))
    out.write("Second moment:  %g\r\n" % powder)
with open("pair.crystal.txt", "w", newline="") as out:
    for g in range(0, 91, 15):
        field = (0.0, math.cos(math.radians(g)), -math.sin(math.radians(g)))
        u = (x * field[0] + y * field[1] + z * field[2]) / r
        m2 = SPIN * (SPIN + 1) * 3 * ((1 - 3 * u * u) * coupling) ** 2 * PI ** 2 * 0.999885
        out.write("/ pair\r\n%g    %g\r\n" % (g, m2))
