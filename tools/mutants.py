#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Generates mechanical mutants of the C++ sources, samples them by seed, applies one, and sums up a results log.
"""Mechanical mutants of src/ for tools/mutate.sh.

  mutants.py list    --tree DIR [--only REGEX]                   every mutant: ID TAB original line TAB mutated line
  mutants.py sample  --tree DIR --seed S --sample N [--only R]   the N mutants the seed picks, one ID a line
  mutants.py apply   --tree DIR ID                               writes the mutant into its file (in place)
  mutants.py show    --tree DIR ID                               the original and mutated line of one mutant
  mutants.py summary --results TSV [--equivalent FILE]           the counts and the kill rate of a results log
  mutants.py tests   --ctest-json FILE PATH                      ctest's -I list of the tests that can reach PATH

A mutant's ID is FILE:LINE:COLUMN:OPERATOR:REPLACEMENT (no spaces or tabs), stable for an unchanged file.
Operators: ROR relational swap, AOR arithmetic swap, LCR && <-> ||, CST integer/float constant +1 or -1,
NEG condition negated (if, while, ternary), DEL statement deleted, SWP two arguments of a call swapped,
RET early return at a function's first statement.
The sample is the N mutants with the smallest SHA-256 of "SEED:ID": the same tree and seed give the same
sample on any machine, and a mutant's chance does not depend on the others.
"""
import argparse
import hashlib
import json
import os
import re
import sys
from dataclasses import dataclass

KEYWORDS = {
    "alignas", "alignof", "asm", "auto", "bool", "break", "case", "catch", "char", "char8_t", "char16_t",
    "char32_t", "class", "co_await", "co_return", "co_yield", "concept", "const", "consteval", "constexpr",
    "constinit", "const_cast", "continue", "decltype", "default", "delete", "do", "double", "dynamic_cast",
    "else", "enum", "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if", "inline",
    "int", "long", "mutable", "namespace", "new", "noexcept", "nullptr", "operator", "private", "protected",
    "public", "register", "reinterpret_cast", "requires", "return", "short", "signed", "sizeof", "static",
    "static_assert", "static_cast", "struct", "switch", "template", "this", "thread_local", "throw", "true",
    "try", "typedef", "typeid", "typename", "union", "unsigned", "using", "virtual", "void", "volatile",
    "wchar_t", "while", "emit", "signals", "slots",
}
TYPE_WORDS = {"auto", "bool", "char", "double", "float", "int", "long", "short", "signed", "unsigned", "void",
              "const", "constexpr", "static", "inline", "volatile", "typename", "struct", "class", "enum"}
# Tokens after which a '<' cannot be a comparison's left operand ending.
PUNCT = sorted("""
>>= <<= ... <=> -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= :: ## .*
+ - * / % < > = ! ~ & | ^ ? : ; , . ( ) [ ] { } #
""".split(), key=len, reverse=True)
ASSIGN = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="}


@dataclass
class Tok:
    kind: str  # id, num, str, chr, p (punctuation)
    text: str
    start: int
    end: int


def tokenize(src):
    """C++ tokens, skipping comments, preprocessor lines (with continuations) and keeping literals whole."""
    toks, i, n = [], 0, len(src)
    line_start = True
    while i < n:
        c = src[i]
        if c == "\n":
            line_start = True; i += 1; continue
        if c in " \t\r\f\v":
            i += 1; continue
        if line_start and c == "#":
            while i < n and src[i] != "\n":
                if src[i] == "\\" and i + 1 < n and src[i + 1] == "\n": i += 2; continue
                if src.startswith("//", i): break
                if src.startswith("/*", i):
                    j = src.find("*/", i + 2); i = n if j < 0 else j + 2; continue
                i += 1
            continue
        line_start = False
        if src.startswith("//", i):
            j = src.find("\n", i); i = n if j < 0 else j; continue
        if src.startswith("/*", i):
            j = src.find("*/", i + 2); i = n if j < 0 else j + 2; continue
        m = re.match(r'(?:u8|u|U|L)?R"([^(\s]*)\(', src[i:i + 40])
        if m:
            close = ")" + m.group(1) + '"'
            j = src.find(close, i + m.end()); j = n if j < 0 else j + len(close)
            toks.append(Tok("str", src[i:j], i, j)); i = j; continue
        m = re.match(r"(?:u8|u|U|L)?(['\"])", src[i:i + 3])
        if m and (c in "'\"" or not (i > 0 and (src[i - 1].isalnum() or src[i - 1] == "_"))):
            q = m.group(1); j = i + m.end()
            while j < n and src[j] != q:
                j += 2 if src[j] == "\\" else 1
            j += 1
            toks.append(Tok("str" if q == '"' else "chr", src[i:j], i, j)); i = j; continue
        if c.isdigit() or (c == "." and i + 1 < n and src[i + 1].isdigit()):
            m = re.match(r"(?:0[xX][0-9a-fA-F']+(?:\.[0-9a-fA-F']*)?(?:[pP][+-]?\d+)?|[0-9][0-9']*\.?[0-9']*(?:[eE][+-]?\d+)?|\.[0-9']+(?:[eE][+-]?\d+)?)[a-zA-Z_]*", src[i:])
            toks.append(Tok("num", m.group(0), i, i + m.end())); i += m.end(); continue
        if c.isalpha() or c == "_":
            m = re.match(r"[A-Za-z_][A-Za-z_0-9]*", src[i:])
            toks.append(Tok("id", m.group(0), i, i + m.end())); i += m.end(); continue
        for p in PUNCT:
            if src.startswith(p, i):
                toks.append(Tok("p", p, i, i + len(p))); i += len(p); break
        else:
            i += 1
    return toks


