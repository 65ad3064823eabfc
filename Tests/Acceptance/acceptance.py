#!/usr/bin/python3
# The real program, driven the way a technician drives it: the binary that `make run` starts, against the
# simulated device that `make run` starts, on a virtual X server, with real X input (xdotool), real timers
# and idle time. What the screen shows is read back with OCR (tesseract).
#
#   acceptance.py walk  [--wm|--no-wm] [--build DIR] [--walk FILE]     the acceptance walk of walk.txt
#   acceptance.py monkey [--wm|--no-wm] [--build DIR] [--seconds N] [--seed N]   random input for N seconds
#
# `make acceptance` walks with and without a window manager on the plain build, each in ACCEPT_SHARES (2) runs of
# whole paragraphs at once, a failed run walked once more; `make monkey` runs the
# monkey on the sanitized build (MONKEY_SECONDS, MONKEY_SEED). Both print "N passed, N failed" and exit
# non-zero on failure, leaving screenshots and the program's stderr in a folder whose path they print.
#
# Everything runs in a network namespace of its own (when run as root), so the simulated device's fixed
# port never meets another one on this machine. X displays are taken from ACCEPT_DISPLAYS (default 81-86).
# Needs: Xvfb, openbox, xdotool, imagemagick (import, convert), tesseract-ocr with eng and deu, gdb for
# the stacks of a hung program. Standard library only.

import argparse
import ctypes
import ctypes.util
import difflib
import os
import random
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
HERE = os.path.dirname(os.path.abspath(__file__))
PING_SECONDS = 2.0
# A text key shown in place of its text: "##" before it, or the bare key where a caller falls back to it.
KEY_SHOWN = re.compile(r"##|\b(?:LBL|TT|MSG|STATE|TXT|BTN|MENU|CMD|TITLE|GRP|CLOSEMSG|CSD|SND|ERROR_TEXT)_[A-Z0-9_]{3,}")


def log(text):
    print(text, flush=True)


# --- X: the few Xlib calls the probes need --------------------------------------------------------------

class XClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xclient", XClientMessage), ("pad", ctypes.c_long * 24)]


class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("class_", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong),
                ("map_installed", ctypes.c_int), ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


class Window:
    def __init__(self, wid, x, y, w, h, popup, title, transient):
        self.id, self.x, self.y, self.w, self.h = wid, x, y, w, h
        self.popup, self.title, self.transient = popup, title, transient

    def __repr__(self):
        return f"0x{self.id:x} '{self.title}' {self.w}x{self.h}+{self.x}+{self.y}{' popup' if self.popup else ''}"


