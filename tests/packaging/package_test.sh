#!/usr/bin/env bash
# Makes the packages with cpack, unpacks each into a temporary folder and uses it from there.
#   package_test.sh CPACK CPACK_CONFIG RENDERER
#                   [WINDOWS_IMAGE_TESTS [AGREEMENT RUN_UNDER_WINE WINE64 PREFIX RENDER_EXE]]
# Without the Windows arguments only the Linux tarball is made and checked.
set -euo pipefail
cpack=$1 config=$2 renderer=$3
image_tests=${4:-}
work=$(mktemp -d /tmp/spirovault-packages.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "package_test: $*" >&2
  exit 1
}
expect_files() {
  local root=$1
  shift
  for file in "$@"; do [ -s "$root/$file" ] || fail "$(basename "$root") lacks $file"; done
}

generators=TGZ
[ -n "$image_tests" ] && generators="TGZ;ZIP"
"$cpack" -G "$generators" --config "$config" -B "$work/packages" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
ls -l "$work/packages"/*.tar.gz "$work/packages"/*.zip 2>/dev/null || true

# The renderer's tarball, unpacked where no build tree is: it must find its plug-in, and the
# plug-in its OpenCL program, beside itself.
tarball=$(echo "$work"/packages/spirovault-render-*-linux-x86_64.tar.gz)
[ -f "$tarball" ] || fail "no spirovault-render-<version>-linux-x86_64.tar.gz"
mkdir "$work/linux"
(cd "$work/linux" && cmake -E tar xf "$tarball")
linux=$(echo "$work"/linux/spirovault-render-*-linux-x86_64)
expect_files "$linux" bin/spirovault-render bin/spirovault.so bin/Kestrelite_Kernel.cu \
  bin/spirovault-make-sky examples/orbit/orbit.json examples/orbit/sky.hdr \
  examples/slurm/render.sbatch docs/farm.md docs/parameters.md README.md NOTICES.md
# The dynamic loader names every library it opens: the plug-in must come from the package.
view=(--size 48x27 --set "Julia Mode=on")
(cd "$work" && LD_DEBUG=files "$linux/bin/spirovault-render" "${view[@]}" -o packaged.png \
  2>"$work/loader.log") || fail "the packaged renderer failed: $(grep -v '^ *[0-9]*:' "$work/loader.log")"
plugins=$(grep -o 'file=[^ ]*spirovault\.so' "$work/loader.log" | sort -u)
[ "$plugins" = "file=$linux/bin/spirovault.so" ] || fail "the packaged renderer opened: $plugins"
(cd "$work" && "$renderer" "${view[@]}" -o built.png)
cmp -s "$work/packaged.png" "$work/built.png" || fail "the packaged renderer's frame differs"
# The README's commands, from the unpacked folder with its bin/ on the path.
(cd "$linux" && PATH="$linux/bin:$PATH" &&
  spirovault-render --scene examples/orbit/orbit.json --size 48x27 --frames 3 -o "$work/orbit.png" &&
  spirovault-make-sky --help >/dev/null) || fail "the packaged programs failed from their folder"

[ -n "$image_tests" ] || exit 0

# The artist's zip: the plug-in, its OpenCL program, the instructions and the notices.
zip=$(echo "$work"/packages/Spirovault-*-windows-x64.zip)
[ -f "$zip" ] || fail "no Spirovault-<version>-windows-x64.zip"
mkdir "$work/windows"
(cd "$work/windows" && cmake -E tar xf "$zip")
windows=$(echo "$work"/windows/Spirovault-*-windows-x64)
expect_files "$windows" Spirovault.aex Kestrelite_Kernel.cu INSTALL.md NOTICES.md \
  licenses/gcc-runtime.txt licenses/mingw-w64.txt
grep -q SpirovaultKernel "$windows/Kestrelite_Kernel.cu" || fail "the zip's kernel file has no kernel"
SPIROVAULT_CHECK_PLUGIN="$windows/Spirovault.aex" "$image_tests" --gtest_brief=1 \
  --gtest_filter='WindowsPlugin.*' || fail "the zip's plug-in fails the image checks"

[ $# -ge 9 ] || exit 0
agreement=$5 wine=("$6" "$7" "$8")
render_exe=$9
"$renderer" --size 96x54 -o "$work/linux.png"
"${wine[@]}" "$render_exe" --size 96x54 --plugin "Z:$windows/Spirovault.aex" -o "Z:$work/wine.png" ||
  fail "the zip's plug-in did not render under Wine"
"$agreement" "$work/linux.png" "$work/wine.png" 2 0.99 0.5 || fail "the zip's plug-in renders differently"
