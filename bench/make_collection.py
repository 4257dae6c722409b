#!/usr/bin/env python3
"""Makes a synthetic, seeded ROM collection for the copy benchmark.

Layout under <dest> (Unix names are UTF-8; under Wine with code page 936 the program sees them as
GBK bytes):

  roms/<name>.zip          N ROM files (a few bytes each: only their names matter)
  media/<type>/<name>.ext  one companion per ROM and type, about 10% of them left out
  copy.bat                 the per-type `for` loop a user would write instead (GBK, CRLF)
  sources-<i>.lst          per type, the companion source paths in ROM name order, NUL-separated,
                           for the native `cp -n` comparison
  collection.txt           what was made (counts, bytes, parameters, the type folders)

The same seed and N always give the same names, sizes and contents.
"""

import argparse
import os
import random
import shutil
import sys

# Four types; the Chinese ones exercise GBK paths in the type folder and output names.
TYPES = [("snap", ".png"), ("标题画面", ".png"), ("封面", ".jpg"), ("说明书", ".pdf")]

# Pieces of the Chinese ROM names. 淺, 禱, 覧 and 縗 have 0x5C ("\") as their GBK trail byte.
CHINESE_WORDS = ["三国志", "吞食天地", "淺水", "祈禱", "覧", "縗", "恶魔城", "魂斗罗", "快打旋风",
                 "街头霸王", "合金弹头", "拳皇", "侍魂", "双截龙", "赤色要塞", "绿色兵团"]
LATIN_WORDS = ["Super", "Mega", "Dragon", "Street", "Fighter", "Metal", "Slug", "Castle", "Quest",
               "Racing", "Star", "Force", "Ninja", "Turbo", "Legend", "Wars", "Final", "Zero"]
REGIONS = ["(J)", "(U)", "(E)", "(W)", "(Ch)"]


def rom_names(rng, count):
    names = []
    for i in range(count):
        if rng.random() < 0.25:
            words = rng.sample(CHINESE_WORDS, rng.randint(1, 2))
            name = "".join(words) + f" 第{i:05d}版"
        else:
            words = rng.sample(LATIN_WORDS, rng.randint(1, 3))
            name = " ".join(words) + f" {i:05d}"
        names.append(f"{name} {rng.choice(REGIONS)}")
    return names


def companion_size(rng, scale):
    """Mostly 20-300 KB (log-uniform), 1% of 2-6 MB; every size multiplied by `scale`."""
    if rng.random() < 0.01:
        size = rng.uniform(2e6, 6e6)
    else:
        size = 20e3 * (15.0 ** rng.random())  # 20 KB .. 300 KB, log-uniform
    return max(1, int(size * scale))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("dest")
    parser.add_argument("--roms", type=int, required=True)
    parser.add_argument("--seed", type=int, default=2021)
    parser.add_argument("--scale", type=float, default=0.2)
    parser.add_argument("--missing", type=float, default=0.10)
    args = parser.parse_args()

    stamp = f"roms={args.roms} seed={args.seed} scale={args.scale} missing={args.missing}"
    info_path = os.path.join(args.dest, "collection.txt")
    if os.path.exists(info_path):
        with open(info_path, encoding="utf-8") as f:
            if f.readline().strip() == stamp:
                print(f"{args.dest}: already made ({stamp})")
                return
    if os.path.exists(args.dest):
        shutil.rmtree(args.dest)  # made with other parameters, or left half-made

    rng = random.Random(args.seed)
    pool = rng.randbytes(8 << 20)  # contents are slices of this pool: seeded, cheap to produce
    names = rom_names(rng, args.roms)

    os.makedirs(os.path.join(args.dest, "roms"))
    for name in names:
        with open(os.path.join(args.dest, "roms", name + ".zip"), "wb") as f:
            f.write(b"PK\x05\x06" + bytes(18))

    present = 0
    total = 0
    sizes = []
    for index, (type_name, ext) in enumerate(TYPES):
        folder = os.path.join(args.dest, "media", type_name)
        os.makedirs(folder)
        sources = []
        for name in names:
            size = companion_size(rng, args.scale)
            missing = rng.random() < args.missing
            path = os.path.join("media", type_name, name + ext)
            sources.append(path)
            if missing:
                continue
            offset = rng.randrange(0, len(pool) - size) if size < len(pool) else 0
            with open(os.path.join(args.dest, path), "wb") as f:
                f.write(pool[offset:offset + size])
            present += 1
            total += size
            sizes.append(size)
        with open(os.path.join(args.dest, f"sources-{index}.lst"), "wb") as f:
            f.write(b"".join(s.encode("utf-8") + b"\0" for s in sources))

    # What a user would write instead: one `for` loop per type, never overwriting.
    # %1 is the collection's Windows path (no spaces: Wine's cmd finds nothing when the `for`
    # pattern is quoted), %2 the output folder.
    lines = ["@echo off"]
    for type_name, ext in TYPES:
        out = f'%~2\\QUELBRINOUTPUT\\{type_name}'
        lines.append(f'md "{out}" 2>nul')
        lines.append(f'for %%f in (%~1\\roms\\*.zip) do if not exist "{out}\\%%~nf{ext}" '
                     f'copy "%~1\\media\\{type_name}\\%%~nf{ext}" "{out}\\%%~nf{ext}" >nul 2>nul')
    with open(os.path.join(args.dest, "copy.bat"), "wb") as f:
        f.write("\r\n".join(lines + [""]).encode("gbk"))

    sizes.sort()
    with open(info_path, "w", encoding="utf-8") as f:
        f.write(stamp + "\n")
        f.write(f"roms {args.roms}\ntypes {len(TYPES)}\npairs {args.roms * len(TYPES)}\n")
        f.write(f"companions {present}\nbytes {total}\n")
        f.write(f"size_median {sizes[len(sizes) // 2]}\nsize_p99 {sizes[len(sizes) * 99 // 100]}\n")
        f.write(f"size_min {sizes[0]}\nsize_max {sizes[-1]}\n")
        for index, (type_name, _) in enumerate(TYPES):
            f.write(f"type {index} {type_name}\n")
    print(f"{args.dest}: {args.roms} ROMs, {present} companions, {total / 1e9:.2f} GB")


if __name__ == "__main__":
    sys.exit(main())
