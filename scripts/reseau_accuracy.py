#!/usr/bin/env python3
"""The network's monthly number against SILSO's monthly means, rule by rule.

Reads a coordinator's table (observer;instrument;date;time_ut;quality;...;g;f) and SILSO's
daily file, leaves out the rows the base refuses (an hour past 23, a quality past 5,
f < g, g = 0 without f = 0), and prints for each rule the RMS of (network's month - SILSO's
mean of all the month's days) over the months FIRST..LAST with at least 10 network days.
Every rule is made here in plain Python; the default and the global rule are also made by
the C++ arithmetic (kavrel_reseau_accuracy, built with -DKAVREL_BENCH=ON), and the script
fails when the two differ by more than 0.01.

  scripts/reseau_accuracy.py TABLE SN_d_tot_V2.0.csv [--tool build/bench/kavrel_reseau_accuracy]
Not run by ctest: it needs the real network's file, which the project does not carry.
"""
import argparse
import collections
import csv
import datetime
import math
import statistics
import subprocess
import sys

FIRST, LAST, FEWEST_DAYS = 1990, 2019, 10


def read_table(path):
    rows = []
    with open(path, encoding='utf-8') as f:
        for r in csv.DictReader(f, delimiter=';'):
            hh, mm = map(int, r['time_ut'].split(':'))
            g, s = int(r['g']), int(r['f'])
            q = int(r['quality']) if r['quality'] else None
            if hh > 23 or mm > 59 or (q is not None and not 0 <= q <= 5) or s < g or (g == 0) != (s == 0):
                continue
            day = datetime.date.fromisoformat(r['date']).toordinal()
            rows.append((r['observer'], day, 10 * g + s, q))
    return rows


def read_silso(path):
    days = {}
    for line in open(path):
        p = line.split(';')
        if int(p[4]) >= 0:
            days[datetime.date(int(p[0]), int(p[1]), int(p[2])).toordinal()] = int(p[4])
    return days


def year(day):
    return datetime.date.fromordinal(day).year


def month(day):
    d = datetime.date.fromordinal(day)
    return d.year, d.month


class Rules:
    def __init__(self, rows, silso):
        self.rows, self.silso = rows, silso
        self.pairs = collections.defaultdict(list)  # (observer, year) -> [(SN, R)]
        for o, d, r, q in rows:
            if d in silso:
                self.pairs[(o, year(d))].append((silso[d], r))
        means = collections.defaultdict(list)
        for d, v in silso.items():
            means[month(d)].append(v)
        self.silso_month = {m: sum(v) / len(v) for m, v in means.items()}

    def window(self, pairs, o, y, years):
        return [p for yy in range(y - years, y) for p in pairs.get((o, yy), [])]

    def k_before(self, o, y, pairs=None, recent=(3, 60), long=(10, 20), weight='scatter'):
        """k of (o, y) from the years before y; (k, weight) or None."""
        pairs = pairs or self.pairs
        for years, fewest in (recent, long) if long else (recent,):
            p = self.window(pairs, o, y, years)
            sn, r = sum(a for a, b in p), sum(b for a, b in p)
            if len(p) >= fewest and r > 0:
                k = sn / r
                if weight == 'scatter':
                    dev = [((a - k * b) / (a + k * b)) ** 2 for a, b in p if a + k * b > 0]
                    return k, 1 / max(sum(dev) / len(dev), 1e-4)
                if weight == 'variance':
                    var = sum((a - k * b) ** 2 for a, b in p) / len(p)
                    return k, 1 / max(var / (sn / len(p)) ** 2, 1e-4)
                return k, 1.0
        return None

    def k_global(self, fewest=100):
        tot = collections.defaultdict(lambda: [0, 0, 0])
        for o, d, r, q in self.rows:
            if d in self.silso:
                t = tot[o]
                t[0] += self.silso[d]; t[1] += r; t[2] += 1
        ks = {o: t[0] / t[1] for o, t in tot.items() if t[2] >= fewest and t[1] > 0}
        return lambda o, d: (ks[o], 1.0) if o in ks else None

    def network_days(self, k_of, combine='weighted', quality=None):
        days = collections.defaultdict(list)
        for o, d, r, q in self.rows:
            if quality is not None and (q is None or q < quality):
                continue
            kw = k_of(o, d)
            if kw:
                days[d].append((kw[0] * r, kw[1]))
        out = {}
        for d, v in days.items():
            if combine == 'median':
                out[d] = statistics.median(x for x, w in v)
            elif combine == 'trimmed' and len(v) >= 3:
                xs = sorted(x for x, w in v)[1:-1]
                out[d] = sum(xs) / len(xs)
            else:
                w = sum(w for x, w in v) if combine == 'weighted' else len(v)
                out[d] = sum(x * (w_ if combine == 'weighted' else 1) for x, w_ in v) / w
        return out

    def rms(self, days):
        months = collections.defaultdict(list)
        for d, v in days.items():
            months[month(d)].append(v)
        errors = [sum(v) / len(v) - self.silso_month[m] for m, v in months.items()
                  if FIRST <= m[0] <= LAST and len(v) >= FEWEST_DAYS]
        return len(errors), math.sqrt(sum(e * e for e in errors) / len(errors))

    def cached(self, **options):
        cache = {}

        def k_of(o, d):
            key = (o, year(d))
            if key not in cache:
                cache[key] = self.k_before(o, key[1], **options)
            return cache[key]
        return k_of

    def iterated(self, rounds):
        """The network's own days as the reference of the k of the years before, repeated."""
        days = self.network_days(self.cached())
        for _ in range(rounds):
            pairs = collections.defaultdict(list)
            for o, d, r, q in self.rows:
                if d in days:
                    pairs[(o, year(d))].append((days[d], r))
            days = self.network_days(self.cached(pairs=pairs))
        return days


