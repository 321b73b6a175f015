#!/usr/bin/python3
"""The measuring pieces of run_program_bench.sh, which runs Zelmora and GTick
from outside (Xvfb, a private PulseAudio null sink) and prints their figures.

Every time here is CLOCK_MONOTONIC in nanoseconds (the clock steady_clock
reads on Linux, as the sink rate meter in tests/support does).

  record RAW ARRIVALS      reads a raw mono s16le monitor stream on stdin until
                           it ends: the samples go to RAW, and every read as a
                           "frames-so-far ns" line to ARRIVALS
  xwatch LOG               watches the X server from before a program starts:
                           every top-level window's creation, mapping (with
                           its name and pid) and every repaint (DAMAGE,
                           raw rectangles), stamped on arrival
  key WINDOW KEY [COUNT [SPACING_MS]]
                           focuses WINDOW and presses KEY (an X keysym name)
                           through XTEST, as xdotool does, printing
                           "key KEY ns" for each press
  launch STAMP PROGRAM...  writes "launch ns" to STAMP and executes PROGRAM
  cpu NAME PID SECONDS PALOG
                           sleeps SECONDS; prints the processor time PID used
                           meanwhile (utime+stime of all its threads, from
                           /proc/PID/stat) and the sound server log's length
                           before and after, as the stretch NAME
  sigstop PID COUNT MS SPACING_S PALOG
                           stops PID for MS milliseconds COUNT times,
                           SPACING_S apart
  mark NAME PALOG          prints "NAME ns log-lines"
  analyze RUN.json RESULTS.jsonl
                           prints one run's figures and adds them to RESULTS
  summary RESULTS.jsonl    prints the side-by-side table of all runs
"""

import array
import ast
import bisect
import json
import math
import operator
import os
import re
import select
import signal
import statistics
import sys
import time

RATE = 48000


def now_ns():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC)


def log_lines(path):
    """Lines in the sound server's log so far (it is only appended to)."""
    try:
        with open(path, "rb") as f:
            return sum(chunk.count(b"\n") for chunk in iter(lambda: f.read(1 << 16), b""))
    except OSError:
        return 0


# ---------------------------------------------------------------- recording


def cmd_record(raw_path, arrivals_path):
    # Small reads as they come: each read's arrival time and the frames
    # received so far place the recording on CLOCK_MONOTONIC (see
    # FrameClock).
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    total = 0
    with open(raw_path, "wb") as out, open(arrivals_path, "w") as log:
        while True:
            data = os.read(0, 1 << 16)
            t = now_ns()
            if not data:
                break
            out.write(data)
            total += len(data)
            log.write(f"{total // 2} {t}\n")


# ---------------------------------------------------------------- X server


def x_display():
    from Xlib import display

    return display.Display()


def cmd_xwatch(log_path):
    from Xlib import X
    from Xlib.ext import damage

    d = x_display()
    if not d.has_extension("DAMAGE"):
        sys.exit("xwatch: the X server has no DAMAGE extension")
    d.damage_query_version()
    # (python-xlib registers a copy of the event class: compare codes.)
    damage_notify = d.query_extension("DAMAGE").first_event + damage.DamageNotifyCode
    # Windows may be gone before we get to them: errors are expected.
    d.set_error_handler(lambda *_: None)
    root = d.screen().root
    root.change_attributes(event_mask=X.SubstructureNotifyMask)
    pid_atom = d.intern_atom("_NET_WM_PID")
    out = open(log_path, "w", buffering=1)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))

    def watch(window):
        # Raw rectangles: an event for every drawing into the window, so
        # that each repaint is seen however many came before.
        try:
            window.damage_create(damage.DamageReportRawRectangles)
            d.flush()
        except Exception:  # noqa: BLE001 - a window already gone
            pass

    d.sync()
    out.write(f"ready {now_ns()}\n")
    fd = d.fileno()
    while True:
        if not d.pending_events():
            select.select([fd], [], [])
        # Every event read in one go is stamped with the time it came in;
        # only a mapping asks the server anything before the next read.
        t = now_ns()
        while d.pending_events():
            ev = d.next_event()
            if ev.type == damage_notify:
                a = ev.area
                out.write(f"damage {ev.drawable.id} {t} {a.x} {a.y} {a.width} {a.height}\n")
            elif ev.type == X.CreateNotify:
                watch(ev.window)
                out.write(f"create {ev.window.id} {t}\n")
            elif ev.type == X.MapNotify:
                name, pid = "", 0
                try:
                    name = ev.window.get_wm_name() or ""
                    if isinstance(name, bytes):
                        name = name.decode("latin-1")
                    prop = ev.window.get_full_property(pid_atom, X.AnyPropertyType)
                    pid = int(prop.value[0]) if prop else 0
                except Exception:  # noqa: BLE001 - a window already gone
                    pass
                out.write(f"map {ev.window.id} {t} {pid} {name!r}\n")


