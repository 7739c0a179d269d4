#!/usr/bin/env bash
# Checks a Debian package of the program as Debian's archive would: lintian must report no
# error and no warning (its informational tags are shown). With --hardened, the programs must
# also carry every hardening of dpkg-buildflags: PIE, stack protector, fortified functions,
# relro and bindnow (lintian's hardening tags, the stack protector seen with readelf, and
# hardening-check from devscripts where it is installed).
# Usage: tools/check-package.sh [--hardened] PACKAGE.deb
set -euo pipefail
hardened=
if [ "${1:-}" = --hardened ]; then
    hardened=1
    shift
fi
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 [--hardened] PACKAGE.deb" >&2; exit 2; }
deb=$1

# lintian warns when it runs as root, on its error output; the tags come on standard output.
tags=$(lintian --display-info "$deb" 2>/dev/null) || status=$?
echo "lintian $(basename "$deb"):"
if [ -n "$tags" ]; then sed 's/^/    /' <<<"$tags"; else echo "    (no tags)"; fi
failed=0
if grep -q '^[EW]: ' <<<"$tags" || [ "${status:-0}" -gt 1 ]; then
    echo "FAIL: lintian reports errors or warnings (or could not check the package)"
    failed=1
fi
[ -n "$hardened" ] || exit $failed

if grep -q ' hardening-' <<<"$tags"; then
    echo "FAIL: lintian finds hardening missing"
    failed=1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work"
for program in "$work"/usr/bin/*; do
    name=${program#"$work"/}
    # Read whole first: grep -q would end the pipe early, which pipefail takes for a failure.
    symbols=$(readelf --dyn-syms --wide "$program")
    grep -q '__stack_chk_fail' <<<"$symbols" ||
        { echo "FAIL: $name without stack protector"; failed=1; }
    dynamic=$(readelf --dynamic "$program")
    grep -q 'BIND_NOW' <<<"$dynamic" || { echo "FAIL: $name without bindnow"; failed=1; }
    # Control-flow protection is not among the flags Debian 12's dpkg-buildflags gives.
    if command -v hardening-check >/dev/null; then
        hardening-check --nocfprotection "$program" | sed "s|$work/||" ||
            { echo "FAIL: hardening-check finds hardening missing in $name"; failed=1; }
    fi
done
[ $failed -eq 0 ] && echo "hardening: PIE, stack protector, fortify, relro and bindnow everywhere"
exit $failed
