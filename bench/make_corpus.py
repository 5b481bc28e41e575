#!/usr/bin/env python3
"""Writes the benchmark corpora: the same files as a DAT archive and as a zip.

Each corpus goes into OUT/<name>/ as <name>.dat, <name>.zip (the same files,
compressed ones deflated at zlib level 6 in both, already-compressed ones
stored in both), manifest.tsv (path, size, sha256 of every file) and
corpus.json (the numbers the runner needs). Everything is drawn from a seeded
generator, so the same command writes the same bytes.

    bench/make_corpus.py /work/bench-data                 # both corpora, full size
    bench/make_corpus.py /tmp/small --scale 0.01          # a quick small pair
    bench/make_corpus.py /work/bench-data --corpus large  # one of them
"""

import argparse
import hashlib
import json
import os
import random
import struct
import zipfile
import zlib

LEVEL = 6
HEADER_BYTES = 16
RECORD_BYTES = 144
NAME_FIELD = 128
FIXED_TIME = (2001, 6, 30, 12, 0, 0)

FOLDER_WORDS = ["data", "maps", "sounds", "music", "models", "textures", "scripts", "ui", "fonts",
                "levels", "props", "npc", "items", "fx", "bin", "lib", "config", "locale", "video",
                "shaders", "anim", "terrain", "water", "sky", "weapons", "armor", "quests", "dialog"]
WORDS = ["the", "of", "and", "to", "in", "is", "for", "on", "with", "as", "value", "name", "id",
         "count", "level", "player", "enemy", "door", "key", "chest", "gold", "spell", "health",
         "mana", "quest", "return", "if", "else", "end", "local", "function", "true", "false",
         "nil", "then", "for", "while", "do", "x", "y", "z", "width", "height", "color", "alpha",
         "texture", "sound", "volume", "loop", "speed", "damage", "armor", "north", "south", "east",
         "west", "village", "castle", "forest", "river", "Korvelin", "guard", "merchant", "price"]


