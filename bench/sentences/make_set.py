#!/usr/bin/python3
"""Makes the sentence finder's measuring set: lessons of espeak-ng sentences
joined by known pauses, in several listening conditions, with the truth.

    make_set.py OUT_DIR

Each text file holds one sentence a line; its first ten lines are spoken only
in the tuning part, the rest only in the scored part. Each sentence is
rendered on its own and trimmed to its first and last sample above a tiny
level, so a sentence starts exactly where it is placed: that is the truth.
Every condition is made from the clean lesson, so the truth holds for all.
Writes OUT_DIR/manifest.tsv: part, condition, lesson, wav, truth file; a truth
file holds one line per sentence: start in ms, pause before it in ms.
Needs espeak-ng, sox and ffmpeg; standard library only.
"""
import array
import math
import os
import random
import subprocess
import sys
import wave
import zlib
from concurrent.futures import ThreadPoolExecutor

RATE = 16000
TEXTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "texts")
TUNING_LINES = 10
SENTENCES_PER_LESSON = 10
PAUSES_MS = [250, 400, 700, 1200, 2000]
LEAD_IN_MS = 1500
TAIL_MS = 1000
SILENT_BELOW = 33  # 1e-3 of full scale: the first and last sound of a render

# (language file, espeak-ng voice, speed in words a minute, pitch 0-99).
# The tuning lesson of each language comes first, in a voice of its own.
VOICES = {
    "en": [("en+m3", 165, 50), ("en-us+f2", 150, 60), ("en+m1", 180, 35), ("en-gb-x-rp+f4", 170, 70)],
    "cmn": [("cmn", 160, 50), ("cmn+f3", 145, 65), ("cmn+m2", 175, 40), ("cmn+f1", 165, 55)],
    "de": [("de+m2", 160, 45), ("de+f3", 150, 60), ("de+m4", 175, 50), ("de+f1", 165, 70)],
}

CONDITIONS = ["clean", "white20", "white10", "pink20", "pink10", "music15", "echo", "mp3_32k"]


