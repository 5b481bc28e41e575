#!/usr/bin/env python3
"""Times kdat-extract's extract-all against the lower bound, unzip and bsdtar.

Each round runs every tool once, in an order that turns from round to round,
each into a fresh folder: kdat-extract in a pseudo-terminal (Space, then
Escape, its output drained as it comes), kdat-lower-bound on the same DAT
archive, `unzip -q -o` and `bsdtar -xf` on the zip of the same files. Every
output tree is checked against the corpus's manifest. The summary gives each
tool's median and min-max time, its peak memory (ru_maxrss), and its time
relative to kdat-extract's in the same rounds (the median of the per-round
ratios). kdat-extract's time runs from its start until it waits for the key
after extract-all, so the Escape key's own wait for a following escape
sequence is not counted; the time to its exit is shown beside it.

    bench/make_corpus.py /work/bench-data
    bench/run.py --data /work/bench-data --build build-release
"""

import argparse
import hashlib
import json
import os
import pty
import select
import shutil
import statistics
import subprocess
import sys
import termios
import time

TOOLS = ["kdat-extract", "lower-bound", "unzip", "bsdtar"]
MiB = 1 << 20
# Every tool starts through GNU time, which reports the peak memory of the
# tool alone. The runner's own ru_maxrss for a child would not do: a child
# forked from this Python process carries the runner's size into its figure.
PEAK_FILE = f"/tmp/kdat-bench-peak-{os.getpid()}"
MEASURED = ["/usr/bin/time", "-f", "%M", "-o", PEAK_FILE]


class Run:
    def __init__(self, seconds, peak_kib, note=""):
        self.seconds = seconds
        self.peak_mib = peak_kib / 1024
        self.note = note


def wait_for(pid):
    """Reaps the child and returns its peak memory in KiB, as GNU time measured it."""
    _, status, _ = os.wait4(pid, 0)
    if not (os.WIFEXITED(status) and os.WEXITSTATUS(status) == 0):
        raise RuntimeError(f"process {pid} ended with status {status:#x}")
    with open(PEAK_FILE) as peak:
        return int(peak.read().split()[-1])


def waiting_for_key(master):
    """True while the program reads a key: its terminal is out of line mode."""
    return not termios.tcgetattr(master)[3] & termios.ICANON


def run_extractor(binary, archive_name, folder, files):
    start = time.perf_counter()
    pid, master = pty.fork()
    if pid == 0:
        try:
            os.chdir(folder)
            os.execve(MEASURED[0], MEASURED + [binary, archive_name],
                      {"TERM": "xterm", "LANG": "C", "PATH": "/usr/bin:/bin"})
        finally:
            os._exit(127)
    output = bytearray()
    writing_lines = 0
    carry = b""
    sent_space = False
    done = None

    def drain(timeout):
        nonlocal carry, writing_lines
        ready, _, _ = select.select([master], [], [], timeout)
        if not ready:
            return True
        try:
            chunk = os.read(master, 1 << 16)
        except OSError:  # the program ended: the terminal is gone
            return False
        if not chunk:
            return False
        output.extend(chunk)
        joined = carry + chunk
        writing_lines += joined.count(b"Writing ")
        carry = joined[-7:]
        return True

    while True:
        if not drain(0.001):
            raise RuntimeError("kdat-extract ended early:\n" + output[-2000:].decode(errors="replace"))
        if not sent_space and waiting_for_key(master):
            os.write(master, b" ")
            sent_space = True
        elif sent_space and writing_lines >= files and waiting_for_key(master):
            done = time.perf_counter()
            break
    os.write(master, b"\x1b")
    while drain(1.0):
        pass
    peak = wait_for(pid)
    ended = time.perf_counter()
    os.close(master)
    if b"ERROR" in output:
        raise RuntimeError("kdat-extract failed:\n" + output[-2000:].decode(errors="replace"))
    return Run(done - start, peak, f"exit {ended - start:.3f}")


