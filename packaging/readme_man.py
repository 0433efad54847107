#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Writes a manual page from the README's marked spans, so that the page and the README say the
same thing. A span starts with `<!-- man PAGE SECTION -->` and ends with `<!-- end man -->`;
NAME and SYNOPSIS carry their one line in the marker itself (`<!-- man PAGE NAME: text -->`).

    readme_man.py README.md PAGE VERSION OUTPUT
"""

import re
import sys

MARKER = re.compile(r"<!-- man (\S+) ([A-Z0-9 ]+?)(?:: (.*?))? -->")
END = "<!-- end man -->"
ORDER = ("NAME", "SYNOPSIS", "DESCRIPTION", "EXIT STATUS")


def sections(readme, page):
    """{section: [markdown lines]} of PAGE, in the README's order."""
    found, current = {}, None
    for line in readme.splitlines():
        marker = MARKER.fullmatch(line.strip())
        if marker and marker.group(1) == page:
            current = found.setdefault(marker.group(2), [])
            if marker.group(3) is not None:
                current.append(marker.group(3))
                current = None
        elif line.strip() == END:
            current = None
        elif current is not None:
            current.append(line)
    return found


def escaped(text):
    text = text.replace("\\", "\\e")
    for typographic, roff in (("—", "\\(em"), ("…", "..."), ("→", "\\(->"), ("×", "\\(mu")):
        text = text.replace(typographic, roff)
    return text


def code(text):
    return escaped(text).replace("-", "\\-")


def inline(text):
    """Markdown's inline marks as roff fonts; links keep their text."""
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", text)
    parts = re.split(r"(`[^`]*`|\*\*[^*]*\*\*)", text)
    out = []
    for part in parts:
        if part.startswith("`") and part.endswith("`") and len(part) > 1:
            out.append("\\fB" + code(part[1:-1]) + "\\fR")
        elif part.startswith("**") and part.endswith("**") and len(part) > 3:
            out.append("\\fB" + escaped(part[2:-2]) + "\\fR")
        else:
            out.append(escaped(part))
    return "".join(out)


def line(text):
    """A text line that roff will not read as a request."""
    return "\\&" + text if text.startswith((".", "'")) else text


def cells(row):
    return [cell.strip() for cell in row.strip().strip("|").split("|")]


def blocks(lines):
    """The markdown blocks: ('code', lines), ('table', rows), ('item', text), ('para', text)."""
    i = 0
    while i < len(lines):
        text = lines[i]
        if not text.strip():
            i += 1
        elif text.startswith("```"):
            end = next((j for j in range(i + 1, len(lines)) if lines[j].startswith("```")),
                       len(lines))
            yield "code", lines[i + 1:end]
            i = end + 1
        elif text.startswith("|"):
            end = i
            while end < len(lines) and lines[end].startswith("|"):
                end += 1
            yield "table", [cells(row) for row in lines[i:end]]
            i = end
        else:
            item = text.startswith("- ")
            end = i + 1
            while (end < len(lines) and lines[end].strip() and
                   not lines[end].startswith(("- ", "```", "|"))):
                end += 1
            joined = " ".join(part.strip() for part in lines[i:end])
            yield ("item", joined[2:]) if item else ("para", joined)
            i = end


def roff(lines):
    out = []
    for kind, content in blocks(lines):
        if kind == "code":
            out += [".PP", ".RS 4", ".nf"] + [line(code(text)) for text in content] + [".fi",
                                                                                        ".RE"]
        elif kind == "table":
            # The header row names the columns; the second row only underlines them.
            header, rows = content[0], content[2:]
            for row in rows:
                out += [".TP", line(inline(row[0])), line(inline(row[1]))]
                for name, cell in zip(header[2:], row[2:]):
                    out += [".br", line(inline(f"{name.capitalize()}: {cell}"))]
        elif kind == "item":
            out += [".IP \\(bu 2", line(inline(content))]
        else:
            out += [".PP", line(inline(content))]
    return out


def page(readme, name, version):
    found = sections(readme, name)
    missing = [s for s in ("NAME", "SYNOPSIS", "DESCRIPTION") if s not in found]
    if missing:
        raise SystemExit(f"README.md has no {', '.join(missing)} for {name}")
    title = code(name.upper())
    out = [f'.TH {title} 1 "" "CQInputKV {version}" "User Commands"',
           ".SH NAME", f"{code(name)} \\- {escaped(found['NAME'][0])}",
           ".SH SYNOPSIS", line(code(found["SYNOPSIS"][0]))]
    titles = [s for s in ORDER[2:] if s in found] + [s for s in found if s not in ORDER]
    for title in titles:
        out += [f'.SH "{title}"'] + roff(found[title])
    return "\n".join(out) + "\n"


def main(arguments):
    if len(arguments) != 4:
        raise SystemExit(__doc__)
    source, name, version, output = arguments
    with open(source, encoding="utf-8") as f:
        text = page(f.read(), name, version)
    with open(output, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv[1:])
