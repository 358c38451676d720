"""RTF as WordPad writes it: ANSI code page 1251, Cyrillic as \\'hh escapes, CRLF line ends."""

HEADER = (
    "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green128\\blue0;}\r\n"
    "\\viewkind4\\uc1\\pard\\lang1049\\f0\\fs20 "
)


def escape(text):
    out = []
    for ch in text:
        if ch in "\\{}":
            out.append("\\" + ch)
        elif ord(ch) < 128:
            out.append(ch)
        else:
            out.append("".join("\\'%02x" % b for b in ch.encode("cp1251")))
    return "".join(out)


def document(title, blocks):
    """`blocks` are (kind, lines): kind "verse", "chorus" (bold, navy) or "note" (green, italic)."""
    body = "\\cf1\\b\\fs32 " + escape(title) + "\\cf0\\b0\\fs28\\par\r\n\\par\r\n"
    for kind, lines in blocks:
        for line in lines:
            if kind == "chorus":
                body += "\\cf2\\b " + escape(line) + "\\cf0\\b0\\par\r\n"
            elif kind == "note":
                body += "\\cf3\\i " + escape(line) + "\\cf0\\i0\\par\r\n"
            else:
                body += escape(line) + "\\par\r\n"
        body += "\\par\r\n"
    return (HEADER + body + "}\r\n").encode("ascii")


def lyrics(text):
    """Blocks from a plain text: blank lines part them, a block starting with '*' is a chorus,
    one starting with '~' is a note."""
    blocks = []
    for chunk in text.strip().split("\n\n"):
        lines = [line.strip() for line in chunk.strip().splitlines()]
        kind = "verse"
        if lines[0].startswith("*"):
            kind, lines[0] = "chorus", lines[0][1:].strip()
        elif lines[0].startswith("~"):
            kind, lines[0] = "note", lines[0][1:].strip()
        blocks.append((kind, lines))
    return blocks
