#!/usr/bin/env python3
"""Times "varnel import" against the Python peer script on the same table,
each into a fresh mapping file, best of REPEATS runs, in one run of this
script; then varnel on the same table with one key in a thousand padded
and with its rows shuffled, each against the ordered table. Prints the
times (wall clock, and processor time, which a busy machine disturbs
less), the ratios, varnel's peak memory as a multiple of each table's size,
and checks that varnel and the peer wrote the same bytes for every table.

    time_import.py VARNEL TABLE PADDED SHUFFLED [REPEATS]    (REPEATS: 5)
"""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run(command):
    """Wall time and processor time in seconds, and peak resident memory in
    bytes, of one run."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(command)}")
    return elapsed, usage.ru_utime + usage.ru_stime, usage.ru_maxrss * 1024  # ru_maxrss is in KiB on Linux


def best(command, mapping, repeats):
    runs = []
    for _ in range(repeats):
        if os.path.exists(mapping):
            os.remove(mapping)
        runs.append(run(command))
    return min(r[0] for r in runs), min(r[1] for r in runs), max(r[2] for r in runs)


def main():
    varnel, tables = sys.argv[1], {"ordered": sys.argv[2], "padded": sys.argv[3], "shuffled": sys.argv[4]}
    # Five each: on a shared machine a run now and then is slowed by others.
    repeats = int(sys.argv[5]) if len(sys.argv) > 5 else 5
    same = True
    with tempfile.TemporaryDirectory() as folder:
        ours = os.path.join(folder, "varnel.mapping")
        theirs = os.path.join(folder, "peer.mapping")
        peer = [sys.executable, os.path.join(HERE, "import_peer.py"), "-m", theirs]
        figures = {}
        for name, table in tables.items():
            figures[name] = best([varnel, "-q", "import", "-m", ours, table], ours, repeats)
            # The peer is timed on the ordered table; on the others it only
            # says what the file must hold.
            peer_figures = best(peer + [table], theirs, repeats if name == "ordered" else 1)
            if name == "ordered":
                figures["peer"] = peer_figures
            with open(ours, "rb") as a, open(theirs, "rb") as b:
                if a.read() != b.read():
                    print(f"{name}: varnel and the peer wrote DIFFERENT bytes")
                    same = False
    size = os.path.getsize(tables["ordered"])
    print(f"table: {tables['ordered']} ({size / 1e6:.1f} MB)")
    for name in ("ordered", "padded", "shuffled", "peer"):
        wall, cpu, peak = figures[name]
        label = "python csv peer (ordered)" if name == "peer" else f"varnel import, {name}"
        print(f"{label:28s} {wall * 1000:6.0f} ms wall {cpu * 1000:6.0f} ms processor  peak {peak / 1e6:6.1f} MB")
    wall, cpu, _ = figures["ordered"]
    print(f"speed ratio (peer / varnel), ordered table: {figures['peer'][0] / wall:.1f}x wall, "
          f"{figures['peer'][1] / cpu:.1f}x processor time (target: at least 12x)")
    for name in ("padded", "shuffled"):
        print(f"{name} / ordered: {figures[name][0] / wall:.2f}x wall, {figures[name][1] / cpu:.2f}x processor time "
              f"(target: at most 1.25x)")
    for name in ("ordered", "padded", "shuffled"):
        print(f"varnel peak memory / table size, {name}: {figures[name][2] / os.path.getsize(tables[name]):.2f}x "
              f"(target: at most 3x)")
    print("same bytes written: " + ("yes" if same else "NO"))
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