def run_command(command):
    start = time.perf_counter()
    child = subprocess.Popen(MEASURED + command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    peak = wait_for(child.pid)
    child.returncode = 0  # reaped above
    return Run(time.perf_counter() - start, peak)


def load_manifest(corpus_folder):
    manifest = {}
    with open(os.path.join(corpus_folder, "manifest.tsv")) as lines:
        for line in lines:
            path, size, digest = line.rstrip("\n").split("\t")
            manifest[path] = (int(size), digest)
    return manifest


def verify(folder, manifest, ignored):
    found = {}
    for parent, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(parent, name)
            relative = os.path.relpath(path, folder)
            if relative not in ignored:
                found[relative] = path
    missing = manifest.keys() - found.keys()
    extra = found.keys() - manifest.keys()
    if missing or extra:
        raise RuntimeError(f"{folder}: {len(missing)} files missing, {len(extra)} unexpected")
    for relative, (size, digest) in manifest.items():
        with open(found[relative], "rb") as data:
            content = data.read()
        if len(content) != size or hashlib.sha256(content).hexdigest() != digest:
            raise RuntimeError(f"{folder}: {relative} differs from the manifest")


def run_tool(tool, args, corpus, folder):
    name = corpus["name"]
    source = os.path.join(args.data, name)
    dat = os.path.join(source, name + ".dat")
    if tool == "kdat-extract":
        os.link(dat, os.path.join(folder, name + ".dat"))  # the tool writes beside its archive
        return run_extractor(os.path.join(args.build, "kdat-extract"), name + ".dat", folder, corpus["files"])
    if tool == "lower-bound":
        return run_command([os.path.join(args.build, "kdat-lower-bound"), dat, folder])
    archive = os.path.join(source, name + ".zip")
    if tool == "unzip":
        return run_command(["unzip", "-q", "-o", archive, "-d", folder])
    return run_command(["bsdtar", "-xf", archive, "-C", folder])


def one_run(tool, args, corpus, manifest, label):
    folder = os.path.join(args.work, f"{corpus['name']}-{label}-{tool}")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    os.sync()  # the previous run's writes must not be flushed during this one
    run = run_tool(tool, args, corpus, folder)
    verify(folder, manifest, {corpus["name"] + ".dat"})
    shutil.rmtree(folder)
    return run


def inflater_of(build):
    try:
        with open(os.path.join(build, "CMakeCache.txt")) as cache:
            for line in cache:
                if line.startswith("KDAT_LIBDEFLATE:") and line.strip().split("=")[-1].upper() in ("ON", "1", "TRUE"):
                    return "libdeflate"
    except OSError:
        pass
    return "zlib uncompress"


def warm_cache(paths):
    for path in paths:
        with open(path, "rb") as data:
            while data.read(1 << 24):
                pass


def bench_corpus(args, name):
    source = os.path.join(args.data, name)
    with open(os.path.join(source, "corpus.json")) as summary:
        corpus = json.load(summary)
    manifest = load_manifest(source)
    warm_cache([os.path.join(source, name + ext) for ext in (".dat", ".zip")])
    print(f"== corpus {name}: {corpus['files']} files in {corpus['folders']} folders, "
          f"{corpus['extracted_bytes'] / MiB:.1f} MiB extracted; DAT {corpus['dat_bytes'] / MiB:.1f} MiB, "
          f"zip {corpus['zip_bytes'] / MiB:.1f} MiB")
    print(f"   build {args.build} (inflater: {inflater_of(args.build)}), {args.rounds} rounds after "
          f"{args.warmup} warm-up round(s), load average {os.getloadavg()[0]:.2f}")
    for n in range(args.warmup):
        for tool in args.tools:
            one_run(tool, args, corpus, manifest, f"warmup{n}")
    runs = {tool: [] for tool in args.tools}
    for n in range(args.rounds):
        order = args.tools[n % len(args.tools):] + args.tools[:n % len(args.tools)]
        for tool in order:
            runs[tool].append(one_run(tool, args, corpus, manifest, f"round{n}"))
        print(f"   round {n + 1}: " + "  ".join(f"{tool} {runs[tool][-1].seconds:.3f}s" for tool in args.tools)
              + (f"  ({runs['kdat-extract'][-1].note})" if "kdat-extract" in runs else ""), flush=True)
    report(args, corpus, runs)


def report(args, corpus, runs):
    print(f"   {'tool':<14}{'median s':>10}{'min-max s':>18}{'peak MiB':>10}{'x kdat-extract':>16}")
    reference = runs.get("kdat-extract")
    for tool, tool_runs in runs.items():
        times = [r.seconds for r in tool_runs]
        ratio = "" if not reference else \
            f"{statistics.median(r.seconds / k.seconds for r, k in zip(tool_runs, reference)):.3f}"
        print(f"   {tool:<14}{statistics.median(times):>10.3f}{min(times):>9.3f}-{max(times):<8.3f}"
              f"{max(r.peak_mib for r in tool_runs):>10.1f}{ratio:>16}")
    if not reference:
        return
    def per_round(numerators, denominators):
        return statistics.median(a.seconds / b.seconds for a, b in zip(numerators, denominators))
    targets = []
    if "lower-bound" in runs:
        targets.append(f"kdat-extract / lower-bound {per_round(reference, runs['lower-bound']):.3f}")
    for tool in ("unzip", "bsdtar"):
        if tool in runs:
            targets.append(f"{tool} / kdat-extract {per_round(runs[tool], reference):.3f}")
    print("   ratios (medians of the rounds): " + "; ".join(targets))
    bound = (corpus["directory_bytes"] + corpus["largest_entry_packed_plus_size"]) / MiB + 16
    peak = max(r.peak_mib for r in reference)
    print(f"   memory: kdat-extract peak {peak:.1f} MiB; bound directory {corpus['directory_bytes'] / MiB:.1f} + "
          f"largest packedSize+size {corpus['largest_entry_packed_plus_size'] / MiB:.1f} + 16 = {bound:.1f} MiB: "
          f"{'met' if peak <= bound else 'NOT met'}")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--data", required=True, help="the folder bench/make_corpus.py wrote")
    parser.add_argument("--build", required=True, help="a build folder holding kdat-extract and kdat-lower-bound")
    parser.add_argument("--corpus", nargs="+", default=["large", "many-small"])
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--warmup", type=int, default=1)
    parser.add_argument("--tools", nargs="+", default=TOOLS, choices=TOOLS)
    parser.add_argument("--work", help="where the outputs go (default: DATA/runs)")
    args = parser.parse_args()
    args.data = os.path.abspath(args.data)
    args.build = os.path.abspath(args.build)
    args.work = os.path.abspath(args.work or os.path.join(args.data, "runs"))
    os.makedirs(args.work, exist_ok=True)
    print("$ " + " ".join([os.path.basename(sys.argv[0])] + sys.argv[1:]))
    try:
        for name in args.corpus:
            bench_corpus(args, name)
    finally:
        if os.path.exists(PEAK_FILE):
            os.remove(PEAK_FILE)


if __name__ == "__main__":
    main()
