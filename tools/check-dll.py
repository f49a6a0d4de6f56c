#!/usr/bin/env python3
"""Static checks of a built plug-in DLL: its export table, its imports and
its plug-in property list, read out of the file itself."""
import struct
import sys

# The property list as the host expects it, written out byte by byte.
EXPECTED_PIPL = bytes.fromhex(
    "0100" "00000000" "07000000"
    "4d494238" "646e696b" "00000000" "04000000" "5a494c38"
    "4d494238" "656d616e" "00000000" "10000000" "0e" + "Quillbright...".encode().hex() + "00"
    "4d494238" "67746163" "00000000" "10000000" "0d" + "Dovetailworks".encode().hex() + "0000"
    "4d494238" "73726576" "00000000" "04000000" "00000100"
    "4d494238" "36387877" "00000000" "10000000" + "AutoPluginMain".encode().hex() + "0000"
    "4d494238" "74737270" "00000000" "04000000" "01000000"
    "45424441" "4d706341" "00000000" "04000000" "01000000")

# Windows system DLLs the plug-in may import.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "version.dll", "comdlg32.dll", "comctl32.dll", "msvcrt.dll", "ole32.dll",
               "uxtheme.dll", "shlwapi.dll", "msimg32.dll"}


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, nsections = struct.unpack_from("<HH", data, pe + 4)
        opt_size = struct.unpack_from("<H", data, pe + 20)[0]
        opt = pe + 24
        magic = struct.unpack_from("<H", data, opt)[0]
        dirs = opt + (96 if magic == 0x10B else 112)
        self.dirs = [struct.unpack_from("<II", data, dirs + 8 * i) for i in range(16)]
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            vsize, va, rsize, rptr = struct.unpack_from("<IIII", data, sec + 40 * i + 8)
            self.sections.append((va, max(vsize, rsize), rptr))

    def offset(self, rva):
        for va, size, ptr in self.sections:
            if va <= rva < va + size:
                return rva - va + ptr
        raise ValueError("address outside every section: %#x" % rva)

    def cstr(self, rva):
        off = self.offset(rva)
        return self.data[off:self.data.index(b"\0", off)].decode("ascii")

    def exports(self):
        rva, size = self.dirs[0]
        if not rva:
            return []
        d = self.offset(rva)
        count = struct.unpack_from("<I", self.data, d + 24)[0]  # number of names
        names = struct.unpack_from("<I", self.data, d + 32)[0]
        return [self.cstr(struct.unpack_from("<I", self.data, self.offset(names) + 4 * i)[0]) for i in range(count)]

    def imports(self):
        rva, _ = self.dirs[1]
        result = []
        d = self.offset(rva)
        while True:
            name = struct.unpack_from("<I", self.data, d + 12)[0]
            if name == 0:
                return result
            result.append(self.cstr(name))
            d += 20

    def resource(self, type_name, ident):
        base_rva, _ = self.dirs[2]
        base = self.offset(base_rva)

        def entries(table):
            named, numbered = struct.unpack_from("<HH", self.data, table + 12)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, table + 16 + 8 * i)
                if key & 0x80000000:
                    s = base + (key & 0x7FFFFFFF)
                    n = struct.unpack_from("<H", self.data, s)[0]
                    key = self.data[s + 2:s + 2 + 2 * n].decode("utf-16-le")
                yield key, target

        for key, target in entries(base):
            if isinstance(key, str) and key.upper() == type_name.upper():
                for key2, target2 in entries(base + (target & 0x7FFFFFFF)):
                    if key2 == ident:
                        lang_table = base + (target2 & 0x7FFFFFFF)
                        _, leaf = next(entries(lang_table))
                        rva, size = struct.unpack_from("<II", self.data, base + leaf)
                        off = self.offset(rva)
                        return self.data[off:off + size]
        return None


def main(path):
    image = Image(open(path, "rb").read())
    failures = []
    exports = image.exports()
    if exports != ["AutoPluginMain"]:
        failures.append("exports: expected only AutoPluginMain, found %s" % exports)
    foreign = [name for name in image.imports() if name.lower() not in SYSTEM_DLLS]
    if foreign:
        failures.append("imports other than Windows system DLLs: %s" % foreign)
    pipl = image.resource("PIPL", 18500)
    if pipl is None:
        failures.append("no PIPL resource 18500")
    elif pipl != EXPECTED_PIPL:
        failures.append("PIPL differs:\n  expected %s\n  found    %s" % (EXPECTED_PIPL.hex(), pipl.hex()))
    for failure in failures:
        print("check-dll: %s: %s" % (path, failure))
    if not failures:
        print("check-dll: %s: exports %s; imports %s; PIPL %d bytes as expected"
              % (path, exports, ", ".join(image.imports()), len(pipl)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