def matching(toks, k):
    """Index of the bracket closing the one at k, or None."""
    pairs = {"(": ")", "[": "]", "{": "}"}
    opener, closer, depth = toks[k].text, pairs[toks[k].text], 0
    for j in range(k, len(toks)):
        t = toks[j].text
        if toks[j].kind != "p": continue
        if t == opener: depth += 1
        elif t == closer:
            depth -= 1
            if depth == 0: return j
    return None


def template_brackets(toks):
    """Indices of '<' and '>' (and '>>') that open or close template argument lists."""
    marked = set()
    for k, t in enumerate(toks):
        if t.text != "<" or k == 0 or k in marked: continue
        prev = toks[k - 1]
        if prev.text == "operator": marked.add(k); continue
        if not (prev.kind == "id" and (prev.text not in KEYWORDS or prev.text in
                                       ("template", "static_cast", "const_cast", "reinterpret_cast", "dynamic_cast"))):
            continue
        depth, paren, j, closes = 1, 0, k + 1, []
        while j < len(toks) and depth > 0:
            s = toks[j].text
            if toks[j].kind == "p":
                if s in ("(", "["): paren += 1
                elif s in (")", "]"):
                    paren -= 1
                    if paren < 0: break
                elif paren == 0 and s in (";", "{", "}", "&&", "||", "?", "=", "+", "-", "/", "%", "!", "==",
                                          "!=", "<=", ">=", "+=", "-=", "."):
                    break
                elif s == "<": depth += 1; closes.append(j)
                elif s == ">" and paren == 0: depth -= 1; closes.append(j)
                elif s == ">>" and paren == 0: depth -= 2; closes.append(j)
            j += 1
        if depth <= 0:
            marked.add(k); marked.update(closes)
    return marked


def is_operand_end(t):
    return t.kind in ("num", "str", "chr") or t.text in (")", "]") or (t.kind == "id" and t.text not in KEYWORDS) \
        or t.text in ("this", "true", "false", "nullptr")


def looks_like_declarator(toks, k):
    """`Type* name`, `Type& name`, `Type&& name`: the operator at k belongs to a declaration."""
    prev = toks[k - 1]
    if prev.text in TYPE_WORDS or prev.text == ">": return True
    nxt = toks[k + 1] if k + 1 < len(toks) else None
    if nxt is None or nxt.text in (")", ",", ">", "&", "*", "const", "&&"): return True
    after = toks[k + 2] if k + 2 < len(toks) else None
    if prev.kind == "id" and prev.text[:1].isupper() and any(ch.islower() for ch in prev.text) and \
            nxt.kind == "id" and nxt.text[:1].islower() and after is not None and after.text in (",", ")", ";", "=", "{", "[", ":"):
        return True
    return False


