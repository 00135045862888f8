#!/usr/bin/env bash
# Builds a realistic picture set in bench/data/set: crops of a few real
# photographs (Debian's mate-backgrounds) of 2 to 12 megapixels, like camera
# pictures, mostly JPEG (every other one with an EXIF thumbnail), a few PNG
# and WebP, and 2 % near-duplicates (scaled and recompressed copies).
#   bench/make_bench_set.sh [COUNT]      (default 2000)
# BENCH_DATA=/some/folder puts the set there instead of bench/data.
set -euo pipefail
cd "$(dirname "$0")"
count=${1:-2000}
data=${BENCH_DATA:-data}
set_dir=$data/set
mkdir -p "$data/deb" "$set_dir"

if [ ! -d "$data/photos" ]; then
  (cd "$data/deb" && apt-get download mate-backgrounds >/dev/null)
  dpkg-deb -x "$data"/deb/mate-backgrounds_*.deb "$data/deb/root"
  mkdir -p "$data/photos"
  find "$data/deb/root" -type f \( -iname '*.jpg' -o -iname '*.png' \) -size +300k \
    -exec cp {} "$data/photos/" \;
fi
# Each photograph scaled once into ImageMagick's memory-mapped format: the
# crops below then cost a read, not a decode and a resize.
if [ ! -d "$data/bases" ]; then
  mkdir -p "$data/bases"
  for photo in "$data"/photos/*; do
    convert "$photo" -resize 4400x3300^ "$data/bases/$(basename "${photo%.*}").mpc"
  done
fi
mapfile -t photos < <(find "$data/bases" -name '*.mpc' | sort)
[ "${#photos[@]}" -gt 0 ] || { echo "no photographs found" >&2; exit 1; }

# Puts a 160 x 120 EXIF thumbnail into a JPEG (APP1 with IFD1 pointing at it).
add_exif_thumbnail() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
path, thumb_path = sys.argv[1], sys.argv[2]
thumb = open(thumb_path, 'rb').read()
ifd1 = struct.pack('<H', 3)
data_offset = 8 + 6 + 2 + 3 * 12 + 4
ifd1 += struct.pack('<HHII', 0x0103, 3, 1, 6)
ifd1 += struct.pack('<HHII', 0x0201, 4, 1, data_offset)
ifd1 += struct.pack('<HHII', 0x0202, 4, 1, len(thumb))
ifd1 += struct.pack('<I', 0)
tiff = b'II*\x00' + struct.pack('<I', 8) + struct.pack('<H', 0) + struct.pack('<I', 14) + ifd1 + thumb
app1 = b'Exif\x00\x00' + tiff
jpeg = open(path, 'rb').read()
open(path, 'wb').write(jpeg[:2] + b'\xff\xe1' + struct.pack('>H', len(app1) + 2) + app1 + jpeg[2:])
PY
}

# One picture of the set; near-duplicates come in a second pass, since each
# copies the picture before it.
make_picture() {
  local i=$1 name photo width height x y ext
  name=$(printf 'pic_%05d' "$i")
  ((i % 50 == 49)) && return 0
  photo=${photos[$((i % ${#photos[@]}))]}
  width=$((1700 + (i * 37) % 2500))
  height=$((1200 + (i * 53) % 1900))
  x=$(((i * 97) % 200))
  y=$(((i * 61) % 200))
  ext=jpg
  ((i % 40 == 7)) && ext=png
  ((i % 40 == 23)) && ext=webp
  [ -e "$set_dir/$name.$ext" ] && return 0
  convert "$photo" -crop "${width}x${height}+${x}+${y}" +repage \
    -modulate $((90 + i % 20)) -quality 88 "$set_dir/$name.tmp.$ext"
  if [ "$ext" = jpg ] && ((i % 2 == 0)); then
    convert "$set_dir/$name.tmp.jpg" -thumbnail 160x120 -quality 75 "$set_dir/$name.thumb.jpg"
    add_exif_thumbnail "$set_dir/$name.tmp.jpg" "$set_dir/$name.thumb.jpg"
    rm "$set_dir/$name.thumb.jpg"
  fi
  mv "$set_dir/$name.tmp.$ext" "$set_dir/$name.$ext"
}
export -f make_picture add_exif_thumbnail
export set_dir
photo_list=$(printf '%s\n' "${photos[@]}")
export photo_list
seq 0 $((count - 1)) | xargs -P "$(nproc)" -I{} bash -c \
  'mapfile -t photos <<<"$photo_list"; make_picture {}'

for ((i = 49; i < count; i += 50)); do
  name=$(printf 'pic_%05d' "$i")
  [ -e "$set_dir/$name.jpg" ] && continue
  # Near-duplicate of the previous picture: scaled to 90 % and recompressed.
  previous=$(ls "$set_dir"/pic_$(printf '%05d' $((i - 1))).* | head -1)
  convert "$previous" -resize 90% -quality 70 "$set_dir/$name.jpg"
done
echo "$(ls "$set_dir" | wc -l) pictures in $set_dir"
