#!/usr/bin/env python3
"""Writes the small malformed script files of this folder.

The big ones (a 5 MB line, 100,000 empty lines, 10,000-character labels)
are made by tests/engine/badscript_test.cpp at test time. What each file is
expected to do when run is listed in that test, under the file's name.

    python3 tests/badscripts/make_corpus.py
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def join_comma_text(lines):
    """The script file's comma text: items with a character 1..32, a quote
    or a comma are quoted, inner quotes doubled."""
    if lines == [""]:
        return b'""'
    out = []
    for line in lines:
        if any(1 <= c <= 32 or c in b'",' for c in line):
            out.append(b'"' + line.replace(b'"', b'""') + b'"')
        else:
            out.append(line)
    return b",".join(out)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def lines(name, items):
    write(name, join_comma_text([i.encode("latin-1") for i in items]))


# Raw bytes: every byte value up and down, and NULs inside items.
write("binary_all_bytes.tks", bytes(range(256)) + bytes(reversed(range(256))))
write("nul_bytes.tks", b'a\x00b,\x00\x00\x00,{Enter}\x00x,"\x00\x00"')

# Quotes that do not close: a quoted item runs to the end of the text.
write("unbalanced_quote.tks", b'first,"second, third {Enter}')
write("quote_at_end.tks", b'abc,def,"')
write("only_separators.tks", b",,,,  ,\t,\r\n,\x01\x02\x1f,")

# Lines of nothing but braces.
lines("braces_only.tks", ["{", "}", "{{", "}}", "{{{", "}}}", "{{{{", "{}", "{}{}{}",
                          "{{}}", "}{", "{{{}}}", "}}}}}}"])

# ESC and other control characters in keys, text and a window title.
lines("escape_and_controls.tks", ["\x1b\x1b\x1b", "ab\x08\x08\x1bc\x01\x02\x03",
                                  "{Esc}\x0b\x0c\x07d", "\x1b\te\x7f",
                                  "{:TO \x1bNo\x07Window}", "never typed"])

# Repeat counts far beyond 32 bits, positive and negative.
lines("count_2pow40.tks", ["{a 1099511627776}"])
lines("count_hex_48bit.tks", ["ok", "{b $FFFFFFFFFFFF}"])
lines("count_negative_huge.tks", ["{a -1099511627776}x", "{Tab -$FFFFFFFFFFFF}y"])
# Three keys times 1431655766 is 2^32 + 2: a product that wraps to 2 in 32 bits.
lines("count_wraps_32bit.tks", ["{abc 1431655766}"])
lines("loop_count_2pow40.tks", ["{.L}", "{:LoopTimes L 1099511627776}", "after"])
lines("pause_hex_48bit.tks", ["{:PauseSeconds $FFFFFFFFFFFF}", "after"])

# Control flow that never ends, and commands that make no sense.
lines("goto_self.tks", ["{.L}", "{:Goto L}", "after"])
lines("commands_garbage.tks", ["{:}", "{:\x01\x02}", "{::::}", "{:Run }", "{:ClipsCopy 99}",
                               "{:Mouse}", "{:/", "{:Goto}", "after"])
lines("note_without_blanks.tks", ["{:PopUp}", "text"])
lines("note_bad_y.tks", ["{:PopUp 10 y title}", "text"])
lines("remark_to_the_end.tks", ["{:/ remark}", "a", "b"])
