#!/usr/bin/env python3
"""check-writers.py BUILD_DIR [--list]

Every piece of the program's state has one writer: no data member is written from
two folders of src/. Each source file of src/ is parsed by clang (the compile
commands of BUILD_DIR), and every write in a function that is not a constructor is
found: an assignment (=, +=, ...), an increment or decrement, or a call of a member
function that is not const. A write counts for the outermost data member the
writing object owns along the way: in `controls_.Option1.enabled = false`, written
in a method of Band through its reference `controls_`, that is
WindowControls::Option1; in `rows_[i].answer = text`, Practice::rows_. Writes
through locals, parameters and pointers to another object are not followed:
such an object's own members are checked where it writes them.

Prints each data member written from more than one folder, with where, and exits
1 when there is one; --list prints every data member written and its folder.
"""
import json
import os
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor

ROOT = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))
SRC = os.path.join(ROOT, "src") + os.sep
PASS_THROUGH = {"ImplicitCastExpr", "ParenExpr", "MaterializeTemporaryExpr", "CXXBindTemporaryExpr",
                "ExprWithCleanups", "CXXFunctionalCastExpr", "CStyleCastExpr", "CXXStaticCastExpr"}
# Operators through which a member stays the thing written: rows_[i], *p, p->.
CHAIN_OPERATORS = {"operator[]", "operator*", "operator->"}
WRITE_OPERATORS = {"operator=", "operator+=", "operator-=", "operator*=", "operator/=", "operator++", "operator--",
                   "operator|=", "operator&=", "operator<<=", "operator>>="}
WRITE_OPCODES = {"=", "+=", "-=", "*=", "/=", "%=", "|=", "&=", "^=", "<<=", ">>="}


def folder_of(path):
    real = os.path.realpath(path)
    if not real.startswith(SRC):
        return None
    return real[len(SRC):].split(os.sep)[0]


def operator_name(call):
    callee = call["inner"][0]
    while callee.get("kind") in PASS_THROUGH and callee.get("inner"):
        callee = callee["inner"][0]
    return callee.get("referencedDecl", {}).get("name", "")


def chain(expr):
    """The members named from `this` down to the thing written, or None."""
    fields = []
    while True:
        kind = expr.get("kind")
        if kind in PASS_THROUGH and expr.get("inner"):
            expr = expr["inner"][0]
        elif kind == "MemberExpr":
            fields.append(expr.get("referencedMemberDecl"))
            expr = expr["inner"][0]
        elif kind == "CXXOperatorCallExpr" and operator_name(expr) in CHAIN_OPERATORS:
            expr = expr["inner"][1]
        elif kind == "ArraySubscriptExpr":
            expr = expr["inner"][0]
        elif kind == "CXXThisExpr":
            return list(reversed(fields))
        else:
            return None


