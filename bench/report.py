#!/usr/bin/env python3
"""Prints the results of bench/run as one Markdown table, then the goals.

report.py RESULTS_DIR   (library.json and window.json from Google Benchmark, startup.json)

Times are medians over the repetitions. For a user action, "time" is the wall time of its
handler, "CPU" the CPU time of the same, "then repaint" what the event loop spends
afterwards until the window shows the result.
"""

import json
import os
import sys

LABELS = {
    'Reader': 'reader alone: decode + parse + fill',
    'ReaderKeepingBytes': 'reader keeping each field\'s bytes (loadDataFile) + fill',
    'ReadThreeFiles': 'readDataFile x 3 + fill',
    'EncodeThreeFiles': 'encodeLibraryFile x 3',
    'WriteThreeFiles': 'writeFileSafely x 3 (with fsync)',
    'JournalAppend': 'journal: one add appended (with fsync)',
    'LoadLibrary': 'LoadLibrary: read 3 files, fill first lists',
    'mnuFileSave_Click': 'mnuFileSave_Click: encode 3 files, all 3 changed',
    'mnuFileSave_Click_one': 'mnuFileSave_Click: encode 3 files, 1 changed',
    'RefillClassLists': 'RefillClassLists',
    'refreshFirstLevel': 'first-level refresh (Combo1)',
    'refreshSecondLevel': 'second-level refresh (Combo2)',
    'refreshThirdLevel': 'third-level refresh (Combo3)',
    'ListClick': 'example-list click (List1)',
    'CmdNext_Click': 'browsing step, 次文 (CmdNext_Click)',
    'CmdAdd1_Click': 'add into n - 1, 例文追加 (CmdAdd1_Click)',
    'CmdDelete_Click': 'delete record 1, 例文削除 (CmdDelete_Click)',
    'CmdKettei1_Click': '決　定 onto a composition (CmdKettei1_Click)',
}
FILE_OPERATIONS = {'LoadLibrary', 'mnuFileSave_Click'}
USER_ACTIONS = {'RefillClassLists', 'refreshFirstLevel', 'refreshSecondLevel', 'refreshThirdLevel', 'ListClick',
                'CmdNext_Click', 'CmdAdd1_Click', 'CmdDelete_Click', 'CmdKettei1_Click'}
SCALE = {'ns': 1e-3, 'us': 1.0, 'ms': 1e3, 's': 1e6}


def duration(us):
    if us is None:
        return ''
    if us >= 1000:
        return f'{us / 1000:.2f} ms'
    if us >= 100:
        return f'{us:.0f} µs'
    return f'{us:.1f} µs'


def load_benchmarks(path):
    """{(operation, shape): {size: {'time', 'cpu', 'repaint'}}} in µs, in the order run."""
    with open(path) as f:
        data = json.load(f)
    table = {}
    # Medians when there were repetitions, else the single run of each.
    medians = any(b.get('aggregate_name') == 'median' for b in data['benchmarks'])
    for b in data['benchmarks']:
        if (b.get('aggregate_name') != 'median') if medians else b.get('run_type') == 'aggregate':
            continue
        name = b['run_name']
        for suffix in ('/manual_time', '/real_time'):
            if name.endswith(suffix):
                name = name[:-len(suffix)]
        operation, shape, size = name.split('/')
        scale = SCALE[b['time_unit']]
        cell = {'time': b['real_time'] * scale, 'cpu': b.get('cpu_us', b['cpu_time'] * scale),
                'repaint': b.get('repaint_us')}
        table.setdefault((operation, shape), {})[int(size)] = cell
    return table