def tool_rms(tool, table, silso, rule, first, last, rules):
    out = subprocess.run([tool, table, silso, rule, str(first), str(last)], check=True, capture_output=True,
                         text=True).stdout
    errors = []
    for line in out.splitlines():
        y, m, n, net, sil = line.split(';')
        if FIRST <= int(y) <= LAST and int(n) >= FEWEST_DAYS and net:
            errors.append(float(net) - rules.silso_month[(int(y), int(m))])
    return len(errors), math.sqrt(sum(e * e for e in errors) / len(errors))


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('table')
    parser.add_argument('silso')
    parser.add_argument('--tool', help='kavrel_reseau_accuracy, to check the C++ figures')
    args = parser.parse_args()
    rules = Rules(read_table(args.table), read_silso(args.silso))
    plain3 = dict(long=None, weight=None)
    table = [
        ('raw R (k = 1)', rules.network_days(lambda o, d: (1.0, 1.0))),
        ('global: one k per observer, ratio of sums, >= 100 days', rules.network_days(rules.k_global())),
        ('three years before, >= 60 days', rules.network_days(rules.cached(**plain3))),
        ('three years before, quality >= 2', rules.network_days(rules.cached(**plain3), quality=2)),
        ('three years before, quality >= 3', rules.network_days(rules.cached(**plain3), quality=3)),
        ('three years before, median of the day', rules.network_days(rules.cached(**plain3), 'median')),
        ('three years before, trimmed mean of the day', rules.network_days(rules.cached(**plain3), 'trimmed')),
        ('two years before, >= 60 days', rules.network_days(rules.cached(recent=(2, 60), long=None, weight=None))),
        ('five years before, >= 60 days', rules.network_days(rules.cached(recent=(5, 60), long=None, weight=None))),
        ('three years, else ten years (>= 20 days)', rules.network_days(rules.cached(weight=None))),
        ('three years, weights 1/variance', rules.network_days(rules.cached(long=None, weight='variance'))),
        ('three years, weights 1/scatter', rules.network_days(rules.cached(long=None))),
        ('default: three years, else ten, weights 1/scatter', rules.network_days(rules.cached())),
        ('default, iterated twice against the network', rules.iterated(2)),
    ]
    print(f'{"rule":55s} months  RMS')
    figures = {}
    for name, days in table:
        figures[name] = rules.rms(days)
        print(f'{name:55s} {figures[name][0]:6d} {figures[name][1]:5.2f}')
    if args.tool:
        failed = False
        for rule, first, last, name in (('default', FIRST, LAST, table[-2][0]), ('global', 1984, 2020, table[1][0])):
            months, rms = tool_rms(args.tool, args.table, args.silso, rule, first, last, rules)
            print(f'C++ {rule:51s} {months:6d} {rms:5.2f}')
            failed |= months != figures[name][0] or abs(rms - figures[name][1]) > 0.01
        if failed:
            print('The C++ figures differ from the script\'s.', file=sys.stderr)
            return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