def run(*args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def read_wav(path):
    with wave.open(path) as w:
        if w.getnchannels() != 1 or w.getsampwidth() != 2 or w.getframerate() != RATE:
            raise SystemExit(f"{path}: not 16 kHz mono 16-bit")
        return array.array("h", w.readframes(w.getnframes()))


def write_wav(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(samples.tobytes())


def render(text, voice, speed, pitch, tmp):
    raw, resampled = tmp + ".raw.wav", tmp + ".wav"
    run("espeak-ng", "-v", voice, "-s", str(speed), "-p", str(pitch), "-w", raw, text)
    run("sox", raw, "-r", str(RATE), "-b", "16", resampled, "rate", "-h")
    samples = read_wav(resampled)
    loud = [i for i, x in enumerate(samples) if abs(x) > SILENT_BELOW]
    os.remove(raw)
    os.remove(resampled)
    return samples[loud[0]:loud[-1] + 1]


def rms(samples):
    return math.sqrt(sum(x * x for x in samples) / max(1, len(samples)))


def make_music(path, seconds, seed):
    """A music bed: held chords of mixed waveforms, one after another, each
    with a plucked bass note; no speech."""
    rnd = random.Random(seed)
    chords = [[220.0, 277.2, 329.6], [196.0, 246.9, 293.7], [174.6, 220.0, 261.6], [164.8, 207.7, 246.9],
              [246.9, 311.1, 370.0], [261.6, 329.6, 392.0]]
    parts, total, index = [], 0.0, 0
    while total < seconds:
        length = rnd.choice([1.5, 2.0, 2.5])
        notes = rnd.choice(chords)
        part = f"{path}.{index}.wav"
        run("sox", "-n", "-r", str(RATE), "-b", "16", part, "synth", str(length),
            "triangle", str(notes[0]), "sine", str(notes[1]), "sine", str(notes[2]), "pluck", str(notes[0] / 2),
            "remix", "-", "fade", "0.02", str(length), "0.02", "norm", "-6")
        parts.append(part)
        total += length
        index += 1
    run("sox", *parts, path, "trim", "0", str(seconds))
    for part in parts:
        os.remove(part)


def mix(clean_path, clean, bed_path, snr_db, out_path):
    speech = rms([x for x in clean if abs(x) > SILENT_BELOW])
    bed = rms(read_wav(bed_path))
    gain = speech / (bed * 10 ** (snr_db / 20))
    # Both halved, so that the sum does not clip.
    run("sox", "-m", "-v", "0.5", clean_path, "-v", str(0.5 * gain), bed_path, out_path)


def make_lesson(out, part, language, lesson, texts, voice, seed):
    rnd = random.Random(seed)
    name = f"{part}-{language}-{lesson}"
    tmp = os.path.join(out, "tmp", name)
    pauses = PAUSES_MS * 2
    rnd.shuffle(pauses)
    samples = array.array("h", bytes(2 * RATE * LEAD_IN_MS // 1000))
    truth = []
    for index, text in enumerate(texts):
        pause = LEAD_IN_MS if index == 0 else pauses[index - 1]
        if index > 0:
            samples.extend(array.array("h", bytes(2 * RATE * pause // 1000)))
        truth.append((len(samples) * 1000 // RATE, pause))
        samples.extend(render(text, *voice, tmp))
    samples.extend(array.array("h", bytes(2 * RATE * TAIL_MS // 1000)))
    seconds = len(samples) / RATE

    folder = os.path.join(out, name)
    os.makedirs(folder, exist_ok=True)
    clean_path = os.path.join(folder, "clean.wav")
    write_wav(clean_path, samples)
    truth_path = os.path.join(folder, "truth.txt")
    with open(truth_path, "w") as f:
        f.writelines(f"{start} {pause}\n" for start, pause in truth)

    for colour in ("white", "pink"):
        bed = tmp + f".{colour}.wav"
        run("sox", "-n", "-r", str(RATE), "-b", "16", bed, "synth", str(seconds), colour + "noise")
        for snr in (20, 10):
            mix(clean_path, samples, bed, snr, os.path.join(folder, f"{colour}{snr}.wav"))
        os.remove(bed)
    bed = tmp + ".music.wav"
    make_music(bed, seconds, seed)
    mix(clean_path, samples, bed, 15, os.path.join(folder, "music15.wav"))
    os.remove(bed)
    # A mid-sized room, dry and wet together.
    run("sox", clean_path, os.path.join(folder, "echo.wav"), "reverb", "60", "50", "100")
    mp3 = tmp + ".mp3"
    run("ffmpeg", "-y", "-i", clean_path, "-ac", "1", "-codec:a", "libmp3lame", "-b:a", "32k", mp3)
    run("ffmpeg", "-y", "-i", mp3, "-ar", str(RATE), "-ac", "1", "-sample_fmt", "s16",
        os.path.join(folder, "mp3_32k.wav"))
    os.remove(mp3)
    return [(part, condition, name, os.path.join(name, condition + ".wav"), os.path.join(name, "truth.txt"))
            for condition in CONDITIONS]


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage: make_set.py OUT_DIR")
    out = sys.argv[1]
    os.makedirs(os.path.join(out, "tmp"), exist_ok=True)
    jobs = []
    for language, voices in VOICES.items():
        with open(os.path.join(TEXTS, language + ".txt"), encoding="utf-8") as f:
            lines = [line.strip() for line in f if line.strip()]
        tuning, scored = lines[:TUNING_LINES], lines[TUNING_LINES:]
        jobs.append(("tune", language, 0, tuning, voices[0]))
        for lesson in range(len(scored) // SENTENCES_PER_LESSON):
            texts = scored[lesson * SENTENCES_PER_LESSON:(lesson + 1) * SENTENCES_PER_LESSON]
            jobs.append(("score", language, lesson + 1, texts, voices[lesson + 1]))
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        rows = pool.map(lambda job: make_lesson(out, *job, seed=zlib.crc32(f"{job[0]}{job[1]}{job[2]}".encode())), jobs)
        rows = [row for lesson in rows for row in lesson]
    os.rmdir(os.path.join(out, "tmp"))
    with open(os.path.join(out, "manifest.tsv"), "w") as f:
        f.writelines("\t".join(row) + "\n" for row in rows)
    print(f"{len(jobs)} lessons, {len(rows)} recordings in {out}")


if __name__ == "__main__":
    main()
