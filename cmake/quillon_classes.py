#!/usr/bin/env python3
"""The library's classes as Quillon.idl declares them, for the files built from them.

  quillon_classes.py header Quillon.idl OUT.h
      QUILLON_CLASSES(X): X(name) once per coclass, in declaration order; the
      server's class table is built from it, so a coclass without its C++ class
      does not compile. QUILLON_METHODS(X): X(interface, method) once per
      method, so tests can hold the type library against the header's vtables.
  quillon_classes.py enums Quillon.idl OUT.h
      The enumerators as constants of namespace quillon::typelib, with no
      Windows header, for the pure rules (built natively too). Names written
      like Windows macros (HKEY_..., SW_...) are left out: windows.h would
      replace them; Windows code has the generated header's enumerators.
  quillon_classes.py manifest Quillon.idl TEMPLATE OUT.manifest
      The launcher's manifest: the line holding @QUILLON_CLASSES@ becomes one
      comClass entry per coclass and the type library entry, so the launcher
      finds every class without registration.

The IDL is the one place where a class's identifier and name are written.
"""
import os
import re
import sys

LIBRARY = re.compile(r"\[\s*uuid\(([0-9A-Fa-f-]{36})\)\s*,\s*version\((\d+)\.(\d+)\)[^\]]*\]\s*library\s+(\w+)")
INTERFACE = re.compile(r"interface\s+(\w+)\s*:\s*IDispatch\s*\{(.*?)\};", re.DOTALL)
METHOD = re.compile(r"HRESULT\s+(\w+)\s*\(")
ENUM = re.compile(r"typedef\s+(?:\[[^\]]*\]\s*)?enum\s+(\w+)\s*\{(.*?)\}", re.DOTALL)
ENUMERATOR = re.compile(r"(\w+)\s*=\s*(-?(?:0x[0-9A-Fa-f]+|\d+))")
MACRO_LIKE = re.compile(r"^[A-Z0-9_]+$")
COCLASS = re.compile(r"\[\s*uuid\(([0-9A-Fa-f-]{36})\)[^\]]*\]\s*coclass\s+(\w+)")
THREADING_MODEL = "Apartment"  # as the registration writes it


def read_idl(path):
    with open(path, encoding="utf-8") as idl:
        text = re.sub(r"//[^\n]*", "", idl.read())
    library = LIBRARY.search(text)
    classes = COCLASS.findall(text)
    methods = [(interface, method) for interface, body in INTERFACE.findall(text) for method in METHOD.findall(body)]
    if not library or not classes or not methods:
        raise SystemExit("%s: no library, coclass or method found" % path)
    return library.groups(), classes, methods


def write(path, text):
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


def header(idl, out):
    (_, _, _, name), classes, methods = read_idl(idl)
    lines = ["// Generated from %s.idl by quillon_classes.py: do not edit." % name,
             "#pragma once", "", "#define QUILLON_CLASSES(X) \\"]
    lines += ["    X(%s) \\" % coclass for _, coclass in classes]
    lines += ["", "#define QUILLON_METHODS(X) \\"]
    lines += ["    X(%s, %s) \\" % method for method in methods]
    write(out, "\n".join(lines) + "\n\n")


def signed32(text):
    value = int(text, 0) & 0xFFFFFFFF
    return value - (1 << 32) if value & 0x80000000 else value


def enums(idl, out):
    with open(idl, encoding="utf-8") as source:
        text = re.sub(r"//[^\n]*", "", source.read())
    lines = ["// Generated from %s by quillon_classes.py: do not edit." % os.path.basename(idl), "#pragma once", "",
             "namespace quillon::typelib {"]
    for name, body in ENUM.findall(text):
        members = [(m, signed32(v)) for m, v in ENUMERATOR.findall(body) if not MACRO_LIKE.match(m)]
        lines += ["// %s" % name] if members else []
        for member, number in members:
            # The value as the type library holds it (32-bit signed) on every platform.
            literal = "(-2147483647L - 1)" if number == -2147483648 else "%dL" % number
            lines.append("constexpr long %s = %s;" % (member, literal))
    lines += ["} // namespace quillon::typelib", ""]
    write(out, "\n".join(lines))


def manifest(idl, template, out):
    (libid, major, minor, name), classes, _ = read_idl(idl)
    with open(template, encoding="utf-8") as source:
        text = source.read()
    marker = re.search(r"^([ \t]*)@QUILLON_CLASSES@[ \t]*\n", text, re.MULTILINE)
    if not marker:
        raise SystemExit("%s: no @QUILLON_CLASSES@ line" % template)
    indent = marker.group(1)
    entries = ['%s<comClass clsid="{%s}" progid="%s.%s" threadingModel="%s" tlbid="{%s}"/>\n'
               % (indent, clsid.upper(), name, coclass, THREADING_MODEL, libid.upper())
               for clsid, coclass in classes]
    entries.append('%s<typelib tlbid="{%s}" version="%s.%s" helpdir=""/>\n' % (indent, libid.upper(), major, minor))
    write(out, text[:marker.start()] + "".join(entries) + text[marker.end():])


def main(argv):
    if len(argv) == 4 and argv[1] == "header":
        header(argv[2], argv[3])
    elif len(argv) == 4 and argv[1] == "enums":
        enums(argv[2], argv[3])
    elif len(argv) == 5 and argv[1] == "manifest":
        manifest(argv[2], argv[3], argv[4])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
