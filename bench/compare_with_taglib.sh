#!/bin/bash
# Times the index builder (harlune-cli build, all extra information, names from the tags) against
# bench/taglib_reader (TagLib reading the same fields) over the same collection of real MP3 files.
#
#     bench/compare_with_taglib.sh CACHE_FOLDER [BUILD_FOLDER] [RUNS]
#
# CACHE_FOLDER keeps the collection between runs: 20,000 files of two seconds each in nested
# folders, made once by scripts/make_test_mp3s.py (lame, mutagen). BUILD_FOLDER (default
# build-release of the repository) must hold harlune-cli and taglib_reader; build it with
# -DCMAKE_BUILD_TYPE=Release. Both programs run on files in the page cache, RUNS times each
# (default 5), with hyperfine when it is installed (and NO_HYPERFINE is not set), else with a
# loop of `time`.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
cache=${1:?usage: compare_with_taglib.sh CACHE_FOLDER [BUILD_FOLDER] [RUNS]}
build=${2:-$repo/build-release}
runs=${3:-5}
count=20000
seconds=2

cli=$build/src/harlune-cli
reader=$build/bench/taglib_reader
for program in "$cli" "$reader"; do
    if [ ! -x "$program" ]; then
        echo "missing $program (build harlune-cli and taglib_reader first)" >&2
        exit 1
    fi
done

mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
music=$cache/music
stamp="count=$count seconds=$seconds seed=1 nested"
if [ "$(cat "$cache/music.done" 2>/dev/null)" != "$stamp" ]; then
    echo "making $count MP3 files in $music ..."
    rm -rf "$music" "$cache/music.done"
    /usr/bin/python3 "$repo/scripts/make_test_mp3s.py" "$music" --count "$count" \
        --seconds "$seconds" --seed 1 --nested
    echo "$stamp" >"$cache/music.done"
fi

# A fresh program folder for the index pair the builder writes.
prog=$(mktemp -d "${TMPDIR:-/tmp}/harlune-compare-XXXXXX")
trap 'rm -rf "$prog"' EXIT
mkdir -p "$prog"/{Skins,download,Playlists,DOC,Konfigs}

builder_cmd="'$cli' --prog '$prog' --yes build Bench '$music'"
taglib_cmd="'$reader' '$music'"

# Page cache: read every file once, then run each program once.
find "$music" -type f -name '*.mp3' -print0 | xargs -0 cat >/dev/null
files=$(find "$music" -type f -name '*.mp3' | wc -l)
echo "files: $files"
eval "$builder_cmd" >/dev/null
eval "$taglib_cmd"

if [ -z "${NO_HYPERFINE:-}" ] && command -v hyperfine >/dev/null; then
    json=$prog/hyperfine.json
    hyperfine --warmup 1 --runs "$runs" --export-json "$json" \
        -n builder "$builder_cmd" -n taglib "$taglib_cmd"
    # The mean of each and the files per second it gives.
    /usr/bin/python3 - "$json" "$files" <<'EOF'
import json, sys
data = json.load(open(sys.argv[1]))
files = int(sys.argv[2])
for r in data["results"]:
    print("%-8s mean %.3f s (+- %.3f s, min %.3f s)  %.0f files/s"
          % (r["command"], r["mean"], r["stddev"], r["min"], files / r["mean"]))
EOF
else
    TIMEFORMAT=%R
    for name in builder taglib; do
        cmd=${name}_cmd
        times=""
        for ((i = 0; i < runs; i++)); do
            times+=" $({ time eval "${!cmd}" >/dev/null 2>&1; } 2>&1 | tail -1)"
        done
        echo "$times" | awk -v name="$name" -v files="$files" '{
            min = $1; for (i = 1; i <= NF; i++) { sum += $i; if ($i < min) min = $i }
            printf "%-8s mean %.3f s (min %.3f s, %d runs)  %.0f files/s\n",
                   name, sum / NF, min, NF, files * NF / sum }'
    done
fi