def main():
    results = sys.argv[1] if len(sys.argv) > 1 else '.'
    rows = {}
    for name in ('library.json', 'window.json'):
        path = os.path.join(results, name)
        if os.path.exists(path):
            rows.update(load_benchmarks(path))

    print('| Operation | Shape | small | medium | capacity | CPU at capacity | then repaint | large / small |')
    print('|---|---|---:|---:|---:|---:|---:|---:|')
    for (operation, shape), cells in rows.items():
        sizes = sorted(cells)
        unit = {'Reader': 'records', 'ReaderKeepingBytes': 'records', 'CmdKettei1_Click': 'characters'}.get(operation, 'examples')
        described = f'{shape}, {" / ".join(f"{s:,}" for s in sizes)} {unit}'
        if operation == 'CmdKettei1_Click':
            described = f'{" / ".join(f"{s:,}" for s in sizes)} {unit}'
        largest = cells[sizes[-1]]
        growth = f'{largest["time"] / cells[sizes[0]]["time"]:.1f}x for {sizes[-1] // sizes[0]}x' if len(sizes) > 1 else '–'
        # Three size columns; a row measured at one size only (the journal) fills the last.
        times = [duration(cells[s]['time']) for s in sizes]
        times = [''] * (3 - len(times)) + times
        # The library benchmarks measure their whole loop: their CPU column is the loop's.
        print(f'| {LABELS.get(operation, operation)} | {described} | ' + ' | '.join(times)
              + f' | {duration(largest["cpu"])} | {duration(largest["repaint"]) or "–"} | {growth} |')

    startup_path = os.path.join(results, 'startup.json')
    startup = None
    if os.path.exists(startup_path):
        with open(startup_path) as f:
            startup = json.load(f)
        for key, label in (('kotoban', 'Kotoban, 3 x 300 examples'), ('bare', 'bare QMainWindow, same size'),
                           ('bare_text', 'floor: bare window, Japanese menu bar and line')):
            s = startup[key]
            print(f'| start-up: exec to window mapped | {label} | | | {s["median_ms"]:.1f} ms '
                  f'| min {s["min_ms"]:.1f} ms, {s["runs"]} runs | peak RSS {s["peak_rss_kb"] / 1024:.1f} MiB | |')
        print(f'| start-up ratio Kotoban / bare window | time, memory | | | {startup["time_ratio"]:.2f}x '
              f'| | {startup["memory_ratio"]:.2f}x | |')
        print(f'| start-up ratio Kotoban / floor | time, memory | | | {startup["time_ratio_text"]:.2f}x '
              f'| | {startup["memory_ratio_text"]:.2f}x | |')

    # The goals, at capacity (300 examples; 2,000 characters for 決　定).
    def at_capacity(operation):
        for (op, shape), cells in rows.items():
            if op == operation:
                size = 2000 if op == 'CmdKettei1_Click' else max(cells)
                if size in cells:
                    yield shape, size, cells[size]

    print()
    actions = [(cell['time'], op, shape, size, cell) for op in USER_ACTIONS for shape, size, cell in at_capacity(op)]
    if actions:
        slowest = max(actions, key=lambda a: a[0])
        with_paint = max(actions, key=lambda a: a[0] + (a[4]['repaint'] or 0))
        print(f'Slowest user action at capacity: {LABELS[slowest[1]]}, {slowest[2]}, {duration(slowest[0])} '
              f'(goal under 1 ms: {"met" if slowest[0] < 1000 else "NOT met"}); with its repaint the slowest is '
              f'{LABELS[with_paint[1]]}, {with_paint[2]}, {duration(with_paint[0] + (with_paint[4]["repaint"] or 0))}.')
    files = [(cell['time'], op, shape) for op in FILE_OPERATIONS for shape, size, cell in at_capacity(op)]
    for op in sorted(FILE_OPERATIONS):
        worst = max((f for f in files if f[1] == op), default=None)
        if worst:
            print(f'Slowest {op} at capacity: {worst[2]}, {duration(worst[0])} '
                  f'(goal under 5 ms: {"met" if worst[0] < 5000 else "NOT met"}).')
    if startup:
        print(f'Start-up: {startup["time_ratio_text"]:.2f}x the floor\'s time (goal at most 1.1x: '
              f'{"met" if startup["time_ratio_text"] <= 1.1 else "NOT met"}), {startup["memory_ratio_text"]:.2f}x '
              f'its peak memory (goal at most 1.05x: {"met" if startup["memory_ratio_text"] <= 1.05 else "NOT met"}).')


if __name__ == '__main__':
    main()
