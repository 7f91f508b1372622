"""Writing the disc's text files: Windows-1252 bytes, CR LF line ends, replaced atomically."""

import os

ENCODING = "cp1252"
# Inside an events-file field these separate the extensions and, within one, code and text.
EXTENSION_SEPARATOR = "\xe7"
EXTENSION_TEXT_SEPARATOR = "\xe8"


def write_lines(path, lines):
    data = "".join(line + "\r\n" for line in lines).encode(ENCODING)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    temporary = path + ".part"
    with open(temporary, "wb") as out:
        out.write(data)
    os.replace(temporary, path)


def check_field_text(text):
    """Texts that go into a field must not hold the separators of the files they go into."""
    for character in (";", "\t", "\r", "\n", EXTENSION_SEPARATOR, EXTENSION_TEXT_SEPARATOR):
        if character in text:
            raise ValueError("separator %r inside the field text %r" % (character, text))
    return text


def ini_lines(sections):
    """sections: list of (name, [(key, value)...])."""
    lines = []
    for name, items in sections:
        lines.append("[%s]" % name)
        lines.extend("%s=%s" % item for item in items)
        lines.append("")
    return lines


def two_digits(number):
    return "%02d" % number


def clock_text(seconds):
    seconds = int(seconds) % 86400
    return "%02d:%02d:%02d" % (seconds // 3600, seconds // 60 % 60, seconds % 60)
