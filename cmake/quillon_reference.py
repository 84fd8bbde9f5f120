#!/usr/bin/env python3
"""The script writers' reference: generated from Quillon.idl, merged with the hand-written text.

  quillon_reference.py pages Quillon.idl SOURCES EXAMPLES OUT [COMMITTED]
      Writes OUT/index.md, OUT/scripting.md and one OUT/<class>.md per coclass.
      Syntax lines, parameter types, directions, defaults, help strings and the
      enumerations come from the IDL (with what finish_widl.py patches into the
      type library); meanings, results, errors and notes from SOURCES/<class>.md.
      Fails when a method has no hand-written entry, an entry names no method,
      a parameter has no meaning or a meaning names no parameter, or an example
      named does not exist. With COMMITTED, also fails when the pages there
      (docs/reference, what the repository's web page shows) differ from OUT.
  quillon_reference.py html IN OUT
      Each IN/*.md as OUT/*.html through cmark-gfm (Debian's cmark-gfm), with
      heading anchors and links between the pages made to point at the HTML.
  quillon_reference.py nsis STAGE OUT.nsh
      The installer's File and Delete lines for every file below STAGE.
  quillon_reference.py refresh
      Rewrites docs/reference from the sources of this checkout.

Hand-written source of a class: an introduction, then one "## Method" section
per method holding lines "@param: meaning" for each parameter, "@returns:
meaning" for a method with a result, "@example file" for runnable examples in
docs/examples, and free Markdown. "@enumerations" and "@numbers" in index.md
and scripting.md become the generated tables.
"""
import filecmp
import html
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import finish_widl  # noqa: E402  (the type library's patches: what widl cannot write)

INTERFACE = re.compile(r"\[([^\]]*)\]\s*interface\s+(\w+)\s*:\s*IDispatch\s*\{(.*?)\};", re.DOTALL)
METHOD = re.compile(r"\[([^\]]*)\]\s*HRESULT\s+(\w+)\s*\((.*?)\)\s*;", re.DOTALL)
ENUM = re.compile(r"typedef\s+(?:\[([^\]]*)\]\s*)?enum\s+(\w+)\s*\{(.*?)\}", re.DOTALL)
ENUMERATOR = re.compile(r"(\w+)\s*=\s*(-?(?:0x[0-9A-Fa-f]+|\d+))")
COCLASS = re.compile(r"\[([^\]]*)\]\s*coclass\s+(\w+)\s*\{\s*\[default\]\s*interface\s+(\w+)")
HELP = re.compile(r'helpstring\("((?:[^"\\]|\\.)*)"\)')
UUID = re.compile(r"uuid\(([0-9A-Fa-f-]{36})\)")

SCRIPT_TYPES = {
    "BSTR": "String", "long": "Long", "short": "Integer", "unsigned char": "Byte", "VARIANT_BOOL": "Boolean",
    "VARIANT": "Variant", "CURRENCY": "Currency", "IDispatch*": "Object", "SAFEARRAY(BSTR)": "String array",
}
CPP_TYPES = {"long": "LONG", "SAFEARRAY(BSTR)": "SAFEARRAY*", "IDispatch*": "IDispatch*"}
PAGES_ORDER = ["qfcLibCore", "qfcLibRegistry", "qfcLibFiles", "qfcLibForms", "qfcLibWindows", "qfcLibStrings",
               "qfcLibNetwork"]


def fail(message):
    raise SystemExit("reference: " + message)


def unescape(text):
    return re.sub(r"\\(.)", lambda m: "\0" if m.group(1) == "0" else m.group(1), text)


def split_top(text):
    """Splits at commas outside brackets, parentheses and quotes."""
    parts, depth, quoted, start = [], 0, False, 0
    for i, c in enumerate(text):
        if quoted:
            quoted = c != '"' or text[i - 1] == "\\"
        elif c == '"':
            quoted = True
        elif c in "[(":
            depth += 1
        elif c in "])":
            depth -= 1
        elif c == "," and depth == 0:
            parts.append(text[start:i].strip())
            start = i + 1
    tail = text[start:].strip()
    return parts + [tail] if tail else parts


