#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Dupliora developers
# The decoder guard under fire and at speed, in one script:
#  1. fuzz: COUNT mutated files per format (JPEG, PNG, GIF, WebP, TIFF, BMP,
#     SVG, SVGZ) through dupliora-cli in batches; a crash (the CLI killed by a
#     signal, or output that is not valid JSON) or a hang (the CLI past its
#     timeout) is counted and its batch kept under WORK/failures.
#  2. speed: the load phase on the benchmark set, guarded against
#     --in-process (decoding in the CLI itself), alternated ROUNDS times in
#     the same script; the ratio guarded / in-process per round.
#   bench/guard_check.sh BUILD_DIR [COUNT=2000] [SET=/work/benchset/set] [ROUNDS=2]
# WORK (default /tmp/dupliora_guard_check) holds the corpus; SKIP_FUZZ=1 or
# SKIP_SPEED=1 leave a part out.
set -uo pipefail
build=$(realpath "$1")
count=${2:-2000}
set_dir=${3:-/work/benchset/set}
rounds=${4:-2}
batch=${BATCH:-500}
work=${WORK:-/tmp/dupliora_guard_check}
cli=$build/src/dupliora-cli
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/home/.cache" "$work/rt" && chmod 700 "$work/rt"
# Private caches and settings: no run sees another's thumbnails or records.
export HOME=$work/home XDG_CACHE_HOME=$work/home/.cache XDG_CONFIG_HOME=$work/home/.config \
  XDG_DATA_HOME=$work/home/.local XDG_RUNTIME_DIR=$work/rt QT_QPA_PLATFORM=offscreen

make_seeds() {  # a few encodings per format, 200 x 160 (above the 128-pixel minimum)
  local s=$work/seeds
  rm -rf "$s" && mkdir -p "$s"/{jpeg,png,gif,webp,tiff,bmp,svg,svgz}
  local img=(-size 200x160 plasma:fractal)
  convert -seed 1 "${img[@]}" -quality 85 "$s/jpeg/base.jpg"
  convert -seed 2 "${img[@]}" -interlace Plane "$s/jpeg/progressive.jpg"
  convert -seed 3 "${img[@]}" -sampling-factor 1x1 -colorspace Gray "$s/jpeg/grey.jpg"
  convert -seed 4 "${img[@]}" -colorspace CMYK "$s/jpeg/cmyk.jpg"
  convert -seed 1 "${img[@]}" "$s/png/rgb.png"
  convert -seed 2 "${img[@]}" -colors 16 PNG8:"$s/png/palette.png"
  convert -seed 3 "${img[@]}" -interlace PNG -alpha set -channel A -evaluate set 60% "$s/png/alpha_interlaced.png"
  convert -seed 4 "${img[@]}" -depth 16 "$s/png/deep.png"
  convert -seed 1 "${img[@]}" "$s/gif/still.gif"
  convert -delay 10 -seed 2 "${img[@]}" -seed 3 "${img[@]}" -loop 0 "$s/gif/animated.gif"
  convert -seed 4 "${img[@]}" -interlace GIF -colors 4 "$s/gif/interlaced.gif"
  convert -seed 1 "${img[@]}" -quality 80 "$s/webp/lossy.webp"
  convert -seed 2 "${img[@]}" -define webp:lossless=true "$s/webp/lossless.webp"
  convert -seed 3 "${img[@]}" -alpha set -channel A -evaluate set 50% "$s/webp/alpha.webp"
  convert -seed 1 "${img[@]}" -compress None "$s/tiff/plain.tif"
  convert -seed 2 "${img[@]}" -compress LZW "$s/tiff/lzw.tif"
  convert -seed 3 "${img[@]}" -compress Zip -define tiff:tile-geometry=64x64 "$s/tiff/tiled.tif"
  convert -seed 4 "${img[@]}" -compress JPEG "$s/tiff/jpeg.tif"
  convert -seed 1 "${img[@]}" BMP3:"$s/bmp/rgb24.bmp"
  convert -seed 2 "${img[@]}" -colors 200 -type Palette BMP3:"$s/bmp/palette8.bmp"
  convert -seed 3 "${img[@]}" -colors 16 -type Palette -compress RLE BMP3:"$s/bmp/rle.bmp"
  convert -seed 4 "${img[@]}" -alpha set BMP:"$s/bmp/argb.bmp"
  local png64
  png64=$(base64 -w0 "$s/png/palette.png")
  cat >"$s/svg/shapes.svg" <<SVG
<?xml version="1.0"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="200" height="160" viewBox="0 0 200 160">
<defs><linearGradient id="g"><stop offset="0" stop-color="#f00"/><stop offset="1" stop-color="#00f"/></linearGradient>
<radialGradient id="r"><stop offset="0" stop-color="#ff0"/><stop offset="1" stop-color="#0a0" stop-opacity="0.5"/></radialGradient>
<g id="a"><circle cx="20" cy="20" r="15" fill="url(#r)"/></g></defs>
<rect width="200" height="160" fill="url(#g)"/><use xlink:href="#a" x="40" y="30"/>
<path d="M10 150 C 40 10, 65 10, 95 80 S 150 150, 180 80" stroke="#000" stroke-width="3" fill="none"/>
<polygon points="120,20 190,40 160,90" fill="#0cc" opacity="0.7" transform="rotate(10 150 50)"/>
<text x="20" y="140" font-size="18" font-family="sans-serif">Dupliora</text>
<image x="100" y="100" width="60" height="50" xlink:href="data:image/png;base64,$png64"/>
</svg>
SVG
  cat >"$s/svg/styled.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="200" height="160"><style>.c{fill:#a3c;stroke:#222;stroke-dasharray:4 2}</style>
<g transform="translate(100 80) scale(1.5)"><ellipse class="c" rx="50" ry="30"/><line x1="-60" y1="0" x2="60" y2="0" stroke="#fff"/></g>
<polyline points="0,0 50,100 100,20 150,140 200,0" fill="none" stroke="#f80" stroke-width="5" stroke-linejoin="round"/></svg>
SVG
  gzip -c "$s/svg/shapes.svg" >"$s/svgz/shapes.svgz"
  gzip -c "$s/svg/styled.svg" >"$s/svgz/styled.svgz"
}

