"""CPU time of the native needlefield over 10 seconds, as a share of one core, beside the X
server's share for the same seconds. Runs on $DISPLAY, or on a private Xvfb when none is set.

    python3 needlefield/bench/cpu_x11.py build/native/needlefield/needlefield
"""
import os
import subprocess
import sys
import time

SECONDS = 10


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def main():
    exe = sys.argv[1]
    server = None
    env = dict(os.environ)
    if not env.get("DISPLAY"):
        read, write = os.pipe()
        server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                   "1280x1024x24", "-nolisten", "tcp"], pass_fds=(write,),
                                  stderr=subprocess.DEVNULL)
        os.close(write)
        env["DISPLAY"] = ":" + os.read(read, 16).decode().strip()
        os.close(read)
    try:
        demo = subprocess.Popen([exe], env=env)
        time.sleep(2)  # past start-up
        start = time.monotonic()
        used = cpu_seconds(demo.pid)
        served = cpu_seconds(server.pid) if server else None
        time.sleep(SECONDS)
        wall = time.monotonic() - start
        used = cpu_seconds(demo.pid) - used
        print("needlefield: %.1f%% of one core over %.1f s" % (100 * used / wall, wall))
        if server:
            print("Xvfb:        %.1f%% of one core" % (100 * (cpu_seconds(server.pid) - served)
                                                       / wall))
        demo.kill()
        demo.wait()
    finally:
        if server:
            server.kill()
            server.wait()


if __name__ == "__main__":
    main()
