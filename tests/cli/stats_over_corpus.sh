#!/bin/sh
# quillex-tool stats --json over every song of the corpus: each prints JSON that
# python's reader accepts, or refuses the song with a message. Skipped (77) without
# the corpus or python3.
tool=$1
corpus=$2
[ -d "$corpus" ] && command -v python3 > /dev/null || exit 77
out=$(mktemp) && err=$(mktemp) || exit 1
trap 'rm -f "$out" "$err"' EXIT
status=0
for song in "$corpus"/*/*.sm; do
    if "$tool" stats "$song" --json > "$out" 2> "$err"; then
        python3 -c 'import json, sys; assert isinstance(json.load(open(sys.argv[1])), list)' \
            "$out" || { echo "not a JSON array: $song"; status=1; }
    elif [ ! -s "$err" ]; then
        echo "refused without a message: $song"
        status=1
    fi
done
exit $status
