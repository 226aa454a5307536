#!/usr/bin/env python3
"""The regions through the whole chain, on a real year of group records.

A Greenwich/NOAA yearly file (gYYYY.txt) is written out as an observer's own group list
(date, time_ut, latitude, longitude, area_msh: the numbers removed), imported into a scratch
journal as the observer's, the file itself imported as Greenwich's records, and
`kavrel journal regions --par-jour` read back. It prints, against the file's own numbers:
- the share of the file's regions seen on two days or more that come out as one region;
- the share of the regions found that mix two of the file's numbers;
- the share of the observer's groups numbered as the file numbered the same group that day.

  scripts/regions_end_to_end.py [--cmd] build/cli/kavrel g2014.txt [g1957.txt ...]

With --cmd the list gives the central-meridian distance instead of the longitude, and the
import places it with the ephemeris at the line's time: meaningful only for files whose
places are those of their times (1957's are; NOAA's years from 1977 carry their places to
24:00 UT while their lines say 12:00, which puts them 6.6 degrees off).
Not run by ctest: it needs the real files, which the project does not carry.
"""
import collections
import csv
import os
import subprocess
import sys
import tempfile


def records(path):
    with open(path, 'rb') as f:
        for raw in f:
            line = raw.decode('ascii').rstrip('\r\n')
            if len(line) < 74:
                continue
            frac = float(line[8:12])
            minutes = min(round(frac * 1440), 1439)
            yield {
                'date': f'{line[0:4]}-{int(line[4:6]):02d}-{int(line[6:8]):02d}',
                'time': f'{minutes // 60:02d}:{minutes % 60:02d}',
                'number': int(line[12:20]),
                'area': line[40:44].strip(),
                'lat': line[63:68].strip(),
                'cmd': line[69:74].strip(),
                'lon': float(line[57:62]),
            }


def run(kavrel, *args):
    done = subprocess.run([kavrel, *args], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f'{" ".join(args)}: {done.stdout}{done.stderr}')
    return done.stdout


def check(kavrel, path, folder, by_distance):
    rows = list(records(path))
    listing = os.path.join(folder, 'list.csv')
    with open(listing, 'w') as f:
        f.write(f"date,time_ut,latitude,{'cmd' if by_distance else 'longitude'},area_msh\n")
        for r in rows:
            place = r['cmd'] if by_distance else r['lon']
            f.write(f"{r['date']},{r['time']},{r['lat']},{place},{r['area']}\n")
    journal = os.path.join(folder, 'j.sqlite')
    if os.path.exists(journal):
        os.remove(journal)
    run(kavrel, 'journal', '--fichier', journal, 'groupes', 'importer', listing, '--observateur', 'ESSAI')
    run(kavrel, 'journal', '--fichier', journal, 'groupes', 'importer', path)
    out = os.path.join(folder, 'days.csv')
    run(kavrel, 'journal', '--fichier', journal, 'regions', '--par-jour', '--csv', out, '--observateur', 'ESSAI')
    found = list(csv.DictReader(open(out), delimiter=';'))
    # Each row of the output is one group at one instant: paired with the file's group of
    # that instant nearest in place (the longitude the import found may differ from the
    # file's by a few tenths).
    truth = collections.defaultdict(list)
    for r in rows:
        truth[(r['date'], r['time'])].append(r)
    pairs = []
    for f in found:
        candidates = truth.get((f['date'], f['time_ut']))
        if not candidates:
            continue
        lat, lon = float(f['latitude']), float(f['longitude'])

        def apart(r):
            dlon = (lon - r['lon'] + 180) % 360 - 180
            return (lat - float(r['lat'])) ** 2 + dlon ** 2
        best = min(candidates, key=apart)
        candidates.remove(best)
        pairs.append((int(f['region']), best['number'], f['number']))
    days_of = collections.defaultdict(set)
    for r in rows:
        days_of[r['number']].add(r['date'])
    regions_of = collections.defaultdict(set)
    numbers_of = collections.defaultdict(set)
    for region, number, _ in pairs:
        regions_of[number].add(region)
        numbers_of[region].add(number)
    lasting = [n for n, days in days_of.items() if len(days) >= 2]
    whole = sum(1 for n in lasting if len(regions_of[n]) == 1)
    mixed = sum(1 for nums in numbers_of.values() if len(nums) > 1)
    named = sum(1 for _, number, given in pairs if given and int(given) == number)
    print(f'{os.path.basename(path)}: {len(pairs)} of {len(rows)} groups paired; '
          f'found whole {100 * whole / len(lasting):.1f} % ({whole}/{len(lasting)}), '
          f'mixed {100 * mixed / len(numbers_of):.1f} % ({mixed}/{len(numbers_of)}), '
          f'numbered as the file {100 * named / len(pairs):.1f} %')


def main():
    args = sys.argv[1:]
    by_distance = '--cmd' in args
    args = [a for a in args if a != '--cmd']
    if len(args) < 2:
        sys.exit(__doc__)
    with tempfile.TemporaryDirectory() as folder:
        for path in args[1:]:
            check(args[0], path, folder, by_distance)


if __name__ == '__main__':
    main()
