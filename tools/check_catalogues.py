#!/usr/bin/env python3
"""Checks the message catalogues data/System/Messages0.txt and Messages1.txt.

Both catalogues must hold exactly the message numbers the program fetches, each with a text
(no empty texts, no blanks around it), and the two languages must agree on their "%s"
arguments. The lines are read the way the program reads them (core/messages.cpp).

Usage: tools/check_catalogues.py [SYSTEM_FOLDER]   (default: data/System of this repository)
Exit status 0 when both catalogues pass, 1 otherwise.
"""

import re
import sys
from pathlib import Path


def number_ranges(*ranges):
    numbers = set()
    for item in ranges:
        first, last = item if isinstance(item, tuple) else (item, item)
        numbers.update(range(first, last + 1))
    return numbers


IN_USE = number_ranges(
    (2, 14), (18, 26), 28, 29, (31, 46), (50, 52), (55, 61), (63, 77), (79, 82), 84, 85, 91, 93,
    96, 97, (99, 111), (113, 117), (130, 135), 137, (143, 150), (152, 183))
# The key list of the main window, and the playing speed's readout.
IN_USE |= number_ranges((300, 315))
# The key list's search code and full-screen keys.
IN_USE |= number_ranges((730, 734))
# The analysis chooser over the full-screen film.
IN_USE |= number_ranges((330, 331))
# Start-up: the missing video library, refused arguments, the disc chooser's caption.
IN_USE |= number_ranges((350, 353))
# "No code found", and the video stack window's title and closing lines.
IN_USE |= number_ranges(400, (490, 491))
# The export of the listed actions.
IN_USE |= number_ranges((560, 585), (590, 596))
# The export window's tick-all and untick-all, and why Export cannot be pressed.
IN_USE |= number_ranges((750, 753))
# A package refused for what its scout file brings, and why.
IN_USE |= number_ranges((610, 614))
# The extension statistics: no figures for a code or a sport, and a record that could not be written.
IN_USE |= number_ranges((620, 622))
# A film whose picture is beyond the film limits.
IN_USE |= number_ranges(630)

CATALOGUES = {0: "Messages0.txt", 1: "Messages1.txt"}

# Numbers whose text may be empty on purpose.
ALLOWED_EMPTY = set()

# Numbers formatted with text arguments, and how many.
ARGUMENTS = {23: 1, 351: 1, 352: 1, 572: 2, 573: 2, 574: 1, 576: 1, 577: 1, 578: 1, 582: 1, 583: 1, 590: 1, 591: 1, 592: 1, 610: 2, 611: 1, 612: 1, 613: 1, 620: 1, 621: 1, 630: 2}

# Search code entry headers: one cell of about 11 pixels a code position.
SHORT_HEADERS = number_ranges(147, 148, 149, 150, (152, 159))
SHORT_HEADER_MAX = 4

# Statistics column headers "title|a$b$c" and the number of values each column holds.
STAT_HEADERS = {132: 3, 133: 3, 134: 5, 135: 2}

MONTHS = (number_ranges((160, 171)), number_ranges((172, 183)))

# A printf-like directive other than %s ("Pt%" as a label is fine).
OTHER_DIRECTIVE = re.compile(r"%(?!s)[A-Za-z]")


def split_lines(content):
    # CR LF, CR and LF all end a line, as in the program.
    return re.split(r"\r\n|\r|\n", content)


def parse_number(text):
    text = text.strip("".join(chr(c) for c in range(33)))
    if text.startswith("+"):
        text = text[1:]
    if not re.fullmatch(r"-?[0-9]+", text):
        return None
    return int(text)


def split_text(text, separator):
    """Pieces between separators; a separator at the end adds no empty piece."""
    if not text:
        return []
    if not text.endswith(separator):
        text += separator
    return text.split(separator)[:-1]


