#!/usr/bin/env python3
"""Static checks of a built plug-in DLL: its export table, that Windows XP SP3
can load it (its imports and header), and its plug-in property list, read
out of the file itself. `--self-test` puts made-up images through the XP
checks."""
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

# The editor runs on 32-bit Windows XP SP3 and later, whose loader refuses a
# DLL that imports a function its system DLLs lack. What each of XP SP3's
# DLLs exported that the plug-in may import: what it imports now and the
# obvious neighbours. Anything else is refused until it is checked against
# XP and added here (the DLL names are compared in any letter case).
XP_SP3_EXPORTS = {
    "kernel32.dll": """
        CloseHandle CreateDirectoryA CreateEventA CreateFileA CreateFileW CreateSemaphoreA
        CreateSemaphoreW DeleteCriticalSection DeleteFileA DuplicateHandle EnterCriticalSection
        ExpandEnvironmentStringsA FindClose FindFirstFileA FindNextFileA FindResourceA
        FreeLibrary FreeResource GetCurrentDirectoryA GetCurrentProcess GetCurrentProcessId
        GetCurrentThread GetCurrentThreadId GetEnvironmentVariableA GetFileAttributesA
        GetFileAttributesExA GetFileSize GetFileSizeEx GetHandleInformation GetLastError
        GetModuleFileNameA GetModuleFileNameW GetModuleHandleA GetModuleHandleExA
        GetModuleHandleW GetProcAddress GetProcessHeap GetStartupInfoA GetSystemTimeAsFileTime
        GetTempFileNameA GetTempPathA GetTickCount GetVersionExA GlobalAlloc GlobalFree
        GlobalLock GlobalSize GlobalUnlock HeapAlloc HeapFree InitializeCriticalSection
        InitializeCriticalSectionAndSpinCount InterlockedCompareExchange InterlockedDecrement
        InterlockedExchange InterlockedIncrement IsDBCSLeadByteEx IsDebuggerPresent
        LeaveCriticalSection LoadLibraryA LoadLibraryW LoadResource LocalFree LockResource
        MoveFileA MulDiv MultiByteToWideChar OutputDebugStringA QueryPerformanceCounter
        QueryPerformanceFrequency RaiseException ReadFile ReleaseSemaphore RemoveDirectoryA
        ResetEvent SetEvent SetFilePointer SetFilePointerEx SetLastError
        SetUnhandledExceptionFilter SizeofResource Sleep TerminateProcess TlsAlloc TlsFree
        TlsGetValue TlsSetValue TryEnterCriticalSection UnhandledExceptionFilter VirtualProtect
        VirtualQuery WaitForMultipleObjects WaitForSingleObject WideCharToMultiByte WriteFile
        ActivateActCtx CreateActCtxA DeactivateActCtx ReleaseActCtx
        AddVectoredExceptionHandler RemoveVectoredExceptionHandler
    """,
    "user32.dll": """
        CheckDlgButton CheckRadioButton GetDlgCtrlID GetDlgItemTextA GetMessagePos GetMessageTime
        InflateRect IsDlgButtonChecked PostQuitMessage SetDlgItemTextA
        AppendMenuA BeginPaint CallNextHookEx CallWindowProcA CheckMenuItem ClientToScreen
        CreateDialogParamA CreateMenu CreatePopupMenu CreateWindowExA DefWindowProcA DeleteMenu
        DestroyMenu DestroyWindow DialogBoxParamA DispatchMessageA DrawFocusRect DrawTextA
        EnableMenuItem EnableWindow EndDialog EndPaint EnumChildWindows FillRect FindWindowA
        FindWindowExA FrameRect GetActiveWindow GetAsyncKeyState GetClassNameA GetClientRect
        GetCursorPos GetDC GetDlgItem GetForegroundWindow GetKeyState GetMenuItemCount
        GetMenuItemID GetMenuItemInfoA GetMenuState GetMenuStringA GetMessageA GetParent
        GetSubMenu GetSysColor GetSysColorBrush GetSystemMetrics GetWindow GetWindowLongA
        GetWindowRect GetWindowTextA GetWindowThreadProcessId InsertMenuA InsertMenuItemA
        InvalidateRect IsDialogMessageA IsMenu IsWindow IsWindowEnabled IsWindowVisible
        KillTimer LoadCursorA LoadIconA MapWindowPoints MessageBoxA MessageBoxW ModifyMenuA
        MoveWindow PeekMessageA PostMessageA RedrawWindow RegisterClassA ReleaseDC RemoveMenu
        ScreenToClient SendDlgItemMessageA SendInput SendMessageA SetFocus SetForegroundWindow
        SetMenuItemInfoA SetTimer SetWindowLongA SetWindowPos SetWindowTextA SetWindowsHookExA
        ShowWindow SystemParametersInfoA TrackPopupMenu TrackPopupMenuEx TranslateMessage
        UnhookWindowsHookEx UpdateWindow keybd_event
    """,
    "gdi32.dll": """
        BitBlt CreateCompatibleBitmap CreateCompatibleDC CreateDIBSection CreateFontA
        CreateFontIndirectA CreatePen CreateSolidBrush DeleteDC DeleteObject GetDeviceCaps
        GetObjectA GetStockObject GetTextExtentPoint32A GetTextMetricsA LineTo MoveToEx
        Rectangle RestoreDC SaveDC SelectObject SetBkColor SetBkMode SetPixel SetTextColor
        StretchBlt TextOutA
    """,
    "advapi32.dll": """
        RegCloseKey RegCreateKeyExA RegDeleteValueA RegEnumKeyExA RegEnumValueA RegOpenKeyExA
        RegQueryValueExA RegSetValueExA
    """,
    "comdlg32.dll": "ChooseColorA CommDlgExtendedError GetOpenFileNameA GetSaveFileNameA",
    "shell32.dll": "SHGetFolderPathA SHGetMalloc SHGetPathFromIDListA SHGetSpecialFolderLocation SHGetSpecialFolderPathA "
                   "ShellExecuteA ShellExecuteExA",
    "version.dll": "GetFileVersionInfoA GetFileVersionInfoSizeA VerQueryValueA",
    "comctl32.dll": "InitCommonControls InitCommonControlsEx _TrackMouseEvent",
    "uxtheme.dll": "IsThemeActive SetWindowTheme",
    "ole32.dll": "CoCreateInstance CoInitialize CoInitializeEx CoTaskMemFree CoUninitialize",
    "shlwapi.dll": "PathAppendA PathFileExistsA PathFindFileNameA PathRemoveFileSpecA",
    "msimg32.dll": "AlphaBlend GradientFill TransparentBlt",
    # XP's msvcrt.dll is the runtime of Visual C++ 6 and lacks the later
    # runtimes' additions (the _s functions, _fseeki64, _wassert and more).
    "msvcrt.dll": """
        __dllonexit __getmainargs __mb_cur_max __set_app_type __setusermatherr
        _amsg_exit _beginthreadex _close _endthreadex _errno _fileno _initterm _iob _lock
        _onexit _read _setjmp3 _snprintf _strdup _stricmp _strnicmp _ultoa _unlock _vsnprintf
        _write abort atoi bsearch calloc exit fclose fflush fgets fopen fprintf fputc fputs
        fread free fseek ftell fwrite getenv isalpha isdigit isspace localeconv longjmp malloc
        memchr memcmp memcpy memmove memset printf qsort realloc setlocale signal sprintf
        strcat strchr strcmp strcoll strcpy strerror strlen strncat strncmp strncpy strrchr
        strstr strtol strtoul tolower toupper vfprintf wcscmp wcscpy wcslen wcsncpy
    """,
}
XP_SP3_EXPORTS = {dll: frozenset(names.split()) for dll, names in XP_SP3_EXPORTS.items()}