# Runs the CLI on one folder; prints "rc left_out_json" or "rc invalid".
run_batch() {
  local folder=$1 out=$work/out.json
  timeout -s KILL "${TIMEOUT:-900}" "$cli" --json --threads 2 "$folder" >"$out" 2>"$work/err.txt"
  local rc=$?
  python3 - "$rc" "$out" <<'PY'
import json, sys
rc, path = sys.argv[1], sys.argv[2]
try:
    doc = json.load(open(path))
    print(rc, json.dumps(doc["summary"].get("left_out", {}), sort_keys=True))
except Exception:
    print(rc, "invalid")
PY
}

fuzz() {
  make_seeds
  printf '%-6s %6s %8s %6s %8s %9s %9s  %s\n' format files crashes hangs contained loaded left_out reasons
  local total_crashes=0 total_hangs=0
  for format in jpeg png gif webp tiff bmp svg svgz; do
    local files=0 crashes=0 hangs=0 contained=0 loaded=0 left=0
    declare -A reasons=()
    for ((start = 0; start < count; start += batch)); do
      local dir=$work/fuzz/$format
      rm -rf "$dir"
      local n=$((count - start < batch ? count - start : batch))
      python3 "$here/fuzz_mutate.py" "$work/seeds/$format" "$dir" "$n" "$((start + 7919 * ${#format}))"
      files=$((files + n))
      read -r rc left_out < <(run_batch "$dir")
      # 0: matches written; 3: no pictures to compare (nothing written).
      if [ "$rc" = 3 ]; then
        left_out=$(python3 -c 'import json,sys; print(json.dumps({"all_left_out": int(sys.argv[1])}))' "$n")
      elif [ "$rc" = 137 ] || [ "$rc" = 124 ]; then
        hangs=$((hangs + 1))
      elif [ "$rc" != 0 ] || [ "$left_out" = invalid ]; then
        crashes=$((crashes + 1))
      fi
      if [ "$left_out" = invalid ] || { [ "$rc" != 0 ] && [ "$rc" != 3 ]; }; then
        mkdir -p "$work/failures" && cp -r "$dir" "$work/failures/${format}_$start"
        continue
      fi
      [ "$rc" = 3 ] && echo '{"summary": {"loaded": 0}}' >"$work/out.json"
      eval "$(python3 - "$left_out" "$work/out.json" <<'PY'
import json, sys
lo = json.loads(sys.argv[1]); doc = json.load(open(sys.argv[2]))
print("batch_contained=%d batch_loaded=%d batch_left=%d" % (
    lo.get("crashed", 0) + lo.get("timed_out", 0), doc["summary"]["loaded"], sum(lo.values())))
for k, v in lo.items(): print("reasons[%s]=$(( ${reasons[%s]:-0} + %d ))" % (k, k, v))
PY
)"
      contained=$((contained + batch_contained))
      loaded=$((loaded + batch_loaded))
      left=$((left + batch_left))
    done
    local listing=""
    for k in $(printf '%s\n' "${!reasons[@]}" | sort); do listing+="$k=${reasons[$k]} "; done
    printf '%-6s %6d %8d %6d %8d %9d %9d  %s\n' "$format" "$files" "$crashes" "$hangs" "$contained" "$loaded" "$left" "$listing"
    total_crashes=$((total_crashes + crashes))
    total_hangs=$((total_hangs + hangs))
    unset reasons
  done
  echo "fuzz: CLI crashes $total_crashes, hangs $total_hangs (contained = decoder processes that crashed or ran out of time, each costing one file)"
  rm -rf "$work/fuzz"
}

