#!/usr/bin/env bash
# Writes an A4 page at 300 dpi (2480x3508) of text-like content as raw PBM to
# standard output, made with netpbm so that no test file has to be stored.
set -euo pipefail
text="The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs. 0123456789"
for _ in $(seq 12); do echo "$text"; done |
  pbmtext -builtin fixed |
  pamenlarge 2 |
  pnmtile 2480 3508 |
  pamtopnm