class X:
    ClientMessage, IsViewable, SubstructureNotifyMask = 33, 2, 1 << 19

    def __init__(self, display):
        x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        x.XOpenDisplay.restype = ctypes.c_void_p
        x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x.XInternAtom.restype = ctypes.c_ulong
        x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        x.XDefaultRootWindow.restype = ctypes.c_ulong
        x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.POINTER(XEvent)]
        x.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x.XPending.argtypes = [ctypes.c_void_p]
        x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
        x.XFlush.argtypes = [ctypes.c_void_p]
        x.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        x.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
        x.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                            ctypes.c_int, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                            ctypes.POINTER(ctypes.c_ulong)]
        x.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long,
                                         ctypes.c_long, ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        x.XFree.argtypes = [ctypes.c_void_p]
        x.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                      ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
        # A window that went away between two calls is no reason to end the walk.
        self._handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
        x.XSetErrorHandler(self._handler)
        self.x = x
        self.dpy = x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display}")
        self.root = x.XDefaultRootWindow(self.dpy)
        x.XSelectInput(self.dpy, self.root, self.SubstructureNotifyMask)
        self.stamp = 1

    def atom(self, name):
        return self.x.XInternAtom(self.dpy, name.encode(), 0)

    def property(self, wid, name):
        kind, fmt, count, after, data = (ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong(),
                                         ctypes.c_void_p())
        if self.x.XGetWindowProperty(self.dpy, wid, self.atom(name), 0, 1024, 0, 0, ctypes.byref(kind),
                                     ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after),
                                     ctypes.byref(data)) != 0 or not data.value:
            return None
        try:
            if fmt.value == 8:
                return ctypes.string_at(data.value, count.value)
            return list((ctypes.c_ulong * count.value).from_address(data.value))
        finally:
            self.x.XFree(data)

    def set_resources(self, text):
        """The desktop's resources (RESOURCE_MANAGER), as xrdb sets them: Xft.dpi is the desktop's scale."""
        self.x.XChangeProperty(self.dpy, self.root, self.atom("RESOURCE_MANAGER"), 31, 8, 0, text.encode(), len(text))
        self.x.XFlush(self.dpy)

    def work_area(self):
        """The part of the screen the window manager leaves to windows (_NET_WORKAREA), else the screen."""
        area = self.property(self.root, "_NET_WORKAREA")
        if area and len(area) >= 4:
            return tuple(area[:4])
        a = self.attributes(self.root)
        return 0, 0, a.width, a.height

    def children(self, wid):
        root, parent, kids, n = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.POINTER(ctypes.c_ulong)(), ctypes.c_uint()
        if not self.x.XQueryTree(self.dpy, wid, ctypes.byref(root), ctypes.byref(parent), ctypes.byref(kids),
                                 ctypes.byref(n)):
            return []
        result = [kids[i] for i in range(n.value)]
        if kids:
            self.x.XFree(kids)
        return result

    def attributes(self, wid):
        a = XWindowAttributes()
        return a if self.x.XGetWindowAttributes(self.dpy, wid, ctypes.byref(a)) else None

    def origin(self, wid):
        x, y, child = ctypes.c_int(), ctypes.c_int(), ctypes.c_ulong()
        self.x.XTranslateCoordinates(self.dpy, wid, self.root, 0, 0, ctypes.byref(x), ctypes.byref(y),
                                     ctypes.byref(child))
        return x.value, y.value

    def client_of(self, wid):
        """The window with WM_CLASS at or below a top-level (a window manager's frame holds it)."""
        if self.property(wid, "WM_CLASS") is not None:
            return wid
        for kid in self.children(wid):
            found = self.client_of(kid)
            if found:
                return found
        return None

    def windows(self):
        """The program's viewable top-levels, bottom to top: its dialogs (by WM_CLASS) and its pop-ups."""
        result = []
        for top in self.children(self.root):
            a = self.attributes(top)
            if not a or a.map_state != self.IsViewable:
                continue
            client = self.client_of(top)
            if client is None and not a.override_redirect:
                continue
            if client is not None and (self.property(client, "WM_CLASS") or b"").split(b"\0")[0] != b"corvane":
                continue
            wid = client or top
            ca = self.attributes(wid) if client else a
            if not ca:
                continue
            x, y = self.origin(wid)
            title = (self.property(wid, "_NET_WM_NAME") or b"").decode("utf-8", "replace")
            transient = self.property(wid, "WM_TRANSIENT_FOR")
            result.append(Window(wid, x, y, ca.width, ca.height, client is None, title, bool(transient)))
        return result

    def ping(self, wid, seconds=PING_SECONDS):
        """Sends _NET_WM_PING to the window; true when its event loop answered within the time."""
        self.stamp += 1
        event = XEvent()
        event.xclient.type = self.ClientMessage
        event.xclient.window = wid
        event.xclient.message_type = self.atom("WM_PROTOCOLS")
        event.xclient.format = 32
        event.xclient.data[0] = self.atom("_NET_WM_PING")
        event.xclient.data[1] = self.stamp
        event.xclient.data[2] = wid
        self.x.XSendEvent(self.dpy, wid, 0, 0, ctypes.byref(event))
        self.x.XFlush(self.dpy)
        deadline = time.monotonic() + seconds
        fd = self.x.XConnectionNumber(self.dpy)
        while True:
            while self.x.XPending(self.dpy):
                got = XEvent()
                self.x.XNextEvent(self.dpy, ctypes.byref(got))
                if got.type == self.ClientMessage and got.xclient.data[1] == self.stamp:
                    return True
            left = deadline - time.monotonic()
            if left <= 0:
                return False
            select.select([fd], [], [], left)


# --- the virtual screen, its window manager and the program ---------------------------------------------

