#!/usr/bin/env python3
"""Finish what widl wrote, in place.

  finish_widl.py typelib Quillon.tlb
      widl cannot express three things the server needs: the predeclared-instance
      flag (TYPEFLAG_FPREDECLID) on every coclass, a default string that
      holds one NUL character (widl stores "\\0" as backslash and zero),
      a null default for an object passed by reference (widl stores it as a
      VT_PTR value, which no client can read back), and a non-zero default
      for an enumeration passed by reference (widl warns on any non-zero
      pointer default, so the IDL says 0 and BYREF_DEFAULTS below sets it), and
      a string default on a by-reference string (BYREF_STRINGS below).
      Every patch must change something; one that does not fails the build.
      All are fixed on the binary (MSFT) type library.
  finish_widl.py header Quillon_h.h
      widl turns [defaultvalue] into C++ default arguments, which do not
      compile for enumerations and string literals; vtable callers pass every
      argument anyway, so the defaults are removed from the header.
"""
import re
import struct
import sys
import uuid

TKIND_COCLASS = 5
TYPEFLAG_FPREDECLID = 0x08
HEADER_SIZE = 0x54
HELPDLL_FLAG = 0x100
TYPEINFO_FLAGS = 0x30


SEGMENT_SIZE = 16
GUID_SEGMENT = 5
TYPEINFO_GUID = 0x2c

# (interface, method slot, parameter) of a by-reference string with a string
# default: widl refuses a string default on BSTR*, so the IDL declares [in] BSTR
# and this patch gives the parameter the type of a BSTR* parameter and [out].
BYREF_STRINGS = [
    ("4409E93B-1CD9-11D7-AE76-0001026AB5BC", 0, 0, "SetWallpaper", "vFileName"),  # _qfcLibWindows
]
# A parameter declared BSTR* (its type record is reused): _qfcLibStrings.SwapStr vText1.
BSTR_POINTER_PARAM = ("4409E939-1CD9-11D7-AE76-0001026AB5BC", 8, 0)
PARAMFLAG_FOUT = 0x2
INLINE_BSTR = 0x80080008

# (interface, method slot, parameter, default) for by-reference enumerations.
BYREF_DEFAULTS = [
    ("4409E921-1CD9-11D7-AE76-0001026AB5BC", 8, 3, 1),  # _qfcLibFiles.BrowseForFolder vFlags = qcFolders
]


def segments_at(data):
    magic, = struct.unpack_from("<I", data, 0)
    if magic != 0x5446534D:
        raise SystemExit("not an MSFT type library")
    varflags, = struct.unpack_from("<i", data, 0x14)
    count, = struct.unpack_from("<i", data, 0x20)
    pos = HEADER_SIZE + (4 if varflags & HELPDLL_FLAG else 0)
    return pos + 4 * count, count, pos


def typeinfo_bases(data):
    segments, count, pos = segments_at(data)
    offsets = struct.unpack_from("<%di" % count, data, pos)
    table, = struct.unpack_from("<i", data, segments)
    return [table + offset for offset in offsets]


def typeinfo_guid(data, base):
    segments, _, _ = segments_at(data)
    guids, = struct.unpack_from("<i", data, segments + GUID_SEGMENT * SEGMENT_SIZE)
    position, = struct.unpack_from("<i", data, base + TYPEINFO_GUID)
    return bytes(data[guids + position:guids + position + 16]) if position >= 0 else None


def mark_coclasses_predeclared(data):
    marked = 0
    for base in typeinfo_bases(data):
        kind, = struct.unpack_from("<i", data, base)
        if kind & 0xF == TKIND_COCLASS:
            flags, = struct.unpack_from("<i", data, base + TYPEINFO_FLAGS)
            struct.pack_into("<i", data, base + TYPEINFO_FLAGS, flags | TYPEFLAG_FPREDECLID)
            marked += 1
    return marked


# Inline default values: top bit, variant type in bits 26-30, value below.
NULL_POINTER_DEFAULT = 0x80000000 | (26 << 26)   # VT_PTR, 0
NULL_OBJECT_DEFAULT = 0x80000000 | (9 << 26)     # VT_DISPATCH, 0
FUNC_HAS_DEFAULTS = 0x1000
PARAM_INFO_SIZE = 12


def function_records(data, base):
    """Each function record of a typeinfo, in slot order: (position, size, kinds, parameter count)."""
    records, = struct.unpack_from("<i", data, base + 4)
    elements, = struct.unpack_from("<i", data, base + 0x18)
    pos = records + 4
    for _ in range(elements & 0xFFFF if records >= 0 else 0):
        size = struct.unpack_from("<i", data, pos)[0] & 0xFFFF
        kinds, = struct.unpack_from("<i", data, pos + 16)
        params, = struct.unpack_from("<h", data, pos + 20)
        yield pos, size, kinds, params
        pos += size