def cmd_key(window_id, key, count=1, spacing_ms=0):
    from Xlib import X, XK
    from Xlib.ext import xtest

    d = x_display()
    window = d.create_resource_object("window", int(window_id, 0))
    window.set_input_focus(X.RevertToParent, X.CurrentTime)
    d.sync()
    code = d.keysym_to_keycode(XK.string_to_keysym(key))
    if code == 0:
        sys.exit(f"key: no key code for {key}")
    first = now_ns()
    for i in range(int(count)):
        due = first + int(i * float(spacing_ms) * 1e6)
        while (left := due - now_ns()) > 0:
            time.sleep(left / 1e9)
        # The press reaches the server between these two readings (the
        # sync is one round trip, well under a millisecond here).
        t0 = now_ns()
        xtest.fake_input(d, X.KeyPress, code)
        d.sync()
        t1 = now_ns()
        xtest.fake_input(d, X.KeyRelease, code)
        d.sync()
        print(f"key {key} {(t0 + t1) // 2}", flush=True)


def cmd_launch(stamp_path, program, *args):
    with open(stamp_path, "w") as f:
        f.write(f"launch {now_ns()}\n")
    os.execv(program, [program, *args])


# ---------------------------------------------------------------- processes


def cpu_ticks(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rpartition(")")[2].split()
    # utime and stime (fields 14 and 15 of proc(5)), summed over all the
    # process's threads by the kernel.
    return int(fields[11]) + int(fields[12])


def cmd_cpu(name, pid, seconds, palog):
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    hz = os.sysconf("SC_CLK_TCK")
    lines0 = log_lines(palog)
    t0, c0 = now_ns(), cpu_ticks(pid)
    time.sleep(float(seconds))
    t1, c1 = now_ns(), cpu_ticks(pid)
    lines1 = log_lines(palog)
    used = (c1 - c0) / hz
    print(f"cpu {t0} {t1} {used:.3f} {lines0} {lines1} {name}", flush=True)


def cmd_sigstop(pid, count, ms, spacing_s, palog):
    pid = int(pid)
    # Stopped here, the process must go on even if this one is ended.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    for _ in range(int(count)):
        lines = log_lines(palog)
        t0 = now_ns()
        try:
            os.kill(pid, signal.SIGSTOP)
            time.sleep(float(ms) / 1e3)
        finally:
            os.kill(pid, signal.SIGCONT)
        t1 = now_ns()
        print(f"sigstop {t0} {t1} {lines}", flush=True)
        time.sleep(float(spacing_s))
    print(f"sigstop_end {now_ns()} {log_lines(palog)}", flush=True)


def cmd_mark(name, palog):
    print(f"{name} {now_ns()} {log_lines(palog)}", flush=True)


# ---------------------------------------------------------------- analysis


def fit_line(xs, ys):
    n = len(xs)
    mx, my = sum(xs) / n, sum(ys) / n
    sxx = sum((x - mx) ** 2 for x in xs)
    sxy = sum((x - mx) * (y - my) for x, y in zip(xs, ys))
    slope = sxy / sxx if sxx else 0.0
    return my - slope * mx, slope


class FrameClock:
    """Where the recording's frames lie on CLOCK_MONOTONIC.

    Reads arrive late by a varying amount but never early, so a line is fitted
    through the earliest arrival of each second (the first second left out:
    the stream starts in bursts), as the sink rate meter does; its slope is
    the sink's own rate against CLOCK_MONOTONIC.

    Which frame an arrival stands for: the null sink renders a block (its
    latency, about 10 ms) at the moment that block starts to play and hands
    it to the monitor at once, so the whole block arrives together, up to a
    block before its last frame is due. The earliest-arrival envelope of the
    frames received *after* each read (the sink rate meter's log) therefore
    places the sound up to one block early. Here reads that come within 1 ms
    of each other are taken as one block, and the frame counted *before* the
    block's first read is matched with that read's arrival: the block's first
    frame, which is due when the block is rendered. That envelope is late
    only by the delivery (server, recorder, pipe), which its earliest points
    keep near its floor. Both lines are kept; EarlyMs is how much earlier the
    other one places the sound, the size of the caveat.
    """

    def __init__(self, arrivals):
        self.arrivals = arrivals
        start_frames, start_times, end_frames, end_times = [], [], [], []
        previous_frames, previous_t = 0, None
        block_frames = []
        for frames, t in arrivals:
            if previous_t is None or t - previous_t > 1_000_000:
                start_frames.append(previous_frames)
                start_times.append(t)
                if len(start_frames) > 1:
                    block_frames.append(start_frames[-1] - start_frames[-2])
            end_frames.append(frames)
            end_times.append(t)
            previous_frames, previous_t = frames, t
        self.start_line = self._envelope(start_frames, start_times)
        self.end_line = self._envelope(end_frames, end_times)
        self.block_ms = statistics.median(block_frames) / RATE * 1e3 if block_frames else 0.0
        self.recorder_gaps = self._gaps(start_frames, start_times)

    @staticmethod
    def _earliest(frames, times):
        if not times:
            return [], []
        begin = times[0] + 1_000_000_000
        best = {}
        for f, t in zip(frames, times):
            if t < begin:
                continue
            second = (t - begin) // 1_000_000_000
            late = t - f * 1e9 / RATE
            if second not in best or late < best[second][0]:
                best[second] = (late, f, t)
        keys = sorted(best)
        return [best[k][1] for k in keys], [best[k][2] for k in keys]

    def _envelope(self, frames, times):
        xs, ys = self._earliest(frames, times)
        if len(xs) < 3:
            raise SystemExit("analyze: the recording is too short to place on the clock")
        return fit_line(xs, ys)

    def _gaps(self, frames, times):
        """Steps of the earliest envelope larger than 2 ms: frames the
        recorder lost (the envelope jumps late) or a sink that stalled."""
        xs, ys = self._earliest(frames, times)
        b, a = self.start_line
        residuals = [y - (b + a * x) for x, y in zip(xs, ys)]
        return sum(1 for r0, r1 in zip(residuals, residuals[1:]) if abs(r1 - r0) > 2e6)

    @property
    def fps(self):
        return 1e9 / self.start_line[1]

    def time_of(self, frame):
        b, a = self.start_line
        return b + a * frame

    def frame_of(self, t):
        b, a = self.start_line
        return (t - b) / a

    @property
    def early_ms(self):
        """How much earlier the end-frame envelope places a frame (middle of
        the recording)."""
        mid = self.arrivals[len(self.arrivals) // 2][0]
        b0, a0 = self.start_line
        b1, a1 = self.end_line
        return ((b0 + a0 * mid) - (b1 + a1 * mid)) / 1e6


def read_samples(path):
    samples = array.array("h")
    with open(path, "rb") as f:
        data = f.read()
    samples.frombytes(data[: len(data) // 2 * 2])
    if sys.byteorder != "little":
        samples.byteswap()
    return samples


BLOCK = RATE // 1000  # 1 ms


def block_peaks(samples, begin, count):
    peaks = []
    for k in range(count):
        seg = samples[begin + k * BLOCK:begin + (k + 1) * BLOCK]
        peaks.append(max(max(seg), -min(seg)) if seg else 0)
    return peaks


def find_clicks(samples, first, last, template=None):
    """Clicks that begin in samples[first:last], as dicts:

      start   the sample where the sound begins: the first one in the rising
              millisecond that stands above what was sounding before
      onset   where the clicks are measured, with a fractional part: with a
              template (Template), the start of the template's click where it
              fits this one best (cross-correlation, the peak interpolated),
              so that a click resampled on its way keeps its position to a
              fraction of a frame; else the start
      peak    its loudest sample in the 20 ms from its start
      energy  the sum of squares over those 20 ms (None when the next click
              comes sooner)
      clean   nothing sounding before it

    A click is found where the loudest sample of a millisecond reaches a
    tenth of the loudest in the stretch and 1.6 times the loudest of the 6 ms
    before (the millisecond just before left out: it may hold the beginning
    of the rise), at least 15 ms after the last one. Unlike a bare threshold
    this sees a click that starts while the last one still rings (a long
    sound at a fast tempo), and a second click right behind one.
    """
    first, last = max(first, 8 * BLOCK), min(last, len(samples))
    if last - first < BLOCK:
        return []
    base = first - 8 * BLOCK
    b = block_peaks(samples, base, (last - base) // BLOCK)
    loudest = max(b[8:], default=0)
    if loudest < 300:  # -40 dBFS: silence
        return []
    clicks, last_k = [], -100
    for k in range(8, len(b)):
        if b[k] < 0.1 * loudest or k - last_k < 15:
            continue
        before = max(b[k - 7:k - 1])
        if b[k] < 1.6 * before + 0.02 * loudest:
            continue
        last_k = k
        level = max(0.02 * loudest, 1.5 * before)
        start = base + k * BLOCK
        for i in range(base + (k - 1) * BLOCK, base + (k + 1) * BLOCK):
            if abs(samples[i]) >= level:
                start = i
                break
        seg = samples[start:start + RATE // 50]
        clicks.append({"start": start, "onset": float(start), "peak": max(max(seg), -min(seg)),
                       "energy": sum(v * v for v in seg), "clean": before < 0.02 * loudest})
    for c, n in zip(clicks, clicks[1:]):
        if n["start"] - c["start"] < RATE // 50:
            c["energy"] = None
    if template is not None:
        for c in clicks:
            c["onset"] = template.fit(samples, c["start"])
    return clicks


class Template:
    """The first full-sized click of a stretch, from 0.5 ms before its start
    to 4.5 ms after, to place the others against. Taken from the stretch
    itself, it has what the others have sounding before them (the last
    click's tail at a fast tempo) and the same way through the resampler;
    a click unlike the rest (the first after Space, say) lets the fit slip
    by a cycle of the sound."""

    LEAD, LENGTH, SEARCH = RATE // 2000, RATE * 5 // 1000, RATE // 1000

    def __init__(self, samples, clicks):
        typical = statistics.median(c["peak"] for c in clicks)
        chosen = next(c for c in clicks if c["peak"] >= 0.5 * typical)
        begin = chosen["start"] - self.LEAD
        self.wave = [float(v) for v in samples[begin:begin + self.LENGTH]]

    def fit(self, samples, start):
        lo = start - self.LEAD - self.SEARCH
        seg = samples[max(0, lo):lo + self.LENGTH + 2 * self.SEARCH + 1]
        if lo < 0 or len(seg) < self.LENGTH + 2 * self.SEARCH + 1:
            return float(start)
        w = self.wave
        corr = [sum(map(operator.mul, w, seg[lag:lag + self.LENGTH]))
                for lag in range(2 * self.SEARCH + 1)]
        best = max(range(len(corr)), key=corr.__getitem__)
        frac = 0.0
        if 0 < best < len(corr) - 1:
            c0, c1, c2 = corr[best - 1], corr[best], corr[best + 1]
            if c0 - 2 * c1 + c2 != 0:
                frac = 0.5 * (c0 - c2) / (c0 - 2 * c1 + c2)
        return start + best - self.SEARCH + frac


def beats_and_fragments(clicks):
    """Clicks at least half as loud as the typical one are beats; quieter ones
    are fragments: the rest of a sound resumed after a gap in the output."""
    if not clicks:
        return [], []
    typical = statistics.median(c["peak"] for c in clicks)
    beats = [c for c in clicks if c["peak"] >= 0.5 * typical]
    return beats, [c for c in clicks if c["peak"] < 0.5 * typical]


def percentile(values, p):
    if not values:
        return float("nan")
    v = sorted(values)
    k = (len(v) - 1) * p / 100.0
    lo, hi = math.floor(k), math.ceil(k)
    return v[lo] + (v[hi] - v[lo]) * (k - lo)


def read_events(path):
    events = []
    try:
        with open(path) as f:
            for line in f:
                parts = line.split()
                if parts:
                    events.append(parts)
    except OSError:
        pass
    return events


def window_maps(path):
    """(window, ns, pid, name) of every mapping the X watcher saw."""
    maps = []
    try:
        with open(path) as f:
            for line in f:
                if line.startswith("map "):
                    _, window, t, pid, name = line.rstrip("\n").split(" ", 4)
                    maps.append((window, int(t), int(pid), ast.literal_eval(name)))
    except OSError:
        pass
    return maps


def underruns(palog, begin, end):
    """Underruns the sound server logged between two of its log lengths, of
    any stream but the silent one that keeps the sink awake."""
    count = 0
    try:
        with open(palog, errors="replace") as f:
            for n, line in enumerate(f):
                if n < begin:
                    continue
                if n >= end:
                    break
                if " underrun of '" in line and "'/dev/zero'" not in line:
                    count += 1
    except OSError:
        pass
    return count


def interval_figures(onsets, period):
    """Figures of the intervals between consecutive beats (in frames).

    Intervals under half a period are doubled beats, over one and a half
    missed ones; the deviations are of the others, unless those are fewer
    than half of all, when they are of all of them ("irregular")."""
    intervals = [b - a for a, b in zip(onsets, onsets[1:])]
    if len(intervals) < 2:
        return None
    doubled = sum(1 for x in intervals if x < 0.5 * period)
    missed = sum(max(0, round(x / period) - 1) for x in intervals if x > 1.5 * period)
    regular = [x for x in intervals if 0.5 * period <= x <= 1.5 * period]
    irregular = len(regular) < max(2, len(intervals) / 2)
    if irregular:
        regular = intervals
    mean = statistics.fmean(regular)
    dev = [abs(x - mean) for x in regular]
    return {
        "intervals": len(regular),
        "irregular": irregular,
        "mean": mean,
        "max_dev": max(dev),
        "median_dev": statistics.median(dev),
        "p99_dev": percentile(dev, 99),
        "doubled": doubled,
        "missed": missed,
        "off_1ms": sum(1 for d in dev if d > RATE / 1000),
    }


def cmd_analyze(run_path, results_path):
    with open(run_path) as f:
        run = json.load(f)
    d = run["dir"]
    bpm = float(run["bpm"])
    period = 60.0 / bpm * RATE
    palog = run["palog"]
    arrivals = []
    with open(os.path.join(d, "arrivals")) as f:
        for line in f:
            a, b = line.split()
            arrivals.append((int(a), int(b)))
    clock = FrameClock(arrivals)
    samples = read_samples(os.path.join(d, "recording.raw"))
    events = read_events(os.path.join(d, "events"))
    result = {k: run[k] for k in ("program", "load", "bpm", "panel", "label")}
    result.update(fps=clock.fps, block_ms=clock.block_ms, early_ms=clock.early_ms,
                  recorder_gaps=clock.recorder_gaps)

    def clicks_between(t0, t1, template=None):
        return find_clicks(samples, int(clock.frame_of(t0)), int(math.ceil(clock.frame_of(t1))),
                           template)

    def first_click_after(t, within_s):
        found = clicks_between(t, t + within_s * 1e9)
        return (clock.time_of(found[0]["start"]) - t) / 1e6 if found else None

    # The launch: exec to the main window mapped and first painted.
    launch = [e for e in read_events(os.path.join(d, "launch")) if e[0] == "launch"]
    watch = read_events(os.path.join(d, "xwatch"))
    maps = window_maps(os.path.join(d, "xwatch"))
    if launch:
        t_exec = int(launch[0][1])
        main = next((m for m in maps if m[1] >= t_exec and re.fullmatch(run["main_window"], m[3])),
                    None)
        if main is not None:
            result["launch_map_ms"] = (main[1] - t_exec) / 1e6
            # Damage that comes with the mapping is the server filling in
            # the window's background; the program's own first paint comes
            # after its Expose, in a later read.
            paints = [int(e[2]) for e in watch if e[0] == "damage" and e[1] == main[0]
                      and int(e[2]) > main[1]]
            if paints:
                result["launch_paint_ms"] = (paints[0] - t_exec) / 1e6

    # Space to the first click.
    starts = [int(e[2]) for e in events if e[0] == "key" and e[1] == "space"]
    if starts:
        result["start_click_ms"] = first_click_after(starts[0], 3.0)

    # The measured stretch.
    stretch = [e for e in events if e[0] == "cpu"]
    playing = next((e for e in stretch if len(e) > 6 and e[6] == "playing"), None)
    template = None
    if playing is not None:
        t0, t1 = int(playing[1]), int(playing[2])
        seconds = (t1 - t0) / 1e9
        result["cpu_share"] = float(playing[3]) / seconds
        found = clicks_between(t0, t1)
        if found:
            template = Template(samples, found)
        clicks, fragments = beats_and_fragments(clicks_between(t0, t1, template))
        onsets = [c["onset"] for c in clicks]
        result["onsets"] = len(onsets)
        result["fragments"] = len(fragments)
        result["expected"] = seconds / (60.0 / bpm)
        fig = interval_figures(onsets, period)
        if fig:
            result.update(fig)
            # Beats that keep coming a whole number of periods apart (every
            # other one missing) are measured against that many periods.
            k = max(1, round(fig["mean"] / period))
            result["tempo_periods"] = k
            result["tempo_err_frames"] = fig["mean"] / k - period
            result["tempo_err_ppm"] = (fig["mean"] / k / period - 1) * 1e6
            wall = fig["mean"] / k / clock.fps
            result["wall_err_us"] = (wall - 60.0 / bpm) * 1e6
            result["wall_err_ppm"] = (wall / (60.0 / bpm) - 1) * 1e6
        energies = [c["energy"] for c in clicks if c["energy"] is not None]
        if energies:
            typical = statistics.median(energies)
            result["changed_clicks"] = sum(1 for e in energies if abs(e - typical) > 0.2 * typical)
        result["underruns"] = underruns(palog, int(playing[4]), int(playing[5]))

        # Flash minus sound: the beat panel's repaints against the clicks.
        panel = {m[0] for m in maps if re.fullmatch(run.get("panel_window", "(?!)"), m[3])}
        if run["panel"] == "shown" and panel:
            stamps = sorted(int(e[2]) for e in watch if e[0] == "damage" and e[1] in panel
                            and t0 - 1e9 <= int(e[2]) <= t1 + 1e9)
            # One repaint draws several rectangles: the first of a group
            # within 5 ms stands for it.
            repaints = [s for k, s in enumerate(stamps) if k == 0 or s - stamps[k - 1] > 5e6]
            half = 30.0 / bpm * 1e9
            diffs = []
            for c in clicks:
                sound = clock.time_of(c["onset"])
                k = bisect.bisect_left(repaints, sound)
                near = [r for r in repaints[max(0, k - 1):k + 1] if abs(r - sound) < half]
                if near:
                    diffs.append((min(near, key=lambda r: abs(r - sound)) - sound) / 1e6)
            result["repaints"] = len([r for r in repaints if t0 <= r <= t1])
            if diffs:
                result["flash_n"] = len(diffs)
                result["flash_p10"] = percentile(diffs, 10)
                result["flash_median"] = percentile(diffs, 50)
                result["flash_p90"] = percentile(diffs, 90)

    stopped = next((e for e in stretch if len(e) > 6 and e[6] == "stopped"), None)
    if stopped is not None:
        result["cpu_stopped_share"] = float(stopped[3]) / ((int(stopped[2]) - int(stopped[1])) / 1e9)

    # SIGSTOP for 50 ms: what happened in the second after each. Intervals
    # are compared with the median one of the whole stretch around the stops.
    stops = [e for e in events if e[0] in ("sigstop", "sigstop_end")]
    if len(stops) > 1:
        everything, pieces = beats_and_fragments(
            clicks_between(int(stops[0][1]) - 2e9, int(stops[-1][1]), template))
        onsets = [c["onset"] for c in everything]
        intervals = [b - a for a, b in zip(onsets, onsets[1:])]
        typical = statistics.median(intervals) if intervals else period
        report = []
        for e, after in zip(stops, stops[1:]):
            if e[0] != "sigstop":
                continue
            f0, f1 = clock.frame_of(int(e[1])), clock.frame_of(int(e[1]) + 1e9)
            near = [b - a for a, b in zip(onsets, onsets[1:]) if b >= f0 and a <= f1]
            report.append({
                "underruns": underruns(palog, int(e[3]), int(after[-1])),
                "worst_dev": max((abs(x - typical) for x in near), default=None),
                "missed": sum(max(0, round(x / period) - 1) for x in near if x > 1.5 * period),
                "doubled": sum(1 for x in near if x < 0.5 * period),
                "fragments": sum(1 for c in pieces if f0 <= c["start"] <= f1),
            })
        result["sigstop"] = report

    # Enter (tap) to its click.
    taps = [int(e[2]) for e in events if e[0] == "key" and e[1] == "Return"]
    if taps:
        lat = [first_click_after(t, 0.5) for t in taps]
        result["tap_ms"] = [x for x in lat if x is not None]
        result["taps"] = len(taps)

    with open(results_path, "a") as f:
        f.write(json.dumps(result) + "\n")
    print_run(result)


# ---------------------------------------------------------------- output


def fmt(v, spec=".1f", missing="-"):
    if v is None or (isinstance(v, float) and math.isnan(v)):
        return missing
    return format(v, spec)


def print_run(r):
    print(f"  {r['label']}")
    if "launch_map_ms" in r:
        print(f"    launch              main window mapped {fmt(r['launch_map_ms'])} ms, first "
              f"painted {fmt(r.get('launch_paint_ms'))} ms after exec")
    if "start_click_ms" in r:
        print(f"    start to 1st click  {fmt(r['start_click_ms'])} ms from the Space key")
    if "intervals" in r:
        print(f"    beats               {r['onsets']} in a stretch of {r['expected']:.1f} periods; "
              f"missed {r['missed']}, doubled {r['doubled']}; sound fragments {r['fragments']}; "
              f"underruns logged {r['underruns']}; beats changed in sound "
              f"{r.get('changed_clicks', '-')}")
        print(f"    interval deviation  from the mean: largest {fmt(r['max_dev'], '.2f')} frames "
              f"({fmt(r['max_dev'] / RATE * 1e3, '.3f')} ms), median {fmt(r['median_dev'], '.2f')}, "
              f"99th pct {fmt(r['p99_dev'], '.2f')}; {r['off_1ms']} of {r['intervals']} off by "
              f"more than 1 ms"
              + (" (most intervals are not one period: these are over all of them)"
                 if r.get("irregular") else ""))
        print(f"    tempo error         {fmt(r['tempo_err_frames'], '+.3f')} frames per beat "
              f"({fmt(r['tempo_err_ppm'], '+.1f')} ppm) in output frames; "
              f"{fmt(r['wall_err_us'], '+.1f')} us ({fmt(r['wall_err_ppm'], '+.1f')} ppm) in "
              f"wall-clock time"
              + (f" (per period, of beats {r['tempo_periods']} periods apart)"
                 if r.get("tempo_periods", 1) > 1 else ""))
    elif "onsets" in r:
        print(f"    beats               {r['onsets']}: too few to measure")
    if "cpu_share" in r:
        print(f"    processor           {100 * r['cpu_share']:.2f} % of one core while playing"
              + (f", {100 * r['cpu_stopped_share']:.2f} % stopped"
                 if "cpu_stopped_share" in r else ""))
    if "flash_median" in r:
        print(f"    flash minus sound   median {fmt(r['flash_median'], '+.1f')} ms, 10th pct "
              f"{fmt(r['flash_p10'], '+.1f')}, 90th pct {fmt(r['flash_p90'], '+.1f')} "
              f"({r['flash_n']} beats matched, {r['repaints']} repaints of the panel); each sound "
              f"placed at its block's start: by the notes' envelope of whole reads it would lie "
              f"{r['early_ms']:.1f} ms earlier and these figures be that much larger")
    elif r.get("panel") == "shown":
        print(f"    flash minus sound   no repaints of the beat panel matched "
              f"({r.get('repaints', 0)} seen)")
    if r.get("sigstop"):
        parts = []
        for s in r["sigstop"]:
            part = (f"{s['underruns']} underruns, largest deviation "
                    f"{fmt(s['worst_dev'], '.0f')} frames")
            for key in ("missed", "doubled", "fragments"):
                if s.get(key):
                    part += f", {s[key]} {key}"
            parts.append(part)
        print("    50 ms SIGSTOP       in the second after each stop:")
        for part in parts:
            print(f"                          {part}")
    if r.get("tap_ms"):
        t = r["tap_ms"]
        print(f"    tap to click        median {fmt(statistics.median(t))} ms, range "
              f"{fmt(min(t))}..{fmt(max(t))} ({len(t)} of {r['taps']} taps sounded)")
    print(f"    recording           sink {r['fps']:.3f} frames/s ({(r['fps'] / RATE - 1) * 1e6:+.0f} "
          f"ppm against CLOCK_MONOTONIC), blocks of {r['block_ms']:.1f} ms; the earliest-arrival "
          f"envelope of whole reads would place sounds {r['early_ms']:.1f} ms earlier; "
          f"recorder gaps {r['recorder_gaps']}")
    sys.stdout.flush()


def cmd_summary(results_path):
    runs = []
    with open(results_path) as f:
        for line in f:
            runs.append(json.loads(line))
    if not runs:
        return
    print()
    print("Summary. Frames are the sink's 48 kHz frames. dev: deviation of the intervals from "
          "their mean;")
    print("tempo: mean interval against 60/bpm x 48000 frames, in frames and ppm; wall: the same "
          "in CLOCK_MONOTONIC")
    print("time (sink rate taken out); m/d/f: beats missed / doubled / sound fragments; under: "
          "underruns the")
    print("sound server logged; CPU: share of one core while playing; start: Space to the first "
          "click; flash:")
    print("beat panel repaint minus sound, median [10th, 90th percentile].")
    columns = (("(Zelmora: beat panel)", 27, ""), ("max dev", 9, "frames"), ("med dev", 9, "frames"),
               ("tempo", 9, "frames"), ("tempo", 9, "ppm"), ("wall", 9, "ppm"),
               ("m/d/f", 9, ""), ("under", 6, ""), ("CPU", 7, "%"), ("start", 7, "ms"),
               ("flash", 25, "ms"))
    for load in dict.fromkeys(r["load"] for r in runs):
        mine = [r for r in runs if r["load"] == load]
        print()
        print(f"  machine {load}" + (" (stress-ng --cpu 2)" if load == "busy" else ""))
        print("  " + "".join(f"{h:>{w}}" if w != 27 else f"{h:<{w}}" for h, w, _ in columns))
        print("  " + "".join(f"{u:>{w}}" for _, w, u in columns))
        starred = False
        for r in mine:
            what = f"{r['program']} {r['bpm']} bpm" + (
                f", {r['panel']}" if r["program"] == "Zelmora" else "")
            if "intervals" not in r:
                print(f"  {what:<27}  (too few beats to measure)")
                continue
            star = "*" if r.get("tempo_periods", 1) > 1 or r.get("irregular") else ""
            starred = starred or bool(star)
            flash = (f"{fmt(r['flash_median'], '+.1f')} [{fmt(r['flash_p10'], '+.1f')}, "
                     f"{fmt(r['flash_p90'], '+.1f')}]" if "flash_median" in r else "")
            print(f"  {what + star:<27}{r['max_dev']:>9.2f}{r['median_dev']:>9.2f}"
                  f"{r['tempo_err_frames']:>+9.3f}{r['tempo_err_ppm']:>+9.1f}"
                  f"{r['wall_err_ppm']:>+9.1f}"
                  f"{str(r['missed']) + '/' + str(r['doubled']) + '/' + str(r['fragments']):>9}"
                  f"{r['underruns']:>6}{100 * r.get('cpu_share', float('nan')):>7.2f}"
                  f"{fmt(r.get('start_click_ms'), '.0f'):>7}{flash:>25}")
        if starred:
            print("  * most beats missing: deviations over all intervals, tempo per period of "
                  "beats a whole number of periods apart")
        early = [r["early_ms"] for r in mine if "flash_median" in r]
        if early:
            print(f"  flash: sounds placed at their block's start; the notes' envelope of whole "
                  f"reads would place them up to {max(early):.1f} ms earlier (flash that much "
                  f"larger)")
        stopped = [r["cpu_stopped_share"] for r in mine if "cpu_stopped_share" in r]
        if stopped:
            print(f"  Zelmora stopped (10 s after Space): {100 * stopped[0]:.2f} % of one core")
        for program in dict.fromkeys(r["program"] for r in mine):
            maps = [r["launch_map_ms"] for r in mine if r["program"] == program and
                    "launch_map_ms" in r]
            paints = [r["launch_paint_ms"] for r in mine if r["program"] == program and
                      "launch_paint_ms" in r]
            if maps:
                print(f"  {program} launch: exec to main window mapped median "
                      f"{statistics.median(maps):.0f} ms ({min(maps):.0f}..{max(maps):.0f}), "
                      f"first painted median "
                      f"{fmt(statistics.median(paints) if paints else None, '.0f')} ms "
                      f"({len(maps)} launches)")
        taps = [t for r in mine for t in r.get("tap_ms", [])]
        if taps:
            print(f"  Zelmora tap (Enter) to click: median {statistics.median(taps):.1f} ms "
                  f"({min(taps):.1f}..{max(taps):.1f}, {len(taps)} taps)")
        for program in dict.fromkeys(r["program"] for r in mine):
            stops = [s for r in mine if r["program"] == program for s in r.get("sigstop", [])]
            if stops:
                print(f"  {program} 50 ms SIGSTOP while playing: {len(stops)} stops, "
                      f"{sum(s['underruns'] for s in stops)} underruns, "
                      f"{sum(s['missed'] for s in stops)} beats missed, "
                      f"{sum(s.get('fragments', 0) for s in stops)} fragments; largest interval "
                      f"deviation after one {fmt(max((s['worst_dev'] or 0) for s in stops), '.0f')}"
                      f" frames")


def main():
    commands = {
        "record": cmd_record, "xwatch": cmd_xwatch, "key": cmd_key, "launch": cmd_launch,
        "cpu": cmd_cpu, "sigstop": cmd_sigstop, "mark": cmd_mark, "analyze": cmd_analyze,
        "summary": cmd_summary,
    }
    if len(sys.argv) < 2 or sys.argv[1] not in commands:
        sys.exit(__doc__)
    commands[sys.argv[1]](*sys.argv[2:])


if __name__ == "__main__":
    main()
