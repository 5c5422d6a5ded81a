#!/usr/bin/env bash
# Writes the small compressed music files the audio tests decode:
# tests/audio/data/tone.ogg and tests/audio/data/tone.mp3. Both hold one second of
# 44100 Hz stereo: a 440 Hz tone on the left and 660 Hz on the right, at half scale,
# starting at the very first sample. libsndfile encodes both (Vorbis and LAME).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/tests/audio/data"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

cat >"$work/tone.c" <<'CODE'
#include <math.h>
#include <sndfile.h>
#include <stdio.h>

static int writeTone(const char* path, int format) {
    SF_INFO info = {0};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = format;
    SNDFILE* file = sf_open(path, SFM_WRITE, &info);
    if (!file) {
        fprintf(stderr, "%s: %s\n", path, sf_strerror(NULL));
        return 1;
    }
    double quality = 0.3;
    sf_command(file, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
    static float frames[44100 * 2];
    for (int i = 0; i < 44100; ++i) {
        frames[2 * i] = 0.5f * (float)sin(2 * M_PI * 440.0 * i / 44100.0);
        frames[2 * i + 1] = 0.5f * (float)sin(2 * M_PI * 660.0 * i / 44100.0);
    }
    sf_writef_float(file, frames, 44100);
    sf_close(file);
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    return writeTone(argv[1], SF_FORMAT_OGG | SF_FORMAT_VORBIS) ||
           writeTone(argv[2], SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III);
}
CODE

cc -O2 -o "$work/tone" "$work/tone.c" $(pkg-config --cflags --libs sndfile) -lm
"$work/tone" "$out/tone.ogg" "$out/tone.mp3"
ls -l "$out"/tone.ogg "$out"/tone.mp3
