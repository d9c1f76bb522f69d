#!/usr/bin/env bash
# Makes bing.wav, the alert sound: a 0.3 s two-tone chime (880 Hz, then 1320 Hz) with a
# soft fade so it does not click. Needs sox. Run it from anywhere.
set -euo pipefail
cd "$(dirname "$0")"
sox -q -n -r 22050 -b 16 -c 1 bing.wav \
  synth 0.15 sine 880 : synth 0.15 sine 1320 \
  fade q 0.005 -0 0.08 vol 0.6
soxi bing.wav
