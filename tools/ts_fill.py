#!/usr/bin/env python3
"""Fills translations into a Qt Linguist .ts file from a plain table.

  ts_fill.py list TS SNAPSHOT   writes the unfinished messages to SNAPSHOT
                                (JSON, numbered) and prints them, one a line
  ts_fill.py apply TS SNAPSHOT TABLE
                                TABLE holds "number<TAB>translation" lines
                                (numbers from the snapshot; \\n, \\r, \\t and
                                \\\\ escaped); the translations are checked,
                                written and marked finished
  ts_fill.py check TS           checks every finished translation

The checks are the ones the catalogue test makes: same placeholders, same
<img src> values, balanced tags, same line breaks and &nbsp;/<br> counts,
the accelerator kept, "Ctrl+C" kept. After apply, run the lupdate target
(or lconvert) if the file's layout should be normalised; the content is
complete either way.
"""

import json
import re
import sys
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%(\d+)")
IMG_SRC = re.compile(r"<img\s+src\s*=\s*\"([^\"]*)\"", re.I)
TAG = re.compile(r"<(/?)([a-zA-Z][a-zA-Z0-9]*)[^>]*?(/?)>")
VOID_TAGS = {"br", "img", "hr", "meta"}
ACCEL = re.compile(r"&(?!&|nbsp;|amp;|lt;|gt;|quot;)(\w)")


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            out.append({"n": "\n", "r": "\r", "t": "\t", "\\": "\\"}.get(text[i + 1], "\\" + text[i + 1]))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def escape(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r").replace("\t", "\\t")


def tags(text):
    """Open tags left unclosed or closed without opening; empty when balanced."""
    stack, faults = [], []
    for closing, name, selfclosing in TAG.findall(text):
        name = name.lower()
        if name in VOID_TAGS or selfclosing:
            continue
        if not closing:
            stack.append(name)
        elif stack and stack[-1] == name:
            stack.pop()
        else:
            faults.append("/" + name)
    return faults + stack


def problems(source, translation):
    found = []
    if not translation:
        return ["empty"]
    if set(PLACEHOLDER.findall(source)) != set(PLACEHOLDER.findall(translation)):
        found.append("placeholders")
    if IMG_SRC.findall(source) != IMG_SRC.findall(translation):
        found.append("img src")
    if tags(translation) and not tags(source):
        found.append("tags " + ",".join(tags(translation)))
    for token in ("\r\n", "\n", "&nbsp;", "<br>", "Ctrl+C"):
        if source.count(token) != translation.count(token):
            found.append(repr(token))
    if ACCEL.search(source) and not ACCEL.search(translation):
        found.append("accelerator")
    return found


def messages(root):
    for context in root.findall("context"):
        name = context.findtext("name")
        for message in context.findall("message"):
            yield name, message


def key(name, message):
    return [name, message.findtext("source") or "", message.findtext("comment") or ""]


def unfinished(message):
    translation = message.find("translation")
    return translation is None or translation.get("type") in ("unfinished",) or not (translation.text or "")


def write(tree, path):
    ET.indent(tree, "    ")
    with open(path, "wb") as f:
        f.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        # A raw CR would read back as a line feed.
        body = ET.tostring(tree.getroot(), encoding="unicode").replace("\r", "&#13;")
        f.write(body.encode("utf-8"))
        f.write(b"\n")


def cmd_list(ts, snapshot):
    tree = ET.parse(ts)
    rows = [key(n, m) for n, m in messages(tree.getroot()) if unfinished(m)]
    with open(snapshot, "w", encoding="utf-8") as f:
        json.dump(rows, f, ensure_ascii=False, indent=0)
    for i, (name, source, comment) in enumerate(rows):
        print(f"{i}\t{name}\t{escape(comment)}\t{escape(source)}")
    print(f"{len(rows)} unfinished", file=sys.stderr)


def cmd_apply(ts, snapshot, table):
    with open(snapshot, encoding="utf-8") as f:
        rows = json.load(f)
    wanted = {}
    with open(table, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            number, _, text = line.partition("\t")
            wanted[tuple(rows[int(number)])] = unescape(text)
    tree = ET.parse(ts)
    applied, bad = 0, 0
    for name, message in messages(tree.getroot()):
        k = tuple(key(name, message))
        if k not in wanted:
            continue
        text = wanted.pop(k)
        faults = problems(k[1], text)
        if faults:
            bad += 1
            print(f"REFUSED {faults}: {name} | {escape(k[1])}", file=sys.stderr)
            continue
        translation = message.find("translation")
        if translation is None:
            translation = ET.SubElement(message, "translation")
        translation.attrib.pop("type", None)
        translation.text = text
        applied += 1
    write(tree, ts)
    print(f"{applied} applied, {bad} refused, {len(wanted)} not found", file=sys.stderr)


def cmd_check(ts):
    tree = ET.parse(ts)
    faults = 0
    for name, message in messages(tree.getroot()):
        if unfinished(message):
            continue
        found = problems(message.findtext("source") or "", message.findtext("translation") or "")
        if found:
            faults += 1
            print(f"{found}: {name} | {escape(message.findtext('source') or '')}")
    return 1 if faults else 0


if __name__ == "__main__":
    args = sys.argv[1:]
    if args[:1] == ["list"] and len(args) == 3:
        cmd_list(args[1], args[2])
    elif args[:1] == ["apply"] and len(args) == 4:
        cmd_apply(args[1], args[2], args[3])
    elif args[:1] == ["check"] and len(args) == 2:
        sys.exit(cmd_check(args[1]))
    else:
        sys.exit(__doc__)
