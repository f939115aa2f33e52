#!/usr/bin/env python3
"""Start-up of Kotoban against a bare Qt Widgets window, side by side on one Xvfb server.

startup.py KOTOBAN BARE_WINDOW [--runs N] [--json FILE]

Generates a full library (3 x 300 examples in the starter library's shape) in a temporary
folder, starts one Xvfb server of its own, and then runs Kotoban, the bare window and the
bare window with one line of Japanese text (bare_window --text) in turn, N times each after
one discarded warm-up run of each. A run is timed from just before the
process is spawned until the X server reports that the program's main window has been
mapped: this script listens to the root window's SubstructureNotify events on its own X
connection, so the map is seen when it happens, not found by polling. Each program then
gets half a second to paint, and is ended with SIGTERM (Kotoban saves nothing then; the
library is a throw-away copy anyway). Every run goes through /usr/bin/time -v, which gives
its peak resident memory.

Python standard library only; needs Xvfb and /usr/bin/time (Debian packages xvfb and time).
"""

import argparse
import json
import os
import re
import select
import shutil
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
STARTER = os.path.join(HERE, '..', 'data')
CAPACITY = 300
SETTLE_SECONDS = 0.5
OPENINGS = ['', '今学期も、', '前期に続いて、', '一年間を通して、', '特に後半は、', 'どの場面でも、', '学期の初めから、']


# --- the library -------------------------------------------------------------------------

def read_starter(number):
    """Title and records (lists of four texts) of the starter library's file."""
    with open(os.path.join(STARTER, f'Kotoban{number}.txt'), encoding='cp932', newline='') as f:
        text = f.read()
    fields = re.findall(r'"([^"]*)"', text)
    return fields[0], [fields[i:i + 4] for i in range(1, len(fields) - 3, 4)]


def scaled_records(records, count):
    """count records in the shape of records: each classification keeps its share and place."""
    m = len(records)
    result = []
    for k in range(count):
        source = k * m // count
        repeat = k - (source * count + m - 1) // m
        first, second, third, sentence = records[source]
        result.append([first, second, third, OPENINGS[repeat % len(OPENINGS)] + sentence])
    return result


def write_library(folder):
    for number in (1, 2, 3):
        title, records = read_starter(number)
        lines = [f'"{title}"'] + [','.join(f'"{field}"' for field in record)
                                  for record in scaled_records(records, CAPACITY)]
        with open(os.path.join(folder, f'Kotoban{number}.txt'), 'wb') as f:
            f.write(('\r\n'.join(lines) + '\r\n').encode('cp932'))


# --- the X server and its events -----------------------------------------------------------

CREATE_NOTIFY, MAP_NOTIFY, CONFIGURE_NOTIFY = 16, 19, 22
SUBSTRUCTURE_NOTIFY_MASK = 0x00080000
CW_EVENT_MASK = 0x00000800


