#!/usr/bin/env python3
"""Prose for benchmarks: words drawn from real texts (the licence texts every
Debian system ships, and the program's own help and intro), arranged in
sentences, lines and paragraphs of the lengths real articles have, so the
editor lays out and the filter reads what a user's text would give them.

  prose.py articles FILE COUNT CHARS   a saved-articles file of COUNT articles
  prose.py book FILE MEGABYTES         one text file of about that size
"""
import glob
import os
import random
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCES = sorted(glob.glob("/usr/share/common-licenses/*")) + [
    os.path.join(HERE, "..", "..", "data", "VLIntro.chl"),
    os.path.join(HERE, "..", "..", "data", "help", "index.html"),
]


def words():
    found = []
    for path in SOURCES:
        if os.path.isfile(path):
            with open(path, encoding="utf-8", errors="replace") as f:
                found += re.findall(r"[A-Za-z][A-Za-z'\-]*[A-Za-z]|[0-9]+", f.read())
    if len(found) < 1000:
        sys.exit("prose.py: too few words in " + ", ".join(SOURCES))
    return found


def paragraphs(rng, vocabulary, chars):
    """Yields paragraphs (lists of lines) until about chars characters."""
    made = 0
    while made < chars:
        lines, line = [], ""
        for _ in range(rng.randint(2, 7)):  # sentences
            sentence = [rng.choice(vocabulary) for _ in range(rng.randint(5, 24))]
            sentence[0] = sentence[0].capitalize()
            for i in range(len(sentence) - 1):
                if rng.random() < 0.07:
                    sentence[i] += ","
            text = " ".join(sentence) + rng.choice([".", ".", ".", "?", "!", ";"])
            for word in text.split(" "):
                if len(line) + len(word) + 1 > rng.randint(60, 100) and line:
                    lines.append(line)
                    line = ""
                line = (line + " " + word) if line else word
        lines.append(line)
        made += sum(len(l) + 2 for l in lines) + 2
        yield lines


def article_text(rng, vocabulary, chars):
    out = []
    for paragraph in paragraphs(rng, vocabulary, chars):
        if out:
            out.append("")
        out += paragraph
    return out


def main():
    rng = random.Random(17)
    vocabulary = words()
    if sys.argv[1] == "articles":
        path, count, chars = sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
        with open(path, "w", encoding="utf-8", newline="") as f:
            for i in range(count):
                lines = article_text(rng, vocabulary, chars)
                f.write("||||||Verbalune MP3 Start of Article||||||\r\n")
                f.write(f"Article_{i}||{len(lines)}\r\n")
                f.write("".join(l + "\r\n" for l in lines))
                f.write("||||||Verbalune MP3 End of Article||||||\r\n")
    elif sys.argv[1] == "book":
        path, size = sys.argv[2], int(float(sys.argv[3]) * 1000 * 1000)
        with open(path, "w", encoding="utf-8", newline="") as f:
            written = 0
            while written < size:
                chunk = "\n".join(article_text(rng, vocabulary, 100000)) + "\n\n"
                f.write(chunk)
                written += len(chunk)
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
