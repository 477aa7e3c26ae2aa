#!/usr/bin/env bash
# Whole-process timing of a large Generate Block: orvix-cli generate-block -n 10 over 1,000
# atoms (9,261,000 atom lines, about 435 MB) against an awk one-liner that writes the same
# lines and against cat copying a file of the same size (what the machine's file system
# allows at best: GNU cat copies inside the kernel where it can). Each is run RUNS times,
# to a new file after a sync; the best time counts.
#
#   bench/generate_block.sh [ORVIX_CLI] [SCRATCH_DIR]
#
# Environment: RUNS (default 3), N (default 10), ATOMS (default 1000), AWK (default awk).
# Needs about three times the output size of free space in SCRATCH_DIR (default $TMPDIR or
# /tmp); everything is removed at the end.
set -euo pipefail

cli="${1:-build/src/cli/orvix-cli}"
scratch="${2:-${TMPDIR:-/tmp}}"
runs="${RUNS:-3}"
n="${N:-10}"
atoms="${ATOMS:-1000}"
awk_program="${AWK:-awk}"

[ -x "$cli" ] || { echo "no orvix-cli at $cli (build it first)" >&2; exit 2; }
work="$(mktemp -d "$scratch/orvix-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# A cell line and ATOMS atoms with fractional coordinates in -1..1, CR LF line ends.
"$awk_program" -v atoms="$atoms" 'BEGIN {
    srand(1)
    printf "10.5 11.2 12.9 90 100.5 90\r\n"
    for (a = 0; a < atoms; a++)
        printf "C%d %.5f %.5f %.5f\r\n", a, 2 * rand() - 1, 2 * rand() - 1, 2 * rand() - 1
}' > "$work/atoms.cry"

# The block as a researcher might write it in awk: cell line, atoms, then every translation
# (z outermost, x innermost, skipping 0 0 0) in the atom-line format.
awk_block() {
    "$awk_program" -v n="$n" 'BEGIN { RS = "\r\n" }
        NR == 1 { printf "%s\r\n", $0; next }
        NF >= 4 { label[++m] = $1; x[m] = $2; y[m] = $3; z[m] = $4 }
        END {
            f = "%-6s %12.6f %12.6f %12.6f\r\n"
            for (a = 1; a <= m; a++) printf f, label[a], x[a], y[a], z[a]
            for (i = -n; i <= n; i++) for (j = -n; j <= n; j++) for (k = -n; k <= n; k++) {
                if (i == 0 && j == 0 && k == 0) continue
                for (a = 1; a <= m; a++) printf f, label[a], x[a] + k, y[a] + j, z[a] + i
            }
        }' "$work/atoms.cry" > "$work/awk.cry"
}

orvix_block() { "$cli" generate-block -n "$n" "$work/atoms.cry" -o "$work/orvix.cry"; }
cat_copy() { cat "$work/orvix.cry" > "$work/cat.cry"; }

# Seconds since the epoch, with nanoseconds.
now() { date +%s.%N; }

# Arithmetic on decimal numbers without bc.
calc() { awk "BEGIN { printf \"%.3f\", $1 }"; }

# Best wall-clock seconds of RUNS runs of a shell function. Its output file is deleted and
# the file system synced before each run: truncating a large file that still exists costs
# more than writing a new one, and earlier runs must not leave writeback behind.
best_of() {
    local run="$1" output="$2" best="" t start end
    for _ in $(seq "$runs"); do
        rm -f "$output"
        sync
        start=$(now)
        "$run"
        end=$(now)
        t=$(calc "$end - $start")
        if [ -z "$best" ] || [ "$(calc "$t < $best")" = "1.000" ]; then best=$t; fi
    done
    echo "$best"
}

t_orvix=$(best_of orvix_block "$work/orvix.cry")
t_awk=$(best_of awk_block "$work/awk.cry")
t_cat=$(best_of cat_copy "$work/cat.cry")

lines=$(wc -l < "$work/orvix.cry")
bytes=$(stat -c %s "$work/orvix.cry")
[ "$lines" = "$(wc -l < "$work/awk.cry")" ] || echo "warning: awk wrote a different number of lines" >&2
[ "$bytes" = "$(stat -c %s "$work/cat.cry")" ] || echo "warning: cat copy differs in size" >&2

echo "generate-block -n $n over $atoms atoms: $lines lines, $bytes bytes (best of $runs runs)"
printf '  orvix-cli generate-block  %8s s\n' "$t_orvix"
printf '  awk one-liner (%s)  %8s s   orvix is %.1fx faster\n' \
    "$(basename "$(readlink -f "$(command -v "$awk_program")")")" "$t_awk" \
    "$(calc "$t_awk / $t_orvix")"
printf '  cat of a file that size   %8s s   orvix takes %.2fx the time of cat\n' "$t_cat" \
    "$(calc "$t_orvix / $t_cat")"
