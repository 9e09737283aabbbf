"""Figures the end-to-end tests measure (latencies, start-up, recovery, soak timings). They
are never pass/fail: each is printed and kept in one report, build/e2e/figures.json, beside a
baseline measured in the same run where there is one. `python3 -m varnel_e2e setup` starts a
new report; every test process adds to it."""

import fcntl
import json
import time
from contextlib import contextmanager
from pathlib import Path
from typing import Iterator, Optional

from .paths import Paths


class Figures:
    """The report of one run."""

    def __init__(self, paths: Paths):
        self.path = paths.work / "figures.json"
        self._lock = paths.work / "figures.lock"

    def start_report(self) -> None:
        with self._locked():
            self._write({"started": _now(), "figures": []})

    def record(self, test: str, name: str, value: float, unit: str,
               baseline: Optional[float] = None, baseline_name: str = "") -> str:
        """Adds one figure (and its same-run baseline) to the report; the line printed."""
        entry = {"test": test, "name": name, "value": round(value, 3), "unit": unit}
        line = f"{name}: {value:.1f} {unit}"
        if baseline is not None:
            entry["baseline"] = {"name": baseline_name, "value": round(baseline, 3)}
            ratio = value / baseline if baseline else None
            entry["ratio"] = round(ratio, 3) if ratio is not None else None
            ratio_text = f"{ratio:.2f}x" if ratio is not None else "no ratio"
            line += f" ({ratio_text} {baseline_name}: {baseline:.1f} {unit})"
        with self._locked():
            report = self._read()
            report["figures"] = [f for f in report["figures"]
                                 if (f["test"], f["name"]) != (test, name)] + [entry]
            self._write(report)
        print(f"figure: {line}", flush=True)
        return line

    def _read(self) -> dict:
        try:
            report = json.loads(self.path.read_text())
            if isinstance(report.get("figures"), list):
                return report
        except (OSError, ValueError):
            pass
        return {"started": _now(), "figures": []}

    def _write(self, report: dict) -> None:
        temporary = self.path.with_suffix(".tmp")
        temporary.write_text(json.dumps(report, indent=1, ensure_ascii=False) + "\n")
        temporary.replace(self.path)

    @contextmanager
    def _locked(self) -> Iterator[None]:
        self.path.parent.mkdir(parents=True, exist_ok=True)
        with open(self._lock, "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            yield


def _now() -> str:
    return time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime())