class Param:
    def __init__(self, text):
        match = re.match(r"\[(.*?)\]\s*(.+?)\s*(\w+)$", text, re.DOTALL)
        if not match:
            fail("cannot read parameter %r" % text)
        self.attrs = {}
        for attr in split_top(match.group(1)):
            key, _, value = attr.partition("(")
            self.attrs[key.strip()] = value[:-1] if value else True
        self.type = re.sub(r"\s+", " ", match.group(2)).replace(" *", "*")
        self.name = match.group(3)

    @property
    def byref(self):
        return self.type.endswith("*") and self.type != "IDispatch*"

    @property
    def base(self):
        return self.type[:-1] if self.byref else self.type

    @property
    def default(self):
        value = self.attrs.get("defaultvalue")
        if value is None or value is True:
            return None
        return unescape(value[1:-1]) if value.startswith('"') else int(value, 0)


class Method:
    def __init__(self, attrs, name, params, slot):
        self.name, self.slot = name, slot
        help_match = HELP.search(attrs)
        self.help = unescape(help_match.group(1)) if help_match else ""
        self.params = [Param(p) for p in split_top(params)]
        self.result = next((p for p in self.params if "retval" in p.attrs), None)
        self.args = [p for p in self.params if "retval" not in p.attrs]


class Library:
    def __init__(self, idl):
        with open(idl, encoding="utf-8") as source:
            text = re.sub(r"//[^\n]*", "", source.read())
        self.enums = []
        for attrs, name, body in ENUM.findall(text):
            help_match = HELP.search(attrs or "")
            members = [(m, finish_widl_signed(v)) for m, v in ENUMERATOR.findall(body)]
            self.enums.append((name, help_match.group(1) if help_match else "", members))
        self.enum_names = {name for name, _, _ in self.enums}
        self.interfaces = {}
        for attrs, name, body in INTERFACE.findall(text):
            iid = UUID.search(attrs).group(1).upper()
            methods = [Method(a, n, p, slot) for slot, (a, n, p) in enumerate(METHOD.findall(body))]
            self.interfaces[name] = (iid, methods)
        self.classes = []
        for attrs, name, interface in COCLASS.findall(text):
            help_match = HELP.search(attrs)
            self.classes.append((name, help_match.group(1) if help_match else "", interface))
        self.patch()

    def method_at(self, iid, slot):
        for interface_iid, methods in self.interfaces.values():
            if interface_iid == iid.upper():
                return methods[slot]
        fail("no interface %s" % iid)

    def patch(self):
        """What finish_widl.py writes into the compiled type library, so the pages say what clients see."""
        for iid, slot, param, method_name, name in finish_widl.BYREF_STRINGS:
            method = self.method_at(iid, slot)
            target = method.args[param]
            if method.name != method_name or target.name != name:
                fail("finish_widl.BYREF_STRINGS no longer names %s.%s" % (method_name, name))
            target.type = target.type + "*"
            target.attrs["out"] = True
        for iid, slot, param, value in finish_widl.BYREF_DEFAULTS:
            self.method_at(iid, slot).args[param].attrs["defaultvalue"] = str(value)

    def members(self, enum):
        return next(members for name, _, members in self.enums if name == enum)


def finish_widl_signed(text):
    value = int(text, 0) & 0xFFFFFFFF
    return value - (1 << 32) if value & 0x80000000 else value


# ---- rendering ------------------------------------------------------------------------------------------------

def anchor(text):
    return re.sub(r"[^a-z0-9_ -]", "", text.lower()).replace(" ", "-")


def script_type(library, param):
    base = param.base
    if base in library.enum_names:
        return "[`%s`](index.md#%s) (Long)" % (base, anchor(base))
    return SCRIPT_TYPES.get(base, base)


def cpp_type(param):
    base = CPP_TYPES.get(param.base, param.base)
    return base + ("*" if param.byref else "")


def vb_literal(value):
    if isinstance(value, int):
        return "&H%X" % (value & 0xFFFFFFFF) if abs(value) > 0xFFFF else str(value)
    if value == "\0":
        return "Chr(0)"
    return '"%s"' % value.replace('"', '""')


