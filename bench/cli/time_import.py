#!/usr/bin/env python3
"""Times "varnel import" against the Python peer script on the same table,
each into a fresh mapping file, best of REPEATS runs, in one run of this
script; prints both times (wall clock, and processor time, which a busy
machine disturbs less), the speed ratios, varnel's peak memory as a
multiple of the table's size, and checks that both wrote the same bytes.

    time_import.py VARNEL TABLE [REPEATS]    (REPEATS: 5)
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
    varnel, table = sys.argv[1], sys.argv[2]
    # Five each: on a shared machine a run now and then is slowed by others.
    repeats = int(sys.argv[3]) if len(sys.argv) > 3 else 5
    size = os.path.getsize(table)
    with tempfile.TemporaryDirectory() as folder:
        ours = os.path.join(folder, "varnel.mapping")
        theirs = os.path.join(folder, "peer.mapping")
        t_ours, c_ours, m_ours = best([varnel, "-q", "import", "-m", ours, table], ours, repeats)
        t_peer, c_peer, m_peer = best([sys.executable, os.path.join(HERE, "import_peer.py"), "-m", theirs, table],
                                      theirs, repeats)
        with open(ours, "rb") as a, open(theirs, "rb") as b:
            same = a.read() == b.read()
    print(f"table: {table} ({size / 1e6:.1f} MB)")
    print(f"varnel import:    {t_ours * 1000:6.0f} ms wall {c_ours * 1000:6.0f} ms processor  peak {m_ours / 1e6:6.1f} MB")
    print(f"python csv peer:  {t_peer * 1000:6.0f} ms wall {c_peer * 1000:6.0f} ms processor  peak {m_peer / 1e6:6.1f} MB")
    print(f"speed ratio (peer / varnel): {t_peer / t_ours:.1f}x wall, {c_peer / c_ours:.1f}x processor time")
    print(f"varnel peak memory / table size: {m_ours / size:.2f}x")
    print("same bytes written: " + ("yes" if same else "NO"))
    return 0 if same else 1


if __name__ == "__main__":
    sys.exit(main())
