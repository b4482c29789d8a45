#!/usr/bin/env python3
"""Makes the monitor's default sounds as short 16-bit mono PCM WAV files.

alarm.wav: three falling two-tone chirps; warning.wav: two short beeps.
Usage: make_sounds.py OUTPUT_DIR
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
AMPLITUDE = 0.45 * 32767


def tone(frequency, seconds):
    count = int(RATE * seconds)
    ramp = max(1, int(RATE * 0.005))  # 5 ms fades, so no click at either end
    samples = []
    for i in range(count):
        fade = min(1.0, i / ramp, (count - 1 - i) / ramp)
        samples.append(int(AMPLITUDE * fade * math.sin(2 * math.pi * frequency * i / RATE)))
    return samples


def silence(seconds):
    return [0] * int(RATE * seconds)


SOUNDS = {
    "alarm.wav": (tone(988, 0.12) + tone(740, 0.12) + silence(0.04)) * 3,
    "warning.wav": tone(660, 0.15) + silence(0.08) + tone(660, 0.15),
}


def write(path, samples):
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(struct.pack("<%dh" % len(samples), *samples))


def main():
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, samples in SOUNDS.items():
        write(folder / name, samples)


if __name__ == "__main__":
    main()
