"""Long calls let other Python threads run while they work."""

import threading

import numpy as np

import tavro


def ticks_during(call):
    """How often another thread ran Python code while call ran."""
    ticks, stop = [0], threading.Event()

    def count():
        while not stop.is_set():
            ticks[0] += 1

    thread = threading.Thread(target=count)
    thread.start()
    while ticks[0] == 0:
        pass
    before = ticks[0]
    call()
    during = ticks[0] - before
    stop.set()
    thread.join()
    return during


def test_long_calls_release_the_gil():
    north = np.linspace(2.5e6, 5e6, 1_500_000)
    east = np.linspace(350000, 650000, 1_500_000)
    assert ticks_during(lambda: tavro.gauss_inverse(north, east, 117, 3)) > 1000
    points = np.column_stack([np.linspace(-1, 11, 300_000), np.linspace(11, -1, 300_000)])
    ring = np.array([[0, 0], [10, 0], [10, 10], [0, 10]], float)
    assert ticks_during(lambda: tavro.point_relation(points, ring, [0.2, 0, 0.3, 0])) > 1000
    parcels = [np.array([[x, y], [x + 1, y], [x + 1, y + 1], [x, y + 1], [x, y]], float)
               for x in range(40) for y in range(40)]
    assert ticks_during(lambda: tavro.borders(parcels)) > 1000


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
