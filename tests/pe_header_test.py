"""The Windows executables carry the link settings their programs rely on: the subsystem, the
default stack of every thread, and no runtime DLL beside the system's own (the C and C++
runtimes are linked in).

Usage: pe_header_test.py OBJDUMP NAME=PATH..."""
import re
import subprocess
import sys
import unittest

# name: (subsystem, stack reserve, stack commit or None for the linker's default)
EXPECTED = {
    "needlefield": (2, None, None),
    "trisketch": (3, None, None),
    "colony": (3, 6400, 4096),
    "rangecheck": (3, 640000000, None),
    "primes": (3, 640000000, None),
    "dblbits": (3, 640000000, None),
    "echotwice": (3, 640000000, None),
}
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "user32.dll", "gdi32.dll"}

OBJDUMP = sys.argv[1] if len(sys.argv) > 1 else "objdump"
PROGRAMS = dict(arg.split("=", 1) for arg in sys.argv[2:])


def header(path):
    text = subprocess.run([OBJDUMP, "-p", path], check=True, stdout=subprocess.PIPE,
                          text=True).stdout
    fields = dict(re.findall(r"^(Subsystem|SizeOfStackReserve|SizeOfStackCommit)\s+([0-9a-fA-F]+)",
                             text, re.M))
    dlls = {d.lower() for d in re.findall(r"DLL Name: (\S+)", text)}
    return {k: int(v, 16) for k, v in fields.items()}, dlls


class PeHeaders(unittest.TestCase):
    def test_every_program_is_there(self):
        self.assertEqual(set(EXPECTED), set(PROGRAMS))

    def test_link_settings(self):
        for name, path in PROGRAMS.items():
            subsystem, reserve, commit = EXPECTED[name]
            with self.subTest(program=name):
                fields, dlls = header(path)
                self.assertEqual(fields["Subsystem"], subsystem)
                if reserve is not None:
                    self.assertEqual(fields["SizeOfStackReserve"], reserve)
                if commit is not None:
                    self.assertEqual(fields["SizeOfStackCommit"], commit)
                self.assertLessEqual(dlls, SYSTEM_DLLS, "runtime DLLs needed beside the .exe")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
