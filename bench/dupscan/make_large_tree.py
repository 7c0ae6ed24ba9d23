#!/usr/bin/env python3
"""Generates the large-file tree for dupscan: 2,001 files of 4 MiB (about 8 GiB).

All files have one size and random content; 1,000 of them have one copy each in another of
ten folders, one has none. Delete the tree after measuring: it takes 8 GiB of disk.

Usage: make_large_tree.py TARGET
"""
import os
import sys


def main():
    target = sys.argv[1]
    size = 4 * 1024 * 1024
    for f in range(10):
        os.makedirs(os.path.join(target, f"g{f}"), exist_ok=True)
    count = 0
    for i in range(1001):
        data = os.urandom(size)
        names = [os.path.join(target, f"g{i % 10}", f"file{i:04}.bin")]
        if i < 1000:
            names.append(os.path.join(target, f"g{(i + 5) % 10}", f"copy{i:04}.bin"))
        for name in names:
            with open(name, "wb") as out:
                out.write(data)
            count += 1
    print(count, "files")


if __name__ == "__main__":
    main()
