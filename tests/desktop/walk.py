#!/usr/bin/env python3
"""Walks the four parts of the sample installation with the real program on a virtual X server
with a window manager, by mouse and keyboard (xdotool): a knowledge part, a practical part in
the compact window, a practical part with its tasks in the exam window and the finished-sample
viewer, and a web-style knowledge part with its operation practice. After every step it checks,
from the X server's stacking order, that the screen the candidate must use is the topmost
visible window and carries exactly its title. Where the candidate looks at something it reads
the screen's pixels: a chosen answer is drawn checked, the clock is redrawn, a scrolled sheet
moves, an exam window is above another program's top-most window again. Every part's process
must have ended after its hand-over, and none of the installation's is left at the end.

    walk.py BUILD_DIR WORK_DIR [FIRST_PART]

FIRST_PART (default 1) starts the walk at a later part, its earlier parts taken as ended: for
working on one part. Needs Xvfb, openbox, xprop, xwininfo and xdotool. Exits 0 when the walk
completes."""

import os
import re
import shutil
import signal
import subprocess
import sys
import time

import pixels

build, work = sys.argv[1], sys.argv[2]
first_part = int(sys.argv[3]) if len(sys.argv) > 3 else 1
program = os.path.join(build, "src", "examora")
make_sample = os.path.join(build, "tools", "sample", "examora-make-sample")
STEP_TIMEOUT = 15.0
started = time.monotonic()
processes = []
current_part = "1"


def log(text):
    print(f"[{time.monotonic() - started:5.1f} s] {text}", flush=True)


def run(*args, check=True):
    return subprocess.run(args, check=check, capture_output=True, text=True, env=ENV).stdout


def fail(text):
    log("FAILED: " + text)
    try:
        pixels.grab(ENV["DISPLAY"], 0, 0, 1280, 1024).save_png(os.path.join(work, "failed.png"))
        log(f"the screen at the failure: {work}/failed.png")
    except Exception as error:  # the walk's verdict stands without the picture
        log(f"no picture of the screen: {error}")
    log("stacking, bottom to top:\n  " + "\n  ".join(describe(w) for w in stacking()))
    part_log = os.path.join(sample, "system", current_part, "log.txt")
    if os.path.exists(part_log):
        with open(part_log, encoding="cp932", errors="replace") as f:
            log(f"part {current_part} log (end):\n" + "".join(f.readlines()[-15:]))
    sys.exit(1)


def cleanup():
    for p in reversed(processes):
        try:
            os.killpg(p.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            pass


# ---- the X server and the window manager --------------------------------------------------
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
ENV = dict(os.environ)
ENV["LC_ALL"] = "C.UTF-8"  # xprop prints titles as UTF-8 text
read_fd, write_fd = os.pipe()
xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                         "-nolisten", "tcp"], pass_fds=(write_fd,), start_new_session=True,
                        stderr=subprocess.DEVNULL)
processes.append(xvfb)
os.close(write_fd)
# The number comes with a line break, possibly in a second write: read up to it, and keep the
# pipe open (a write into a closed pipe ends the server).
display = b""
while not display.endswith(b"\n"):
    chunk = os.read(read_fd, 16)
    if not chunk:
        break
    display += chunk
display = display.decode().strip()
ENV["DISPLAY"] = ":" + display


def start_window_manager():
    """openbox, started again when it gives up early (it sometimes ends at once when the
    server has only just come up)."""
    for attempt in range(5):
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=ENV, start_new_session=True,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        processes.append(wm)
        for _ in range(100):
            if "window id" in run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False):
                return True
            if wm.poll() is not None:
                log(f"openbox ended with status {wm.returncode}: {wm.stderr.read()!r}")
                break
            time.sleep(0.1)
        time.sleep(0.5)
    return False


if not start_window_manager():
    log(f"openbox did not start on display {ENV['DISPLAY']}")
    cleanup()
    sys.exit(1)


