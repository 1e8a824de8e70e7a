#!/usr/bin/env python3
"""The benchmarks' figures against their goals, as one table.

Usage: goals.py RESULTS_FOLDER
Reads the Google Benchmark JSON files the benchmark programs wrote into the folder (one per
program, named after it) and prints each figure, its goal and whether it holds. Exits 1 when a goal
does not hold or a figure is missing.
"""
import json
import pathlib
import sys

# (program, benchmark, figure, at most, what it says); a figure is a counter, or "time_ms" for the
# benchmark's own time per iteration. Page faults are shown beside a command's figure.
GOALS = [
    ("scene_load_bench", "SceneLoad_LargeScene", "load_per_read", 4, "scene load ÷ plain read"),
    ("scene_load_bench", "SceneReload_LargeScene", "load_per_read", 4, "scene reload ÷ plain read"),
    ("scene_load_bench", "SceneLoad_LargeScene", "catalogue_per_file", 0.5, "scene catalogue ÷ file size"),
    ("mission_files_bench", "CacheLoad_10000Records", "load_per_read", 5, "cache load ÷ plain read"),
    ("mission_files_bench", "TreeLoad_30001Bodies", "load_per_read", 5, "collision load ÷ plain read"),
    ("mission_files_bench", "ModelScan_100MB", "load_per_read", 1.5, "model scan ÷ plain read"),
    ("scene_write_bench", "InsertHuman_LargeScene", "command_per_copy", 3, "insert ÷ copy"),
    ("scene_write_bench", "SaveLongerScript_LargeScene", "command_per_copy", 3, "longer script ÷ copy"),
    ("scene_write_bench", "DeleteObject_LargeScene", "command_per_copy", 3, "delete ÷ copy"),
    ("scene_write_bench", "UndoDelete_LargeScene", "command_per_copy", 3, "undo of a delete ÷ copy"),
    ("scene_write_bench", "PasteThousand_LargeScene", "command_per_copy", 3, "paste 1 000 ÷ copy"),
    ("scene_write_bench", "PutCache_LargeMission", "command_per_copy", 3, "Put cache ÷ copy"),
    ("scene_write_bench", "PutTree_LargeMission", "command_per_copy", 3, "Put tree ÷ copy"),
    ("scene_write_bench", "MoveThousand_LargeScene", "command_per_copy", 1, "move 1 000 ÷ copy"),
    ("scene_write_bench", "SetFieldThousand_LargeScene", "command_per_copy", 1, "one field of 1 000 ÷ copy"),
    ("scene_write_bench", "DropThousand_LargeMission", "drop_per_load", 1, "drop 1 000 ÷ scene load"),
    ("script_bench", "LiftThousandByScript_LargeScene", "script_per_command", 3, "1 000 moves by script ÷ one move"),
    ("check_bench", "CheckMission_Largest", "check_per_readers", 2, "check ÷ the readers' loads"),
    ("map_bench", "MapShapes_LargeMission", "build_per_load", 1, "map shapes ÷ scene load"),
    ("map_bench", "MapDraw_LargeMission", "time_ms", 1000 / 60, "map frame, ms"),
    ("selection_bench", "SelectAllClickBand_LargeMissionWindow", "select_all_ms", 100, "Select All of 30 001, ms"),
    ("selection_bench", "SelectAllClickBand_LargeMissionWindow", "click_ms", 100, "a click after it, ms"),
    ("selection_bench", "SelectAllClickBand_LargeMissionWindow", "band_ms", 100, "a band of everything, ms"),
    ("view3d_bench", "View3DBuild_LargeMission", "build_per_load", 1, "3D instances ÷ scene load"),
    ("view3d_bench", "View3DBuild_LargeMission", "view_per_scene_file", 2, "3D view memory ÷ scene file"),
    ("view3d_bench", "View3DPick_LargeMission", "time_ms", 1, "a pick, ms"),
    ("view3d_bench", "View3DFrameAll_LargeMission", "frame_ms", 50, "3D frame of everything, ms"),
    ("view3d_bench", "View3DFrameInside_LargeMission", "frame_ms", 50, "3D frame among the objects, ms"),
    ("view3d_bench", "View3DDragThousand_LargeMission", "frame_ms", 50, "3D frame dragging 1 000, ms"),
]

UNIT_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def results(folder):
    found = {}
    for path in pathlib.Path(folder).glob("*.json"):
        try:
            doc = json.loads(path.read_text())
        except (OSError, ValueError):
            continue
        for run in doc.get("benchmarks", []):
            if run.get("run_type", "iteration") == "iteration":
                found[(path.stem, run["name"].split("/")[0])] = run
    return found


def figure(run, name):
    if name == "time_ms":
        return run["real_time"] * UNIT_MS.get(run.get("time_unit", "ns"), 1e-6)
    return run.get(name)


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    found = results(sys.argv[1])
    rows, failed = [], 0
    for program, bench, name, limit, what in GOALS:
        run = found.get((program, bench))
        value = figure(run, name) if run else None
        holds = value is not None and value <= limit
        failed += not holds
        faults = run.get("command_faults") if run else None
        rows.append((what, "missing" if value is None else f"{value:.3g}", f"≤ {limit:.3g}",
                     "yes" if holds else "NO", "" if faults is None else f"{faults:.0f}"))
    head = ("figure", "value", "goal", "holds", "page faults")
    widths = [max(len(r[i]) for r in rows + [head]) for i in range(len(head))]
    for r in [head] + rows:
        print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
    print(f"{len(GOALS) - failed} of {len(GOALS)} goals hold")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
