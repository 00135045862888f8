#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: Dupliora developers
"""Writes COUNT mutated copies of the seed files into OUT_DIR.

  fuzz_mutate.py SEED_DIR OUT_DIR COUNT RANDOM_SEED

Byte-level damage that real disks and hostile senders produce: flipped bits,
overwritten runs, cuts, repeated and inserted chunks, and header fields set to
extremes (sizes, offsets, counts). SVG seeds also get text-level mutations
that reach the parser's deeper paths (nesting, references, huge sizes).
"""
import gzip
import os
import random
import struct
import sys
import zlib

EXTREMES = [b"\x00\x00", b"\xff\xff", b"\x7f\xff", b"\x00\x00\x00\x00", b"\xff\xff\xff\xff",
            b"\x7f\xff\xff\xff", b"\x80\x00\x00\x00", b"\x00\x01\x00\x00"]
SVG_SNIPPETS = [
    b'<use xlink:href="#a"/>', b'<g id="a"><use xlink:href="#a"/></g>',
    b'<image xlink:href="self.svg" width="9" height="9"/>',
    b'<image href="/dev/zero" width="9" height="9"/>',
    b'<image href="data:image/svg+xml;base64,PHN2Zz48aW1hZ2UgaHJlZj0iIi8+PC9zdmc+"/>',
    b' width="1e9" height="1e9"', b' viewBox="0 0 0 0"', b' stroke-width="1e30"',
    b'<filter id="f"><feGaussianBlur stdDeviation="1e6"/></filter><rect filter="url(#f)"/>',
    b'<pattern id="p" width="1e-9" height="1e-9"><rect/></pattern><rect fill="url(#p)" width="1e4"/>',
    b'<!ENTITY a "&a;&a;">', b'&a;', b'<text font-size="1e9">x</text>', b"]]>", b"<![CDATA[",
]


def mutate(data, rng, svg):
    data = bytearray(data)
    for _ in range(rng.choice([1, 1, 1, 2, 3])):
        kind = rng.randrange(7 if svg else 6)
        if not data:
            data = bytearray(b"\0")
        at = rng.randrange(len(data))
        if kind == 0:  # flipped bits
            for _ in range(rng.randint(1, 16)):
                k = rng.randrange(len(data))
                data[k] ^= 1 << rng.randrange(8)
        elif kind == 1:  # a run overwritten with random bytes
            n = rng.randint(1, 64)
            data[at:at + n] = os.urandom(n) if rng.random() < 0.5 else bytes([rng.randrange(256)]) * n
        elif kind == 2:  # cut
            data = data[:at]
        elif kind == 3:  # a chunk repeated or moved
            n = rng.randint(1, 512)
            chunk = data[at:at + n]
            data[rng.randrange(len(data) + 1):0] = chunk * rng.randint(1, 8)
        elif kind == 4:  # random bytes inserted
            data[at:at] = os.urandom(rng.randint(1, 64))
        elif kind == 5:  # a header field set to an extreme
            value = rng.choice(EXTREMES)
            k = rng.randrange(min(len(data), 96))
            data[k:k + len(value)] = value
        else:  # SVG: a hostile snippet inserted where a tag ends or begins
            tags = [i for i in range(len(data)) if data[i:i + 1] == b">"]
            k = rng.choice(tags) + 1 if tags else 0
            data[k:k] = rng.choice(SVG_SNIPPETS)
    return bytes(data)


def with_png_crcs(data):
    """Recomputes chunk CRCs, so the damage reaches past libpng's CRC check."""
    out, at = bytearray(data[:8]), 8
    while at + 12 <= len(data):
        length = struct.unpack(">I", data[at:at + 4])[0]
        if at + 12 + length > len(data):
            break
        body = data[at + 4:at + 8 + length]
        out += data[at:at + 4] + body + struct.pack(">I", zlib.crc32(body))
        at += 12 + length
    return bytes(out + data[at:])


def main():
    seed_dir, out_dir, count, seed = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    rng = random.Random(seed)
    seeds = sorted(os.listdir(seed_dir))
    os.makedirs(out_dir, exist_ok=True)
    for n in range(count):
        name = seeds[n % len(seeds)]
        stem, ext = os.path.splitext(name)
        with open(os.path.join(seed_dir, name), "rb") as f:
            data = f.read()
        if ext == ".svgz" and rng.random() < 0.7:  # the document inside, then packed
            mutated = gzip.compress(mutate(gzip.decompress(data), rng, True))
        else:
            mutated = mutate(data, rng, ext == ".svg")
            if ext == ".png" and rng.random() < 0.7:
                mutated = with_png_crcs(mutated)
        with open(os.path.join(out_dir, "%05d_%s%s" % (n, stem, ext)), "wb") as f:
            f.write(mutated)


if __name__ == "__main__":
    main()
