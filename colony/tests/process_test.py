"""colony as a user sees it: run inside a private tmux server, read back cells and colours with
capture-pane -e, type keys; natively and the Windows build under Wine."""
import os
import re
import shlex
import signal
import subprocess
import tempfile
import time
import unittest

import harness

# Terminal foreground colour code -> console attribute (1 blue, 2 green, 4 red, 8 bright).
ATTR = {30: 0, 34: 1, 32: 2, 36: 3, 31: 4, 35: 5, 33: 6, 37: 7,
        90: 8, 94: 9, 92: 10, 96: 11, 91: 12, 95: 13, 93: 14, 97: 15}
BANNER = "Press ESC to save your mind [ EXIT ]"


def first_bacteria(n):
    """Letter and colour of the first n bacteria: the runtime's generator, never seeded."""
    state, out = 1, []

    def rand():
        nonlocal state
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        return (state >> 16) & 0x7FFF
    for _ in range(n):
        letter = chr(ord("A") + rand() % 26)
        out.append((letter, 1 + rand() % 15))
    return out


def parse_screen(text):
    """capture-pane -e output -> rows of (character, attribute or None for the default)."""
    rows, fg = [], None
    for line in text.split("\n"):
        # Colours carry on from the line before: capture-pane repeats only changes.
        row, i = [], 0
        while i < len(line):
            m = re.match(r"\x1b\[([0-9;]*)m", line[i:])
            if m:
                params = [int(p) if p else 0 for p in m.group(1).split(";")]
                k = 0
                while k < len(params):
                    p = params[k]
                    if p == 0 or p == 39:
                        fg = None
                    elif p in ATTR:
                        fg = ATTR[p]
                    elif p == 38 and k + 2 < len(params) and params[k + 1] == 5:
                        fg = params[k + 2] if params[k + 2] < 16 else None
                        k += 2
                    k += 1
                i += m.end()
                continue
            if line[i] == "\x1b":  # any other sequence: skip it
                m = re.match(r"\x1b\[[0-9;?]*[A-Za-z]|\x1b.", line[i:])
                i += m.end() if m else 1
                continue
            row.append((line[i], fg))
            i += 1
        rows.append(row)
    return rows


def row_text(rows, r):
    return "".join(c for c, _ in rows[r]) if r < len(rows) else ""