# A few functions and DLLs that came after XP, named as such when they turn
# up (anything else off the table above is refused all the same).
LATER_THAN_XP = {
    "kernel32.dll": {
        "AcquireSRWLockExclusive", "AcquireSRWLockShared", "CompareStringEx", "CreateEventExA", "CreateEventExW",
        "CreateSemaphoreExW", "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue", "GetLocaleInfoEx",
        "GetSystemTimePreciseAsFileTime", "GetTickCount64", "InitOnceExecuteOnce", "InitializeConditionVariable",
        "InitializeSRWLock", "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "SleepConditionVariableCS",
        "SleepConditionVariableSRW", "WakeAllConditionVariable", "WakeConditionVariable"},
    "advapi32.dll": {"RegDeleteKeyExA", "RegDeleteKeyExW", "RegDeleteTreeA", "RegDeleteTreeW", "RegGetValueA",
                     "RegGetValueW", "RegSetKeyValueA", "RegSetKeyValueW"},
    "user32.dll": {"GetDpiForWindow", "SetProcessDPIAware", "SetProcessDpiAwarenessContext"},
    "shell32.dll": {"SHGetKnownFolderPath"},
}
LATER_DLLS = {"bcrypt.dll", "d2d1.dll", "dwmapi.dll", "dwrite.dll", "ncrypt.dll", "shcore.dll", "ucrtbase.dll",
              "vcruntime140.dll"}

