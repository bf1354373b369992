#!/bin/bash
# A lesson of ten different sentences spoken by espeak-ng, each cut to its
# first and last sample above 1/1000 of full scale, after a lead-in of 1.5 s
# and joined by pauses of 0.8 s: lesson.wav, the same as lesson.mp3 at
# 44.1 kHz, lesson-b.wav (another recording's name), and starts.txt, each
# sentence's true start in ms.
set -euo pipefail
out=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sentences=(
  "Every morning, the baker opens his small shop"
  "When it rains, the children play inside"
  "My sister, who lives in Boston, writes to me often"
  "After lunch, we walked along the quiet river"
  "If you listen closely, you can hear the birds"
  "The old train, slow and noisy, finally arrived"
  "Before the meeting, please read the short report"
  "In the evening, my father cooks a simple dinner"
  "Although it was late, nobody wanted to leave"
  "On Sundays, the market is full of fresh fruit"
)
rate=22050
sox -n -r $rate -c 1 -b 16 "$work/lead.wav" trim 0 1.5
sox -n -r $rate -c 1 -b 16 "$work/pause.wav" trim 0 0.8
parts=("$work/lead.wav")
: >"$work/starts.txt"
samples=$((rate * 3 / 2))
for i in "${!sentences[@]}"; do
  espeak-ng -v en-us -s 150 -w "$work/raw$i.wav" "${sentences[$i]}"
  sox "$work/raw$i.wav" -r $rate -c 1 -b 16 "$work/s$i.wav" silence 1 1s 0.1% reverse silence 1 1s 0.1% reverse
  echo $((samples * 1000 / rate)) >>"$work/starts.txt"
  samples=$((samples + $(soxi -s "$work/s$i.wav") + rate * 4 / 5))
  parts+=("$work/s$i.wav" "$work/pause.wav")
done
mkdir -p "$out"
sox "${parts[@]}" "$out/lesson.wav"
cp "$out/lesson.wav" "$out/lesson-b.wav"
ffmpeg -nostdin -loglevel error -y -i "$out/lesson.wav" -ar 44100 -c:a libmp3lame -b:a 64k "$out/lesson.mp3"
mv "$work/starts.txt" "$out/starts.txt"
