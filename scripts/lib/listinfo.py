"""MAME's -listinfo layout for the Python generators (the demo folder's and the bad-input files'),
in the same layout as the C++ ListInfoWriter of the tests and benchmarks (tests/support): a
"game (" or "resource (" line, one property a line after a TAB, ")" and an empty line.

Everything is bytes, so that a generator can put any byte (NUL, half a Shift-JIS character) in a
property; the caller decides which properties a block has and in what order.
"""


def prop(key: bytes, value: bytes) -> bytes:
    """A property line's text: key, a blank, the value."""
    return key + b" " + value


def quoted(key: bytes, text: bytes) -> bytes:
    """A quoted property (description, manufacturer); the text as it stands, escapes and all."""
    return key + b' "' + text + b'"'


def block(kind: bytes, properties, eol: bytes = b"\r\n", tail: bytes = b"") -> bytes:
    """A whole block: `kind` ("game" or "resource"), each property on its line after a TAB, then
    `tail` (raw bytes, for a damaged block), ")" and an empty line."""
    lines = [kind + b" ("] + [b"\t" + line for line in properties]
    return eol.join(lines) + eol + tail + b")" + eol + eol
