#!/usr/bin/env python3
"""Lists statements in the test, fuzz and benchmark code that chain steps with
a comma: a comma outside any call's (), [], template <> or braced initialiser,
in a statement of a function body or at file scope, or directly inside
parentheses around an expression (`x = (a(), b())`).  Declarations of several names
of one type (`int a = 0, b = 0;`) are left alone unless --declarations is
given.  Prints file:line for each and exits 1 when any is found.

Usage: scripts/check-commas.py [--declarations] [path ...]
       (default paths: tests server/tests fuzz bench)
"""
import os
import re
import sys

DEFAULT_ROOTS = ["tests", "server/tests", "fuzz", "bench"]
SUFFIXES = (".cpp", ".h", ".hpp", ".cc")

TOKEN = re.compile(
    r"""
    (?P<ws>[ \t\r\f\v]+)
  | (?P<nl>\n)
  | (?P<line_comment>//[^\n]*)
  | (?P<block_comment>/\*.*?\*/)
  | (?P<raw>(?:u8|u|U|L)?R"(?P<delim>[^()\\\s]{0,16})\(.*?\)(?P=delim)")
  | (?P<string>(?:u8|u|U|L)?"(?:\\.|[^"\\\n])*")
  | (?P<char>(?:u8|u|U|L)?'(?:\\.|[^'\\\n])+')
  | (?P<number>\.?[0-9](?:[0-9A-Za-z_.]|'[0-9A-Za-z]|[eEpP][+-])*)
  | (?P<ident>[A-Za-z_][A-Za-z_0-9]*)
  | (?P<punct>::|->|<<=|>>=|<=>|<<|&&|\|\||<=|>=|==|!=|\+\+|--|[-+*/%&|^!~=<>?:;,.(){}\[\]#\\@$])
    """,
    re.VERBOSE | re.DOTALL,
)

# Tokens after which a `{` opens a block rather than a braced initialiser.
BLOCK_AFTER = {")", ";", "{", "}", "else", "do", "try", ":", "const", "noexcept", "override", "final", "mutable", "]"}
TYPE_KEYWORDS = {"class", "struct", "union", "namespace"}


def tokens(text):
    """Yields (kind, text, line) for the code tokens, skipping comments,
    whitespace and preprocessor lines."""
    line = 1
    pos = 0
    at_line_start = True
    in_directive = False
    while pos < len(text):
        m = TOKEN.match(text, pos)
        if not m:
            pos += 1
            continue
        kind = "raw" if m.group("raw") is not None else m.lastgroup
        value = m.group(0)
        start_line = line
        line += value.count("\n")
        pos = m.end()
        if kind == "nl":
            if not (in_directive and text[m.start() - 1 : m.start()] == "\\"):
                in_directive = False
            at_line_start = True
            continue
        if kind in ("ws", "line_comment", "block_comment"):
            continue
        if at_line_start and value == "#":
            in_directive = True
        at_line_start = False
        if in_directive:
            continue
        yield kind, value, start_line


def closes_template(toks, i):
    """True when the `<` at toks[i] opens a template argument list: a matching
    `>` follows before anything that cannot stand inside one."""
    depth = 0
    parens = 0
    for kind, value, _ in toks[i:]:
        if value in ("(", "["):
            parens += 1
        elif value in (")", "]"):
            parens -= 1
            if parens < 0:
                return False
        elif parens == 0 and value == "<":
            depth += 1
        elif parens == 0 and value in (">", ">>"):
            depth -= len(value)
            if depth <= 0:
                return True
        elif value in (";", "{", "}", "&&", "||") and parens == 0:
            return False
    return False


# Keywords after which parentheses hold an expression.
GROUP_AFTER = {"return", "if", "while", "switch", "co_return", "throw"}
# Words that cannot begin a declaration.
NOT_TYPES = {
    "return", "delete", "throw", "co_return", "co_yield", "co_await", "case", "goto", "new", "sizeof", "else", "do"
}