class Screen:
    """Xvfb on a free display of ACCEPT_DISPLAYS, optionally with openbox."""

    DEFAULT = "1280x1024"

    def __init__(self, with_wm, work, size=DEFAULT, dpi=None):
        self.work, self.procs, self.size, self.dpi = work, [], size, dpi
        first, last = (int(n) for n in os.environ.get("ACCEPT_DISPLAYS", "81-86").split("-"))
        for n in range(first, last + 1):
            if os.path.exists(f"/tmp/.X{n}-lock"):
                continue
            read, write = os.pipe()
            xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", f"{size}x24", "-nolisten", "tcp",
                                     "-displayfd", str(write)], pass_fds=[write], stderr=subprocess.DEVNULL)
            os.close(write)
            ready = select.select([read], [], [], 10)[0] and os.read(read, 16)
            if ready:
                self.ready_pipe = read  # kept open: a write to a closed pipe would end the server
                self.procs.append(xvfb)
                self.display = f":{n}"
                break
            os.close(read)
            xvfb.kill()
            xvfb.wait()
        else:
            raise RuntimeError(f"no free X display in {first}-{last}")
        self.x = X(self.display)
        if dpi:
            self.x.set_resources(f"Xft.dpi:\t{dpi}\n")
        if with_wm:
            self.procs.append(subprocess.Popen(["openbox", "--sm-disable"], env=self.env(),
                                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            until(lambda: self.x.property(self.x.root, "_NET_SUPPORTING_WM_CHECK"), 10)
        self.shots = 0

    def env(self, **extra):
        return dict(os.environ, DISPLAY=self.display, **extra)

    def close(self):
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()

    def xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env(), check=False, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def shot(self, name):
        self.shots += 1
        path = os.path.join(self.work, f"{self.shots:03d}-{name}.png")
        subprocess.run(["import", "-silent", "-window", "root", path], env=self.env(), check=False)
        return path

    def read(self, path, windows):
        """Words on the program's windows in the screenshot: (text, x, y, w, h, line) in screen pixels."""
        if not windows:
            return []
        left, top = max(0, min(w.x for w in windows)), max(0, min(w.y for w in windows))
        right, bottom = max(w.x + w.w for w in windows), max(w.y + w.h for w in windows)
        scaled = path[:-4] + ".ocr.png"
        subprocess.run(["/usr/bin/convert", path, "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                        "-colorspace", "Gray", "-resize", "200%", scaled], check=False)
        # One thread: OpenMP spinning on a busy machine makes a read take seconds instead of a third.
        out = subprocess.run(["tesseract", scaled, "-", "-l", "eng+deu", "--psm", "11", "tsv"],
                             env=dict(os.environ, OMP_THREAD_LIMIT="1"),
                             capture_output=True, text=True, check=False).stdout
        os.unlink(scaled)
        words = []
        for row in out.splitlines()[1:]:
            f = row.split("\t")
            if len(f) == 12 and f[0] == "5" and f[11].strip():
                x, y, w, h = (int(v) // 2 for v in f[6:10])
                words.append((f[11].strip(), left + x, top + y, w, h, (f[2], f[3], f[4])))
        return words


def until(condition, seconds, step=0.1):
    deadline = time.monotonic() + seconds
    while True:
        value = condition()
        if value or time.monotonic() > deadline:
            return value
        time.sleep(step)


class Program:
    """corvane as `make run` starts it, with its simulated device; stderr goes to a file."""

    def __init__(self, screen, build, work, extra_env):
        self.screen, self.build, self.work, self.extra_env = screen, build, work, extra_env
        self.make, self.pid, self.main, self.starts = None, None, None, 0

    def start(self, args=""):
        # The pointer waits off the window, so that the new window does not open under it.
        self.screen.xdotool("mousemove", "0", "0")
        self.starts += 1
        self.stderr = os.path.join(self.work, f"stderr-{self.starts}.txt")
        # The build is the caller's (`make acceptance` builds first): MAKE=true turns the build step of
        # `make run` into nothing, so that a stale tree cannot eat a start's time.
        # Words `--fault=RULE` go to the simulated device (a fault it plays), the rest to the program.
        # `--device=none` starts it as a desktop does, without a connection on its command line.
        faults = " ".join(w for w in args.split() if w.startswith("--fault="))
        device = " ".join(w[len("--device="):] for w in args.split() if w.startswith("--device="))
        args = " ".join(w for w in args.split() if not w.startswith(("--fault=", "--device=")))
        with open(self.stderr, "w") as err:
            self.make = subprocess.Popen(["make", "-s", "--no-print-directory", "-C", ROOT, "run",
                                          f"BUILD={self.build}", f"ARGS={args}", f"SIM_ARGS={faults}", f"DEVICE={device}", "MAKE=true"],
                                         env=self.screen.env(**self.extra_env), stdout=err, stderr=err,
                                         stdin=subprocess.DEVNULL, start_new_session=True)
        self.pid = until(self._find_pid, 60)
        mains = until(lambda: [w for w in self.screen.x.windows() if not w.popup and not w.transient], 60)
        self.main = mains[-1] if mains else None
        if self.main:
            # A click on the header's empty right end, as a technician's first click: without a window
            # manager the keyboard follows the pointer.
            self.screen.xdotool("mousemove", "--sync", str(self.main.x + self.main.w - 60), str(self.main.y + 20),
                                "click", "1")
        return self.main is not None

    def _find_pid(self):
        if self.make.poll() is not None:
            return None
        for entry in os.listdir("/proc"):
            if entry.isdigit() and self._comm(entry) == "corvane" and self._descends(int(entry)):
                return int(entry)
        return None

    @staticmethod
    def _comm(pid):
        try:
            with open(f"/proc/{pid}/comm") as f:
                return f.read().strip()
        except OSError:
            return None

    def _descends(self, pid):
        while pid > 1:
            if pid == self.make.pid:
                return True
            try:
                with open(f"/proc/{pid}/stat") as f:
                    pid = int(f.read().rsplit(")", 1)[1].split()[1])
            except (OSError, ValueError, IndexError):
                return False
        return False

    def alive(self):
        return self.pid is not None and self._comm(self.pid) == "corvane" and self.make.poll() is None

    def ended(self, seconds=10):
        """The program's exit status once it has ended (128 + N for signal N), else None."""
        try:
            status = self.make.wait(seconds)
        except subprocess.TimeoutExpired:
            return None
        # make turns the recipe's status into its own 2 and names the recipe's in its message.
        reported = re.findall(r"\] Error (\d+)", self.stderr_text())
        return int(reported[-1]) if status and reported else status

    def stderr_text(self):
        with open(self.stderr, errors="replace") as f:
            return f.read()

    def stacks(self, path):
        """Every thread's stack of the running program, for a hang."""
        if self.alive() and shutil.which("gdb"):
            with open(path, "w") as out:
                subprocess.run(["gdb", "-p", str(self.pid), "-batch", "-ex", "thread apply all bt"], stdout=out,
                               stderr=subprocess.STDOUT, timeout=120, check=False)
            return path
        return None

    def stop(self):
        if self.make and self.make.poll() is None:
            os.killpg(self.make.pid, signal.SIGTERM)
            try:
                self.make.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.make.pid, signal.SIGKILL)
                self.make.wait()


# --- texts of the program, by key ------------------------------------------------------------------------

def release_version(build):
    """The program's version as the user reads it (major.minor.patch), from the release the build defines."""
    with open(os.path.join(ROOT, build, "CMakeCache.txt")) as cache:
        for line in cache:
            if line.startswith("CMAKE_PROJECT_VERSION:"):
                return ".".join(line.split("=", 1)[1].strip().split(".")[:3])
    raise ValueError("the build names no project version")


class Texts:
    """The program's texts by key from its GUI XML file, in the language the walk says is shown."""

    def __init__(self, paths, build):
        self.texts = {}
        self.version = release_version(build)
        for path in paths:
            for text in ElementTree.parse(path).getroot().iter("text"):
                self.texts[text.get("key")] = {l.get("code"): l.text or "" for l in text.iter("locale")}
        self.language = "en"

    def resolve(self, operand):
        """The literal to look for: a "quoted" literal, or a key's text with its format fields cut out."""
        if operand.startswith('"') and operand.endswith('"'):
            return operand[1:-1]
        if operand == "VERSION":
            return self.version
        if operand not in self.texts:
            raise ValueError(f"unknown text key {operand}")
        text = self.texts[operand].get(self.language, "").replace("&", "")
        pieces = re.split(r"%[-+ #0-9.]*[a-zA-Z]|\n", text)
        return max(pieces, key=len).strip(" :.")


def normal(text):
    return re.sub(r"\s+", " ", text).strip().lower()


def contains(haystack, needle, ratio=0.88):
    """Whether OCR'd text holds the needle, forgiving a few misread characters."""
    haystack, needle = normal(haystack), normal(needle)
    if needle in haystack:
        return True
    n = len(needle)
    if n < 4:
        return False
    matcher = difflib.SequenceMatcher(None, "", needle, autojunk=False)
    for start in range(0, max(1, len(haystack) - n + 1)):
        matcher.set_seq1(haystack[start:start + n])
        if matcher.real_quick_ratio() >= ratio and matcher.ratio() >= ratio:
            return True
    return spread(haystack.split(" "), needle.split(" "))


def spread(words, wanted):
    """Whether the wanted words (three or more) come in order among the words, a few others between them:
    OCR reads a text wrapped over lines (a tip's body) with the words of its neighbours in between."""
    if len(wanted) < 3:
        return False
    alike = lambda a, b: a == b or difflib.SequenceMatcher(None, a, b).ratio() >= 0.8
    for start, word in enumerate(words):
        if not alike(word, wanted[0]):
            continue
        at, found = start, 1
        for want in wanted[1:]:
            at = next((i for i in range(at + 1, min(len(words), at + 8)) if alike(words[i], want)), None)
            if at is None:
                break
            found += 1
        if found == len(wanted):
            return True
    return False


def locate(words, needle):
    """The screen box of the first run of words on one line that reads as the needle, or None."""
    want = normal(needle).split(" ")
    lines = {}
    for word in words:
        lines.setdefault(word[5], []).append(word)
    best = None
    for line in lines.values():
        for i in range(len(line) - len(want) + 1):
            run = line[i:i + len(want)]
            score = difflib.SequenceMatcher(None, " ".join(normal(w[0]) for w in run), " ".join(want)).ratio()
            if score >= 0.88 and (best is None or score > best[0]):
                x0, y0 = min(w[1] for w in run), min(w[2] for w in run)
                x1, y1 = max(w[1] + w[3] for w in run), max(w[2] + w[4] for w in run)
                best = (score, (x0, y0, x1 - x0, y1 - y0))
    return best[1] if best else None


# --- the checks after every step -------------------------------------------------------------------------

SANITIZER = re.compile(r"ERROR: (?:Address|Leak|Thread|Memory)Sanitizer|runtime error:|SUMMARY: UndefinedBehavior")


class Run:
    """One run (walk or monkey): the screen, the program, the results and the folder kept on failure."""

    def __init__(self, args, kind):
        self.work = tempfile.mkdtemp(prefix=f"corvane-{kind}-{'wm' if args.wm else 'nowm'}-")
        home = os.path.join(self.work, "home")
        os.makedirs(os.path.join(home, "Documents"))
        extra = {"HOME": home, "XDG_CONFIG_HOME": os.path.join(home, ".config"),
                 "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=1",
                 "UBSAN_OPTIONS": "print_stacktrace=1:halt_on_error=1",
                 "LSAN_OPTIONS": "suppressions=" + os.path.join(ROOT, "Platform", "Gdi", "Tests", "lsan.supp")}
        self.screen = Screen(args.wm, self.work)
        self.program = Program(self.screen, args.build, self.work, extra)
        self.passed = self.failed = 0
        self.words, self.shot = [], None
        self.name = f"{kind} {'with' if args.wm else 'without'} a window manager"
        log(f"== {kind} on {self.screen.display} {'with' if args.wm else 'without'} a window manager, "
            f"build {args.build}, files in {self.work}")

    def look(self, name):
        """A screenshot and its words, of the program's windows."""
        self.shot = self.screen.shot(name)
        self.words = self.screen.read(self.shot, self.screen.x.windows())
        return " ".join(w[0] for w in self.words)

    def health(self, name, seconds=PING_SECONDS):
        """Why the program is not well after a step, or None: ended, crashed, hung, sanitizer report."""
        report = SANITIZER.search(self.program.stderr_text())
        if not self.program.alive():
            status = self.program.ended(5)
            # The program's own last words, without the build's and make's.
            tail = "\n".join(l for l in self.program.stderr_text().splitlines()
                             if not re.match(r"ninja:|\[\d+/\d+\]|make(\[\d+\])?: ", l))[-1500:]
            return f"the program ended (exit status {status}){' with a sanitizer report' if report else ''}: {tail}"
        if report:
            return "sanitizer report in the program's stderr"
        windows = [w for w in self.screen.x.windows() if not w.popup]
        if not windows:
            return "the program lives but shows no window"
        if not self.screen.x.ping(windows[0].id, seconds):
            if until(lambda: not self.program.alive(), 1.0):
                return self.health(name, seconds)  # it was ending while asked
            stacks = self.program.stacks(os.path.join(self.work, f"stacks-{name}.txt"))
            return f"the program did not answer a ping within {seconds:g} s (hung); stacks in {stacks}"
        return None

    def result(self, name, problems, began=None):
        took = f" ({time.monotonic() - began:.1f} s)" if began else ""
        if problems:
            self.failed += 1
            log(f"FAIL {name}{took}: {'; '.join(problems)} [screen {self.shot}]")
        else:
            self.passed += 1
            log(f"ok   {name}{took}")

    def finish(self):
        if self.screen is None:
            return
        self.program.stop()
        self.screen.close()
        self.screen = None
        skipped = f", {self.skipped} skipped" if getattr(self, "skipped", 0) else ""
        log(f"   {self.name}: {self.passed} passed, {self.failed} failed{skipped}")
        if self.failed:
            log(f"   screenshots and the program's stderr are kept in {self.work}")
        else:
            shutil.rmtree(self.work, ignore_errors=True)


# --- the acceptance walk ---------------------------------------------------------------------------------

class Walk(Run):
    """Runs the steps of a walk file: name | action | expectations (see walk.txt)."""

    def __init__(self, args):
        super().__init__(args, "walk")
        self.wm = args.wm
        # The program's texts, and those of the communication library's dialogs that it ships beside them.
        built = os.path.join(ROOT, args.build, "Products", "Corvane")
        sources = {"corvane.GUI.XML": os.path.join(ROOT, "Products", "Corvane", "Main", "Res"),
                   "COMMSETTINGSDLG.GUI.XML": os.path.join(ROOT, "Common", "PelorusDLL", "Res")}
        self.texts = Texts([os.path.join(built if os.path.exists(os.path.join(built, name)) else folder, name)
                            for name, folder in sources.items()], args.build)
        # Steps in paragraphs: a step that fails skips the rest of its paragraph, which builds on it.
        self.steps, paragraph = [], 0
        with open(args.walk) as f:
            for number, line in enumerate(f, 1):
                line = line.split(" #")[0].strip()
                if not line:
                    paragraph += 1
                elif not line.startswith("#"):
                    fields = [p.strip() for p in line.split("|")]
                    if len(fields) != 3:
                        raise ValueError(f"{args.walk}:{number}: want 'name | action | expectations'")
                    self.steps.append((paragraph, number, *fields))
        self.steps = self.share(self.steps, *args.shard)
        self.skipped = 0

    def share(self, steps, index, count):
        """The index-th of count runs of whole paragraphs, as near equal in steps (on this screen) as paragraphs allow."""
        if count <= 1:
            return steps
        screen = "wm" if self.wm else "nowm"
        mine = [step for step in steps if not re.search(r"(^|;)\s*only (?!" + screen + r"\b)", step[4])]
        paragraphs = []
        for step in mine:
            if not paragraphs or paragraphs[-1][0][0] != step[0]:
                paragraphs.append([])
            paragraphs[-1].append(step)
        bounds, done = [0], 0
        for i, paragraph in enumerate(paragraphs):
            done += len(paragraph)
            if done * count >= len(mine) * len(bounds) and len(bounds) < count:
                bounds.append(i + 1)
        bounds += [len(paragraphs)] * (count + 1 - len(bounds))
        return [step for paragraph in paragraphs[bounds[index]:bounds[index + 1]] for step in paragraph]

    def run(self):
        current, failed_step = None, None
        screen = "wm" if self.wm else "nowm"
        for paragraph, number, name, action, expectations in self.steps:
            if re.search(r"(^|;)\s*only (?!" + screen + r"\b)", expectations):
                continue
            if paragraph != current:
                current, failed_step = paragraph, None
                self.settle(action)
            if failed_step:
                self.skipped += 1
                log(f"skip {number}:{name} (after {failed_step} failed)")
                continue
            began = time.monotonic()
            try:
                problems = self.step(name, action, [e.strip() for e in expectations.split(";") if e.strip()])
            except (ValueError, LookupError) as error:
                problems = [str(error)]
            self.result(f"{number}:{name}", problems, began)
            if problems:
                failed_step = f"{number}:{name}"

    def use_screen(self, size=Screen.DEFAULT, dpi=None):
        """The X server of the given size (WxH) and desktop scale (Xft.dpi), started anew where it differs."""
        if (self.screen.size, self.screen.dpi) == (size, dpi):
            return
        log(f"     (a screen of {size}{f' at {dpi} dpi' if dpi else ''} for the next steps)")
        self.program.stop()
        self.screen.close()
        shots = self.screen.shots
        self.screen = self.program.screen = Screen(self.wm, self.work, size, dpi)
        self.screen.shots = shots  # the screenshots go on numbering, so none is overwritten

    def settle(self, action):
        """A paragraph starts on the main window alone, the program started again where it is not so.
        A pop-up still open (a tip, a menu, the window manager's menu) is closed with Escape first.
        A paragraph that does not start on a screen of its own has the usual screen."""
        if not re.search(r"--screen=", action):
            self.use_screen()
        self.screen.xdotool("key", "Escape")
        time.sleep(0.3)
        windows = [w for w in self.screen.x.windows() if not w.popup]
        if action.startswith("start") or (self.program.alive() and len(windows) == 1 and
                                          self.screen.x.ping(windows[0].id)):
            return
        log("     (the program is started again for the next steps)")
        self.program.stop()
        self.program.start()
        # Its first read refuses every command while it runs.
        reading = self.texts.resolve("STATE_GRID_IDENTIFY")
        time.sleep(1.5)
        until(lambda: not contains(self.look("settle"), reading), 15, 0.3)

    def step(self, name, action, expectations):
        verb, _, operand = action.partition(" ")
        within, want_end = 5.0, None
        for e in expectations:
            if e.startswith("within "):
                within = float(e.split()[1])
            if e.split()[0] == "ended":
                want_end = int(e.split()[1]) if len(e.split()) > 1 else 0
        if verb == "start":
            # A word --screen=WxH[@DPI] starts the program on an X server of that size and desktop scale.
            screen = re.search(r"--screen=(\d+x\d+)(?:@(\d+))?", operand)
            if screen:
                self.use_screen(screen.group(1), int(screen.group(2)) if screen.group(2) else None)
                operand = " ".join(w for w in operand.split() if not w.startswith("--screen="))
            self.program.stop()
            if not self.program.start(operand):
                self.look(name)
                return ["the program showed no main window within 60 s: " + self.program.stderr_text()[-1500:]]
        else:
            self.act(verb, operand)
        if want_end is not None:
            status = self.program.ended(within)
            self.look(name)
            if status == want_end:
                return []
            return [f"expected the program to end with status {want_end}, " +
                    ("it still runs" if status is None else f"it ended with {status}")]
        deadline = time.monotonic() + within
        while True:
            ill = self.health(name)
            if ill:
                self.look(name)
                return [ill]
            text = self.look(name)
            problems = [p for p in (self.expect(e, text) for e in expectations) if p]
            if not problems or time.monotonic() > deadline or any(p.startswith("unknown") for p in problems):
                break
            time.sleep(0.3)
        shown = sorted({m.group(0) for m in KEY_SHOWN.finditer(text)})
        if shown:
            problems.append(f"text keys shown in place of texts: {', '.join(shown)}")
        return problems

    def expect(self, expectation, text):
        try:
            return self.judge(expectation, text)
        except ValueError as error:
            return str(error)

    def judge(self, expectation, text):
        verb, _, operand = expectation.partition(" ")
        if verb in ("within", "ended", "only"):
            return None
        if verb == "lang":
            self.texts.language = operand
            return None
        if verb in ("shows", "lacks"):
            literal = self.texts.resolve(operand)
            if contains(text, literal) != (verb == "shows"):
                return f"expected the screen {'to show' if verb == 'shows' else 'not to show'} '{literal}'"
            return None
        if verb in ("lit", "unlit"):
            # A command button's icon is coloured while the button is enabled and grey while it is not
            # (a command runs), which the status line alone does not tell.
            x, y = self.point(operand)
            saturation = subprocess.run(["/usr/bin/convert", self.shot, "-crop", f"12x12+{x - 6}+{y - 6}", "+repage",
                                         "-colorspace", "HSL", "-channel", "G", "-separate", "-format",
                                         "%[fx:maxima]", "info:"], capture_output=True, text=True).stdout
            if (float(saturation or 0) > 0.3) != (verb == "lit"):
                return f"expected the icon at {operand} to be {'coloured (enabled)' if verb == 'lit' else 'grey'}"
            return None
        windows = [w for w in self.screen.x.windows() if not w.popup]
        if verb == "title":
            literal = self.texts.resolve(operand)
            if not any(contains(w.title, literal) for w in windows):
                return f"expected a window titled '{literal}', saw {[w.title for w in windows]}"
            return None
        if verb == "windows":
            if len(windows) != int(operand):
                return f"expected {operand} window(s) of the program, saw {[w.title for w in windows]}"
            return None
        if verb == "inside":
            # Every window of the program whole on the work area, its frame (where a window manager draws one)
            # included.
            left, top, width, height = self.screen.x.work_area()
            out = []
            for w in windows:
                extents = self.screen.x.property(w.id, "_NET_FRAME_EXTENTS") or [0, 0, 0, 0]
                fl, fr, ft, fb = (list(extents) + [0, 0, 0, 0])[:4]
                if w.x - fl < left or w.y - ft < top or w.x + w.w + fr > left + width or w.y + w.h + fb > top + height:
                    out.append(f"'{w.title}' {w.w + fl + fr}x{w.h + ft + fb}+{w.x - fl}+{w.y - ft}")
            if out:
                return f"expected every window inside the work area {width}x{height}+{left}+{top}, saw {out}"
            return None
        raise ValueError(f"unknown expectation '{expectation}'")

    def point(self, target):
        """Screen point of a target: @X,Y in the main window, ^X,Y in the top window (negative: from the right
        or lower edge), or a text (key or "literal") found on screen, +X,Y from its left edge."""
        windows = [w for w in self.screen.x.windows() if not w.popup]
        if not windows:
            raise LookupError("no window of the program to aim at")
        if target[0] in "@^":
            window = windows[0] if target[0] == "@" else windows[-1]
            dx, dy = (int(v) for v in target[1:].split(","))
            return (window.x + (dx if dx >= 0 else window.w + dx), window.y + (dy if dy >= 0 else window.h + dy))
        text, offset = re.match(r'^(.*?)(?:\+(-?\d+,-?\d+))?$', target).groups()
        literal = self.texts.resolve(text)
        self.look("locate")
        box = locate(self.words, literal)
        if box is None:
            raise LookupError(f"'{literal}' is not on the screen to aim at")
        if offset:
            dx, dy = (int(v) for v in offset.split(","))
            return box[0] + dx, box[1] + box[3] // 2 + dy
        return box[0] + box[2] // 2, box[1] + box[3] // 2

    def act(self, verb, operand):
        s = self.screen
        if verb == "key":
            s.xdotool("key", "--delay", "120", *operand.split())
        elif verb == "type":
            s.xdotool("type", "--delay", "60", operand)
        elif verb in ("click", "dclick", "rclick", "rest"):
            # A tip still up from the last rest may cover the target: the pointer leaves the tool for the empty
            # right end of the main window's header, where the program sees it go, before aiming.
            windows = [w for w in s.x.windows() if not w.popup]
            if windows:
                s.xdotool("mousemove", "--sync", str(windows[0].x + windows[0].w - 60), str(windows[0].y + 20))
                time.sleep(0.5)
            parts = operand.split()
            x, y = self.point(parts[0])
            s.xdotool("mousemove", "--sync", str(x), str(y))
            if verb == "rest":
                time.sleep(float(parts[1]) if len(parts) > 1 else 1.0)
            else:
                s.xdotool("click", *(["--repeat", "2"] if verb == "dclick" else []), "3" if verb == "rclick" else "1")
        elif verb == "wait":
            time.sleep(float(operand))
        elif verb == "file":
            # A file made by something else than the program, in the folder its file dialogs open.
            name, _, text = operand.partition(" ")
            with open(os.path.join(self.work, "home", "Documents", name), "w") as f:
                f.write(text)
        elif verb == "windowclose":
            # Another client closes the main window, as a task bar does or xdotool, which destroys it.
            windows = [w for w in s.x.windows() if not w.popup and not w.transient]
            if not windows:
                raise LookupError("no main window to close")
            s.xdotool("windowclose", str(windows[0].id))
            # The program puts a new window in its place (to ask before it closes) or ends; either takes a moment.
            time.sleep(0.3)
            until(lambda: [w for w in s.x.windows() if not w.popup] or not self.program.alive(), 5)
        else:
            raise ValueError(f"unknown action '{verb}'")


# --- the monkey ------------------------------------------------------------------------------------------

# Keys a technician might press anywhere. Alt+F4 is left out so that the program stays up; the window
# manager's own bindings are left out where one runs, since they would drive it and not the program.
KEYS = ("Tab shift+Tab Return Escape space Up Down Left Right Home End Prior Next BackSpace Delete F1 F2 F5 F8 F10 "
        "ctrl+Tab ctrl+shift+Tab ctrl+a ctrl+c ctrl+v ctrl+x ctrl+z Menu shift+F10 alt ctrl+alt+d ctrl+alt+e "
        "ctrl+alt+c ctrl+alt+k ctrl+alt+m a b x 0 1 5 9 period minus").split()
KEYS_WITHOUT_WM = ["alt+space"]


class Monkey(Run):
    def __init__(self, args):
        super().__init__(args, f"monkey-seed{args.seed}")
        self.rng, self.seconds, self.wm = random.Random(args.seed), args.seconds, args.wm
        self.keys = KEYS + ([] if args.wm else KEYS_WITHOUT_WM)
        self.actions, self.began = open(os.path.join(self.work, "actions.txt"), "w"), time.monotonic()

    def spot(self):
        """A random point on one of the program's windows, the top one most often; without a window
        manager the title band the program draws itself (with its close box) is left out."""
        windows = self.screen.x.windows()
        if not windows:
            return None
        w = windows[-1] if self.rng.random() < 0.8 else self.rng.choice(windows)
        band = 0 if self.wm or w.popup else min(30, w.h // 3)
        return w.x + self.rng.randrange(max(1, w.w)), w.y + band + self.rng.randrange(max(1, w.h - band))

    def act(self):
        s, r = self.screen, self.rng
        kind = r.choices(["click", "key", "type", "drag", "rest", "wheel", "rclick"], [40, 30, 6, 6, 6, 6, 6])[0]
        if kind == "key":
            key = r.choice(self.keys)
            self.note(f"key {key}")
            s.xdotool("key", key)
            return
        if kind == "type":
            text = "".join(r.choice("abc019.-_ ") for _ in range(r.randrange(1, 8)))
            self.note(f"type '{text}'")
            s.xdotool("type", "--delay", "20", text)
            return
        p = self.spot()
        if p is None:
            return
        self.note(f"{kind} at {p[0]},{p[1]}")
        s.xdotool("mousemove", str(p[0]), str(p[1]))
        if kind == "click":
            s.xdotool("click", *(["--repeat", "2"] if r.random() < 0.15 else []), "1")
        elif kind == "rclick":
            s.xdotool("click", "3")
        elif kind == "wheel":
            s.xdotool("click", "--repeat", str(r.randrange(1, 4)), r.choice(["4", "5"]))
        elif kind == "rest":
            time.sleep(r.uniform(0.5, 3.0))
        elif kind == "drag":
            q = self.spot() or p
            s.xdotool("mousedown", "1")
            s.xdotool("mousemove", str((p[0] + q[0]) // 2), str((p[1] + q[1]) // 2))
            s.xdotool("mousemove", str(q[0]), str(q[1]))
            s.xdotool("mouseup", "1")

    def run(self):
        if not self.program.start():
            self.look("start")
            self.result("start", ["the program showed no main window within 60 s"])
            return
        deadline, checked, actions, restarts = time.monotonic() + self.seconds, time.monotonic(), 0, 0
        while time.monotonic() < deadline and self.failed < 5:
            self.act()
            actions += 1
            time.sleep(self.rng.uniform(0.02, 0.25))
            if time.monotonic() - checked < 2.0:
                continue
            checked = time.monotonic()
            if not self.program.alive() and self.program.ended(5) == 0 and \
                    not SANITIZER.search(self.program.stderr_text()):
                restarts += 1
                log(f"     the program closed normally after {actions} actions; started again")
                self.program.start()
                continue
            self.check(f"after-{actions}-actions")
        self.check("end")
        log(f"     {actions} actions, {restarts} restarts after a normal close")

    def note(self, action):
        """Every action goes to the folder's action log, with its time, for a failure's story."""
        self.actions.write(f"{time.monotonic() - self.began:8.2f} {action}\n")
        self.actions.flush()

    def check(self, name):
        ill = self.health(name, 5.0)  # the sanitized build is slower
        if ill:
            self.look(name)
            ill += f"; the actions before it are at the end of {self.actions.name}"
            self.note(f"--- {name}: failed")
        self.result(name, [ill] if ill else [])
        if ill:
            self.program.stop()
            self.program.start()


def walk_side_by_side(screens, shares):
    """Each screen's walk runs in shares of whole paragraphs, all at once, each in a process (and network) of its
    own; a share that fails is walked once more (the screen is read by OCR). Their reports follow in order."""
    def launch(screen, share):
        own = ("--screens", "--shares", "--shard")
        argv, skip = [], False
        for a in sys.argv[1:]:
            if skip or a.startswith(own):
                skip = not skip and a in own  # the value of "--shares N" comes as a word of its own
                continue
            argv.append(a)
        env = {k: v for k, v in os.environ.items() if k != "ACCEPT_NETNS"}
        return subprocess.Popen([sys.executable, os.path.abspath(__file__), *argv, f"--screens={screen}",
                                 f"--shard={share}/{shares}"],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, env=env)
    runs = [(screen, share, launch(screen, share)) for screen in screens for share in range(shares)]
    status = 0
    for screen, share, walk in runs:
        output, _ = walk.communicate()
        sys.stdout.write(output)
        if walk.returncode != 0:
            log(f"== share {share + 1} of {shares} ({screen}) failed: walked once more")
            again = launch(screen, share)
            output, _ = again.communicate()
            sys.stdout.write(output)
            status = status or again.returncode
    return status


def main():
    parser = argparse.ArgumentParser(description="The acceptance walk and the monkey of the real program.")
    parser.add_argument("mode", choices=["walk", "monkey"])
    parser.add_argument("--screens", default="wm,nowm",
                        help="with (wm) and/or without (nowm) a window manager, in this order; the monkey takes the first")
    parser.add_argument("--build", default="build", help="build folder, relative to the repository")
    parser.add_argument("--walk", default=os.path.join(HERE, "walk.txt"))
    parser.add_argument("--shares", type=int, default=int(os.environ.get("ACCEPT_SHARES", "2")),
                        help="the walk of each screen runs in this many parts at once")
    parser.add_argument("--shard", default="", help=argparse.SUPPRESS)
    parser.add_argument("--seconds", type=float, default=120)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    whole = not args.shard  # not yet one share of a walk split up
    args.shard = tuple(int(n) for n in args.shard.split("/")) if args.shard else (0, 1)
    if os.geteuid() == 0 and not os.environ.get("ACCEPT_NETNS") and shutil.which("unshare"):
        # A network of our own: the simulated device's fixed port is ours alone.
        os.execvp("unshare", ["unshare", "-n", "--", "sh", "-c", 'ip link set lo up && exec "$@"', "sh",
                              "env", "ACCEPT_NETNS=1", sys.executable, *sys.argv])
    # Stopped from outside, it still takes its X server, window manager and program down with it.
    for stop in (signal.SIGTERM, signal.SIGINT):
        signal.signal(stop, lambda number, frame: sys.exit(128 + number))
    screens = args.screens.split(",")
    if args.mode == "walk" and whole and (len(screens) > 1 or args.shares > 1):
        return walk_side_by_side(screens, max(1, args.shares))
    passed = failed = skipped = 0
    for screen in screens if args.mode == "walk" else screens[:1]:
        args.wm = screen == "wm"
        run = Walk(args) if args.mode == "walk" else Monkey(args)
        try:
            run.run()
        finally:
            run.finish()
        passed, failed, skipped = passed + run.passed, failed + run.failed, skipped + getattr(run, "skipped", 0)
    if skipped:
        log(f"{skipped} steps skipped after a failure in their paragraph")
    log(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
