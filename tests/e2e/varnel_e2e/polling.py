"""Waiting for a condition instead of sleeping for a guessed time."""

import time
from typing import Callable, TypeVar

T = TypeVar("T")


class WaitTimeout(AssertionError):
    """A condition did not hold in time; an AssertionError so tests report it as a failure."""


def wait_until(
    probe: Callable[[], T], timeout: float = 10.0, interval: float = 0.1, what: str = "condition"
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