def declares(words):
    """True when the statement so far declares names of one type: a type,
    possibly qualified, templated, const or a pointer, then a name, before
    the first initialiser or comma."""
    names = 0
    angle = 0
    last = None
    for word in words:
        if angle:
            angle += (word == "<") - (word == ">") - 2 * (word == ">>")
            continue
        if word == "<":
            angle = 1
            continue
        if word in ("=", "(", "{", "[", ","):
            break
        if word in NOT_TYPES or not (word in ("::", "*", "&", "&&", ">") or re.fullmatch(r"[A-Za-z_]\w*", word)):
            return False
        if re.fullmatch(r"[A-Za-z_]\w*", word) and last != "::":
            names += 1
        last = word
    return names >= 2 and last not in ("::", "*", "&", "&&")


def findings(text, declarations=False):
    toks = list(tokens(text))
    # Each open bracket: its closing text; True when commas directly inside it
    # are steps of statements (a block, or file scope at the bottom), "group"
    # for parentheses around an expression, else False; for a block the
    # tokens of its current statement; for a parenthesis the token before it.
    stack = [["", True, []]]
    found = []
    after_decltype = False  # the last `)` closed `decltype(...)`

    def statement():
        return next(entry[2] for entry in reversed(stack) if entry[1] is True)

    for i, (kind, value, line) in enumerate(toks):
        closing, is_block = stack[-1][:2]
        prev = toks[i - 1][1] if i else ";"
        words = [v for _, v, _ in statement()]
        if kind != "punct":
            pass
        elif value == "(" and ((toks[i - 1][0] == "punct" and prev not in (")", "]", ">")) or prev in GROUP_AFTER):
            stack.append([")", "group", None, prev])  # parentheses around an expression, not a call
        elif value in ("(", "["):
            stack.append([")" if value == "(" else "]", False, None, prev])
        elif value == "<" and i and toks[i - 1][0] == "ident" and closes_template(toks, i):
            stack.append([">", False, None])
        elif value in (">", ">>") and closing == ">":
            for _ in range(len(value)):
                if stack[-1][0] == ">":
                    stack.pop()
        elif value == "{":
            if "enum" in words and "=" not in words:
                block = False
            elif prev in ("{", ":"):
                block = is_block is True
            else:
                block = not (prev == ")" and after_decltype) and (
                    prev in BLOCK_AFTER
                    or (bool(TYPE_KEYWORDS & set(words)) and "=" not in words)
                    or (len(words) >= 2 and words[-2] == "->")
                    or words[:1] == ["extern"]
                )
            stack.append(["}", block, [] if block else None])
            if block:
                continue
        elif value in (")", "]", "}"):
            while len(stack) > 1 and stack[-1][0] == ">":
                stack.pop()
            was_block = stack[-1][1]
            after_decltype = value == ")" and len(stack[-1]) > 3 and stack[-1][3] == "decltype"
            if len(stack) > 1:
                stack.pop()
            if value == "}" and was_block is True and stack[-1][1] is True:
                stack[-1][2] = []
                continue
        elif value == ";":
            while len(stack) > 1 and stack[-1][0] == ">":
                stack.pop()
            if stack[-1][1] is True:
                stack[-1][2] = []
                continue
        elif value == ":" and is_block is True and prev in ("public", "protected", "private", "default", "slots"):
            stack[-1][2] = []  # a label ends what came before it
            continue
        elif value == "," and is_block == "group":
            found.append(line)
        elif value == "," and is_block is True:
            # A constructor's member initialisers, a class's bases, a template's parameters.
            initialisers = any(
                words[j] == ":" and words[j - 1] in (")", "const", "noexcept") for j in range(1, len(words))
            )
            bases = bool(TYPE_KEYWORDS & set(words)) or "enum" in words
            if not initialisers and not bases and words[:1] != ["template"]:
                if declarations or not declares(words):
                    found.append(line)
        statement().append((kind, value, line))
    return found


def files(roots):
    for root in roots:
        if os.path.isfile(root):
            yield root
            continue
        for folder, _, names in sorted(os.walk(root)):
            for name in sorted(names):
                if name.endswith(SUFFIXES):
                    yield os.path.join(folder, name)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    os.chdir(os.path.dirname(here))
    declarations = "--declarations" in argv
    roots = [a for a in argv[1:] if a != "--declarations"] or DEFAULT_ROOTS
    count = 0
    for path in files(roots):
        with open(path, encoding="utf-8", errors="replace") as f:
            lines = sorted(set(findings(f.read(), declarations)))
        for line in lines:
            print(f"{path}:{line}: statements chained with a comma")
        count += len(lines)
    if count:
        print(f"{count} statement(s) chained with a comma; put each step on its own line", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
