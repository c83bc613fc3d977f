"""The README's Python example runs and prints what the README shows."""

import contextlib
import io
import re

import pytest

from conftest import README


def test_the_readme_python_example_prints_what_it_shows():
    pytest.importorskip("shapely")
    text = open(README, encoding="utf-8").read()
    match = re.search(r"```python\n(.*?)```\n\n```text\n(.*?)```", text, re.S)
    assert match, "the README has no Python example followed by its output"
    code, shown = match.groups()
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        exec(compile(code, "README.md", "exec"), {})
    assert printed.getvalue() == shown
