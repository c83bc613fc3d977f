"""Long calls let other Python threads run while they work."""

import threading
import time

import numpy as np

import tavro


def longest_pause(call):
    """The longest stretch another Python thread could not run while call ran, and the call's
    duration. A call that kept the GIL would pause the thread for all of its duration."""
    state = {"last": None, "pause": 0.0}
    started, stop = threading.Event(), threading.Event()

    def watch():
        while not stop.is_set():
            now = time.perf_counter()
            if state["last"] is not None:
                state["pause"] = max(state["pause"], now - state["last"])
            state["last"] = now
            started.set()

    thread = threading.Thread(target=watch)
    thread.start()
    started.wait()
    begin = time.perf_counter()
    state["pause"] = 0.0
    call()
    duration = time.perf_counter() - begin
    stop.set()
    thread.join()
    return state["pause"], duration


def workload(kind, scale):
    """A long call of one of three engines, its size growing with scale."""
    if kind == 0:
        n = 500_000 * scale
        north, east = np.linspace(2.5e6, 5e6, n), np.linspace(350000, 650000, n)
        return lambda: tavro.gauss_inverse(north, east, 117, 3)
    if kind == 1:
        n = 100_000 * scale
        points = np.column_stack([np.linspace(-1, 11, n), np.linspace(11, -1, n)])
        ring = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], float)
        return lambda: tavro.point_relation(points, ring, [0.2, 0, 0.3, 0])
    parcels = [np.array([[x, y], [x + 1, y], [x + 1, y + 1], [x, y + 1], [x, y]], float)
               for x in range(20 * scale) for y in range(20)]
    return lambda: tavro.borders(parcels)


def test_long_calls_release_the_gil():
    for k in range(3):
        # Each call is made long enough to tell a held GIL from a released one: its input grows
        # until the call takes a tenth of a second.
        scale = 1
        while True:
            call = workload(k, scale)
            pause, duration = longest_pause(call)
            if duration > 0.1 or scale >= 32:
                break
            scale *= 2
        # A held GIL pauses the other thread for the whole call every time; on a busy shared
        # machine a released one may still see a long pause now and then, so three tries.
        for _ in range(3):
            if pause < duration / 2:
                break
            pause, duration = longest_pause(call)
        else:
            raise AssertionError(f"another thread paused {pause:.3f} s of a {duration:.3f} s call")


def test_concurrent_border_extractions_agree():
    parcels = [np.array([[x, y], [x + 2, y], [x + 2, y + 1], [x, y + 1], [x, y]], float)
               for x in range(0, 20, 2) for y in range(10)]
    expected = [r.area for r in tavro.borders(parcels)]
    answers = []
    threads = [threading.Thread(target=lambda: answers.append([r.area for r in tavro.borders(parcels)]))
               for _ in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert answers == [expected] * 4
