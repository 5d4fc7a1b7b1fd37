#!/usr/bin/env python3
"""Every program the README tells a reader to run by name is built by scripts/render and lies
in the folder the README puts on the PATH.   readme_tools.py SOURCE_DIR PROGRAM_DIR"""
import pathlib
import re
import sys

source = pathlib.Path(sys.argv[1])
program_dir = pathlib.Path(sys.argv[2])
readme = (source / "README.md").read_text()
render_script = (source / "scripts" / "render").read_text()

# Run by name: at the start of a code line or of an inline code span, followed by an argument.
named = set(re.findall(r"(?m)^\s*(spirovault-[a-z-]+) ", readme))
named |= set(re.findall(r"`(spirovault-[a-z-]+) [^`]*`", readme))
path_dirs = re.findall(r'export PATH="\$PWD/([^:"]+):\$PATH"', readme)
faults = []
if path_dirs != ["build/default/cli"]:
    faults.append(f"the README sets the PATH to {path_dirs}, this test expects build/default/cli")
for program in sorted(named):
    if not re.search(rf"\b{re.escape(program)}\b", render_script):
        faults.append(f"{program}: named in the README, not built by scripts/render")
    if not (program_dir / program).is_file():
        faults.append(f"{program}: not in {program_dir}")
if not named:
    faults.append("no program found in the README")
for fault in faults:
    print(fault, file=sys.stderr)
print("programs the README runs:", ", ".join(sorted(named)))
sys.exit(1 if faults else 0)