def bump(text, delta):
    """The literal plus delta, in the literal's own notation where it is simple."""
    m = re.fullmatch(r"([0-9]+)([uUlL]*)", text)
    if m:
        v = int(m.group(1)) + delta
        return None if v < 0 else f"{v}{m.group(2)}"
    m = re.fullmatch(r"0[xX]([0-9a-fA-F]+)([uUlL]*)", text)
    if m:
        v = int(m.group(1), 16) + delta
        return None if v < 0 else f"0x{v:0{len(m.group(1))}X}{m.group(2)}"
    m = re.fullmatch(r"([0-9]*)\.([0-9]*)([fFlL]?)", text)
    if m and (m.group(1) or m.group(2)):
        whole = int(m.group(1) or "0") + delta
        if whole < 0: return None
        return f"{whole}.{m.group(2) or '0'}{m.group(3)}"
    return f"({text}{'+' if delta > 0 else '-'}1)"


@dataclass
class Mutant:
    path: str
    line: int
    col: int
    op: str
    label: str
    start: int
    end: int
    text: str

    @property
    def ident(self):
        return f"{self.path}:{self.line}:{self.col}:{self.op}:{self.label}"


def line_col(src, offset, cache):
    starts = cache.setdefault("starts", [0] + [m.end() for m in re.finditer("\n", src)])
    lo, hi = 0, len(starts) - 1
    while lo < hi:
        mid = (lo + hi + 1) // 2
        if starts[mid] <= offset: lo = mid
        else: hi = mid - 1
    return lo + 1, offset - starts[lo] + 1


def squeeze(text):
    return re.sub(r"\s+", "", text)