class Colony(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory(prefix="colony-")
        # The server's socket lives in the test's own directory and goes with it.
        self.socket = os.path.join(self.dir.name, "tmux")
        self.status = os.path.join(self.dir.name, "status")

    def tearDown(self):
        subprocess.run(["tmux", "-S", self.socket, "kill-server"],
                       stderr=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        self.dir.cleanup()

    def tmux(self, *args):
        return subprocess.run(["tmux", "-S", self.socket] + list(args), check=True,
                              stdout=subprocess.PIPE, env=harness.environment(),
                              timeout=30).stdout.decode("utf-8", "replace")

    def start(self):
        env = harness.environment()
        exports = "".join("export %s=%s; " % (k, shlex.quote(env[k]))
                          for k in ("DISPLAY", "WINEPREFIX") if k in env)
        cmd = " ".join(shlex.quote(a) for a in harness.command())
        d = shlex.quote(self.dir.name)
        # The terminal's mode before and after, and the exit status; then the pane stays.
        # The shell outlives a Ctrl-C of the program to write down its status.
        script = ("trap : INT; %sstty -g > %s/before; %s; echo $? > %s/status; stty -g > %s/after; "
                  "exec sleep 600" % (exports, d, cmd, d, d))
        self.tmux("new-session", "-d", "-x", "80", "-y", "30", script)

    def screen(self):
        return parse_screen(self.tmux("capture-pane", "-e", "-p"))

    def wait_for(self, predicate, timeout=20.0, what="the screen"):
        deadline = time.time() + timeout
        while True:
            rows = self.screen()
            if predicate(rows):
                return rows
            if time.time() > deadline:
                self.fail("%s never showed up; screen:\n%s"
                          % (what, "\n".join(row_text(rows, r) for r in range(len(rows)))))
            time.sleep(0.2)

    def exit_status(self, timeout=10.0):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if os.path.exists(self.status):
                with open(self.status) as f:
                    text = f.read().strip()
                if text:
                    return int(text)
            time.sleep(0.1)
        self.fail("the program did not end")

    def press_esc(self):
        if harness.WIN32:
            # Wine's terminal console holds a lone ESC back for the rest of a sequence that
            # never comes; the helper writes the key into the program's console input instead.
            helper = os.path.join(harness.BUILD_DIR, "colony", "tests", "colony_sendkey.exe")
            done = subprocess.run(harness.command(["colony.exe", "27"], exe=helper),
                                  env=harness.environment(), stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=60)
            self.assertEqual(done.returncode, 0, done.stderr)
        else:
            self.tmux("send-keys", "Escape")

    def births(self, rows):
        """Rows of the birth lines shown so far, in order from row 2."""
        found = []
        for r in range(2, 21):
            if not row_text(rows, r).startswith("c"):
                break
            found.append(r)
        return found

    def assert_status(self, rows, r, text, attr):
        """Row r shows text from column 0 in attr; a bacterium may have drawn a letter over
        any cell but the first since. '#' in text stands for a digit or nothing."""
        row = rows[r] + [(" ", None)] * 80
        self.assertEqual(row[0], (text[0], attr), "row %d: %r" % (r, row_text(rows, r)))
        for c, want in enumerate(text):
            ch, a = row[c]
            drawn_over = ch.isupper() and 1 <= c <= 60 and a is not None
            ok = (ch == want and a == attr) or drawn_over or \
                (want == "#" and (ch.isdigit() and a == attr or ch == " "))
            self.assertTrue(ok, "row %d column %d: %r in %r" % (r, c, ch, row_text(rows, r)))

    def test_screen_keys_and_esc(self):
        self.start()
        rows = self.wait_for(lambda rows: len(self.births(rows)) >= 3, what="three births")

        # The banner: row 0, columns 0..35, bright green, nothing else on the row.
        self.assertEqual(row_text(rows, 0).rstrip(), BANNER)
        for col in range(len(BANNER)):
            if BANNER[col] != " ":
                self.assertEqual(rows[0][col][1], 10, "banner column %d" % col)

        # Birth lines, white, on rows 2, 3, ... (row 1 comes only with the twentieth line).
        self.assertEqual(row_text(rows, 1)[:1].strip(), "")
        births = self.births(rows)
        for r in births:
            self.assert_status(rows, r, "clock = #######", 15)

        # Capital letters only in the field, each in a colour; status text only from column 0.
        self.check_field(rows)

        # The first letters and colours are those of the unseeded generator: the same in both
        # builds and in every run.
        seen = {(c, a) for row in rows[1:26] for c, a in row[1:61]
                if c.isupper() and a is not None}
        expected = first_bacteria(len(births) + 1)
        self.assertLessEqual(set(expected[:len(births) - 1]), seen)
        self.assertLessEqual(seen, set(expected))

        # A key press: one bright red status line on the next status row.
        self.tmux("send-keys", "a")
        rows = self.wait_for(lambda rows: any(
            row_text(rows, r).startswith("K") for r in range(1, 21)),
            timeout=10, what="the key line")
        keys = [r for r in range(1, 21) if row_text(rows, r).startswith("K")]
        self.assertEqual(len(keys), 1)
        self.assertGreater(keys[0], births[-1], "the key line follows the birth lines")
        self.assert_status(rows, keys[0], "Key 97 is pressed", 12)

        # ESC ends the program at once, with status 0, and the terminal's mode is back.
        self.press_esc()
        self.assertEqual(self.exit_status(), 0)
        self.assert_terminal_restored()

    def assert_terminal_restored(self):
        deadline = time.time() + 10
        after = os.path.join(self.dir.name, "after")
        while not os.path.exists(after) and time.time() < deadline:
            time.sleep(0.1)
        time.sleep(0.2)
        with open(os.path.join(self.dir.name, "before")) as b, open(after) as a:
            self.assertEqual(b.read(), a.read(), "the terminal's mode is as before")

    def check_field(self, rows):
        for r, row in enumerate(rows):
            for c, (ch, attr) in enumerate(row):
                if ch == " ":
                    continue
                where = "row %d column %d %r" % (r, c, ch)
                if r == 0:
                    self.assertLess(c, len(BANNER), where)
                elif ch.isupper() and c >= 1:
                    # A bacterium's letter.
                    self.assertTrue(1 <= c <= 60 and 1 <= r <= 25, where)
                    self.assertTrue(attr is not None and 1 <= attr <= 15, where)
                else:
                    # Status text: rows 1..20, white or bright red, never past the field.
                    self.assertTrue(1 <= r <= 20 and attr in (15, 12) and c <= 60, where)

    @unittest.skipIf(harness.WIN32, "a terminal's Ctrl-C")
    def test_ctrl_c_ends_and_hands_the_terminal_back(self):
        self.start()
        self.wait_for(lambda rows: len(self.births(rows)) >= 1, what="a birth")
        self.tmux("send-keys", "C-c")
        self.assertEqual(self.exit_status(), 128 + signal.SIGINT)
        self.assert_terminal_restored()


class InputNotATerminal(unittest.TestCase):
    def test_piped_keys_then_the_end_of_input(self):
        p = harness.start(stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE)
        try:
            p.stdin.write("aé".encode())
            p.stdin.close()
            p.stdin = None
            time.sleep(6 if harness.WIN32 else 2)
            self.assertIsNone(p.poll(), "the end of the input doesn't end the program")
        finally:
            p.send_signal(signal.SIGTERM) if not harness.WIN32 else p.kill()
            out, err = p.communicate(timeout=30)
        text = harness.text(out).decode("latin-1")
        self.assertIn(BANNER, text)
        self.assertRegex(text, r"clock = \d+\n")
        if harness.WIN32:
            # Standard input is no console: reading it fails, which is never a key press.
            self.assertNotIn("Key", text)
        else:
            self.assertEqual(re.findall(r"Key -?\d+ is pressed", text),
                             ["Key 97 is pressed", "Key -23 is pressed"])
        self.assertEqual(err, b"")


if __name__ == "__main__":
    unittest.main()