def default_slots(data, base):
    """For each function record of a typeinfo, in slot order: the positions of
    its per-parameter default values (empty when it has none)."""
    # A function record ends with its defaults (one per parameter)
    # followed by its parameter records.
    for pos, size, kinds, params in function_records(data, base):
        defaults = pos + size - params * (PARAM_INFO_SIZE + 4)
        yield [defaults + 4 * k for k in range(params)] if kinds & FUNC_HAS_DEFAULTS else []


def make_null_object_defaults(data):
    fixed = 0
    for base in typeinfo_bases(data):
        for slots in default_slots(data, base):
            for at in slots:
                if struct.unpack_from("<I", data, at)[0] == NULL_POINTER_DEFAULT:
                    struct.pack_into("<I", data, at, NULL_OBJECT_DEFAULT)
                    fixed += 1
    return fixed


def set_byref_defaults(data):
    zero_long = 0x80000000 | (3 << 26)  # VT_I4, 0
    for iid, method, param, value in BYREF_DEFAULTS:
        wanted = uuid.UUID(iid).bytes_le
        found = 0
        for base in typeinfo_bases(data):
            if typeinfo_guid(data, base) != wanted:
                continue
            at = list(default_slots(data, base))[method][param]
            if struct.unpack_from("<I", data, at)[0] != zero_long:
                raise SystemExit("unexpected default for %s method %d" % (iid, method))
            struct.pack_into("<I", data, at, zero_long | value)
            found += 1
        if found == 0:
            raise SystemExit("interface %s not found" % iid)


def param_records(data, base):
    """For each function record of a typeinfo: the positions of its parameter records (type, name, flags)."""
    for pos, size, _, params in function_records(data, base):
        yield [pos + size - (params - k) * PARAM_INFO_SIZE for k in range(params)]


def param_at(data, iid, method, param):
    wanted = uuid.UUID(iid).bytes_le
    found = [list(param_records(data, base))[method][param]
             for base in typeinfo_bases(data) if typeinfo_guid(data, base) == wanted]
    changed(len(found) > 0, "interface %s not found" % iid)
    return found


def make_byref_strings(data):
    pointer_type, = struct.unpack_from("<I", data, param_at(data, *BSTR_POINTER_PARAM)[0])
    changed(pointer_type & 0x80000000 == 0, "the BSTR* parameter has no type record")
    for iid, method, param, _, _ in BYREF_STRINGS:
        for at in param_at(data, iid, method, param):
            kind, _, flags = struct.unpack_from("<IiI", data, at)
            changed(kind == INLINE_BSTR, "%s parameter %d is not a BSTR" % (iid, param))
            struct.pack_into("<I", data, at, pointer_type)
            struct.pack_into("<I", data, at + 8, flags | PARAMFLAG_FOUT)


def make_byref_string_header(text):
    for _, _, _, method, name in BYREF_STRINGS:
        pattern = re.compile(r"(%s\)?\([^;{]*?)BSTR %s\b" % (method, name))
        text, count = pattern.subn(r"\1BSTR *%s" % name, text)
        changed(count > 0, "%s(%s) not found in the header" % (method, name))
    return text


def make_nul_defaults(data):
    # VT_BSTR, length 2, "\0"  ->  VT_BSTR, length 1, NUL, padding byte 'W'
    before = b"\x08\x00\x02\x00\x00\x00\\0"
    after = b"\x08\x00\x01\x00\x00\x00\x00W"
    changed(before in data, "no \\0 string default found")
    return data.replace(before, after)


def changed(done, what):
    """A patch that changes nothing means widl or the IDL moved under it: stop the build."""
    if not done:
        raise SystemExit("finish_widl: " + what)


# A parameter line has a type and a name before " = "; an enumerator has only its name.
DEFAULT_ARGUMENT = re.compile(r'^(\s+[^=\s]+\s+[^=]*?) = (?:L"(?:[^"\\]|\\.)*"|[^,)"]+)(,|\) = 0;)$')


def strip_default_arguments(text):
    return "\n".join(DEFAULT_ARGUMENT.sub(r"\1\2", line) for line in text.split("\n"))


def finish_typelib(path):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    changed(mark_coclasses_predeclared(data) > 0, "no coclass found")
    changed(make_null_object_defaults(data) > 0, "no null object default found")
    set_byref_defaults(data)
    make_byref_strings(data)
    data = make_nul_defaults(bytes(data))
    with open(path, "wb") as f:
        f.write(data)


def finish_header(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    finished = strip_default_arguments(text)
    changed(finished != text, "no default argument found in the header")
    finished = make_byref_string_header(finished)
    with open(path, "w", encoding="utf-8") as f:
        f.write(finished)


if __name__ == "__main__":
    {"typelib": finish_typelib, "header": finish_header}[sys.argv[1]](sys.argv[2])