def mutants_of(path, src):
    toks = tokenize(src)
    templ = template_brackets(toks)
    cache, out = {}, []

    def add(op, label, start, end, text):
        line, col = line_col(src, start, cache)
        out.append(Mutant(path, line, col, op, squeeze(label), start, end, text))

    # Bracket context: what each token sits in ("{" body, "(" parens...), and the body kinds.
    stack, context = [], []
    for k, t in enumerate(toks):
        context.append(stack[-1] if stack else None)
        if t.kind == "p" and t.text in "([{": stack.append(t.text)
        elif t.kind == "p" and t.text in ")]}" and stack: stack.pop()

    ROR = {"<": ["<=", ">"], "<=": ["<", ">="], ">": [">=", "<"], ">=": [">", "<="], "==": ["!="], "!=": ["=="]}
    AOR = {"+": ["-"], "-": ["+"], "*": ["/"], "/": ["*"], "%": ["/"], "+=": ["-="], "-=": ["+="], "*=": ["/="],
           "/=": ["*="]}
    for k, t in enumerate(toks):
        if k == 0 or k + 1 >= len(toks): continue
        prev = toks[k - 1]
        if t.kind == "p" and t.text in ROR and k not in templ and prev.text != "operator" and is_operand_end(prev):
            for r in ROR[t.text]: add("ROR", r, t.start, t.end, r)
        elif t.kind == "p" and t.text in AOR and prev.text != "operator" and is_operand_end(prev):
            if t.text in ("*",) and looks_like_declarator(toks, k): continue
            if "str" in (prev.kind, toks[k + 1].kind): continue  # text joined, not numbers added
            for r in AOR[t.text]: add("AOR", r, t.start, t.end, r)
        elif t.kind == "p" and t.text in ("&&", "||") and is_operand_end(prev):
            if t.text == "&&" and looks_like_declarator(toks, k): continue
            r = "||" if t.text == "&&" else "&&"
            add("LCR", r, t.start, t.end, r)
        elif t.kind == "num" and context[k] is not None:
            if prev.text == "[" and toks[k + 1].text == "]": continue  # array bounds of declarations
            for d in (1, -1):
                r = bump(t.text, d)
                if r is not None and r != t.text: add("CST", r, t.start, t.end, r)

    # Conditions negated: if (...), while (...), and the condition of ?: back to its expression's start.
    for k, t in enumerate(toks):
        if t.kind == "id" and t.text in ("if", "while") and k + 1 < len(toks):
            o = k + 1
            if toks[o].text == "constexpr": continue
            if toks[o].text != "(": continue
            c = matching(toks, o)
            if c is None or c == o + 1: continue
            inner = toks[o + 1:c]
            if any(x.text == ";" for x in inner): continue
            s, e = toks[o + 1].start, toks[c - 1].end
            add("NEG", "!", s, e, "!(" + src[s:e] + ")")
        elif t.text == "?" and t.kind == "p":
            depth, j = 0, k - 1
            while j >= 0:
                x = toks[j]
                if x.kind == "p" and x.text in (")", "]"): depth += 1
                elif x.kind == "p" and x.text in ("(", "["):
                    if depth == 0: break
                    depth -= 1
                elif depth == 0 and (x.text in ASSIGN or x.text in (",", ";", "{", "}", "?", ":", "return")):
                    break
                j -= 1
            if j + 1 >= k: continue
            s, e = toks[j + 1].start, toks[k - 1].end
            add("NEG", "!", s, e, "!(" + src[s:e] + ")")

    # Statement starts: after ';', '{', '}', 'else', 'do', a control statement's ')', or a case label's ':'.
    control_close = set()
    for k, t in enumerate(toks):
        if t.kind == "id" and t.text in ("if", "while", "for", "switch") and k + 1 < len(toks) and toks[k + 1].text == "(":
            c = matching(toks, k + 1)
            if c is not None: control_close.add(c)
        elif t.kind == "id" and t.text == "if" and k + 2 < len(toks) and toks[k + 1].text == "constexpr":
            c = matching(toks, k + 2)
            if c is not None: control_close.add(c)
    boundary = None
    for k, t in enumerate(toks):
        starts_here = False
        if k > 0 and context[k] == "{":
            p = toks[k - 1]
            if p.text in (";", "{", "}") or p.text in ("else", "do") or (k - 1) in control_close:
                starts_here = True
            elif p.text == ":" and boundary is not None and toks[boundary].text in ("case", "default"):
                starts_here = True
        if k > 0 and toks[k - 1].text in (";", "{", "}"): boundary = k
        if not starts_here: continue
        end = simple_statement_end(toks, k)
        if end is not None:
            add("DEL", ";", t.start, toks[end].end, ";")

    # Two plain identifiers or two numeric literals swapped in a call's arguments.
    for k, t in enumerate(toks):
        if t.text != "(" or k == 0: continue
        prev = toks[k - 1]
        if not ((prev.kind == "id" and prev.text not in KEYWORDS) or (prev.text == ">" and (k - 1) in templ)):
            continue
        c = matching(toks, k)
        if c is None: continue
        args, depth, cur = [], 0, []
        for j in range(k + 1, c):
            x = toks[j]
            if x.kind == "p" and x.text in "([{": depth += 1
            elif x.kind == "p" and x.text in ")]}": depth -= 1
            if depth == 0 and x.text == ",": args.append(cur); cur = []
            else: cur.append(j)
        args.append(cur)
        # Neighbouring arguments only: (x, y) and (y, w) of (x, y, w, h).
        for a in range(len(args) - 1):
            if len(args[a]) != 1 or len(args[a + 1]) != 1: continue
            x, y = toks[args[a][0]], toks[args[a + 1][0]]
            same = (x.kind == y.kind == "num") or (x.kind == y.kind == "id" and x.text not in KEYWORDS
                                                   and y.text not in KEYWORDS)
            if not same or x.text == y.text: continue
            s, e = x.start, y.end
            text = y.text + src[x.end:y.start] + x.text
            add("SWP", f"{x.text},{y.text}", s, e, text)

    # An early return at a function's first statement.
    for k, t in enumerate(toks):
        if t.text != "{" or t.kind != "p" or context[k] not in (None, "{"): continue
        kind = function_body_kind(toks, k, context)
        if kind is None: continue
        c = matching(toks, k)
        if c is None or c == k + 1: continue
        first = toks[k + 1]
        text = "return; " if kind == "void" else "return {}; "
        add("RET", text.strip(), first.start, first.start, text)
    return out


def simple_statement_end(toks, k):
    """The ';' ending a deletable statement starting at k: an assignment, ++/--, or a call; None otherwise."""
    t = toks[k]
    j = k
    if t.text in ("++", "--"): j += 1
    if t.text == "*" or (t.text == "this" and k + 1 < len(toks) and toks[k + 1].text == "->"): j += 1
    if j >= len(toks) or toks[j].kind != "id" or (toks[j].text in KEYWORDS and toks[j].text != "this"): return None
    # An lvalue or callee: name ((:: | . | ->) name | [ ... ] | ( ... ) followed by . or ->)*
    j += 1
    called = False
    while j < len(toks):
        s = toks[j].text
        if s in ("::", ".", "->") and j + 1 < len(toks) and toks[j + 1].kind == "id":
            j += 2; called = False; continue
        if s == "[":
            c = matching(toks, j)
            if c is None: return None
            j = c + 1; continue
        if s == "(":
            c = matching(toks, j)
            if c is None: return None
            j = c + 1; called = True; continue
        break
    if j >= len(toks): return None
    s = toks[j].text
    if s == ";" and (called or t.text in ("++", "--")): return j
    if not (s in ASSIGN or s in ("++", "--")): return None
    depth = 0
    while j < len(toks):
        s = toks[j].text
        if toks[j].kind == "p":
            if s in "([{": depth += 1
            elif s in ")]}":
                depth -= 1
                if depth < 0: return None
            elif s == ";" and depth == 0: return j
        j += 1
    return None


