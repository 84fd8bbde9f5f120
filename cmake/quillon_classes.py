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
  quillon_classes.py registration Quillon.idl OUT.h
      The rows DllRegisterServer writes below Software\Classes (classes,
      ProgIDs, interfaces, type library) and the key trees it removes.
  quillon_classes.py nsis Quillon.idl OUT.nsh
      The same rows as installer macros that register the 32-bit library in the
      32-bit registry view without running it, and remove exactly those keys.

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
COCLASS_DEFAULT = re.compile(r"coclass\s+(\w+)\s*\{[^}]*\[\s*default\s*\]\s*interface\s+(\w+)")
INTERFACE_ID = re.compile(r"\[[^\]]*\buuid\(([0-9A-Fa-f-]{36})\)[^\]]*\]\s*interface\s+(\w+)")
LIBRARY_HELP = re.compile(r"\[[^\]]*\bhelpstring\(\"([^\"]*)\"\)[^\]]*\]\s*library\s+\w+")
DISPATCH_PROXY = "{00020424-0000-0000-C000-000000000046}"  # the universal marshaller of dual interfaces
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


def guid(text):
    return "{%s}" % text.upper()


def registration_data(idl):
    """Rows (key, value name, kind, text) below Software\\Classes and the key trees
    they create. kind: "text" (the text itself), "file" (the server's file),
    "folder" (its folder, with a trailing backslash); a key ending in "\\%platform%"
    is the type library's entry of the server's platform (win32 or win64)."""
    (libid, major, minor, name), classes, _ = read_idl(idl)
    with open(idl, encoding="utf-8") as source:
        text = re.sub(r"//[^\n]*", "", source.read())
    help_text = LIBRARY_HELP.search(text)
    defaults = dict(COCLASS_DEFAULT.findall(text))
    interfaces = {interface: uuid for uuid, interface in INTERFACE_ID.findall(text)}
    if not help_text or any(defaults.get(coclass) not in interfaces for _, coclass in classes):
        raise SystemExit("%s: no library help text, or a coclass without its default interface" % idl)
    version = "%s.%s" % (major, minor)
    library = "TypeLib\\%s\\%s" % (guid(libid), version)
    rows = [(library, "", "text", help_text.group(1)),
            (library + "\\0\\%platform%", "", "file", ""),
            (library + "\\FLAGS", "", "text", "0"),
            (library + "\\HELPDIR", "", "folder", "")]
    trees = []
    for clsid, coclass in classes:
        prog_id = "%s.%s" % (name, coclass)
        interface = defaults[coclass]
        clsid_key = "CLSID\\" + guid(clsid)
        interface_key = "Interface\\" + guid(interfaces[interface])
        rows += [(clsid_key, "", "text", prog_id),
                 (clsid_key + "\\InprocServer32", "", "file", ""),
                 (clsid_key + "\\InprocServer32", "ThreadingModel", "text", THREADING_MODEL),
                 (clsid_key + "\\ProgID", "", "text", prog_id),
                 (clsid_key + "\\TypeLib", "", "text", guid(libid)),
                 (clsid_key + "\\VERSION", "", "text", version),
                 (prog_id, "", "text", prog_id),
                 (prog_id + "\\CLSID", "", "text", guid(clsid)),
                 (interface_key, "", "text", interface),
                 (interface_key + "\\ProxyStubClsid", "", "text", DISPATCH_PROXY),
                 (interface_key + "\\ProxyStubClsid32", "", "text", DISPATCH_PROXY),
                 (interface_key + "\\TypeLib", "", "text", guid(libid)),
                 (interface_key + "\\TypeLib", "Version", "text", version)]
        trees += [clsid_key, prog_id, interface_key]
    return name, "TypeLib\\" + guid(libid), version, rows, trees


def cpp_text(text):
    if any(c in text for c in '"\n\r\0') or not text.isascii():
        raise SystemExit("registration text the generators do not quote: %r" % text)
    return 'L"%s"' % text.replace("\\", "\\\\")


