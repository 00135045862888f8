#!/usr/bin/env bash
# Command-line tool against an older build of it, in one script so that both
# run on the same machine state:
#  1. a folder tree 480 levels deep under a limit of 128 open files (the
#     same fault as 1,500 levels under the usual 1,024, with paths short
#     enough for records): pictures found and time;
#  2. peak memory at similarity 40 with every variant on 5,000
#     photos, where nearly every pair matches (output to /dev/null);
#  3. the matches of both, whatever the order they are written in.
#   bench/cli_bench.sh OLD_CLI [NEW_CLI] [PHOTO_FOLDER]
# PHOTO_FOLDER defaults to the benchmark set (bench/make_bench_set.sh); its
# first 500 pictures are scaled to 320 x 240 and copied ten times each.
set -euo pipefail
old=$(realpath "$1")
new=$(realpath "${2:-$(dirname "$0")/../build/src/dupliora-cli}")
photos=${3:-${BENCH_DATA:-$(dirname "$0")/data}/set}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "seconds peak_kb loaded" of one run; its load summary gives loaded.
measure() {
  local binary=$1
  shift
  /usr/bin/time -f '%e %M' -o "$work/time" "$binary" "$@" >/dev/null 2>"$work/err" || true
  echo "$(cat "$work/time") $(grep -o '^Loaded:[0-9]*' "$work/err" | tail -1 | cut -d: -f2)"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

compare() {
  local label=$1
  shift
  read -r old_s old_kb old_n <<<"$(measure "$old" "$@")"
  read -r new_s new_kb new_n <<<"$(measure "$new" "$@")"
  printf '%-24s old: %6ss %8s KB %5s pictures | new: %6ss %8s KB %5s pictures | time new/old %s, memory new/old %s\n' \
    "$label" "$old_s" "$old_kb" "$old_n" "$new_s" "$new_kb" "$new_n" \
    "$(ratio "$new_s" "$old_s")" "$(ratio "$new_kb" "$old_kb")"
}

# 1. Deep tree: a picture every 40 levels, named relative to the work folder.
folder=deep
for level in $(seq 1 480); do
  folder=$folder/d
  if ((level % 40 == 0)); then
    mkdir -p "$work/$folder"
    convert -size 200x160 plasma: "$work/$folder/p.png"
  fi
done
(cd "$work" && ulimit -n 128 && compare "deep tree (480 levels)" deep)

# 2. Streaming: 5,000 photos at similarity 40, all variants.
mkdir -p "$work/photos"
# Read whole, not through head: under pipefail a sort cut short by head's exit
# would end the script.
mapfile -t chosen < <(find "$photos" -maxdepth 1 -type f | sort)
for photo in "${chosen[@]:0:500}"; do
  base=$work/photos/$(basename "${photo%.*}")
  convert "$photo" -resize 320x240 -quality 90 "$base.jpg"
  for copy in 1 2 3 4 5 6 7 8 9; do cp "$base.jpg" "${base}_$copy.jpg"; done
done
count=$(find "$work/photos" -type f | wc -l)
compare "$count photos at 40 %" --similarity 40 --rotated --flipped --negative "$work/photos"

# 3. The same matches, sorted alike (the new tool writes them as found).
#    Differences come from embedded thumbnails that do not show the picture:
#    crops that kept their source photo's camera thumbnail (ImageMagick, like
#    many editors, keeps the EXIF block) matched each other at 100 %.
"$old" --similarity 90 --rotated --flipped "$work/photos" 2>/dev/null | sort >"$work/old.tsv"
"$new" --similarity 90 --rotated --flipped "$work/photos" 2>/dev/null | sort >"$work/new.tsv"
echo "matches at 90 %: old $(wc -l <"$work/old.tsv"), new $(wc -l <"$work/new.tsv")," \
  "only old $(comm -23 "$work/old.tsv" "$work/new.tsv" | wc -l)," \
  "only new $(comm -13 "$work/old.tsv" "$work/new.tsv" | wc -l)"
