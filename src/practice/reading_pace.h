#pragma once
// The reader's pace: one character a tick of Timer2. The speed slider (0 .. 10) and
// the random speed variation both set the interval by this rule, in ms.

namespace tessaly {

constexpr int kReaderFastestIntervalMs = 500;  // speed 0
constexpr int kReaderMsPerSpeedStep = 120;

constexpr int readerIntervalMs(int speed) { return speed * kReaderMsPerSpeedStep + kReaderFastestIntervalMs; }

}  // namespace tessaly
