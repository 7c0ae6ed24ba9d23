#!/usr/bin/env python3
"""Generates benchmark trees for dupscan.

Profiles:
  many  about 400,000 small files in 4,000 evenly filled folders. Most files share their
        size with others (sizes are drawn from a narrow range) but have their own random
        content; a few thousand duplicate sets are copies of random files placed in other
        folders; a few files are large enough for partial digests; a few are empty.
  small the same shape with 40,000 files and 300 duplicate sets.
  big   2,001 files of 4 MiB (about 8 GiB): 1,000 of them have one copy each in another
        of ten folders. Delete the tree after measuring.
  home  a tree shaped like a home folder: 400,000 files and about 2 GiB in 16,000 folders
        up to 8 deep, a few folders holding thousands of files and most a handful; sizes
        log-normal around 2.5 KB (40% under 2 KiB); 6% of the files have copies (groups
        of 2 to 4); a dozen identical folders and a few sets of similar folders; names of
        the usual kinds (IMG_0001.jpg, "Screenshot 2021-03-04 at 10.11.png",
        "report-final (2).pdf").

Usage: make_tree.py TARGET [--profile many|small|big|home] [--files N] [--sets N] [--seed N]
"""
import argparse
import math
import os
import random


def write_file(path, data):
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
    try:
        os.write(fd, data)
    finally:
        os.close(fd)


