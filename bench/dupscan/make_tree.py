#!/usr/bin/env python3
"""Generates the benchmark tree for dupscan: about 400,000 small files in nested folders.

Most files share their size with others (sizes are drawn from a narrow range) but have
their own random content; a few thousand duplicate sets are copies of random files placed
in other folders; a few files are large enough for partial digests; a few are empty.

Usage: make_tree.py TARGET [--files N] [--sets N] [--seed N]
"""
import argparse
import os
import random


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("target")
    parser.add_argument("--files", type=int, default=400000)
    parser.add_argument("--sets", type=int, default=3000)
    parser.add_argument("--seed", type=int, default=6)
    args = parser.parse_args()
    rng = random.Random(args.seed)

    folders = []
    for a in range(20):
        for b in range(20):
            for c in range(10):
                folders.append(os.path.join(args.target, f"d{a:02}", f"e{b:02}", f"f{c}"))
    for folder in folders:
        os.makedirs(folder, exist_ok=True)

    per_folder = max(1, args.files // len(folders))
    written = []
    count = 0
    for folder in folders:
        for i in range(per_folder):
            roll = rng.random()
            if roll < 0.0005:
                size = 0
            elif roll < 0.01:
                size = rng.randint(30000, 200000)
            else:
                size = rng.randint(1, 8192)
            ext = rng.choice(("txt", "jpg", "dat", "mp3", "pdf", "bin"))
            path = os.path.join(folder, f"file{i:03}.{ext}")
            with open(path, "wb") as out:
                out.write(rng.randbytes(size))
            written.append((path, ext))
            count += 1

    for s in range(args.sets):
        source, ext = written[rng.randrange(len(written))]
        with open(source, "rb") as src:
            data = src.read()
        for k in range(rng.randint(1, 3)):
            folder = folders[rng.randrange(len(folders))]
            path = os.path.join(folder, f"copy{s:05}_{k}.{ext}")
            with open(path, "wb") as out:
                out.write(data)
            count += 1
    print(f"{count} files in {len(folders)} folders under {args.target}")


if __name__ == "__main__":
    main()
