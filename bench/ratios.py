"""Prints each figure of one benchmark run (JSON output) beside its peer from the same run: the
tree list's figures beside Qt's (varnel_bench), the main form's beside their baselines
(varnel_bench_app). Tables whose benchmarks the run does not have are left out."""
import json
import sys

PAIRS = [
    ("add 1,000,000 nodes under BeginUpdate/EndUpdate",
     "Varnel_AddNodes_Locked/1000000", "Qt_AppendRows/1000000"),
    ("add 100,000 nodes without the lock",
     "Varnel_AddNodes_Unlocked/100000", "Qt_AppendRows/100000"),
    ("AbsoluteIndex of every row, 1,000,000 rows",
     "Varnel_AbsoluteIndex_EveryRow/1000000", "Qt_IndexRow_EveryRow/1000000"),
    ("GetNextRow over every row, 1,000,000 rows",
     "Varnel_GetNextRow_EveryRow/1000000", "Qt_NextRow_EveryRow/1000000"),
    ("ClearNodes of 1,000,000", "Varnel_ClearNodes/1000000", "Qt_Clear/1000000"),
    ("sort 1,000 rows by a 10-40 character text",
     "Varnel_SortByCaption/1000", "Qt_SortByCaption/1000"),
    ("sort 100,000 rows by a 10-40 character text",
     "Varnel_SortByCaption/100000", "Qt_SortByCaption/100000"),
    ("sort 1,000,000 rows by a 10-40 character text",
     "Varnel_SortByCaption/1000000", "Qt_SortByCaption/1000000"),
]


# The main form's figures and the baseline each is measured against.
APP_PAIRS = [
    ("refresh, 200 windows of which 5 hang / snapshot alone",
     "Varnel_Refresh/200", "Baseline_Snapshot/200"),
    ("hide sweep, 50 marked windows / 52 show-window calls",
     "Varnel_HideSweep/50", "Baseline_ShowWindowCalls/50"),
    ("show sweep, 50 marked windows / 52 show-window calls",
     "Varnel_ShowSweep/50", "Baseline_ShowWindowCalls/50"),
]


def figures(benchmarks):
    """One entry per benchmark: the mean of its repetitions when it was repeated (the
    aggregate Google Benchmark reports, or the mean of the runs when it reported none)."""
    runs, repeated = {}, {}
    for b in benchmarks:
        name = b.get("run_name", b["name"])
        if b.get("run_type") == "aggregate":
            # The mean stands for the benchmark; the others (BigO, RMS) keep their own names.
            runs[name if b.get("aggregate_name") == "mean" else b["name"]] = b
        else:
            repeated.setdefault(name, []).append(b)
    for name, group in repeated.items():
        if name in runs:
            continue
        mean = dict(group[0])
        for key, value in group[0].items():
            if isinstance(value, (int, float)) and not isinstance(value, bool):
                mean[key] = sum(g[key] for g in group) / len(group)
        runs[name] = mean
    return runs


def print_app_pairs(runs):
    print(f"\n{'figure':55} {'Varnel':>12} {'baseline':>12} {'Varnel / baseline':>18}")
    for title, ours, base in APP_PAIRS:
        a, b = runs[ours], runs[base]
        assert a["time_unit"] == b["time_unit"]
        unit = a["time_unit"]
        print(f"{title:55} {a['real_time']:9.1f} {unit} {b['real_time']:9.1f} {unit}"
              f" {a['real_time'] / b['real_time']:17.2f}x")
    waits = runs[APP_PAIRS[0][1]].get("icon_wait_ms")
    if waits is not None:
        print(f"{'  icon waits per refresh (counted, not slept)':55} {waits:9.0f} ms")


def main(path):
    with open(path) as f:
        runs = figures(json.load(f)["benchmarks"])
    if all(ours in runs and base in runs for _, ours, base in APP_PAIRS):
        print_app_pairs(runs)
    if PAIRS[0][1] not in runs:
        return
    print(f"\n{'figure':50} {'tree list':>12} {'Qt':>12} {'Qt / tree list':>15}")
    for title, ours, peer in PAIRS:
        a, b = runs[ours], runs[peer]
        assert a["time_unit"] == b["time_unit"]
        unit = a["time_unit"]
        print(f"{title:50} {a['real_time']:9.1f} {unit} {b['real_time']:9.1f} {unit}"
              f" {b['real_time'] / a['real_time']:14.2f}x")
    ours = runs["Varnel_BytesPerNode/1000000/iterations:1"]
    peer = runs["Qt_BytesPerRow/1000000/iterations:1"]
    print(f"{'heap bytes per node, one 13-byte text':50} {ours['bytes_per_node']:9.1f} B "
          f"{peer['bytes_per_node']:9.1f} B {peer['bytes_per_node'] / ours['bytes_per_node']:14.2f}x")
    print(f"{'  with the row index built':50} {ours['with_row_index']:9.1f} B")
    print(f"{'  sizeof(TdxTreeListTextNode) here':50} {ours['sizeof_text_node']:9.0f} B")
    for name in ("Varnel_AbsoluteIndex_RandomRows_BigO", "Varnel_ClearNodes_BigO",
                 "Varnel_FreeParent_BigO"):
        if name in runs:
            r = runs[name]
            print(f"{name:50} fits {r.get('big_o', '?')}, coefficient {r['real_coefficient']:.3g}")


if __name__ == "__main__":
    main(sys.argv[1])
