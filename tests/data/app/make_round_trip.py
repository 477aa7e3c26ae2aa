#!/usr/bin/env python3
"""Writes round_trip_in.cry, a file of every byte but zero, CR and LF in lines of 32 (no-break
spaces among them), some lines ending in CR LF, some in a bare LF, the last in none; and
round_trip_saved.cry, the same file as the editor must save it: every line end CR LF."""
body = [b for b in range(1, 256) if b not in (0x0D, 0x0A)]
lines = [bytes(body[i:i + 32]) for i in range(0, len(body), 32)] + [b"\xa0", b"last"]
ends = [b"\r\n" if i % 2 == 0 else b"\n" for i in range(len(lines) - 1)] + [b""]
with open("round_trip_in.cry", "wb") as f:
    f.write(b"".join(line + end for line, end in zip(lines, ends)))
with open("round_trip_saved.cry", "wb") as f:
    f.write(b"\r\n".join(lines))
