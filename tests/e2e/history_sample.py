"""What the history windows' end-to-end runs share: a month of player history ending now, as the
program writes it, for the window to draw: the last month's file in the form of a file it begins (the
spreadsheet form: byte order mark, "time (UTC)", times like "2026-12-08 09:55", a ' before a name a
spreadsheet would take for a formula), a month before it in the plain form an older Quorvex began."""
import datetime
import math
import os

SERVERS = [("127.0.0.2", "40000", "Alpha & Co", 24), ("127.0.0.3", "40001", 'Bravo, "the" Base', 18),
           ("127.0.0.5", "27015", "=AC= Night Owls", 12), ("127.0.0.6", "27015", "Coop 24/7", 9),
           ("127.0.0.7", "27015", "Östra Fronten", 7), ("127.0.0.8", "27015", "Quiet corner", 2)]


# The third busiest: its legend line shows the name without the mark the file holds.
MARKED_NAME = "=AC= Night Owls"


def field(text, spreadsheet):
    if not spreadsheet:
        return '"' + text.replace('"', '""') + '"' if any(c in text for c in ',"\r\n') else text
    text = "'" + text if text[:1] in ("=", "+", "-", "@", "\t", "\r", "'") else text
    return '"' + text.replace('"', '""') + '"' if any(c in text for c in ',"\r\n;\t') else text


def line(at, address, port, name, players, spreadsheet):
    time = f"{at:%Y-%m-%d %H:%M}" if spreadsheet else f"{at:%Y-%m-%dT%H:%MZ}"
    return f"{time},{address},{port},{field(name, spreadsheet)},{players}\n"


def write_month_files(folder, now, days=30, gap_hours=(26, 29)):
    """history-YYYY-MM.csv files in FOLDER for the DAYS before NOW (UTC), every server busiest in its own
    hours of the day, and no list between GAP_HOURS before now. Returns the rows written."""
    end = now.replace(minute=now.minute - now.minute % 5, second=0, microsecond=0, tzinfo=datetime.timezone.utc)
    files, rows = {}, 0
    at = end - datetime.timedelta(days=days)
    while at < end:
        hours_ago = (end - at).total_seconds() / 3600
        if not gap_hours[0] <= hours_ago < gap_hours[1]:
            lines, total = [], 0
            for n, (address, port, name, peak) in enumerate(SERVERS):
                hour = at.hour + at.minute / 60
                players = round(peak * max(0.0, math.sin((hour - 6 - 3 * n) / 24 * 2 * math.pi)) ** 2)
                if players > 0:
                    lines.append((at, address, port, name, players))
                    total += players
            lines.insert(0, (at, "*", "0", "", total))
            files.setdefault(f"history-{at:%Y-%m}.csv", []).extend(lines)
            rows += len(lines)
        at += datetime.timedelta(minutes=5)
    last = max(files)
    for name, lines in files.items():
        spreadsheet = name == last
        header = "\ufefftime (UTC),address,port,name,players\n" if spreadsheet else "time,address,port,name,players\n"
        with open(os.path.join(folder, name), "w", newline="\n", encoding="utf-8") as out:
            out.write(header + "".join(line(*row, spreadsheet) for row in lines))
    return rows