class Unit:
    def __init__(self):
        self.fields = {}  # id -> (qualified name, is a reference or pointer)
        self.writes = []  # (member ids from this, file)
        self.file = None

    def note_file(self, node):
        for key in ("loc", "range"):
            loc = node.get(key)
            if not isinstance(loc, dict):
                continue
            for part in (loc, loc.get("begin", {}), loc.get("spellingLoc", {}), loc.get("expansionLoc", {})):
                if isinstance(part, dict) and "file" in part:
                    self.file = part["file"]

    def write(self, target):
        members = chain(target)
        if members:
            self.writes.append((members, self.file))

    def walk(self, node, records, in_constructor):
        if not isinstance(node, dict):
            return
        self.note_file(node)
        kind = node.get("kind")
        if kind == "CXXRecordDecl" and node.get("name"):
            records = records + [node["name"]]
        elif kind == "FieldDecl":
            qual = node.get("type", {}).get("qualType", "")
            indirect = qual.endswith("&") or qual.endswith("*")
            self.fields[node["id"]] = ("::".join(records + [node.get("name", "")]), indirect, qual.rstrip("&* "))
        elif kind in ("CXXConstructorDecl", "CXXDestructorDecl"):
            in_constructor = True
        elif kind in ("CXXMethodDecl", "FunctionDecl"):
            in_constructor = False
        if not in_constructor:
            if kind in ("BinaryOperator", "CompoundAssignOperator") and node.get("opcode") in WRITE_OPCODES:
                self.write(node["inner"][0])
            elif kind == "UnaryOperator" and node.get("opcode") in ("++", "--"):
                self.write(node["inner"][0])
            elif kind == "CXXOperatorCallExpr" and operator_name(node) in WRITE_OPERATORS and len(node["inner"]) > 1:
                self.write(node["inner"][1])
            elif kind == "CXXMemberCallExpr" and node.get("inner"):
                callee = node["inner"][0]
                if callee.get("kind") == "MemberExpr" and callee.get("inner"):
                    target = callee["inner"][0]
                    # A const member function gets its object as const: through a cast
                    # to const, or as it is in a const context.
                    constant = "const" in target.get("type", {}).get("qualType", "").split("<")[0]
                    if not constant:
                        self.write(target)
        for child in node.get("inner", []) or []:
            self.walk(child, records, in_constructor)

    def owners(self):
        """(qualified member, folder) for each write."""
        for members, path in self.writes:
            folder = folder_of(path) if path else None
            if not folder:
                continue
            where = os.path.relpath(os.path.realpath(path), ROOT)
            for i, member in enumerate(members):
                known = self.fields.get(member)
                if not known:
                    break  # a member of a library type: whatever it is, it is not ours
                name, indirect, type_name = known
                if not indirect:
                    yield name, folder, where
                    break
                if i == len(members) - 1:
                    # The object behind a reference or pointer, written as a whole.
                    yield "(shared) " + type_name, folder, where


def parse(entry):
    args = [a for a in shlex.split(entry["command"]) if not a.endswith("ccache")]
    args[0] = "clang++"
    if "-o" in args:
        at = args.index("-o")
        del args[at:at + 2]
    args = [a for a in args if a != "-c" and not a.startswith("-fsanitize")]
    run = subprocess.run(args + ["-fsyntax-only", "-Wno-everything", "-Xclang", "-ast-dump=json",
                                 "-Xclang", "-ast-dump-filter=tessaly::"],
                         cwd=entry["directory"], capture_output=True, text=True)
    unit = Unit()
    decoder, text, at = json.JSONDecoder(), run.stdout, 0
    while at < len(text):
        while at < len(text) and text[at].isspace():
            at += 1
        if at >= len(text):
            break
        if text.startswith("Dumping", at):
            at = text.index("\n", at) + 1
            continue
        node, at = decoder.raw_decode(text, at)
        unit.walk(node, [], False)
    if run.returncode != 0 and not unit.writes:
        sys.exit(f"check-writers: clang could not parse {entry['file']}:\n{run.stderr[:2000]}")
    return list(unit.owners())


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    commands = json.load(open(os.path.join(sys.argv[1], "compile_commands.json")))
    sources = [c for c in commands if os.path.realpath(c["file"]).startswith(SRC)]
    writers = {}
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for found in pool.map(parse, sources):
            for name, folder, path in found:
                writers.setdefault(name, {}).setdefault(folder, set()).add(path)
    shared = {name: folders for name, folders in writers.items() if len(folders) > 1 and not name.startswith("(shared)")}
    services = {name: folders for name, folders in writers.items() if len(folders) > 1 and name.startswith("(shared)")}
    if "--list" in sys.argv:
        for name in sorted(writers):
            print(f"{name}: {', '.join(sorted(writers[name]))}")
    for name in sorted(shared):
        print(f"check-writers: {name} is written from {len(shared[name])} folders:")
        for folder, paths in sorted(shared[name].items()):
            print(f"    {folder}: {', '.join(sorted(paths))}")
    for name in sorted(services):
        print(f"check-writers: note: {name[9:]} is an object shared by reference, used from {', '.join(sorted(services[name]))}")
    print(f"check-writers: {len(writers) - len(services)} data members written, {len(shared)} of them from more than one folder")
    return 1 if shared else 0


if __name__ == "__main__":
    sys.exit(main())