# Load phase of the first of two runs in one process (the second is served
# from the record cache, so it is cheap), and the CPU seconds of the whole
# run, its decoder processes included (they are waited for at exit).
load_ms() {
  /usr/bin/time -f '%U %S' -o "$work/cpu.txt" "$cli" "$@" --repeat 2 --threads 2 --json "$set_dir" \
    2>"$work/speed_err.txt" >/dev/null
  local ms cpu
  ms=$(sed -n 's/^run 1: .* load \([0-9]*\) ms.*/\1/p' "$work/speed_err.txt")
  cpu=$(awk 'END { printf "%.1f", $1 + $2 }' "$work/cpu.txt")
  echo "$ms $cpu"
}

# Other users' load moves single runs by up to 3x on a shared machine: the
# best of the rounds is compared, and the CPU seconds, which that load moves
# far less.
speed() {
  echo "speed: load phase on $set_dir ($(find "$set_dir" -type f | wc -l) files), 2 threads, alternated"
  local best_in=999999999 best_guarded=999999999 cpu_in=0 cpu_guarded=0
  for ((round = 1; round <= rounds; ++round)); do
    local inproc guarded inproc_cpu guarded_cpu
    read -r inproc inproc_cpu < <(load_ms --in-process)
    read -r guarded guarded_cpu < <(load_ms)
    echo "round $round: in-process $inproc ms (run CPU $inproc_cpu s)," \
      "guarded $guarded ms (run CPU $guarded_cpu s)"
    ((inproc < best_in)) && best_in=$inproc
    ((guarded < best_guarded)) && best_guarded=$guarded
    cpu_in=$(python3 -c "print($cpu_in + $inproc_cpu)")
    cpu_guarded=$(python3 -c "print($cpu_guarded + $guarded_cpu)")
  done
  python3 -c "print(f'guarded/in-process: best load phase {$best_guarded / $best_in:.3f}, run CPU {$cpu_guarded / $cpu_in:.3f}')"
}

[ "${SKIP_FUZZ:-0}" = 1 ] || fuzz
[ "${SKIP_SPEED:-0}" = 1 ] || speed
