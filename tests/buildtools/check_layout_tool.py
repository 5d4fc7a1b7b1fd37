"""The layout check tool on a small table and header: the right header passes the generated
checks, and each kind of disagreement (a field's offset, a field's size, a suite's slot, a
constant) fails them with the fact that does not hold.

    check_layout_tool.py LAYOUT_CHECK_TOOL CXX_COMPILER
"""
import subprocess
import sys
import tempfile
from pathlib import Path

TABLE = """\
# kind	name	...
const	SAMPLE_VERSION	3
const	SAMPLE_NAME	"Sample Suite"
type	S_Rect	size	16	align	8	struct[16]
field	S_Rect	width	offset	0	size	4	int32
field	S_Rect	height	offset	4	size	4	int32
field	S_Rect	scale	offset	8	size	8	float64
suite	"Sample Suite"	1	size	16	align	8	slots	2	struct	S_SampleSuite1
slot	"Sample Suite"	1	0	Open	offset	0	int32(ptr*, int32)
slot	"Sample Suite"	1	1	Close	offset	8	int32(ptr)
"""

HEADER = """\
#include <stdint.h>
#define SAMPLE_VERSION 3
#define SAMPLE_NAME "Sample Suite"
typedef struct {
    int32_t width;
    int32_t height;
    double scale;
} S_Rect;
typedef struct S_SampleSuite1 {
    int32_t (*Open)(S_Rect* rect, int32_t flags);
    int32_t (*Close)(void* ref);
} S_SampleSuite1;
"""

# (what is wrong, the header's text, its replacement, the fact the compiler must report)
FAULTS = [
    ("offset", "int32_t width;\n    int32_t height;", "int32_t height;\n    int32_t width;",
     "S_Rect.width at offset 0"),
    ("size", "int32_t height;", "int16_t height;\n    int16_t spare;",
     "S_Rect.height of size 4"),
    ("slot", "int32_t (*Open)(S_Rect* rect, int32_t flags);\n    int32_t (*Close)(void* ref);",
     "int32_t (*Close)(void* ref);\n    int32_t (*Open)(S_Rect* rect, int32_t flags);",
     '"Sample Suite" 1 slot 0 Open at offset 0'),
    ("constant", "#define SAMPLE_VERSION 3", "#define SAMPLE_VERSION 4", "SAMPLE_VERSION == 3"),
    ("text constant", '"Sample Suite"\n', '"Sample suite"\n', 'SAMPLE_NAME is "Sample Suite"'),
]


def generated_check(tool, compiler, work, header):
    """Runs the tool on the table and header; compiles its output. (passed, compiler output)"""
    (work / "host").mkdir(exist_ok=True)
    (work / "host" / "sample_api.h").write_text(header)
    (work / "table.tsv").write_text(TABLE)
    subprocess.run([tool, work / "table.tsv", work / "check.cpp", work / "report.txt",
                    work / "host" / "sample_api.h"], check=True, stdout=subprocess.DEVNULL)
    built = subprocess.run([compiler, "-std=c++20", "-fsyntax-only", "-I", work,
                            work / "check.cpp"], capture_output=True, text=True)
    # Some compilers quote the message as a literal, with its quotes escaped.
    return built.returncode == 0, (built.stdout + built.stderr).replace('\\"', '"')


def main():
    tool, compiler = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        work = Path(scratch)
        passed, output = generated_check(tool, compiler, work, HEADER)
        if not passed:
            failures.append("the right header fails:\n" + output)
        report = (work / "report.txt").read_text()
        if "no row" in report or "no declaration" in report:
            failures.append("the right header is reported unchecked:\n" + report)
        for what, text, wrong, fact in FAULTS:
            assert text in HEADER, what
            passed, output = generated_check(tool, compiler, work, HEADER.replace(text, wrong, 1))
            if passed:
                failures.append(f"a wrong {what} passes")
            elif fact not in output:
                failures.append(f"a wrong {what} fails without naming '{fact}':\n{output}")
    for failure in failures:
        print(failure)
    print(f"layout check tool: {len(FAULTS)} faults, {len(failures)} problems")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
