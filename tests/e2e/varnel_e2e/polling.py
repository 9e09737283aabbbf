"""Waiting for a condition instead of sleeping for a guessed time."""

import time
from typing import Callable, TypeVar

T = TypeVar("T")


# How long a state may take before a wait gives up: generous, since a machine busy with other
# work may slow Wine down many times over, and a wait ends as soon as its state holds.
GENEROUS = 60.0


class WaitTimeout(AssertionError):
    """A condition did not hold in time; an AssertionError so tests report it as a failure."""


def wait_until(
    probe: Callable[[], T], timeout: float = GENEROUS, interval: float = 0.1, what: str = "condition"
) -> T:
    """Calls probe until it returns something truthy and returns that; raises WaitTimeout."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() >= deadline:
            raise WaitTimeout(f"timed out after {timeout:g} s waiting for {what} (last: {last!r})")
        time.sleep(interval)