# XP's loader refuses an image that asks for a later subsystem.
XP_SUBSYSTEM_VERSION = (5, 1)
IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B


class Image:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, nsections = struct.unpack_from("<HH", data, pe + 4)
        opt_size = struct.unpack_from("<H", data, pe + 20)[0]
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem_version = struct.unpack_from("<HH", data, opt + 48)
        dirs = opt + (96 if self.magic == PE32_MAGIC else 112)
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
        return [dll for dll, _ in self.imported_functions()]

    def imported_functions(self):
        """Every imported DLL with the names it is asked for ("#N" for an
        ordinal), the delay-loaded ones included."""
        result = []
        rva, _ = self.dirs[1]
        d = self.offset(rva) if rva else None
        while d is not None:
            lookup, _, _, name, bound = struct.unpack_from("<IIIII", self.data, d)
            if name == 0:
                break
            result.append((self.cstr(name), self.thunk_names(lookup or bound)))
            d += 20
        rva, _ = self.dirs[13]
        d = self.offset(rva) if rva else None
        while d is not None:
            attributes, name, _, _, lookup = struct.unpack_from("<IIIII", self.data, d)
            if name == 0:
                break
            base = 0 if attributes & 1 else self.image_base()
            result.append((self.cstr(name - base), self.thunk_names(lookup - base)))
            d += 32
        return result

    def image_base(self):
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.magic == PE32_MAGIC:
            return struct.unpack_from("<I", self.data, pe + 24 + 28)[0]
        return struct.unpack_from("<Q", self.data, pe + 24 + 24)[0]

    def thunk_names(self, rva):
        wide = self.magic != PE32_MAGIC
        size, ordinal_flag = (8, 1 << 63) if wide else (4, 1 << 31)
        names = []
        at = self.offset(rva)
        while True:
            thunk = struct.unpack_from("<Q" if wide else "<I", self.data, at)[0]
            if thunk == 0:
                return names
            if thunk & ordinal_flag:
                names.append("#%d" % (thunk & 0xFFFF))
            else:
                names.append(self.cstr((thunk & 0x7FFFFFFF) + 2))  # after the hint
            at += size

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


