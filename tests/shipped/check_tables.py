#!/usr/bin/env python3
"""Reads the import and export tables of the shipped tarnvel1.dll ($TARNVEL_SHIPPED_DLL)
and fails when they differ from what the DLL that users install must have.

Imports: from the host's 11 libraries (never from the stand-in simhost.dll), from
the system's DLLs that the plug-in calls, and from the C++ runtime that the host
provides: the Visual C++ redistributable's DLLs (the build uses the runtime DLLs,
/MD) and the Universal CRT. Nothing else.
Exports: exactly the plug-in's entry points, tarnvel::Select by the host
compiler's decorated name among them, each by name, none forwarded."""
import os
import re
import subprocess
import sys

HOST_LIBRARIES = {name.lower() + ".dll" for name in (
    "Cutil1dll", "util1dll", "trt1dll", "Cgoddll", "Cgo2dll", "cad0dll", "cad1dll",
    "cad2dll", "utci1dll", "utge1dll", "clgeo2dll")}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll"}
# vcruntime140_1.dll holds the x64 exception handler of Microsoft's compiler; the
# Universal CRT is ucrtbase.dll, or its api-ms-win-crt-* names with Microsoft's
# import libraries.
RUNTIME_DLLS = {"vcruntime140.dll", "vcruntime140_1.dll", "msvcp140.dll", "ucrtbase.dll"}
UNIVERSAL_CRT_NAMES = re.compile(r"^api-ms-win-crt-[a-z0-9-]+\.dll$")

SELECT = "?Select@tarnvel@@YAHHHAEBVUtCString@@@Z"
SELECT_DECLARED = "int __cdecl tarnvel::Select(int, int, class UtCString const &)"
EXPORTS = {"Main", "TarnvelMain", "End", "TarnvelEnd", "TarnvelSelect", SELECT}


def tool(name, *arguments):
    return subprocess.run([name + "-22", *arguments], check=True, capture_output=True,
                          text=True).stdout


def imported_dlls(dll):
    return [line.split(":", 1)[1].strip()
            for line in tool("llvm-readobj", "--coff-imports", dll).splitlines()
            if line.strip().startswith("Name:")]


def exports(dll):
    """Each export as (name, forwarded-to or None)."""
    result = []
    for block in tool("llvm-readobj", "--coff-exports", dll).split("Export {")[1:]:
        name = re.search(r"^\s*Name: (.*)$", block, re.M)
        forward = re.search(r"^\s*ForwardedTo: (.*)$", block, re.M)
        result.append((name.group(1).strip() if name else None,
                       forward.group(1).strip() if forward else None))
    return result


def allowed_import(dll):
    name = dll.lower()
    return (name in HOST_LIBRARIES or name in SYSTEM_DLLS or name in RUNTIME_DLLS
            or UNIVERSAL_CRT_NAMES.match(name))


def main():
    dll = os.environ.get("TARNVEL_SHIPPED_DLL", "")
    if not dll:
        print("TARNVEL_SHIPPED_DLL is not set: run with ctest --preset host-clang-cl")
        return 1
    if not os.path.isfile(dll):
        print(f"no shipped DLL at {dll}: build the host-clang-cl preset first")
        return 1
    header = tool("llvm-readobj", "--file-headers", dll)
    if "Format: COFF-x86-64" not in header or "IMAGE_FILE_DLL" not in header:
        print(f"{dll} is not a 64-bit Windows DLL:\n{header}")
        return 1

    failures = []
    imports = imported_dlls(dll)
    print("imports from:", " ".join(imports))
    for name in imports:
        if not allowed_import(name):
            failures.append(f"imports from {name}, which is neither one of the host's "
                            "libraries, nor a system DLL, nor the runtime's")
    if not HOST_LIBRARIES & {name.lower() for name in imports}:
        failures.append("imports from none of the host's libraries")

    table = exports(dll)
    print("exports:", " ".join(str(name) for name, _ in table))
    names = [name for name, _ in table]
    for name, forward in table:
        if name is None:
            failures.append("an export by ordinal only")
        elif forward:
            failures.append(f"export {name} is forwarded to {forward}")
    if len(names) != len(set(names)):
        failures.append("an export name appears twice")
    for name in sorted(EXPORTS - set(names)):
        failures.append(f"entry point {name} is not exported")
    for name in sorted(set(names) - EXPORTS - {None}):
        failures.append(f"{name} is exported but is no entry point of the plug-in")
    declared = [line for line in tool("llvm-undname", SELECT).splitlines() if line.strip()][-1]
    if declared != SELECT_DECLARED:
        failures.append(f"{SELECT} names {declared!r}, not {SELECT_DECLARED!r}")

    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