def default_text(library, param):
    value = param.default
    if value is None:
        return "optional, none (missing)" if "optional" in param.attrs else "required"
    base = param.base
    if base == "VARIANT_BOOL":
        return "False" if value == 0 else "True"
    if base == "IDispatch*":
        return "Nothing"
    if base in library.enum_names:
        signed = finish_widl_signed(str(value))
        names = [m for m, v in library.members(base) if v == signed]
        return "%s%s" % (vb_literal(value), " (`%s`)" % names[0] if names else "")
    text = vb_literal(value)
    return "`%s`" % text if not isinstance(value, int) else text


def direction(param):
    return "in/out, by reference" if "out" in param.attrs else "in, by value"


def vb_syntax(class_name, method):
    obj = class_name[len("qfcLib"):].lower()
    required = [p.name for p in method.args if p.default is None and "optional" not in p.attrs]
    optional = [p.name for p in method.args[len(required):]]
    text = ", ".join(required)
    for name in optional:
        text += ("[, %s" if text else "[%s") % name
    text += "]" * len(optional)
    if method.result:
        return "result = %s.%s(%s)" % (obj, method.name, text)
    return ("%s.%s %s" % (obj, method.name, text)).rstrip()


def cpp_syntax(method):
    params = ["%s %s" % (cpp_type(p), p.name) for p in method.args]
    if method.result:
        params.append("%s result" % cpp_type(method.result))
    return "HRESULT %s(%s);" % (method.name, ", ".join(params))


class Entry:
    """One method's hand-written text: the summary before its first @ line, the meanings, the notes after."""
    def __init__(self, name, text):
        self.name, self.meanings, self.examples, self.summary, self.lines = name, {}, [], [], []
        for line in text.splitlines():
            match = re.match(r"@(\w+)(?::\s*(.*)|\s+(\S+)\s*)$", line)
            if not match:
                (self.lines if self.meanings or self.examples else self.summary).append(line)
            elif match.group(1) == "example":
                self.examples.append(match.group(3) or (match.group(2) or "").strip())
            else:
                self.meanings[match.group(1)] = (match.group(2) or "").strip()


def read_source(path):
    with open(path, encoding="utf-8") as source:
        text = source.read()
    pieces = re.split(r"^## +(\w+)[ \t]*$", text, flags=re.MULTILINE)
    return pieces[0], [Entry(pieces[i], pieces[i + 1]) for i in range(1, len(pieces), 2)]


def check_entry(class_name, method, entry, examples):
    where = "%s.%s" % (class_name, method.name)
    names = [p.name for p in method.args] + (["returns"] if method.result else [])
    for name in names:
        if not entry.meanings.get(name):
            fail("%s: no meaning for %s (write a line '@%s: ...')" % (where, name, name))
    for name in entry.meanings:
        if name not in names:
            fail("%s: '@%s' names no parameter of the type library's %s" % (where, name, method.name))
    for example in entry.examples:
        if example not in examples:
            fail("%s: example %s is not in docs/examples" % (where, example))


def cell(text):
    """A table cell's text: a "|" would end the cell, even inside a code span."""
    return text.replace("|", "\\|")


def example_link(example):
    return "[%s](../examples/%s)" % (example, example)


def method_page(library, class_name, method, entry):
    out = ["## %s" % method.name, ""]
    if method.help:
        out += ["> %s" % method.help, ""]
    summary = "\n".join(entry.summary).strip()
    if summary:
        out += [summary, ""]
    out += ["```vb", vb_syntax(class_name, method), "```", "", "```cpp",
            "// _%s, vtable slot %d" % (class_name, 7 + method.slot), cpp_syntax(method), "```", ""]
    if method.args or method.result:
        out += ["| Parameter | Type | Passed | Default | Meaning |", "|---|---|---|---|---|"]
        for p in method.args:
            out.append("| `%s` | %s | %s | %s | %s |" % (p.name, script_type(library, p), direction(p),
                                                         cell(default_text(library, p)), cell(entry.meanings[p.name])))
        if method.result:
            out.append("| result | %s | return value | | %s |" % (script_type(library, method.result),
                                                                 cell(entry.meanings["returns"])))
        out.append("")
    body = re.sub(r"\n{3,}", "\n\n", "\n".join(entry.lines).strip())
    if body:
        out += [body, ""]
    if entry.examples:
        out += ["Runnable example%s: %s" % ("s" if len(entry.examples) > 1 else "",
                                             ", ".join(example_link(e) for e in entry.examples)), ""]
    return out