def xp_failures(image):
    """What keeps the image from loading on 32-bit Windows XP SP3."""
    failures = []
    if image.machine != IMAGE_FILE_MACHINE_I386 or image.magic != PE32_MAGIC:
        failures.append("not a 32-bit x86 image (machine %#x, optional header %#x)" % (image.machine, image.magic))
    if image.subsystem_version > XP_SUBSYSTEM_VERSION:
        failures.append("subsystem version %d.%d: Windows XP loads %d.%d at most"
                        % (image.subsystem_version + XP_SUBSYSTEM_VERSION))
    for dll, names in image.imported_functions():
        key = dll.lower()
        exported = XP_SP3_EXPORTS.get(key)
        if exported is None:
            if key in LATER_DLLS or key.startswith("api-ms-win-") or key.startswith("ext-ms-win-"):
                failures.append("imports %s, a DLL Windows XP SP3 does not have" % dll)
            else:
                failures.append("imports %s, not one of the Windows XP SP3 DLLs the plug-in may use" % dll)
            continue
        for name in names:
            if name.startswith("#"):
                failures.append("imports %s!%s by ordinal, which is not checked against Windows XP SP3" % (dll, name))
            elif name in LATER_THAN_XP.get(key, ()):
                failures.append("imports %s!%s, which Windows XP SP3's %s lacks" % (dll, name, dll))
            elif name not in exported:
                failures.append("imports %s!%s, not on the list of Windows XP SP3's %s functions the plug-in may use"
                                % (dll, name, dll))
    return failures


def main(path):
    image = Image(open(path, "rb").read())
    failures = []
    exports = image.exports()
    if exports != ["AutoPluginMain"]:
        failures.append("exports: expected only AutoPluginMain, found %s" % exports)
    failures += xp_failures(image)
    pipl = image.resource("PIPL", 18500)
    if pipl is None:
        failures.append("no PIPL resource 18500")
    elif pipl != EXPECTED_PIPL:
        failures.append("PIPL differs:\n  expected %s\n  found    %s" % (EXPECTED_PIPL.hex(), pipl.hex()))
    for failure in failures:
        print("check-dll: %s: %s" % (path, failure))
    if not failures:
        functions = sum(len(names) for _, names in image.imported_functions())
        print("check-dll: %s: exports %s; imports %s (%d functions, all on Windows XP SP3); PIPL %d bytes as expected"
              % (path, exports, ", ".join(image.imports()), functions, len(pipl)))
    return 1 if failures else 0


# The self-test: images made here, each with the import table (and the
# subsystem version) of one case, put through the XP checks.

