#!/bin/sh
# quillex-tool stats --json over every song of the corpus: each prints a JSON array
# that python's reader accepts, with an object for at least one chart, or refuses the
# song with a message. Skipped (77) without the corpus or python3.
tool=$1
corpus=$2
[ -d "$corpus" ] && command -v python3 > /dev/null || exit 77
out=$(mktemp) && err=$(mktemp) || exit 1
trap 'rm -f "$out" "$err"' EXIT
status=0
for song in "$corpus"/*/*.sm "$corpus"/*/*.ssc; do
    [ -e "$song" ] || continue
    if "$tool" stats "$song" --json > "$out" 2> "$err"; then
        python3 -c 'import json, sys; c = json.load(open(sys.argv[1])); assert isinstance(c, list) and c' \
            "$out" || { echo "no JSON array of charts: $song"; status=1; }
    elif [ ! -s "$err" ]; then
        echo "refused without a message: $song"
        status=1
    fi
done
exit $status