def make_many(target, files, sets, rng):
    folders = []
    for a in range(20):
        for b in range(20):
            for c in range(10):
                folders.append(os.path.join(target, f"d{a:02}", f"e{b:02}", f"f{c}"))
    for folder in folders:
        os.makedirs(folder, exist_ok=True)

    per_folder = max(1, files // len(folders))
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
            write_file(path, rng.randbytes(size))
            written.append((path, ext))
            count += 1

    for s in range(sets):
        source, ext = written[rng.randrange(len(written))]
        with open(source, "rb") as src:
            data = src.read()
        for k in range(rng.randint(1, 3)):
            folder = folders[rng.randrange(len(folders))]
            write_file(os.path.join(folder, f"copy{s:05}_{k}.{ext}"), data)
            count += 1
    return count, len(folders)


def make_big(target):
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
            write_file(name, data)
            count += 1
    return count, 10


# --- the home profile -------------------------------------------------------------------

FOLDER_WORDS = (
    "Documents", "Pictures", "Music", "Downloads", "Projects", "Photos", "Work", "Archive",
    "src", "assets", "build", "notes", "invoices", "2019", "2020", "2021", "2022", "2023",
    "Holiday", "Family", "Camera Roll", "Screenshots", "backup", "old", "misc", "drafts",
    "reports", "lib", "include", "docs", "images", "Albums", "Scans", "tmp", "export",
)
EXTENSIONS = (
    ("jpg", 20), ("png", 10), ("txt", 8), ("pdf", 8), ("py", 5), ("c", 4), ("h", 4),
    ("html", 3), ("json", 5), ("mp3", 4), ("docx", 4), ("xlsx", 2), ("csv", 3), ("log", 3),
    ("zip", 2), ("md", 5), ("xml", 3), ("svg", 3), ("js", 4),
)


def home_name(rng, index, ext):
    kind = rng.random()
    if ext in ("jpg", "png") and kind < 0.5:
        return f"IMG_{index % 10000:04}.{ext}"
    if ext == "png" and kind < 0.8:
        return (f"Screenshot {rng.randint(2018, 2024)}-{rng.randint(1, 12):02}-"
                f"{rng.randint(1, 28):02} at {rng.randint(0, 23)}.{rng.randint(0, 59):02}"
                f".{index % 100:02}.png")
    stem = rng.choice(("report", "notes", "invoice", "letter", "data", "main", "index",
                       "photo", "track", "summary", "draft", "utils", "config", "readme"))
    tail = rng.random()
    if tail < 0.2:
        stem += "-final"
    elif tail < 0.3:
        stem += f" ({rng.randint(1, 4)})"
    return f"{stem}_{index}.{ext}"


def copy_name(name, k):
    stem, dot, ext = name.rpartition(".")
    if not dot:
        return f"{name} ({k + 1})"
    return f"{stem} copy {k}.{ext}" if k % 2 else f"{stem} ({k + 1}).{ext}"


def make_home(target, files, rng):
    # Folders: a random tree up to 8 deep; each new folder hangs below an earlier one.
    folder_count = 16000
    folders = [target]
    depth = [0]
    used = [set()]
    os.makedirs(target, exist_ok=True)
    while len(folders) < folder_count:
        parent = rng.randrange(len(folders))
        if depth[parent] >= 8:
            continue
        base = rng.choice(FOLDER_WORDS)
        name = base
        n = 2
        while name in used[parent]:
            name = f"{base} {n}"
            n += 1
        used[parent].add(name)
        path = os.path.join(folders[parent], name)
        os.mkdir(path)
        folders.append(path)
        depth.append(depth[parent] + 1)
        used.append(set())

    # Skewed occupancy: a Pareto weight per folder, so a few hold thousands of files.
    weights = [rng.paretovariate(0.9) for _ in folders]
    cumulative = []
    total = 0.0
    for w in weights:
        total += w
        cumulative.append(total)
    ext_names = [e for e, _ in EXTENSIONS]
    ext_weights = [w for _, w in EXTENSIONS]

    # The contents come from one random pool; each file starts with its own number so no
    # two originals are equal.
    pool = os.urandom(64 << 20)
    pool_size = len(pool)
    mu = math.log(2500)
    sigma = 1.24

    # Groups of 2 to 4 (1 to 3 copies of an original, 3 files a group on average) holding
    # 6% of the files.
    group_count = int(files * 0.06) // 3
    copies_wanted = 2 * group_count
    # Identical and similar folders use files of their own, counted up front.
    special = 12 * 2 * 30 + 5 * 3 * 40
    originals = files - copies_wanted - special
    written = []  # (folder index, name, size, seed)
    count = 0
    for i in range(originals):
        folder = rng.choices(range(len(folders)), cum_weights=cumulative)[0]
        ext = rng.choices(ext_names, weights=ext_weights)[0]
        size = int(rng.lognormvariate(mu, sigma))
        size = min(size, 32 << 20)
        if rng.random() < 0.002:
            size = 0
        name = home_name(rng, i, ext)
        while name in used[folder]:
            name = "_" + name
        used[folder].add(name)
        offset = rng.randrange(pool_size)
        data = content(pool, i, size, offset)
        write_file(os.path.join(folders[folder], name), data)
        written.append((folder, name, size, i, offset))
        count += 1

    # Copies: groups of 2 to 4 made from random originals, put in other folders.
    sources = rng.sample(range(len(written)), group_count)
    for source in sources:
        folder, name, size, seed, offset = written[source]
        data = content(pool, seed, size, offset)
        for k in range(rng.randint(1, 3)):
            target_folder = rng.choices(range(len(folders)), cum_weights=cumulative)[0]
            copy = name if rng.random() < 0.5 else copy_name(name, k)
            while copy in used[target_folder]:
                copy = "_" + copy
            used[target_folder].add(copy)
            write_file(os.path.join(folders[target_folder], copy), data)
            count += 1

    # A dozen identical folders: a folder of its own files copied whole next to it.
    seed = originals + 10
    for f in range(12):
        base = rng.randrange(1, len(folders))
        names = [home_name(rng, seed + n, rng.choice(ext_names)) for n in range(30)]
        sizes = [int(rng.lognormvariate(mu, sigma)) + 1 for _ in names]
        for copy in range(2):
            path = os.path.join(folders[base], f"Album {f}" + (" copy" if copy else ""))
            os.mkdir(path)
            for n, (name, size) in enumerate(zip(names, sizes)):
                write_file(os.path.join(path, name), content(pool, seed + n, size, seed + n))
                count += 1
        seed += 100

    # A few sets of similar folders: three folders sharing most of their files, each with a
    # few of its own.
    for s in range(5):
        names = [home_name(rng, seed + n, rng.choice(ext_names)) for n in range(40)]
        sizes = [int(rng.lognormvariate(mu, sigma)) + 1 for _ in names]
        for member in range(3):
            base = rng.randrange(1, len(folders))
            path = os.path.join(folders[base], f"Trip {s} ({member})")
            os.mkdir(path)
            for n, (name, size) in enumerate(zip(names, sizes)):
                if n % 3 == member:
                    # This member's own version of the file.
                    data = content(pool, seed + 1000 * (member + 1) + n, size, n)
                else:
                    data = content(pool, seed + n, size, seed + n)
                write_file(os.path.join(path, name), data)
                count += 1
        seed += 10000

    # Fill up to the asked count with more originals in the busiest folders' style.
    while count < files:
        folder = rng.choices(range(len(folders)), cum_weights=cumulative)[0]
        size = int(rng.lognormvariate(mu, sigma))
        name = home_name(rng, seed, "txt")
        while name in used[folder]:
            name = "_" + name
        used[folder].add(name)
        write_file(os.path.join(folders[folder], name),
                   content(pool, seed, size, rng.randrange(pool_size)))
        seed += 1
        count += 1
    return count, len(folders) + 12 * 2 + 15


def content(pool, seed, size, offset):
    if size == 0:
        return b""
    head = seed.to_bytes(8, "little")
    body_size = size - len(head)
    if body_size <= 0:
        return head[:size]
    offset %= len(pool)
    body = pool[offset:offset + body_size]
    while len(body) < body_size:
        body += pool[:body_size - len(body)]
    return head + body


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("target")
    parser.add_argument("--profile", choices=("many", "small", "big", "home"), default="many")
    parser.add_argument("--files", type=int)
    parser.add_argument("--sets", type=int)
    parser.add_argument("--seed", type=int, default=6)
    args = parser.parse_args()
    rng = random.Random(args.seed)

    if args.profile == "big":
        count, folders = make_big(args.target)
    elif args.profile == "home":
        count, folders = make_home(args.target, args.files or 400000, rng)
    else:
        small = args.profile == "small"
        count, folders = make_many(args.target, args.files or (40000 if small else 400000),
                                   args.sets or (300 if small else 3000), rng)
    print(f"{count} files in {folders} folders under {args.target}")


if __name__ == "__main__":
    main()