def function_body_kind(toks, k, context):
    """'void' or 'value' when the '{' at k opens a function's body (not a lambda, not a constructor with an
    initializer list), else None."""
    j = k - 1
    # Trailing qualifiers between the parameter list and the body.
    while j >= 0 and toks[j].text in ("const", "noexcept", "override", "final", "&", "&&", "mutable"):
        j -= 1
    trailing = None
    if j >= 0 and toks[j].text != ")":
        # A trailing return type: ') -> Type {'
        q = j
        while q >= 0 and toks[q].text not in ("->", ")", ";", "{", "}"): q -= 1
        if q < 1 or toks[q].text != "->": return None
        trailing = [x.text for x in toks[q + 1:j + 1]]
        j = q - 1
        while j >= 0 and toks[j].text in ("const", "noexcept"): j -= 1
        if j < 0 or toks[j].text != ")": return None
    depth, o = 0, j
    while o >= 0:
        if toks[o].text == ")": depth += 1
        elif toks[o].text == "(":
            depth -= 1
            if depth == 0: break
        o -= 1
    if o < 1: return None
    name = toks[o - 1]
    if name.kind != "id" or name.text in KEYWORDS: return None
    # Walk the qualified name back, then the return type up to the previous declaration's end.
    n = o - 1
    while n >= 2 and toks[n - 1].text == "::" and toks[n - 2].kind == "id": n -= 2
    if n >= 1 and toks[n - 1].text == "~": return "void"
    r = n - 1
    head = []
    while r >= 0 and toks[r].text not in (";", "{", "}", ")", ":", ","):
        head.append(toks[r].text); r -= 1
    if r >= 0 and toks[r].text in (":", ",", ")") and not (toks[r].text == ":" and r >= 1 and
                                                             toks[r - 1].text in ("public", "private", "protected")):
        if toks[r].text == ")" and r >= 1 and head and head[-1] != "[":
            pass  # e.g. [[attribute]] pieces end in ']' not ')'; a ')' before means an initializer list or macro
        return None
    head.reverse()
    words = [w for w in head if w not in ("static", "inline", "constexpr", "virtual", "explicit", "friend",
                                           "[", "]", "nodiscard", "maybe_unused", "extern")]
    if trailing is not None:
        words = [w for w in trailing]
    if not words: return "void"  # a constructor
    if "template" in words or "<" in words and words[0] == "template": return None
    if words == ["void"]: return "void"
    if words[-1] in ("&", "&&") or words == ["auto"] or words[-1] == "auto": return None
    return "value"


def source_files(tree, only):
    files = []
    for d, dirs, names in os.walk(os.path.join(tree, "src")):
        dirs.sort()
        for f in sorted(names):
            if f.endswith((".cpp", ".h")):
                rel = os.path.relpath(os.path.join(d, f), tree)
                if only is None or re.search(only, rel): files.append(rel)
    return files


def all_mutants(tree, only=None):
    result = []
    for rel in source_files(tree, only):
        with open(os.path.join(tree, rel), encoding="utf-8", newline="") as f: src = f.read()
        seen = set()
        for m in mutants_of(rel, src):
            if m.ident in seen: continue  # the same edit reached by two rules counts once
            seen.add(m.ident); result.append((m, src))
    return result


def sample(mutants, seed, count):
    def key(m): return hashlib.sha256(f"{seed}:{m.ident}".encode()).hexdigest()
    return sorted((m for m, _ in mutants), key=key)[:count]


def mutated_source(m, src):
    return src[:m.start] + m.text + src[m.end:]


def line_of(src, offset):
    s = src.rfind("\n", 0, offset) + 1
    e = src.find("\n", offset)
    return src[s:e if e >= 0 else len(src)].strip()


