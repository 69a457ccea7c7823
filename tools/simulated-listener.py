#!/usr/bin/env python3
"""simulated-listener.py TESSALY [POINT_DB [SLOPE [SEED [GROUPS]]]]

Takes a threshold run through `tessaly script - --interactive` as a listener whose
copy rate is known: it copies a callsign with the chance 1 / (1 + exp(-4 s (snr -
point))), s being the slope at the halfway point (per dB; 0.1 by default). It
prints the run's trial and threshold events as they come, then one line comparing
the threshold found with the listener's own halfway point.
"""
import json
import math
import random
import subprocess
import sys

tessaly = sys.argv[1]
point = float(sys.argv[2]) if len(sys.argv) > 2 else -4.0
slope = float(sys.argv[3]) if len(sys.argv) > 3 else 0.1
seed = int(sys.argv[4]) if len(sys.argv) > 4 else 1
groups = int(sys.argv[5]) if len(sys.argv) > 5 else 20
chance = random.Random(seed)

run = subprocess.Popen([tessaly, "script", "-", "--interactive", "--seed", str(seed)],
                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)


def send(line):
    run.stdin.write(line + "\n")
    run.stdin.flush()


def dump():
    """The state, after printing whatever events came before it."""
    send("dump")
    while True:
        event = json.loads(run.stdout.readline())
        if "dump" in event:
            return event["dump"]
        if event.get("event") in ("trial", "threshold", "error"):
            print(json.dumps(event, ensure_ascii=False))
            if event.get("event") == "threshold":
                dump.result = event


dump.result = None
send("threshold on")
send('settext Text2 "%d"' % groups)
send("click Command4")
lines = dump()["practiceText"].split("\r\n")
snr = 6.0
while True:
    send("wait 500")
    state = dump()
    if not state["practising"] and not state["practiceText"]:
        break  # marked
    if state["waitingForAnswer"] or (not state["practising"] and state["answerCount"] < groups):
        row = state["answerCount"] + 1
        snr = state.get("snr", snr)
        right = chance.random() < 1 / (1 + math.exp(-4 * slope * (snr - point)))
        send('type Text6 "%s\\r"' % (lines[row - 1].upper() if right else "X"))
send("close")
run.stdin.close()
run.wait()
if dump.result:
    print("listener's halfway point %.1f dB, threshold found %.1f dB (±%.1f), off by %+.1f dB"
          % (point, dump.result["snrDb"], dump.result["se"], dump.result["snrDb"] - point))
else:
    print("no threshold: the run did not finish")
    sys.exit(1)