def start_xvfb():
    """Starts Xvfb on a free display (it picks the number itself); returns (process, number)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(['Xvfb', '-displayfd', str(write_end), '-screen', '0', '1024x768x24',
                               '-nolisten', 'tcp', '-noreset'],  # a reset refuses connections
                              pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b''
    while not number.endswith(b'\n'):
        ready, _, _ = select.select([read_end], [], [], 10)
        chunk = os.read(read_end, 16) if ready else b''
        if not chunk:
            server.kill()
            sys.exit('startup.py: Xvfb did not start')
        number += chunk
    os.close(read_end)
    return server, int(number)


class MapWatcher:
    """An X connection that hears every top-level window being created, resized and mapped."""

    def __init__(self, display_number):
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(f'/tmp/.X11-unix/X{display_number}')
        self.sock.sendall(struct.pack('<BxHHHHxx', 0x6C, 11, 0, 0, 0))  # little-endian, X11, no auth
        status, _, _, _, length = struct.unpack('<BBHHH', self._read(8))
        setup = self._read(length * 4)
        if status != 1:
            sys.exit(f'startup.py: the X server refused the connection: {setup!r}')
        vendor_length = struct.unpack_from('<H', setup, 16)[0]
        formats = setup[21]
        (self.root,) = struct.unpack_from('<I', setup, 32 + (vendor_length + 3) // 4 * 4 + 8 * formats)
        # ChangeWindowAttributes(root, event-mask = SubstructureNotify)
        self.sock.sendall(struct.pack('<BxHIII', 2, 4, self.root, CW_EVENT_MASK, SUBSTRUCTURE_NOTIFY_MASK))
        self.sizes = {}

    def _read(self, size):
        data = b''
        while len(data) < size:
            chunk = self.sock.recv(size - len(data))
            if not chunk:
                sys.exit('startup.py: the X server closed the connection')
            data += chunk
        return data

    def drain(self):
        while select.select([self.sock], [], [], 0)[0]:
            self._event()

    def _event(self):
        packet = self._read(32)
        code = packet[0] & 0x7F
        if code == 0:
            sys.exit(f'startup.py: X error {packet[1]}')
        if code == CREATE_NOTIFY:
            window, _, _, width, height = struct.unpack_from('<IhhHH', packet, 8)
            self.sizes[window] = (width, height)
        elif code == CONFIGURE_NOTIFY:
            window, _, _, _, width, height = struct.unpack_from('<IIhhHH', packet, 8)
            self.sizes[window] = (width, height)
        elif code == MAP_NOTIFY:
            event, window, override_redirect = struct.unpack_from('<IIB', packet, 4)
            if event == self.root and not override_redirect:
                return window
        return None

    def wait_for_map(self, timeout):
        """Time and size of the next top-level window mapped (not a menu or tooltip)."""
        deadline = time.perf_counter() + timeout
        while True:
            left = deadline - time.perf_counter()
            if left <= 0 or not select.select([self.sock], [], [], left)[0]:
                return None, None
            window = self._event()
            if window is not None:
                return time.perf_counter(), self.sizes.get(window)


# --- the runs -------------------------------------------------------------------------------

def children(pid):
    try:
        with open(f'/proc/{pid}/task/{pid}/children') as f:
            return [int(p) for p in f.read().split()]
    except OSError:
        return []


def run_once(watcher, argv, cwd, env):
    """Seconds from spawn to the main window mapped, its size, and the peak resident kB."""
    with tempfile.NamedTemporaryFile('r', suffix='.time') as report:
        watcher.drain()
        start = time.perf_counter()
        process = subprocess.Popen(['/usr/bin/time', '-v', '-o', report.name] + argv, cwd=cwd, env=env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        mapped, size = watcher.wait_for_map(30)
        if mapped is not None:
            time.sleep(SETTLE_SECONDS)  # let it paint: the memory of a shown window
        for pid in children(process.pid):
            os.kill(pid, signal.SIGTERM)
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            for pid in children(process.pid):
                os.kill(pid, signal.SIGKILL)
            process.wait()
        if mapped is None:
            sys.exit(f'startup.py: {argv[0]} showed no window within 30 s')
        peak = re.search(r'Maximum resident set size \(kbytes\): (\d+)', report.read())
        return mapped - start, size, int(peak.group(1)) if peak else None


def summary(runs):
    seconds = [r[0] for r in runs]
    peaks = [r[2] for r in runs if r[2] is not None]
    return {
        'runs': len(runs),
        'median_ms': statistics.median(seconds) * 1000,
        'min_ms': min(seconds) * 1000,
        'max_ms': max(seconds) * 1000,
        'peak_rss_kb': statistics.median(peaks) if peaks else None,
        'window': runs[0][1],
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('kotoban')
    parser.add_argument('bare_window')
    parser.add_argument('--runs', type=int, default=11, help='timed runs of each program (default 11)')
    parser.add_argument('--json', help='also write the results to this file')
    parser.add_argument('--verbose', action='store_true', help='print every run')
    args = parser.parse_args()
    for tool, package in (('/usr/bin/time', 'time'), ('Xvfb', 'xvfb')):
        if not shutil.which(tool):
            sys.exit(f'startup.py: {tool} is missing (Debian package {package}; scripts/install-deps installs it)')
    kotoban = os.path.abspath(args.kotoban)
    bare = os.path.abspath(args.bare_window)

    server, display = start_xvfb()
    try:
        with tempfile.TemporaryDirectory(prefix='kotoban-startup-') as folder:
            library = os.path.join(folder, 'library')
            runtime = os.path.join(folder, 'runtime')
            os.mkdir(library)
            os.mkdir(runtime, 0o700)
            write_library(library)
            env = dict(os.environ, DISPLAY=f':{display}', XDG_RUNTIME_DIR=runtime)
            env.pop('QT_QPA_PLATFORM', None)
            watcher = MapWatcher(display)

            # Warm-up runs, not counted: they also tell the bare windows Kotoban's outer size.
            _, size, _ = run_once(watcher, [kotoban], library, env)
            geometry = [f'{size[0]}x{size[1]}'] if size else []
            programs = {'kotoban': [kotoban], 'bare': [bare] + geometry, 'bare_text': [bare, '--text'] + geometry}
            for argv in list(programs.values())[1:]:
                run_once(watcher, argv, library, env)

            results = {name: [] for name in programs}
            for _ in range(args.runs):
                for name, argv in programs.items():
                    results[name].append(run_once(watcher, argv, library, env))
                    if args.verbose:
                        seconds, _, peak = results[name][-1]
                        print(f'{name:9} {seconds * 1000:7.1f} ms {peak} kB', file=sys.stderr)
    finally:
        server.terminate()
        server.wait()

    out = {name: summary(runs) for name, runs in results.items()}
    k, b, t = out['kotoban'], out['bare'], out['bare_text']
    out['time_ratio'] = k['median_ms'] / b['median_ms']
    out['memory_ratio'] = k['peak_rss_kb'] / b['peak_rss_kb']
    out['time_ratio_text'] = k['median_ms'] / t['median_ms']
    out['memory_ratio_text'] = k['peak_rss_kb'] / t['peak_rss_kb']
    for name, s in (('kotoban', k), ('bare window', b), ('bare + text', t)):
        window = 'x'.join(map(str, s['window'])) if s['window'] else '?'
        print(f'{name:12} window {window:8} start-up median {s["median_ms"]:6.1f} ms '
              f'(min {s["min_ms"]:.1f}, max {s["max_ms"]:.1f}, {s["runs"]} runs), '
              f'peak RSS {s["peak_rss_kb"] / 1024:.1f} MiB')
    print(f'kotoban / bare window: time {out["time_ratio"]:.2f}x, memory {out["memory_ratio"]:.2f}x')
    print(f'kotoban / bare + text: time {out["time_ratio_text"]:.2f}x, memory {out["memory_ratio_text"]:.2f}x')
    if args.json:
        with open(args.json, 'w') as f:
            json.dump(out, f, indent=1)


if __name__ == '__main__':
    main()
