#!/usr/bin/env python3
"""Prints the speed targets from the JSON files scripts/bench.sh leaves in the
build folder: medians of one run, and their ratios."""
import glob
import json
import os
import sys

KIB = 1024
MIB = 1024 * 1024


def medians(folder):
    found = {}
    for path in glob.glob(os.path.join(folder, "bench_*.json")):
        with open(path) as f:
            for b in json.load(f)["benchmarks"]:
                if b.get("aggregate_name", "median") != "median":
                    continue
                # A benchmark's argument stays in its name: "BM_ExportAllOfAMonth/999".
                name = "/".join(p for p in b["run_name"].split("/") if not p.startswith(("repeats:", "min_time:", "iterations:", "real_time", "process_time", "manual_time")))
                scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
                entry = {"ms": b["real_time"] * scale}
                for key in ("read_per_op", "records_used", "rss", "peak_above_idle", "cpu_ms",
                            "paint_ms", "longest_wait_ms", "worst_wait_ms",
                            "read_until_settled", "read_when_settled"):
                    if key in b:
                        entry[key] = b[key]
                found[name] = entry
    return found


def main():
    m = medians(sys.argv[1] if len(sys.argv) > 1 else "build-bench")
    for name in sorted(m):
        extra = "  ".join(("%s %.2f" % (k, v)) if k.endswith("_ms") else ("%s %.1f KiB" % (k, v / KIB))
                          for k, v in m[name].items() if k != "ms")
        print("%-45s %10.3f ms  %s" % (name, m[name]["ms"], extra))
    print()

    def get(name, key="ms"):
        return m.get(name, {}).get(key)

    def line(what, value, limit, unit=""):
        if value is None:
            print("%-62s  (not measured)" % what)
            return
        verdict = "met" if value <= limit else "MISSED"
        print("%-62s %9.3f%s  (target <= %g%s)  %s" % (what, value, unit, limit, unit, verdict))

    def ratio(a, b, ak="ms", bk="ms"):
        x, y = get(a, ak), get(b, bk)
        return None if x is None or not y else x / y

    line("selection step (employee), ms", get("BM_SelectionStepOfTheEmployee"), 1.0)
    read = get("BM_SelectionStepOfTheEmployee", "read_per_op")
    line("bytes read per selection step, KiB", None if read is None else read / KIB, 4)
    line("first 開始 after start -> painted, ms", get("BM_FirstEntryAfterStart999x10"), 16)
    line("  the same, CPU time of the program, ms",
         get("BM_FirstEntryAfterStart999x10", "cpu_ms"), 16)
    line("later 開始 -> painted, ms", get("BM_LaterEntry999x10"), 16)
    line("  the same, CPU time of the program, ms", get("BM_LaterEntry999x10", "cpu_ms"), 16)
    line("start -> first paint 999x10 / one-label window",
         ratio("BM_StartPunchbook999x10", "BM_StartMainWindowWithJapaneseText"), 1.2)
    line("  the same, CPU time until the first paint",
         ratio("BM_StartPunchbook999x10", "BM_StartMainWindowWithJapaneseText", "cpu_ms",
               "cpu_ms"), 1.2)
    line("start -> idle 999x10 / one-label window",
         ratio("BM_SettlePunchbook999x10", "BM_SettleMainWindowWithJapaneseText"), 1.3)
    line("  the same, CPU time of every thread until idle",
         ratio("BM_SettlePunchbook999x10", "BM_SettleMainWindowWithJapaneseText", "cpu_ms",
               "cpu_ms"), 1.3)
    line("  the same, its first paint",
         ratio("BM_SettlePunchbook999x10", "BM_SettleMainWindowWithJapaneseText", "paint_ms",
               "paint_ms"), 1.2)
    line("start-up 999x10: longest a key waits after the first paint, ms",
         get("BM_SettlePunchbook999x10", "worst_wait_ms"), 16)
    until = get("BM_NineYearStepsUntilSettled", "read_until_settled")
    line("nine year-box steps 999x10: bytes read until settled, KiB",
         None if until is None else until / KIB, 64)
    line("daily backup, one 18.8 MB year changed / durable raw copy",
         ratio("BM_DailyBackupOneYearChanged999x10", "BM_RawDurableCopyOfTheChangedYear"), 1.2)
    peak = get("BM_DailyBackupOneYearChanged999x10", "peak_above_idle")
    line("  the same, peak memory above idle, MiB", None if peak is None else peak / MIB, 2)
    line("RSS ten entry windows / one-label window",
         ratio("BM_TenEntryWindows999x10/10", "BM_StartMainWindowWithJapaneseText", "rss", "rss"),
         1.3)
    line("  the main window alone / one-label window",
         ratio("BM_TenEntryWindows999x10/0", "BM_StartMainWindowWithJapaneseText", "rss", "rss"),
         1.3)
    line("開始 -> painted entry window / plain QTableView of its cells",
         ratio("BM_StartEntryUntilPainted", "BM_PlainTableViewUntilPainted"), 1.2)
    line("typed cell -> figures repainted, ms", get("BM_TypedCellUntilFiguresPainted"), 1.0)
    peak = get("BM_DeleteEmployeeOf999x30", "peak_above_idle")
    line("deletion 999x30: peak above idle, MiB", None if peak is None else peak / MIB, 32)
    line("deletion 999x30 / durable raw copy",
         ratio("BM_DeleteEmployeeOf999x30", "BM_RawDurableCopyOfTheAffectedFiles"), 1.5)
    line("registration / raw work with the same flushes",
         ratio("BM_RegisterEmployeeChangedOf999", "BM_RawRegistrationFileWork"), 1.5)
    line("import 999x31 days / raw journaled write of the 999 months",
         ratio("BM_ImportOf999x31Days", "BM_RawJournaledWriteOf999Months"), 1.5)
    line("saving a month / raw journaled write of its record",
         ratio("BM_WriteMonthRecordReplacingTheLast", "BM_RawJournaledWriteOfOneRecord"), 1.5)
    opened = get("BM_OpenMonthOnceIndexed", "read_per_op")
    line("開始 (month opened, year indexed): read beyond the month record, KiB",
         None if opened is None else (opened - 1568) / KIB, 8)
    step = get("BM_SelectionStepLookups", "read_per_op")
    line("selection step look-ups: bytes read, KiB", None if step is None else step / KIB, 4)
    for n in (10, 100, 999):
        line("--all of %d / cat of the files it needs" % n,
             ratio("BM_ExportAllOfAMonth/%d" % n, "BM_RawCatOfTheFilesItNeeds/%d" % n), 1.5)
        line("--all of %d: bytes read / records used + master files" % n,
             ratio("BM_ExportAllOfAMonth/%d" % n, "BM_ExportAllOfAMonth/%d" % n, "read_per_op",
                   "records_used"), 1.2)
    line("month overview of 999 opened (no index), ms", get("BM_OverviewOpened"), 50)
    line("month overview of 999 refreshed, ms", get("BM_OverviewRefreshed"), 50)
    line("month overview refreshed: bytes read / records used + master files",
         ratio("BM_OverviewRefreshed", "BM_OverviewRefreshed", "read_per_op", "records_used"),
         1.2)
    line("month overview window of 999 opened, ms", get("BM_OverviewWindowOpened"), 50)
    line("month overview window of 999 refreshed, ms", get("BM_OverviewWindowRefreshed"), 50)
    line("999 reports in one PDF / 999 single-report PDFs",
         ratio("BM_AllReportsToOnePdf", "BM_SingleReportPdfsOneAfterAnother"), 1.2)
    grow = ratio("BM_ExportAllOfAMonth/999", "BM_ExportAllOfAMonth/100")
    if grow is not None:
        print("--all time 100 -> 999 employees: x%.2f (linear: ~x10)" % grow)
    print()
    for a, b in (("BM_FindMonthIndex", "BM_RawStatOfTheYearFile"),
                 ("BM_FindMonthIndexFirstLook", "BM_RawReadOfTheYearFile"),
                 ("BM_ReadMonthRecord", "BM_RawReadOfOneRecord"),
                 ("BM_WriteMonthRecordReplacingTheLast", "BM_RawWriteOfOneRecord"),
                 ("BM_PurgeMonthRecordsOfOneMonth", "BM_RawDurableCopyOfTheYearFile"),
                 # the physical floors: only the bytes that must change, written once, one flush
                 ("BM_WriteMonthRecordReplacingTheLast", "BM_FloorOfSavingAMonth"),
                 ("BM_RawJournaledWriteOfOneRecord", "BM_FloorOfSavingAMonth"),
                 ("BM_PurgeMonthRecordsOfOneMonth", "BM_FloorOfDeletingOneMonth"),
                 ("BM_DeleteEmployeeOf999x30", "BM_FloorOfDeletingAnEmployee"),
                 ("BM_RawDurableCopyOfTheAffectedFiles", "BM_FloorOfDeletingAnEmployee"),
                 ("BM_RegisterEmployeeChangedOf999", "BM_FloorOfRegistering"),
                 ("BM_RawRegistrationFileWork", "BM_FloorOfRegistering")):
        r = ratio(a, b)
        if r is not None:
            print("%-40s / %-36s %8.2f" % (a, b, r))


if __name__ == "__main__":
    main()
