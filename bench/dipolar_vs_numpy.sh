#!/usr/bin/env bash
# Whole-process times of the single-crystal dipolar pattern for 10,000 neighbours and 181
# angles (0 to 180 by 1): orvix-cli against the numpy script a researcher would otherwise
# write (dipolar_numpy.py). Both read the same file and write the same report; the script
# checks that their moments agree, then prints the best and the median of several runs.
#   bench/dipolar_vs_numpy.sh [path/to/orvix-cli] [runs]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cli="${1:-$here/../build/src/cli/orvix-cli}"
runs="${2:-9}"

python=""
for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c "import numpy" 2>/dev/null; then python="$candidate"; break; fi
done
if [ -z "$python" ]; then
    echo "numpy is needed (apt-get install python3-numpy)" >&2
    exit 1
fi
[ -x "$cli" ] || { echo "no orvix-cli at $cli" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$python" "$here/dipolar_numpy.py" --generate 10000 > "$work/neighbours.cry"

# Milliseconds of one whole run of the command.
time_ms() {
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    echo $(( (end - start) / 1000 ))
}

# Best and median (microseconds) of $runs runs.
measure() {
    local times=()
    for _ in $(seq "$runs"); do times+=("$(time_ms "$@")"); done
    printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[1], a[int((NR + 1) / 2)] }'
}

"$cli" dipolar --single-crystal "$work/neighbours.cry" -o "$work/orvix.txt"
"$python" "$here/dipolar_numpy.py" "$work/neighbours.cry" > "$work/numpy.txt"
"$python" - "$work/orvix.txt" "$work/numpy.txt" <<'PY'
import sys
lines = [open(path, "rb").read().decode().split("\r\n") for path in sys.argv[1:3]]
assert [l for l in lines[0] if l.startswith("/")] == [l for l in lines[1] if l.startswith("/")]
a, b = ([l.split() for l in f if l and not l.startswith("/")] for f in lines)
assert len(a) == len(b) == 181, (len(a), len(b))
worst = max(abs(float(x[1]) - float(y[1])) / abs(float(y[1])) for x, y in zip(a, b))
assert all(x[0] == y[0] for x, y in zip(a, b))
assert worst < 1e-5, worst
print("181 lines, moments agree to %.1e relative" % worst)
PY

read -r orvix_best orvix_median < <(measure "$cli" dipolar --single-crystal "$work/neighbours.cry" -o "$work/orvix.txt")
read -r numpy_best numpy_median < <(measure "$python" "$here/dipolar_numpy.py" "$work/neighbours.cry")
awk -v ob="$orvix_best" -v om="$orvix_median" -v nb="$numpy_best" -v nm="$numpy_median" -v runs="$runs" 'BEGIN {
    printf "10,000 neighbours, 181 angles, whole process, %d runs each (best / median):\n", runs
    printf "  orvix-cli dipolar   %8.1f ms / %8.1f ms\n", ob / 1000, om / 1000
    printf "  numpy script        %8.1f ms / %8.1f ms\n", nb / 1000, nm / 1000
    printf "  numpy / orvix-cli   %8.1fx    / %8.1fx\n", nb / ob, nm / om
}'
