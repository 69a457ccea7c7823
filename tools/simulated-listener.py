#!/usr/bin/env python3
"""Threshold runs answered by simulated listeners, through `tessaly script - --interactive`.

Each listener copies every character of a callsign on its own, with the chance

    p(x) = (1 - lapse) / (1 + exp(-4 s (x - m)))

at the SNR x the callsign was read at (the run's `trial` event), m its midpoint and s
its slope (per dB at m). A character missed is typed as another one. The listener
answers as soon as a callsign begins. For each listener the tool runs the threshold
test again and again and prints, against the listener's true character threshold
(where p = 1/2): the bias and spread of the thresholds found, the mean ± given, and
how often the ± covered the true value.

    tools/simulated-listener.py --tessaly build/src/shell/tessaly --runs 100 --jobs 2

Python 3, standard library only.
"""

import argparse
import json
import math
import random
import statistics
import subprocess
import sys
import threading
from concurrent.futures import ThreadPoolExecutor

CHARACTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"


def written_units(line):
    """The units of a practice-text line as a correct copy writes them."""
    units = []
    for c in line:
        if c == "m":
            units.append("M")
        elif c == "q":
            units.append("QRP")
        elif c.isupper() or c.isdigit() or c == "/":
            units.append(c)
    return units


class Listener:
    def __init__(self, midpoint, slope, lapse, rng):
        self.midpoint, self.slope, self.lapse, self.rng = midpoint, slope, lapse, rng

    def chance(self, snr):
        return (1 - self.lapse) / (1 + math.exp(-4 * self.slope * (snr - self.midpoint)))

    def threshold(self):
        """Where half the characters are copied, lapses and all."""
        f = 0.5 / (1 - self.lapse)
        return self.midpoint + math.log(f / (1 - f)) / (4 * self.slope)

    def answer(self, line, snr):
        p = self.chance(snr)
        typed = []
        for unit in written_units(line):
            if self.rng.random() < p:
                typed.append(unit)
            else:
                typed.append(self.rng.choice([c for c in CHARACTERS if c != unit[0]]))
        return "".join(typed)


class Script:
    """One `tessaly script - --interactive`: lines in, events out."""

    def __init__(self, tessaly, seed):
        self.process = subprocess.Popen(
            [tessaly, "script", "-", "--interactive", "--seed", str(seed)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, encoding="utf-8", bufsize=1)
        self.lines = 0

    def send(self, line):
        self.process.stdin.write(line + "\n")
        self.lines += 1

    def events(self):
        """What the lines sent so far did: a line the runner cannot read closes them."""
        self.send("sync")
        marker = self.lines
        self.process.stdin.flush()
        found = []
        for text in self.process.stdout:
            event = json.loads(text)
            if event.get("event") == "error" and event.get("line") == marker:
                return found
            found.append(event)
        raise RuntimeError("tessaly script ended early")

    def close(self):
        self.send("close")
        self.process.stdin.close()
        self.process.stdout.read()
        self.process.wait()


def one_run(tessaly, listener, callsigns, seed):
    script = Script(tessaly, seed)
    try:
        script.send("threshold on")
        script.send(f'settext Text2 "{callsigns}"')
        script.send("click Command4")
        script.send("dump")
        lines = []
        for event in script.events():
            if "dump" in event:
                lines = event["dump"]["practiceText"].split("\r\n")
        chars_read = chars_copied = 0
        for _ in range(callsigns * 30):
            script.send("wait 2000")
            for event in script.events():
                kind = event.get("event")
                if kind == "trial":
                    line = lines[event["n"] - 1]
                    answer = listener.answer(line, event["snrDb"])
                    script.send(f'type Text6 "{answer}\\r"')
                elif kind == "answer":
                    chars_read += event["charsRead"]
                    chars_copied += event["charsCopied"]
                elif kind == "threshold":
                    event["charsCopied"] = chars_copied / max(chars_read, 1)
                    return event
        raise RuntimeError("the run found no threshold")
    finally:
        script.close()


def summary(found, truth):
    errors = [f["snrDb"] - truth for f in found]
    return {
        "bias": statistics.fmean(errors),
        "spread": statistics.stdev(errors) if len(errors) > 1 else 0.0,
        "se": statistics.fmean(f["se"] for f in found),
        "covered": sum(abs(e) <= f["se"] for e, f in zip(errors, found)) / len(found),
        "whole": statistics.fmean(f["wholeSnrDb"] for f in found),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--tessaly", default="build/src/shell/tessaly", help="the program (default: build/src/shell/tessaly)")
    parser.add_argument("--runs", type=int, default=100, help="runs for each listener (default: 100)")
    parser.add_argument("--callsigns", type=int, default=20, help="callsigns a run (default: 20)")
    parser.add_argument("--slopes", default="5,10,20", help="listeners' slopes, %%/dB (default: 5,10,20)")
    parser.add_argument("--midpoints", default="-10,-4,2", help="listeners' midpoints, dB (default: -10,-4,2)")
    parser.add_argument("--lapse", type=float, default=0.0, help="chance of missing a character anyway (default: 0)")
    parser.add_argument("--jobs", type=int, default=1, help="runs at a time (default: 1)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the listeners and the program (default: 1)")
    options = parser.parse_args()

    print(f"{options.runs} runs of {options.callsigns} callsigns a listener, lapse {options.lapse:.0%}")
    print("slope %/dB  midpoint dB  true dB   bias dB  spread dB  mean ± dB  covered  whole-callsign dB")
    lock = threading.Lock()
    for slope in (float(s) / 100 for s in options.slopes.split(",")):
        for midpoint in (float(m) for m in options.midpoints.split(",")):
            def run(index):
                seed = options.seed * 1_000_003 + index * 7919 + int(slope * 1000) * 31 + int(midpoint * 10)
                listener = Listener(midpoint, slope, options.lapse, random.Random(seed))
                return one_run(options.tessaly, listener, options.callsigns, seed % 2**32)

            with ThreadPoolExecutor(max_workers=options.jobs) as pool:
                found = list(pool.map(run, range(options.runs)))
            truth = Listener(midpoint, slope, options.lapse, None).threshold()
            s = summary(found, truth)
            with lock:
                print(f"{slope * 100:10.0f}  {midpoint:+11.1f}  {truth:+7.2f}  {s['bias']:+8.2f}  {s['spread']:9.2f}"
                      f"  {s['se']:9.2f}  {s['covered']:7.0%}  {s['whole']:+17.1f}", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