# ---- what the X server shows --------------------------------------------------------------
def stacking():
    """Managed top-level windows, bottom to top, as the window manager stacks them."""
    out = run("xprop", "-root", "_NET_CLIENT_LIST_STACKING", check=False)
    return re.findall(r"0x[0-9a-f]+", out)


def title(window):
    out = run("xprop", "-id", window, "_NET_WM_NAME", check=False)
    m = re.search(r'= "(.*)"\s*$', out)
    return m.group(1) if m else ""


def viewable(window):
    return "IsViewable" in run("xwininfo", "-id", window, check=False)


def geometry(window):
    """Left, top, width, height; None once the window is gone."""
    out = run("xwininfo", "-id", window, check=False)
    found = [re.search(key + r":\s+(-?\d+)", out) for key in
             ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
    return None if None in found else tuple(int(m.group(1)) for m in found)


def describe(window):
    return f"{window} {'shown ' if viewable(window) else 'hidden'} {title(window)!r}"


def top_window():
    for window in reversed(stacking()):
        if viewable(window):
            return window
    return None


def expect_top(expected, what):
    """Waits until the topmost visible window's title is exactly expected."""
    deadline = time.monotonic() + STEP_TIMEOUT
    while time.monotonic() < deadline:
        window = top_window()
        if window and title(window) == expected:
            time.sleep(0.3)  # settled: still on top a moment later
            if top_window() == window:
                log(f"{what}: on top, titled {expected!r}")
                return window
        time.sleep(0.2)
    fail(f"{what}: expected {expected!r} on top")


def click(window, x, y):
    """A real click at window-relative coordinates (negative: from the right/bottom edge)."""
    where = geometry(window)
    if where is None:
        fail(f"no window {window} to click")
    left, top, width, height = where
    x = x if x >= 0 else width + x
    y = y if y >= 0 else height + y
    # (no --sync: it waits for the pointer to move, forever when it is already there)
    run("xdotool", "mousemove", str(left + x), str(top + y), "sleep", "0.1", "click", "1")


def press(window, x, y, expected, what):
    """Clicks a button and waits for the screen it leads to; a click that only brought the
    window to the front is repeated."""
    for _ in range(3):
        click(window, x, y)
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            top = top_window()
            if top and title(top) == expected:
                return expect_top(expected, what)
            time.sleep(0.2)
        alive()
        if not viewable(window):
            break  # the click was taken; what it leads to is only slow to come
    return expect_top(expected, what)


def expect_uncovered(expected, what):
    """Waits until the window titled expected is shown with no window above it overlapping it:
    for the practice steps, which open beside the practice window rather than above it."""
    deadline = time.monotonic() + STEP_TIMEOUT
    while time.monotonic() < deadline:
        order = [w for w in stacking() if viewable(w)]
        mine = [w for w in order if title(w) == expected]
        where = geometry(mine[-1]) if mine else None
        if where:
            x, y, w, h = where
            above = order[order.index(mine[-1]) + 1:]
            covered = [o for o in above
                       if (lambda a: a and a[0] < x + w and x < a[0] + a[2] and a[1] < y + h
                           and y < a[1] + a[3])(geometry(o))]
            if not covered:
                log(f"{what}: shown uncovered, titled {expected!r}")
                return mine[-1]
        time.sleep(0.2)
    fail(f"{what}: expected {expected!r} shown and not covered")


def expect_active(window, what):
    """Waits until the window has the keyboard (the window manager's active window)."""
    deadline = time.monotonic() + STEP_TIMEOUT
    settled = False
    while time.monotonic() < deadline:
        out = run("xprop", "-root", "_NET_ACTIVE_WINDOW", check=False)
        m = re.search(r"window id # (0x[0-9a-f]+)", out)
        if m and int(m.group(1), 16) == int(window, 16):
            if settled:
                log(f"{what}: active")
                return
            settled = True
            time.sleep(0.3)  # still active a moment later
            continue
        settled = False
        time.sleep(0.2)
    fail(f"{what}: expected {describe(window)} to be the active window")


def window_titled(text):
    """The topmost visible window titled text, waited for."""
    deadline = time.monotonic() + STEP_TIMEOUT
    while time.monotonic() < deadline:
        for window in reversed(stacking()):
            if viewable(window) and title(window) == text:
                return window
        time.sleep(0.2)
    fail(f"no window titled {text!r}")


def keys(*names):
    run("xdotool", "key", "--delay", "30", *names)


def type_text(text):
    run("xdotool", "type", "--delay", "30", text)


# ---- what the candidate sees: the screen's pixels -------------------------------------------
def grab(window, x, y, width, height):
    """The pixels of a rectangle at window-relative coordinates, as the screen shows them."""
    where = geometry(window)
    if where is None:
        fail(f"no window {window} to look at")
    return pixels.grab(ENV["DISPLAY"], where[0] + x, where[1] + y, width, height)


def wait_for_pixels(what, condition, timeout=5.0):
    """Waits until condition() (which reads the screen) holds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            log(f"{what}: seen on the screen")
            return
        time.sleep(0.1)
    fail(f"{what}: not seen on the screen")


def pointer_away():
    """The pointer off every window of ours, so that no hover look is drawn."""
    run("xdotool", "mousemove", "1270", "1010")


class ForeignTopMost:
    """Another program's top-most window: a plain X window asked to be kept above, as a
    program that keeps itself on top would (a messenger, a clock)."""

    def __init__(self, left, top, width, height):
        self.x = pixels.Display(ENV["DISPLAY"])
        self.window = self.x.create_window(left, top, width, height, 0xFF00FF, above=True)

    def close(self):
        self.x.close()


def magenta(rgb):
    return rgb[0] > 240 and rgb[1] < 16 and rgb[2] > 240


def expect_above_foreign(window, part, what):
    """Covers the middle of window with another program's top-most window and waits until the
    window's on-top guard has brought it back over it: its centre is no longer the other
    window's colour. The part's program is stopped while the other window comes up, so that it
    is seen on top before the guard can answer; the guard's interval is still short here."""
    left, top, width, height = geometry(window)
    cx, cy = width // 2, height // 2
    pid = next(p for p, exe in installation_processes().items()
               if exe == f"[{part}]{PART_NAMES[part]}.exe")
    os.kill(pid, signal.SIGSTOP)
    try:
        foreign = ForeignTopMost(left + cx - 60, top + cy - 25, 120, 50)
        wait_for_pixels(f"{what}: another program's top-most window covers it",
                        lambda: magenta(grab(window, cx, cy, 1, 1).at(0, 0)))
    finally:
        os.kill(pid, signal.SIGCONT)
    try:
        wait_for_pixels(f"{what}: above the other program's top-most window again",
                        lambda: not magenta(grab(window, cx, cy, 1, 1).at(0, 0)), 8.0)
    finally:
        foreign.close()


# ---- the processes of the installation ---------------------------------------------------------
def installation_processes():
    """Pids of the programs running from the sample installation, by executable file name."""
    found = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            exe = os.readlink(f"/proc/{entry}/exe")
        except OSError:
            continue
        if os.path.dirname(exe) == sample:
            found[int(entry)] = os.path.basename(exe)
    return found


def expect_part_ended(part, name):
    """The part's process has gone after its hand-over; it must not linger, idle and holding
    the part's lock."""
    exe = f"[{part}]{name}.exe"
    deadline = time.monotonic() + STEP_TIMEOUT
    while time.monotonic() < deadline:
        if exe not in installation_processes().values():
            log(f"part {part}: its process has ended")
            return
        time.sleep(0.2)
    fail(f"part {part}: its process {exe} is still running after the hand-over")


# ---- the exam files ----------------------------------------------------------------------------
def set_ini(path, section, key, value):
    """Sets one key of a CP932 INI file with CR LF lines, as the exam files are."""
    with open(path, "rb") as f:
        lines = f.read().decode("cp932").split("\r\n")
    current = None
    for i, line in enumerate(lines):
        if line.startswith("["):
            current = line.strip("[]")
        elif current == section and line.split("=", 1)[0] == key:
            lines[i] = f"{key}={value}"
            break
    else:
        fail(f"{path}: no [{section}] {key}")
    with open(path, "wb") as f:
        f.write("\r\n".join(lines).encode("cp932"))


# ---- the sample installation ----------------------------------------------------------------
sample = os.path.join(work, "sample")
subprocess.run([make_sample, sample, "--program", program], check=True,
               stdout=subprocess.DEVNULL)
# Without the operation practice the exam start leads straight to the exam window.
shutil.rmtree(os.path.join(sample, "system", "Z1"))
# The later part's details are entered already, as the first part leaves them; the venue code
# and the number are typed below (or, starting later, as part 1 left them).
shiken = os.path.join(sample, "system", "shiken.ini")
details = [("姓", "山田"), ("名", "花子"), ("年", "1995"), ("月", "4"), ("日", "1"), ("性別", "2")]
if first_part > 1:
    details += [("会場コード", "12345"), ("受験番号", "000123")]
for key, value in details:
    set_ini(shiken, "受験者情報", key, value)
# A second installation whose module of page screens is damaged, for the last step.
damaged = os.path.join(work, "damaged")
shutil.copytree(sample, damaged)
for name in os.listdir(damaged):
    if name.startswith("examora-pages."):
        with open(os.path.join(damaged, name), "wb") as f:
            f.write(b"not a module")
# Starting later: the earlier parts have ended.
for earlier in range(1, first_part):
    set_ini(os.path.join(sample, "system", str(earlier), "setup.ini"), "基本情報", "正常終了", "E")

ENV.update({
    "QT_QPA_PLATFORM": "xcb",
    "QT_QUICK_BACKEND": "software",
    "QTWEBENGINE_CHROMIUM_FLAGS": "--disable-gpu",
    "XDG_RUNTIME_DIR": os.path.join(work, "runtime"),
})
os.makedirs(ENV["XDG_RUNTIME_DIR"], mode=0o700)
# The folders the parts open come up in a stand-in file manager, whose windows take the
# keyboard as a real one's do.
opener = os.path.join(work, "bin")
os.makedirs(opener)
os.symlink(os.path.join(os.path.dirname(os.path.abspath(__file__)), "file-manager.py"),
           os.path.join(opener, "xdg-open"))
ENV["PATH"] = opener + os.pathsep + ENV["PATH"]
# For a sanitizer build: the browser engine frees some of its objects with a mismatched size,
# and leaks are the unit tests' business (the part ends by handing over, this walk kills).
ENV.setdefault("ASAN_OPTIONS", "new_delete_type_mismatch=0:detect_leaks=0")
# The program as the README's demo starts it: whatever user runs this, no sandbox switch.
ENV.pop("QTWEBENGINE_DISABLE_SANDBOX", None)
PART_NAMES = {1: "知識", 2: "実技", 3: "実技問題", 4: "Web知識"}


def start_part(folder, part, stderr=subprocess.DEVNULL):
    p = subprocess.Popen([os.path.join(folder, f"[{part}]{PART_NAMES[part]}.exe")], cwd=folder,
                         env=ENV, start_new_session=True, stdout=subprocess.DEVNULL,
                         stderr=stderr)
    processes.append(p)
    return p


exam = start_part(sample, first_part, open(os.path.join(work, "examora.err"), "wb"))
current_part = str(first_part)


def alive():
    """The first part's process runs until it hands over; later parts are started by the
    earlier ones."""
    if current_part == str(first_part) and exam.poll() is not None:
        fail(f"the program ended with status {exam.returncode} (see {work}/examora.err)")


def engine_loaded(process):
    """Whether the browser engine's library is mapped into the process."""
    with open(f"/proc/{process.pid}/maps") as f:
        return "libQt6WebEngineCore" in f.read()


def wizard(part, name):
    """Candidate information (filled in by the first part) → notes → operation explanation."""
    global current_part
    current_part = part
    w = expect_top(f"{booklet} [{name}]", f"part {part}: candidate information")
    press(w, -48, -22, f"{booklet}[{name}]", f"part {part}: notes")
    w = top_window()
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline and title(top_window()) == f"{booklet}[{name}]":
        click(w, -48, -22)
        time.sleep(0.5)
    w = expect_top("操作説明", f"part {part}: operation explanation")
    return press(w, -48, -22, "試験開始", f"part {part}: exam start")


booklet = "コンピュータ技能検定２級 サンプル問題"


def part1():
    # Candidate information: typing starts in the first field.
    w = expect_top(f"{booklet} [知識]", "candidate information")
    # The browser engine loads with the screens that show pages, not before the first screen.
    if engine_loaded(exam):
        fail("the browser engine is loaded before the notes")
    type_text("12345")
    keys("Tab")
    type_text("000123")
    click(w, -48, -22)  # 次へ >
    # Notes: the browser starts here; as root the program must start it, not end.
    w = expect_top(f"{booklet}[知識]", "notes")
    alive()
    if not engine_loaded(exam):
        fail("the notes are shown without the browser engine")
    # 次へ > through the notes pages and on; the button is enabled once a page is loaded.
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline and title(top_window()) == f"{booklet}[知識]":
        click(w, -48, -22)
        time.sleep(0.5)
        alive()
    w = expect_top("操作説明", "operation explanation")
    click(w, -48, -22)  # 次へ >
    w = expect_top("試験開始", "exam start")
    click(w, -48, -22)  # 試験開始 >
    w = expect_top(f"{booklet} Aパターン(HTML5) 知識", "knowledge exam window")
    click(w, -212, 40)  # 試験終了
    w = expect_top("提出用ファイルの確認", "answer status confirmation")
    click(w, 70, -27)  # はい
    # The sample is a sample exam: its score is shown before the part ends.
    w = expect_top("知識採点", "knowledge scoring")
    click(w, -48, -22)  # 次へ >
    # Hand-over: part 1 ends and starts part 2, whose candidate screen comes up on top.
    expect_top(f"{booklet} [実技]", "hand-over to part 2")
    expect_part_ended(1, "知識")


def part2():
    # Practical in the compact window: the start notice opens above the window, whose on-top
    # guard keeps raising it, also over another program's top-most window; the confirmation
    # opens above it too.
    w = wizard("2", "実技")
    press(w, -48, -22, "実技問題の開始", "part 2: start notice above the compact window")
    compact = [x for x in stacking() if (geometry(x) or (0, 0, 0, 0))[3] == 61]
    if not compact:
        fail("part 2: no compact window 61 pixels high")
    expect_supplement_whole(compact[0])
    press(window_titled("実技問題の開始"), 235, -27, title(compact[0]),
          "part 2: compact window after the notice")
    expect_above_foreign(compact[0], 2, "part 2: compact window")
    w = press(compact[0], -37, 42, "提出用ファイルの確認", "part 2: practical confirmation")
    press(w, 70, -27, f"{booklet} [実技問題]", "hand-over to part 3")
    expect_part_ended(2, "実技")


def expect_supplement_whole(strip):
    """The strip's third title line (補足説明) ends before the edge of its place beside the
    buttons: nothing of it is cut off. Its place starts 6 pixels in and leaves the strip's last
    204 pixels to the clock and the buttons."""
    width = geometry(strip)[2]
    right = width - 204
    line = grab(strip, 0, 35, right, 15)
    white = [x for x in range(6, right) for y in range(15) if min(line.at(x, y)) > 200]
    if not white:
        fail("part 2: the strip's supplementary line is not drawn")
    if max(white) >= right - 3:
        line.save_png(os.path.join(work, "failed-line.png"))
        fail(f"part 2: the supplementary line runs into the edge of its place at x {right}: "
             "it is cut off")


def part3():
    # Practical with its tasks in the exam window: the finished-sample viewer opens above the
    # strip that its on-top guard keeps on top, and goes again.
    w = wizard("3", "実技問題")
    strip_title = f"{booklet} Aパターン(HTML5) 実技問題"
    strip = press(w, -48, -22, strip_title, "part 3: practical exam window")
    expect_above_foreign(strip, 3, "part 3: practical exam window")
    press(strip, 211, 98, "仕上り見本(１／３)", "part 3: finished-sample viewer above the strip")
    # The viewer belongs to the window: a click on the question page leaves it above.
    click(strip, 300, 500)
    expect_top("仕上り見本(１／３)", "part 3: viewer still above the strip after a click on it")
    press(strip, 211, 98, strip_title, "part 3: viewer closed")
    w = press(strip, 313, 98, "提出用ファイルの確認", "part 3: practical confirmation")
    press(w, 70, -27, f"{booklet} [Web知識]", "hand-over to part 4")
    expect_part_ended(3, "実技問題")


# The answer-only window's clock (TimeProgress1, the elapsed minutes) and its sheet.
CLOCK = (80, 62, 25, 17)
SHEET_TOP, SHEET_ROW = 120, 32


def part4():
    # Web-style knowledge part: the practice chain beside the answer-only window, the start
    # screen again, the exam with the start-page guide above the window, the part end.
    w = wizard("4", "Web知識")
    w = press(w, -95, -28, "Webブラウザーの起動", "part 4: practice, browser start")
    w = press(w, -65, -32, "「start_rensyu.html」ファイルの表示", "part 4: practice page")
    # The practice opened its folder just before: the guide takes the keyboard back from the
    # file manager's window.
    expect_active(w, "part 4: practice page has the keyboard")
    # The practice window opens now, beside the step that asked for it.
    click(w, -65, -32)
    w = expect_uncovered("ウィンドウの配置", "part 4: window layout beside the answer window")
    answer_title = f"{booklet} Aパターン(HTML5) Web知識"
    practice_window = window_titled(answer_title)
    # The practice's clock stays at " 0/": what the exam's clock must no longer look like
    # once its first tick has shown the minutes it resumes from.
    time.sleep(1.5)
    zero_clock = grab(practice_window, *CLOCK)
    # The steps' main buttons have the focus: Return goes on, once the practice window that
    # opened beside the first step has given the keyboard back to it.
    expect_active(w, "part 4: window layout has the keyboard")
    keys("Return")
    w = expect_uncovered("知識問題操作練習", "part 4: practice steps")
    expect_active(w, "part 4: practice steps have the keyboard")
    keys("Return")
    w = expect_top("知識問題操作練習終了", "part 4: practice end confirmation")
    w = press(w, -69, -29, "試験開始", "part 4: exam start after the practice")
    # The part was interrupted at 12 minutes and is started again; its window is kept lower
    # than its sheet, so that the sheet scrolls.
    setup4 = os.path.join(sample, "system", "4", "setup.ini")
    set_ini(setup4, "試験時間", "now", "12")
    set_ini(setup4, "画面情報", "高さ", "420")
    guide = press(w, -48, -22, "「start.html」ファイルの表示",
                  "part 4: start-page guide above the answer-only window")
    answers = window_titled(answer_title)
    if "_NET_WM_STATE_ABOVE" not in run("xprop", "-id", answers, "_NET_WM_STATE", check=False):
        fail("part 4: the answer-only window is not kept above other windows")
    wait_for_pixels("part 4: the clock redrawn with the minutes resumed from",
                    lambda: grab(answers, *CLOCK).differs(zero_clock))
    # An answer chosen while the guide is open: the window takes it and draws it checked (its
    # ア differs from the unchosen イ beside it), and the guide, which belongs to the window,
    # stays above it.
    click(answers, 86, 167)  # 問題1-1 ア
    expect_active(answers, "part 4: answer-only window clicked with the guide open")
    pointer_away()
    wait_for_pixels("part 4: 問題1-1 ア drawn checked",
                    lambda: grab(answers, 79, 159, 17, 17).differs(grab(answers, 103, 159, 17, 17)))
    expect_top("「start.html」ファイルの表示", "part 4: start-page guide still above the window")
    press(guide, -68, -28, answer_title, "part 4: answer-only window")
    # One wheel notch, turned over a choice, moves the sheet by one row on the screen, not
    # only for the widgets. (the rows' part of the sheet, without its scroll bar)
    _, _, width, height = geometry(answers)
    width, sheet_height = width - 24, height - SHEET_TOP - 41
    before = grab(answers, 0, SHEET_TOP, width, sheet_height)
    run("xdotool", "mousemove", str(geometry(answers)[0] + 86),
        str(geometry(answers)[1] + SHEET_TOP + 3 * SHEET_ROW + 16), "click", "5")
    pointer_away()

    def moved_one_row():
        after = grab(answers, 0, SHEET_TOP, width, sheet_height)
        return after.shifted_up(before, SHEET_ROW)
    wait_for_pixels("part 4: the sheet drawn one row further down", moved_one_row)
    # The row now under the first sub-question's place is 問題1-2: a click there chooses 1-2 ア.
    click(answers, 86, 167)
    pointer_away()
    w = press(answers, 180, 70, "解答状況の確認", "part 4: answer status confirmation")
    w = press(w, 70, -27, "知識採点", "part 4: knowledge scoring")
    w = press(w, -48, -22, "知識問題の終了", "part 4: part end notice")
    # 次へ >: the last part hands over to the submission-file tool, which the sample does not
    # ship; the E11 saying so comes up on top, and its OK ends the program.
    press(w, -70, -29, "エラー", "part 4: message of the missing submission-file tool")
    keys("Return")
    deadline = time.monotonic() + STEP_TIMEOUT
    while time.monotonic() < deadline and any(viewable(x) for x in stacking()):
        time.sleep(0.2)
    if any(viewable(x) for x in stacking()):
        fail("part 4: windows left after the last part ended")
    expect_part_ended(4, "Web知識")
    answer_file = os.path.join(sample, "system", "4", "a.csv")
    with open(answer_file, "rb") as f:
        record = f.read().decode("cp932").strip().split(",")
    # Grade code, part code, venue code, number, then 1-1, 1-2, ...
    if record[4:6] != ["1", "1"]:
        fail(f"part 4: a.csv holds {record[4:6]} for 1-1 and 1-2, not the two choices made")
    # Nothing of the part runs any more: started again, it is not refused by its own lock
    # (the sample, a sample exam, records no end), and closed from its first screen it ends.
    global current_part, exam, first_part
    current_part, first_part = "4", 4
    exam = again = start_part(sample, 4)
    w = expect_top(f"{booklet} [Web知識]", "part 4 started again: candidate information")
    press(w, -65, 35, "確認", "part 4 started again: 閉じる asks")
    keys("Tab", "Return")  # from いいえ, the default, to はい
    try:
        again.wait(STEP_TIMEOUT)
    except subprocess.TimeoutExpired:
        fail("part 4 started again: the program did not end when closed")


def damaged_module():
    # A damaged module of page screens: 次へ on the candidate screen says why the notes cannot
    # be shown and keeps the candidate there, rather than ending or hanging.
    global sample, current_part, exam, first_part
    sample, current_part, first_part = damaged, "1", 1
    exam = start_part(damaged, 1)
    w = expect_top(f"{booklet} [知識]", "damaged module: candidate information")
    type_text("12345")
    keys("Tab")
    type_text("000123")
    press(w, -48, -22, "エラー", "damaged module: the message naming the module")
    keys("Return")
    expect_top(f"{booklet} [知識]", "damaged module: back on the candidate screen")
    alive()
    with open(os.path.join(damaged, "system", "1", "log.txt"), encoding="cp932") as f:
        if "E11問題・注意事項を表示するモジュールを読み込めません。" not in f.read():
            fail("damaged module: the log does not say why the notes were not shown")


try:
    for part, walk_part in ((1, part1), (2, part2), (3, part3), (4, part4)):
        if part >= first_part:
            walk_part()
    left = installation_processes()
    if left:
        fail(f"programs of the installation still running: {sorted(left.values())}")
    damaged_module()
    log("walk complete")
finally:
    cleanup()
