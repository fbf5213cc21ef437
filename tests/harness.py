"""What a process-level test needs to run one program as a user would, in either build.

CTest passes the program and the build through the environment (see cmake/testing.cmake):
SEVEN_EXE, SEVEN_TARGET (native or win32), SEVEN_RUNNER (Wine's wrapper in the Windows
build), SEVEN_XVFB_DIR (the private display), SEVEN_BUILD_DIR, SEVEN_SANITIZE.
"""
import os
import signal
import subprocess

EXE = os.environ.get("SEVEN_EXE", "")
TARGET = os.environ.get("SEVEN_TARGET", "native")
RUNNER = os.environ.get("SEVEN_RUNNER", "")
XVFB_DIR = os.environ.get("SEVEN_XVFB_DIR", "")
BUILD_DIR = os.environ.get("SEVEN_BUILD_DIR", "")
SANITIZE = os.environ.get("SEVEN_SANITIZE", "")

WIN32 = TARGET == "win32"
# Text-mode standard streams: a line feed written leaves as the platform's line end.
EOL = b"\r\n" if WIN32 else b"\n"
# Exit status of a program that ended through abort().
ABORT_STATUS = 3 if WIN32 else -signal.SIGABRT


def lines(*texts):
    """The bytes of the given lines, each ended by the platform's line end."""
    return b"".join(t.encode() if isinstance(t, str) else t for t in texts for t in (t, EOL))


def text(data):
    """Output with the platform's line ends turned into line feeds."""
    return data.replace(EOL, b"\n") if WIN32 else data


def display():
    """The DISPLAY value of the private Xvfb, or None when it is not up."""
    try:
        with open(os.path.join(XVFB_DIR, "display")) as f:
            return ":" + f.read().strip()
    except OSError:
        return None


def command(args=(), exe=None):
    cmd = [RUNNER] if RUNNER else []
    return cmd + [exe or EXE] + list(args)


def environment(extra=None):
    env = dict(os.environ)
    d = display()
    if d:
        env["DISPLAY"] = d
    if extra:
        env.update(extra)
    return env


def run(args=(), stdin=b"", timeout=60, env=None, cwd=None, exe=None):
    """Runs the program to its end; returns a CompletedProcess with bytes stdout and stderr."""
    return subprocess.run(command(args, exe), input=stdin, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=timeout, env=environment(env),
                          cwd=cwd)


def start(args=(), env=None, exe=None, **kwargs):
    """Starts the program and returns the Popen; the caller ends it."""
    return subprocess.Popen(command(args, exe), env=environment(env), **kwargs)