def registration(idl, out):
    name, library, version, rows, trees = registration_data(idl)
    kinds = {"text": "Data::Text", "file": "Data::File", "folder": "Data::Folder"}
    lines = ["// Generated from %s.idl by quillon_classes.py: do not edit." % name,
             "// What the server's registration writes below Software\\Classes, from the same rows as the",
             "// installer's registration of the 32-bit library (%sRegistration32.nsh)." % name,
             "#pragma once", "", "namespace quillon::registration {", "",
             "// A row's data: its own text, or the server's file or folder (with a trailing backslash).",
             "enum class Data { Text, File, Folder };",
             "// platform: the key's last part is the server's platform, win32 or win64.",
             "struct Row { const wchar_t* key; const wchar_t* name; Data data; const wchar_t* text; bool platform; };",
             "", "constexpr const wchar_t* kLibraryKey = %s;" % cpp_text(library),
             "constexpr const wchar_t* kLibraryVersionKey = %s;" % cpp_text(library + "\\" + version),
             "", "constexpr Row kRows[] = {"]
    for key, value_name, kind, text in rows:
        platform = key.endswith("\\%platform%")
        key = key[:-len("\\%platform%")] if platform else key
        lines.append("    {%s, %s, %s, %s, %s}," % (cpp_text(key), cpp_text(value_name), kinds[kind], cpp_text(text),
                                                    "true" if platform else "false"))
    lines += ["};", "", "// The trees the rows create apart from the type library's, deleted whole on unregistration.",
              "constexpr const wchar_t* kTrees[] = {"]
    lines += ["    %s," % cpp_text(tree) for tree in trees]
    lines += ["};", "", "} // namespace quillon::registration", ""]
    write(out, "\n".join(lines))


def nsis_text(text):
    if any(c in text for c in '"\n\r\0`\''):
        raise SystemExit("registration text the generators do not quote: %r" % text)
    return '"%s"' % text.replace("$", "$$")


def nsis(idl, out):
    name, library, version, rows, trees = registration_data(idl)
    root = "Software\\Classes\\"
    data = {"text": None, "file": "${FILE}", "folder": "${FOLDER}"}
    entry = root + library + "\\" + version + "\\0"
    lines = ["; Generated from %s.idl by quillon_classes.py: do not edit." % name,
             "; The 32-bit library's registration in the 32-bit registry view, written without running it",
             "; (these machines cannot run 32-bit code), from the rows the 64-bit DllRegisterServer writes.",
             ";   !insertmacro %sRegister32 FILE FOLDER   FILE: the 32-bit library; FOLDER: its folder, ending in \\"
             % name,
             ";       sets the error flag when a key could not be written (the caller removes what was written)",
             ";   !insertmacro %sUnregister32             removes exactly those keys; the type library's version key"
             % name,
             ";       goes only when no other platform's entry (win64) is left under it (the key is shared)",
             "; Both leave the registry view at its default.", "",
             "!macro %sRegister32 FILE FOLDER" % name, "    SetRegView 32", "    ClearErrors"]
    for key, value_name, kind, text in rows:
        key = key.replace("%platform%", "win32")
        lines.append("    WriteRegStr HKLM %s %s %s" % (nsis_text(root + key), nsis_text(value_name),
                                                       data[kind] and '"%s"' % data[kind] or nsis_text(text)))
    lines += ["    SetRegView default", "!macroend", "",
              "!macro %sUnregister32" % name, "    SetRegView 32"]
    lines += ["    DeleteRegKey HKLM %s" % nsis_text(root + tree) for tree in trees]
    lines += ["    DeleteRegKey HKLM %s" % nsis_text(entry + "\\win32"),
              "    DeleteRegKey /ifempty HKLM %s" % nsis_text(entry),
              "    Push $R0", "    ClearErrors",
              "    EnumRegKey $R0 HKLM %s 0" % nsis_text(entry),
              "    ${If} ${Errors}",
              "        DeleteRegKey HKLM %s" % nsis_text(root + library + "\\" + version),
              "        DeleteRegKey /ifempty HKLM %s" % nsis_text(root + library),
              "    ${EndIf}", "    Pop $R0", "    SetRegView default", "!macroend", ""]
    write(out, "\n".join(lines))


def main(argv):
    if len(argv) == 4 and argv[1] == "header":
        header(argv[2], argv[3])
    elif len(argv) == 4 and argv[1] == "enums":
        enums(argv[2], argv[3])
    elif len(argv) == 5 and argv[1] == "manifest":
        manifest(argv[2], argv[3], argv[4])
    elif len(argv) == 4 and argv[1] == "registration":
        registration(argv[2], argv[3])
    elif len(argv) == 4 and argv[1] == "nsis":
        nsis(argv[2], argv[3])
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
