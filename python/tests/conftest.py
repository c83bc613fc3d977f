"""Shared fixtures: the module from the build tree, the bundled samples, the tavro program."""

import csv
import os
import subprocess
import sys

import numpy as np
import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.environ.get("TAVRO_PYTHON_PATH", os.path.join(ROOT, "build", "python")))
SAMPLES = os.environ.get("TAVRO_SAMPLES", os.path.join(ROOT, "samples"))
README = os.environ.get("TAVRO_README", os.path.join(ROOT, "README.md"))


def read_polylines(path):
    """The polylines of a CSV file in the tavro measure format, as (id, vertices, bulges)."""
    rows = [line for line in open(path, encoding="utf-8") if line.strip() and not line.startswith("#")]
    order, shapes = [], {}
    for row in csv.DictReader(rows):
        if row["id"] not in shapes:
            order.append(row["id"])
            shapes[row["id"]] = []
        shapes[row["id"]].append((float(row["x"]), float(row["y"]), float(row.get("bulge") or 0)))
    return [(key, np.array([s[:2] for s in shapes[key]]), np.array([s[2] for s in shapes[key]]))
            for key in order]


@pytest.fixture
def sample():
    return lambda name: os.path.join(SAMPLES, name)


@pytest.fixture
def cli():
    """Runs the tavro program and answers its standard output; skips when it was not built."""
    program = os.environ.get("TAVRO_CLI") or os.path.join(ROOT, "build", "tools", "tavro")
    if not os.path.exists(program):
        pytest.skip("the tavro program is not built")

    def run(*args):
        return subprocess.run([program, *args], check=True, capture_output=True, text=True).stdout

    return run
