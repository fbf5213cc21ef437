"""Measures the CPU time needlefield takes over ten seconds, per thread, and what the display
server (and under Wine the wine server) spends for it. Not a test: run it by hand against a
build whose display (and Wine prefix) is up, e.g.

  tests/service xvfb-start build/win32/xvfb
  tests/service wine-start $PWD/build/win32/wineprefix build/win32/xvfb
  SEVEN_TARGET=win32 SEVEN_RUNNER=build/win32/wine-run SEVEN_XVFB_DIR=build/win32/xvfb \\
  SEVEN_WINE_PREFIX=$PWD/build/win32/wineprefix SEVEN_EXE=build/win32/needlefield/needlefield.exe \\
  PYTHONPATH=tests python3 needlefield/tests/cpu_time.py
"""
import os
import sys
import time

import harness
import xdesktop

SECONDS = 10.0
TICK = os.sysconf("SC_CLK_TCK")


def thread_times(pid):
    """{thread id: (name, cpu seconds)} of one process."""
    times = {}
    for tid in os.listdir("/proc/%d/task" % pid):
        try:
            with open("/proc/%d/task/%s/stat" % (pid, tid)) as f:
                stat = f.read()
        except OSError:
            continue
        name = stat[stat.index("(") + 1:stat.rindex(")")]
        fields = stat[stat.rindex(")") + 2:].split()
        times[int(tid)] = (name, (int(fields[11]) + int(fields[12])) / TICK)
    return times


def process_seconds(pid):
    return sum(t for _, t in thread_times(pid).values())


def wine_server_pid():
    """The wine server of this build's prefix: its working directory names the prefix's device
    and inode."""
    prefix = os.environ.get("SEVEN_WINE_PREFIX")
    if not prefix:
        return None
    st = os.stat(prefix)
    tag = "server-%x-%x" % (st.st_dev, st.st_ino)
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                if os.readlink("/proc/%s/cwd" % entry).endswith(tag):
                    return int(entry)
            except OSError:
                pass
    return None


def main():
    program = harness.start()
    try:
        window = xdesktop.find_window("TitleQZ", timeout=60, process=program)
        pid = int(xdesktop._xdotool("getwindowpid", window).stdout)
        time.sleep(2.0)  # past start-up
        others = {"wine server": wine_server_pid()}
        try:
            with open(os.path.join(harness.XVFB_DIR, "pid")) as f:
                others["X server"] = int(f.read())
        except OSError:
            pass
        before = thread_times(pid)
        before_others = {k: process_seconds(p) for k, p in others.items() if p}
        start = time.monotonic()
        time.sleep(SECONDS)
        after = thread_times(pid)
        after_others = {k: process_seconds(p) for k, p in others.items() if p}
        wall = time.monotonic() - start
        print("needlefield (pid %d), %.1f s wall:" % (pid, wall))
        total = 0.0
        for tid in sorted(after):
            name, seconds = after[tid]
            spent = seconds - before.get(tid, (name, 0.0))[1]
            total += spent
            if spent > 0.005:
                print("  thread %-8d %-16s %6.2f s CPU (%5.1f %% of a core)"
                      % (tid, name, spent, 100 * spent / wall))
        print("  whole process           %6.2f s CPU (%5.1f %% of a core)"
              % (total, 100 * total / wall))
        for k in before_others:
            spent = after_others[k] - before_others[k]
            print("%-25s %6.2f s CPU (%5.1f %% of a core)" % (k, spent, 100 * spent / wall))
    finally:
        xdesktop.request_close(window)
        program.wait(timeout=20)


if __name__ == "__main__":
    sys.exit(main())
