"""Step messages and the faults a run found."""

import time

STARTED = time.monotonic()
FAULTS = []


def elapsed():
    return time.monotonic() - STARTED


def step(text):
    print("[e2e %5.1fs] %s" % (elapsed(), text), flush=True)


def check(condition, message):
    """A wrong result is noted and the run goes on, so that one run shows
    every fault it can reach."""
    if condition:
        return True
    FAULTS.append(message)
    print("[e2e %5.1fs] FAULT: %s" % (elapsed(), message), flush=True)
    return False