class Generator:
    """The deterministic sources of every file's bytes."""

    def __init__(self, seed):
        self.rng = random.Random(seed)
        # One pool of random bytes, sliced for already-compressed files: far
        # faster than drawing each file afresh, and just as incompressible.
        self.noise = b"".join(self.rng.randbytes(1 << 20) for _ in range(64))
        self.lines = [self._line() for _ in range(6000)]
        snippets = [self.rng.randbytes(self.rng.randint(1, 7)) for _ in range(3000)]
        weights = [1.0 / (rank + 1) for rank in range(len(snippets))]
        # Machine code: short instruction-like snippets, a few of them common.
        self.code_blocks = [self._code_block(snippets, weights) for _ in range(512)]

    def _line(self):
        words = self.rng.choices(WORDS, k=self.rng.randint(2, 14))
        indent = "    " * self.rng.randint(0, 3)
        number = str(self.rng.randint(0, 99999)) if self.rng.random() < 0.4 else ""
        return (indent + " ".join(words) + " " + number).rstrip() + "\n"

    def _code_block(self, snippets, weights):
        block = bytearray()
        while len(block) < 4096:
            block += b"".join(self.rng.choices(snippets, weights, k=64))
        return bytes(block[:4096])

    def text(self, size):
        parts, length = [], 0
        while length < size:
            chunk = "".join(self.rng.choices(self.lines, k=256)).encode()
            parts.append(chunk)
            length += len(chunk)
        return b"".join(parts)[:size]

    def noise_bytes(self, size):
        start = self.rng.randrange(0, len(self.noise) - size + 1)
        return self.noise[start:start + size]

    def binary(self, size):
        """Executable-like: a header, code, a string table, zero padding."""
        header = b"MZ" + bytes(62) + b"PE\0\0" + self.noise_bytes(184)
        strings_size = size // 8
        padding = size // 16
        code_size = max(0, size - len(header) - strings_size - padding)
        code = b"".join(self.rng.choices(self.code_blocks, k=code_size // 4096 + 1))[:code_size]
        return (header + code + self.text(strings_size) + bytes(padding))[:size]


# Kinds of file: extension, share of the files, size range (log-uniform),
# whether the content is already compressed (then it is stored, not deflated).
LARGE_KINDS = [
    ("txt", 0.20, (1 << 10, 128 << 10), False),
    ("lua", 0.16, (1 << 10, 64 << 10), False),
    ("xml", 0.12, (2 << 10, 256 << 10), False),
    ("cfg", 0.15, (256, 8 << 10), False),
    ("exe", 0.008, (256 << 10, 8 << 20), False),
    ("dll", 0.06, (16 << 10, 1 << 20), False),
    ("dat", 0.06, (4 << 10, 256 << 10), False),
    ("png", 0.12, (4 << 10, 64 << 10), True),
    ("ogg", 0.08, (16 << 10, 128 << 10), True),
    ("bik", 0.0005, (2 << 20, 24 << 20), True),
]
SMALL_KINDS = [
    ("txt", 0.35, (1 << 10, 8 << 10), False),
    ("lua", 0.30, (1 << 10, 8 << 10), False),
    ("cfg", 0.15, (1 << 10, 8 << 10), False),
    ("bin", 0.20, (1 << 10, 8 << 10), False),
]
CORPORA = {
    # name: (files, target extracted bytes or None, kinds, folders)
    "large": (20000, 1 << 30, LARGE_KINDS, 700),
    "many-small": (100000, None, SMALL_KINDS, 2000),
}


SEED_OFFSETS = {"large": 0, "many-small": 100}


def make_folders(rng, count):
    """Folder paths 1 to 4 deep, each deeper one below an existing one."""
    folders = []
    while len(folders) < count:
        depth = rng.choice([1, 2, 2, 3, 3, 3, 4, 4])
        parents = [f for f in folders if f.count("\\") == depth - 2] if depth > 1 else [""]
        if not parents:
            continue
        name = rng.choice(FOLDER_WORDS) + (str(rng.randint(0, 99)) if rng.random() < 0.7 else "")
        parent = rng.choice(parents)
        folder = parent + "\\" + name if parent else name
        if folder not in folders:
            folders.append(folder)
    return folders


def plan_files(rng, files, target_bytes, kinds, folder_count):
    """The list of (name, kind, size), sorted by name as archivers write them."""
    folders = make_folders(rng, folder_count)
    shares = [k[1] for k in kinds]
    plan = []
    used = set()
    for n in range(files):
        kind = rng.choices(kinds, shares)[0]
        low, high = kind[2]
        size = int(low * (high / low) ** rng.random())
        folder = rng.choice(folders)
        name = f"{folder}\\{rng.choice(WORDS)}{n:06d}.{kind[0]}"
        assert len(name) < NAME_FIELD and name not in used
        used.add(name)
        plan.append([name, kind, size])
    if target_bytes:
        scale = target_bytes / sum(p[2] for p in plan)
        for p in plan:
            p[2] = max(1, int(p[2] * scale))
    plan.sort(key=lambda p: p[0])
    return plan


def zip_info(path, compressed):
    info = zipfile.ZipInfo(path, FIXED_TIME)
    info.external_attr = 0o644 << 16
    info.compress_type = zipfile.ZIP_DEFLATED if compressed else zipfile.ZIP_STORED
    return info


def write_corpus(out_dir, name, seed, scale):
    files, target, kinds, folders = CORPORA[name]
    files = max(10, int(files * scale))
    target = int(target * scale) if target else None
    folders = max(3, int(folders * scale))
    rng = random.Random(seed)
    gen = Generator(seed + 1)
    plan = plan_files(rng, files, target, kinds, folders)

    folder = os.path.join(out_dir, name)
    os.makedirs(folder, exist_ok=True)
    records = []
    manifest = []
    largest_need = 0
    total = 0
    with open(os.path.join(folder, name + ".dat"), "wb") as dat, \
            zipfile.ZipFile(os.path.join(folder, name + ".zip"), "w", allowZip64=True) as zf:
        dat.write(bytes(HEADER_BYTES))
        for entry_name, kind, size in plan:
            ext, _, _, already_compressed = kind
            if already_compressed:
                data = gen.noise_bytes(size)
            elif ext in ("exe", "dll", "bin", "dat"):
                data = gen.binary(size)
            else:
                data = gen.text(size)
            deflate = not already_compressed
            payload = zlib.compress(data, LEVEL) if deflate else data
            offset = dat.tell()
            dat.write(payload)
            packed = len(payload) if deflate else 0
            records.append(struct.pack("<128sIIII", entry_name.encode(), offset, len(data), packed, 0))
            path = entry_name.replace("\\", "/")
            zf.writestr(zip_info(path, deflate), data, compress_type=zip_info(path, deflate).compress_type,
                        compresslevel=LEVEL)
            manifest.append(f"{path}\t{len(data)}\t{hashlib.sha256(data).hexdigest()}\n")
            largest_need = max(largest_need, packed + len(data))
            total += len(data)
        directory_offset = dat.tell()
        dat.write(b"".join(records))
        dat.seek(0)
        dat.write(b"KDAT" + struct.pack("<II", directory_offset, len(records) * RECORD_BYTES) + bytes(4))
    with open(os.path.join(folder, "manifest.tsv"), "w") as out:
        out.writelines(manifest)
    summary = {
        "name": name,
        "files": len(plan),
        "folders": len({p[0].rsplit("\\", 1)[0] for p in plan}),
        "extracted_bytes": total,
        "directory_bytes": len(records) * RECORD_BYTES,
        "largest_entry_packed_plus_size": largest_need,
        "dat_bytes": os.path.getsize(os.path.join(folder, name + ".dat")),
        "zip_bytes": os.path.getsize(os.path.join(folder, name + ".zip")),
        "seed": seed,
        "scale": scale,
    }
    with open(os.path.join(folder, "corpus.json"), "w") as out:
        json.dump(summary, out, indent=2)
    print(json.dumps(summary))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out", help="scratch folder outside the repository")
    parser.add_argument("--corpus", choices=["large", "many-small", "all"], default="all")
    parser.add_argument("--scale", type=float, default=1.0, help="fraction of the full size")
    parser.add_argument("--seed", type=int, default=2001)
    args = parser.parse_args()
    names = ["large", "many-small"] if args.corpus == "all" else [args.corpus]
    for name in names:
        write_corpus(os.path.abspath(args.out), name, args.seed + SEED_OFFSETS[name], args.scale)


if __name__ == "__main__":
    main()