def example_block(examples_dir, example):
    language = {"vbs": "vb", "js": "js", "cpp": "cpp"}[example.rsplit(".", 1)[1]]
    with open(os.path.join(examples_dir, example), encoding="utf-8") as source:
        code = source.read().rstrip()
    return ["### %s" % example, "", "```%s" % language, code, "```", ""]


def class_page(library, class_name, help_text, interface, source_dir, examples_dir, examples):
    path = os.path.join(source_dir, class_name + ".md")
    if not os.path.exists(path):
        fail("%s has no hand-written source %s" % (class_name, path))
    intro, entries = read_source(path)
    _, methods = library.interfaces[interface]
    by_name = {e.name: e for e in entries}
    if len(by_name) != len(entries):
        fail("%s: a method has two entries" % path)
    for entry in entries:
        if entry.name not in {m.name for m in methods}:
            fail("%s: entry '%s' names no method of %s in the type library" % (path, entry.name, interface))
    out = [line for line in intro.strip().splitlines()] + [""]
    if help_text:
        out += ["Type library: *%s*" % help_text, ""]
    out += ["Methods, in vtable order: " + ", ".join("[`%s`](#%s)" % (m.name, anchor(m.name)) for m in methods), ""]
    used = []
    for method in methods:
        entry = by_name.get(method.name)
        if not entry:
            fail("%s: no entry for %s (add a section '## %s')" % (path, method.name, method.name))
        check_entry(class_name, method, entry, examples)
        out += method_page(library, class_name, method, entry)
        used += [e for e in entry.examples if e not in used]
    if used:
        out += ["## Examples", "", "Each runs in the test command under the 64-bit script host, and prints what its "
                "last comment lines say.", ""]
        for example in used:
            out += example_block(examples_dir, example)
    return "\n".join(out).rstrip() + "\n"


def enumerations(library):
    out = []
    for name, help_text, members in library.enums:
        out += ["### %s" % name, ""]
        if help_text:
            out += ["*%s*" % help_text, ""]
        out += ["| Member | Value | VBScript | JScript |", "|---|---|---|---|"]
        for member, value in members:
            unsigned = value & 0xFFFFFFFF
            hex_written = value < -0xFFFF  # the registry roots and flags with the top bit set
            js = "0x%X" % unsigned if hex_written else str(value)
            out.append("| `%s` | %d | `%s` | `%s` |" % (member, value, vb_literal(value) if hex_written else value, js))
        out.append("")
    return out


def numbers(library):
    out = ["| Enumeration | Member | Number |", "|---|---|---|"]
    for name, _, members in library.enums:
        for member, value in members:
            out.append("| `%s` | `%s` | %d%s |" % (name, member, value,
                                                   " (`&H%X`)" % (value & 0xFFFFFFFF) if value < -0xFFFF else ""))
    return out


def free_page(library, path):
    with open(path, encoding="utf-8") as source:
        text = source.read()
    text = text.replace("@enumerations\n", "\n".join(enumerations(library)) + "\n")
    text = text.replace("@numbers\n", "\n".join(numbers(library)) + "\n")
    return text


