#!/usr/bin/env bash
# Whole-process timing of "CIF in, cluster out": `orvix-cli import X.cif | orvix-cli cluster
# --site H1 --radius 30` on a P 1 21/c 1 CIF of 2,500 sites (10,000 atoms in the cell, about
# 11,300 of them within 30 Angstrom) against the same work in ASE (cluster_ase.py: ase.io.read
# of the CIF, the atoms of every image within the radius, nearest first, written in the same
# format). Both outputs must hold the same number of atoms. Each side runs RUNS times; the
# best time counts. Also reports the peak memory of `orvix-cli cluster` for radius 10, 20 and
# 30 (GNU time), which must not grow with the radius beyond the input's own size.
#
#   bench/cluster_vs_ase.sh [ORVIX_CLI] [SCRATCH_DIR]
#
# Environment: RUNS (default 3), SITES (default 2500), RADIUS (default 30), PYTHON (default: the
# first of python3 and /usr/bin/python3 that has ASE). When orvix-cli has no import command,
# the cluster runs on the same cell expanded into fractional crystal data by cluster_ase.py,
# and the report says so.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cli="${1:-$here/../build/src/cli/orvix-cli}"
scratch="${2:-${TMPDIR:-/tmp}}"
runs="${RUNS:-3}"
sites="${SITES:-2500}"
radius="${RADIUS:-30}"
site=H1

python="${PYTHON:-}"
if [ -z "$python" ]; then
    for candidate in python3 /usr/bin/python3; do
        if "$candidate" -c "import ase" 2>/dev/null; then python="$candidate"; break; fi
    done
fi
[ -n "$python" ] || { echo "ASE is needed (apt-get install python3-ase)" >&2; exit 2; }
[ -x "$cli" ] || { echo "no orvix-cli at $cli (build it first)" >&2; exit 2; }

work="$(mktemp -d "$scratch/orvix-cluster-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT
"$python" "$here/cluster_ase.py" make "$work/bench.cif" "$work/bench.cry" --sites "$sites"

# (`orvix-cli import --help` would succeed without the command too: it prints the usage.)
if "$cli" --help 2>/dev/null | grep -q '^ *import '; then
    what="orvix-cli import | orvix-cli cluster"
    orvix_run() {
        "$cli" import "$work/bench.cif" | "$cli" cluster --site "$site" --radius "$radius" -o "$work/orvix.cry"
    }
else
    what="orvix-cli cluster (no import command in this build: fractional data from cluster_ase.py)"
    orvix_run() {
        "$cli" cluster --site "$site" --radius "$radius" "$work/bench.cry" -o "$work/orvix.cry"
    }
fi
ase_run() {
    "$python" "$here/cluster_ase.py" cluster "$work/bench.cif" "$site" "$radius" "$work/ase.cry" >/dev/null
}

now() { date +%s.%N; }
calc() { awk "BEGIN { printf \"%.3f\", $1 }"; }

# Best wall-clock seconds of RUNS runs of a shell function.
best_of() {
    local run="$1" best="" t start
    for _ in $(seq "$runs"); do
        start=$(now)
        "$run"
        t=$(calc "$(now) - $start")
        if [ -z "$best" ] || [ "$(calc "$t < $best")" = "1.000" ]; then best=$t; fi
    done
    echo "$best"
}

t_orvix=$(best_of orvix_run)
t_ase=$(best_of ase_run)
lines_orvix=$(wc -l < "$work/orvix.cry")
lines_ase=$(wc -l < "$work/ase.cry")
if [ "$lines_orvix" != "$lines_ase" ]; then
    echo "the two clusters differ: $lines_orvix lines against $lines_ase" >&2
    exit 1
fi

atoms=$((4 * sites))
echo "cluster of radius $radius Angstrom around $site in a cell of $atoms atoms: $((lines_orvix - 3)) neighbours (best of $runs runs)"
printf '  %s  %8s s\n' "$what" "$t_orvix"
printf '  ASE %s (ase.io.read + numpy search)  %8s s   orvix is %.0fx faster\n' \
    "$("$python" -c 'import ase; print(ase.__version__)')" "$t_ase" "$(calc "$t_ase / $t_orvix")"

if [ -x /usr/bin/time ]; then
    echo "peak resident memory of orvix-cli cluster over the $atoms atoms:"
    for r in 10 20 30; do
        kb=$( { /usr/bin/time -f '%M' "$cli" cluster --site "$site" --radius "$r" "$work/bench.cry" -o "$work/r.cry"; } 2>&1 | tail -1)
        printf '  radius %2s: %6s KB, %s neighbours\n' "$r" "$kb" "$(($(wc -l < "$work/r.cry") - 3))"
    done
fi