def synthetic_image(imports, subsystem=(4, 0), delayed=()):
    """A minimal 32-bit DLL whose one section holds the import table of
    `imports` (pairs of a DLL name and function names, "#N" for an
    ordinal) and the delay-load table of `delayed`."""
    section_rva, section_offset = 0x1000, 0x200
    body = bytearray()

    def put(data, align=2):
        while len(body) % align:
            body.append(0)
        at = section_rva + len(body)
        body.extend(data)
        return at

    def thunks(names):
        entries = []
        for name in names:
            if name.startswith("#"):
                entries.append((1 << 31) | int(name[1:]))
            else:
                entries.append(put(b"\0\0" + name.encode() + b"\0"))
        return put(b"".join(struct.pack("<I", e) for e in entries + [0]), 4)

    descriptors = []
    for dll, names in imports:
        descriptors.append(struct.pack("<IIIII", thunks(names), 0, 0, put(dll.encode() + b"\0"), thunks(names)))
    import_rva = put(b"".join(descriptors) + bytes(20), 4)
    delay = []
    for dll, names in delayed:
        delay.append(struct.pack("<IIIIIIII", 1, put(dll.encode() + b"\0"), 0, thunks(names), thunks(names), 0, 0, 0))
    delay_rva = put(b"".join(delay) + bytes(32), 4) if delayed else 0

    header = bytearray(section_offset)
    header[0:2] = b"MZ"
    struct.pack_into("<I", header, 0x3C, 0x40)
    header[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", header, 0x44, IMAGE_FILE_MACHINE_I386, 1, 0, 0, 0, 224, 0x2102)
    opt = 0x58
    struct.pack_into("<H", header, opt, PE32_MAGIC)
    struct.pack_into("<I", header, opt + 28, 0x10000000)  # image base
    struct.pack_into("<HH", header, opt + 40, 4, 0)  # operating system version
    struct.pack_into("<HH", header, opt + 48, *subsystem)
    struct.pack_into("<I", header, opt + 92, 16)  # data directories
    struct.pack_into("<II", header, opt + 96 + 8 * 1, import_rva, 20 * (len(imports) + 1))
    struct.pack_into("<II", header, opt + 96 + 8 * 13, delay_rva, 32 * (len(delayed) + 1) if delayed else 0)
    section = opt + 224
    header[section:section + 8] = b".idata\0\0"
    struct.pack_into("<IIII", header, section + 8, len(body), section_rva, len(body), section_offset)
    return Image(bytes(header) + bytes(body))


def self_test():
    allowed = [("KERNEL32.dll", ["CloseHandle", "ReadFile", "TlsAlloc"]), ("user32.DLL", ["MessageBoxA"]),
               ("msvcrt.dll", ["malloc", "free"])]
    cases = [
        # (what, imports, subsystem version, delay-loaded imports, the failures' wanted texts)
        ("XP's own functions", allowed, (4, 0), (), []),
        ("XP's subsystem version", allowed, (5, 1), (), []),
        ("a Vista function of kernel32", allowed + [("KERNEL32.dll", ["Sleep", "GetTickCount64"])], (4, 0), (),
         ["KERNEL32.dll!GetTickCount64, which Windows XP SP3's KERNEL32.dll lacks"]),
        ("a Vista function of advapi32",
         [("ADVAPI32.dll", ["RegOpenKeyExA", "RegGetValueA", "RegQueryValueExA", "RegDeleteTreeA"])], (4, 0), (),
         ["ADVAPI32.dll!RegGetValueA", "ADVAPI32.dll!RegDeleteTreeA"]),
        ("Vista's locks, delay-loaded", allowed, (4, 0), [("kernel32.dll", ["InitializeSRWLock"])],
         ["kernel32.dll!InitializeSRWLock"]),
        ("a function by ordinal", [("COMCTL32.dll", ["#17"])], (4, 0), (), ["COMCTL32.dll!#17"]),
        ("DLLs XP lacks", allowed + [("dwmapi.dll", ["DwmIsCompositionEnabled"]),
                                     ("api-ms-win-core-synch-l1-2-0.dll", ["WaitOnAddress"])], (4, 0), (),
         ["dwmapi.dll, a DLL Windows XP SP3 does not have", "api-ms-win-core-synch-l1-2-0.dll, a DLL"]),
        ("functions and DLLs off the list", allowed + [("KERNEL32.dll", ["GetThreadContext"]),
                                                       ("winmm.dll", ["timeGetTime"])], (4, 0), (),
         ["KERNEL32.dll!GetThreadContext, not on the list", "winmm.dll, not one of"]),
        ("Vista's subsystem version", allowed, (6, 0), (), ["subsystem version 6.0"]),
    ]
    wrong = 0
    for dll, names in LATER_THAN_XP.items():
        both = sorted(names & XP_SP3_EXPORTS.get(dll, frozenset()))
        if both:
            wrong += 1
            print("check-dll self-test: %s: listed both as XP's and as later than XP: %s" % (dll, both))
    for what, imports, subsystem, delayed, wanted in cases:
        failures = xp_failures(synthetic_image(imports, subsystem, delayed))
        unmatched = [text for text in wanted if not any(text in failure for failure in failures)]
        if unmatched or len(failures) != len(wanted):
            wrong += 1
            print("check-dll self-test: %s: wanted failures naming %s, found %s" % (what, wanted, failures))
        else:
            print("check-dll self-test: %s: %s" % (what, "; ".join(failures) or "passes"))
    return 1 if wrong else 0


if __name__ == "__main__":
    if sys.argv[1:] == ["--self-test"]:
        sys.exit(self_test())
    if len(sys.argv) != 2:
        sys.exit("usage: check-dll.py DLL | --self-test")
    sys.exit(main(sys.argv[1]))