def pages(idl, source_dir, examples_dir, out_dir, committed=None):
    library = Library(idl)
    examples = set(os.listdir(examples_dir))
    names = [name for name, _, _ in library.classes]
    for name in os.listdir(source_dir):
        stem = name[:-3]
        if name.endswith(".md") and stem not in names and stem not in ("index", "scripting"):
            fail("%s: names no class of the type library" % os.path.join(source_dir, name))
    os.makedirs(out_dir, exist_ok=True)
    written = {}
    for name, help_text, interface in library.classes:
        written[name + ".md"] = class_page(library, name, help_text, interface, source_dir, examples_dir, examples)
    for name in ("index", "scripting"):
        written[name + ".md"] = free_page(library, os.path.join(source_dir, name + ".md"))
    for name, text in written.items():
        with open(os.path.join(out_dir, name), "w", encoding="utf-8", newline="\n") as out:
            out.write(text)
    if committed:
        stale = [n for n in written if not os.path.exists(os.path.join(committed, n))
                 or not filecmp.cmp(os.path.join(committed, n), os.path.join(out_dir, n), shallow=False)]
        if stale:
            fail("%s is out of date (%s): run  python3 cmake/quillon_reference.py refresh"
                 % (committed, ", ".join(sorted(stale))))


def to_html(in_dir, out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for name in sorted(os.listdir(in_dir)):
        if not name.endswith(".md"):
            continue
        with open(os.path.join(in_dir, name), encoding="utf-8") as source:
            markdown = source.read()
        body = subprocess.run(["cmark-gfm", "-e", "table", "--unsafe"], input=markdown, capture_output=True,
                              text=True, check=True).stdout
        body = re.sub(r'href="([\w.-]+)\.md(#[\w-]*)?"', r'href="\1.html\2"', body)
        body = re.sub(r"<(h[1-3])>(.*?)</\1>",
                      lambda m: '<%s id="%s">%s</%s>' % (m.group(1), anchor(re.sub(r"<[^>]+>", "", html.unescape(
                          m.group(2)))), m.group(2), m.group(1)), body)
        title = re.search(r"^# (.+)$", markdown, re.MULTILINE)
        page = ("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%s</title>\n"
                "<style>body{font-family:sans-serif;max-width:60em;margin:auto}table{border-collapse:collapse}"
                "td,th{border:1px solid #999;padding:2px 6px;vertical-align:top}pre{background:#f4f4f4;padding:6px}"
                "</style></head><body>\n%s</body></html>\n") % (html.escape(title.group(1) if title else name), body)
        with open(os.path.join(out_dir, name[:-3] + ".html"), "w", encoding="utf-8", newline="\n") as out:
            out.write(page)


def nsis(stage, out):
    """The installer's lines for every file of the staged reference: installed with the script clients'
    component, and deleted by name (never a whole folder) on uninstall."""
    files = sorted(os.path.relpath(os.path.join(folder, name), stage).split(os.sep)
                   for folder, _, names in os.walk(stage) for name in names)
    folders = sorted({"\\".join(f[:-1]) for f in files if len(f) > 1}, key=lambda f: (-f.count("\\"), f))
    lines = ["; Generated by quillon_reference.py: do not edit.", "!macro QUILLON_REFERENCE_FILES"]
    for folder in sorted(folders):
        lines.append('    SetOutPath "$INSTDIR\\%s"' % folder)
        lines += ['    File "%s/%s"' % (stage, "/".join(f)) for f in files if "\\".join(f[:-1]) == folder]
    lines += ["!macroend", "!macro QUILLON_REFERENCE_REMOVE"]
    lines += ['    Delete "$INSTDIR\\%s"' % "\\".join(f) for f in files]
    lines += ['    RMDir "$INSTDIR\\%s"' % f for f in folders]
    lines.append("!macroend")
    with open(out, "w", encoding="utf-8", newline="\n") as target:
        target.write("\n".join(lines) + "\n")


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if len(argv) in (6, 7) and argv[1] == "pages":
        pages(*argv[2:])
    elif len(argv) == 4 and argv[1] == "html":
        to_html(argv[2], argv[3])
    elif len(argv) == 4 and argv[1] == "nsis":
        nsis(argv[2], argv[3])
    elif len(argv) == 2 and argv[1] == "refresh":
        pages(os.path.join(root, "library", "server", "Quillon.idl"), os.path.join(root, "docs", "reference", "source"),
              os.path.join(root, "docs", "examples"), os.path.join(root, "docs", "reference"))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