def find(tree, ident):
    path = ident.split(":", 1)[0]
    if not os.path.isfile(os.path.join(tree, path)): sys.exit(f"no file {path} in {tree}")
    with open(os.path.join(tree, path), encoding="utf-8", newline="") as f: src = f.read()
    for m in mutants_of(path, src):
        if m.ident == ident: return m, src
    sys.exit(f"no mutant {ident} in {tree} (has {path} changed?)")


def read_equivalent(path):
    marked = {}
    if path and os.path.isfile(path):
        for line in open(path, encoding="utf-8"):
            if not line.strip() or line.startswith("#"): continue
            ident, _, reason = line.rstrip("\n").partition("\t")
            if not reason: ident, _, reason = line.rstrip("\n").partition(" ")
            marked[ident.strip()] = reason.strip()
    return marked


def summary(results, equivalent):
    marked = read_equivalent(equivalent)
    counts = {"killed": 0, "timeout": 0, "survived": 0, "stillborn": 0}
    equal, seconds, survivors = 0, 0.0, []
    for line in open(results, encoding="utf-8"):
        f = line.rstrip("\n").split("\t")
        if len(f) < 4 or f[0] == "id": continue
        ident, result = f[0], f[1]
        try: seconds += float(f[3])
        except ValueError: pass
        if result == "survived" and ident in marked: equal += 1; continue
        if result in counts: counts[result] += 1
        if result == "survived": survivors.append(ident)
    killed = counts["killed"] + counts["timeout"]
    total = killed + counts["survived"] + counts["stillborn"] + equal
    live = total - counts["stillborn"] - equal
    rate = f"{100.0 * killed / live:.1f} %" if live else "n/a"
    h, rem = divmod(int(seconds), 3600)
    print(f"total {total}, stillborn {counts['stillborn']}, killed {killed} (of which timeout {counts['timeout']}), "
          f"survived {counts['survived']}, equivalent {equal}, kill rate {rate} "
          f"(killed / (total - stillborn - equivalent)), time {h}h{rem // 60:02d}m{rem % 60:02d}s")


def reaching_tests(ctest_json, path):
    """The ctest -I list of the tests that link or run the code of PATH, or "" for every test.

    The core's tests link only the core, and vellora-render's tests the core and render/: a mutant of the window
    (src/app, src/ui) can only be caught by the window's test programs, one of vellora-render by its own tests
    and the manual check that runs it. A mutant of the core may be caught anywhere."""
    with open(ctest_json, encoding="utf-8") as f: tests = json.load(f)["tests"]
    area = path.split("/")[1] if path.count("/") >= 2 else ""
    wanted = {"app": ("app_tests", "ui_tests"), "ui": ("app_tests", "ui_tests"),
              "render": ("render_tests", "-DRENDER=")}.get(area)
    if wanted is None: return ""
    numbers = [str(n) for n, t in enumerate(tests, 1)
               if any(w in part for part in t.get("command", []) for w in wanted)]
    return "0,0,0," + ",".join(numbers) if numbers else ""


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("command", choices=["list", "sample", "apply", "show", "summary", "tests"])
    ap.add_argument("ident", nargs="?")
    ap.add_argument("--tree", default=".")
    ap.add_argument("--only")
    ap.add_argument("--seed", default="0")
    ap.add_argument("--sample", type=int, default=0)
    ap.add_argument("--results")
    ap.add_argument("--equivalent")
    ap.add_argument("--ctest-json")
    a = ap.parse_intermixed_args()
    if a.command == "list":
        for m, src in all_mutants(a.tree, a.only):
            print(f"{m.ident}\t{line_of(src, m.start)}\t{line_of(mutated_source(m, src), m.start)}")
    elif a.command == "sample":
        mutants = all_mutants(a.tree, a.only)
        for m in sample(mutants, a.seed, a.sample or len(mutants)): print(m.ident)
    elif a.command in ("apply", "show"):
        if not a.ident: sys.exit("which mutant? give its ID")
        m, src = find(a.tree, a.ident)
        new = mutated_source(m, src)
        if a.command == "show":
            print(f"{line_of(src, m.start)}\t{line_of(new, m.start)}")
        else:
            with open(os.path.join(a.tree, m.path), "w", encoding="utf-8", newline="") as f: f.write(new)
    elif a.command == "tests":
        print(reaching_tests(a.ctest_json, a.ident))
    elif a.command == "summary":
        if not a.results: sys.exit("summary needs --results")
        summary(a.results, a.equivalent)


if __name__ == "__main__":
    main()