def read_catalogue(path, problems):
    """The catalogue's texts by number, as the program would see them."""
    name = path.name
    try:
        raw = path.read_bytes()
    except OSError as error:
        problems.append(f"{name}: cannot be read ({error.strerror})")
        return None
    if raw.startswith(b"\xef\xbb\xbf"):
        problems.append(f"{name}: starts with a byte order mark (the first line would be misread)")
    try:
        content = raw.decode("utf-8")
    except UnicodeDecodeError as error:
        problems.append(f"{name}: not UTF-8 (byte {error.start})")
        return None
    texts = {}
    for line_number, line in enumerate(split_lines(content), start=1):
        where = f"{name}:{line_number}"
        if not line or line.startswith("#"):
            continue
        if "=" not in line:
            problems.append(f"{where}: neither a comment nor number=text: {line!r}")
            continue
        key, text = line.split("=", 1)
        number = parse_number(key)
        if number is None or number <= 0:
            problems.append(f"{where}: {key!r} is not a positive message number")
            continue
        if key != str(number):
            problems.append(f"{where}: write the number plainly, not {key!r}")
        if number in texts:
            problems.append(f"{where}: message {number} appears twice (the later line wins)")
        texts[number] = text
    return texts


def check_text(name, number, text, problems):
    where = f"{name}: message {number}"
    if not text:
        if number not in ALLOWED_EMPTY:
            problems.append(f"{where} is empty")
        return
    if text != text.strip():
        problems.append(f"{where} has blanks at its start or end: {text!r}")
    if any(ord(c) < 32 for c in text):
        problems.append(f"{where} holds a control character")
    if text.count("%s") != ARGUMENTS.get(number, 0):
        problems.append(f"{where} has {text.count('%s')} '%s', expected {ARGUMENTS.get(number, 0)}")
    if OTHER_DIRECTIVE.search(text):
        problems.append(f"{where} has a '%' directive other than '%s': {text!r}")
    if text.count("&") > 1 or text.endswith("&"):
        problems.append(f"{where} has more than one accelerator mark or a bare '&': {text!r}")
    if number in SHORT_HEADERS and len(text) > SHORT_HEADER_MAX:
        problems.append(f"{where} is a search-code header of {len(text)} characters "
                        f"(at most {SHORT_HEADER_MAX})")
    if number in STAT_HEADERS:
        title, bar, labels = text.partition("|")
        count = len(split_text(labels, "$"))
        if not bar or not title:
            problems.append(f"{where} must be 'title|label$label...': {text!r}")
        elif count != STAT_HEADERS[number]:
            problems.append(f"{where} has {count} sub-labels, expected {STAT_HEADERS[number]}")


def check_catalogue(name, texts, problems):
    for number in sorted(IN_USE - texts.keys()):
        problems.append(f"{name}: message {number} is missing")
    for number in sorted(texts.keys() - IN_USE):
        problems.append(f"{name}: message {number} is not in use")
    for number, text in sorted(texts.items()):
        check_text(name, number, text, problems)
    for months in MONTHS:
        names = [texts.get(n, "") for n in sorted(months)]
        if len({n.lower() for n in names if n}) != sum(1 for n in names if n):
            problems.append(f"{name}: messages {min(months)} to {max(months)} repeat a month name")


def check_languages(catalogues, problems):
    (first_language, first), (second_language, second) = catalogues.items()
    for number in sorted(first.keys() & second.keys()):
        a, b = first[number].count("%s"), second[number].count("%s")
        if a != b:
            problems.append(f"message {number}: {a} '%s' in language {first_language}, "
                            f"{b} in language {second_language}")


def main(argv):
    folder = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parent.parent / "data" / "System"
    problems = []
    catalogues = {}
    for language, file_name in CATALOGUES.items():
        texts = read_catalogue(folder / file_name, problems)
        if texts is not None:
            check_catalogue(file_name, texts, problems)
            catalogues[language] = texts
    if len(catalogues) == len(CATALOGUES):
        check_languages(catalogues, problems)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} problem(s) in {folder}")
        return 1
    print(f"{folder}: both catalogues hold the {len(IN_USE)} messages in use")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
