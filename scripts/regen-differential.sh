#!/usr/bin/env bash
# Regenerates the expected outputs of the script language's differential corpus with Free Pascal.
#
#   scripts/regen-differential.sh [--check] [case ...]
#
# Every tests/script/differential/cases/NNN_area_name.pas is wrapped in a Delphi-mode program that
# uses SysUtils, Math, DateUtils and the prelude unit (fpc/prelude.pas: Print and PrintLn with the
# script language's text forms), compiled with fpc -Mdelphi -O1 in a temporary directory and run;
# its standard output, byte for byte, becomes expected/NNN_area_name.out. A case must compile
# without warnings and end with exit status 0.
#
# With --check nothing is written: the outputs are compared with the committed files and the
# script fails on any difference. Cases may be named by file, by base name or by number prefix.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
corpus="$root/tests/script/differential"
check=0
selected=()
for arg in "$@"; do
    case "$arg" in
    --check) check=1 ;;
    -h | --help)
        sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    *) selected+=("$arg") ;;
    esac
done

if ! command -v fpc >/dev/null; then
    echo "fpc (Free Pascal) is needed: apt-get install fpc" >&2
    exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Free Pascal types a floating-point literal that no Double holds exactly (0.1) as the 80-bit
# Extended and folds and computes with it on the x87 unit; the script language has only 64-bit
# Floats. Every literal is therefore cast to Double before compiling.
cat >"$work/double-literals.pl" <<'PERL'
local $/;
my $src = <STDIN>;
while ($src =~ /\G(
      '(?:[^']|'')*'
    | \/\/[^\n]*
    | \{[^}]*\}
    | \(\*.*?\*\)
    | [A-Za-z_][A-Za-z_0-9]*
    | \$[0-9A-Fa-f]+
    | \d+\.\d+(?:[eE][+-]?\d+)?
    | \d+[eE][+-]?\d+
    | \d+
    | .
    )/gsx) {
    my $t = $1;
    $t = "Double($t)" if $t =~ /^\d[\d.]*(?:[eE][+-]?\d+)?$/ && $t =~ /[.eE]/;
    print $t;
}
PERL

mkdir -p "$work/units"
if ! fpc -Mdelphi -O1 -vew -FU"$work/units" "$corpus/fpc/prelude.pas" >"$work/prelude.log" 2>&1; then
    cat "$work/prelude.log" >&2
    exit 1
fi

cases=()
if [ ${#selected[@]} -eq 0 ]; then
    cases=("$corpus"/cases/*.pas)
else
    for s in "${selected[@]}"; do
        name="$(basename "$s" .pas)"
        matches=("$corpus"/cases/"$name"*.pas)
        if [ ! -e "${matches[0]}" ]; then
            echo "no case matches '$s'" >&2
            exit 2
        fi
        cases+=("${matches[@]}")
    done
fi

failed=0
changed=0
for src in "${cases[@]}"; do
    name="$(basename "$src" .pas)"
    number="${name%%_*}"
    program="$work/case$number.pas"
    # The header shares the first line with the case, so that compiler messages carry the case's
    # own line numbers.
    {
        printf 'program case%s; {$mode delphi}{$H+} uses SysUtils, Math, DateUtils, prelude; ' "$number"
        perl "$work/double-literals.pl" <"$src"
    } >"$program"
    # Warnings stop the build: an unset result or a local variable read before it is set means
    # that the case relies on something the script language need not share. Global variables
    # start zeroed in both languages, so the warnings about them (5037, 5090) are off.
    if ! fpc -Mdelphi -O1 -vew -Sew -vm5037,5090 -Fu"$work/units" -FU"$work" -FE"$work" "$program" \
        >"$work/$name.log" 2>&1; then
        echo "FAIL  $name: does not compile" >&2
        grep -E 'Error|Warning|Fatal' "$work/$name.log" | sed "s|case$number.pas|$name.pas|" >&2 || true
        failed=$((failed + 1))
        continue
    fi
    status=0
    timeout 20 "$work/case$number" </dev/null >"$work/$name.out" 2>"$work/$name.err" || status=$?
    if [ $status -ne 0 ]; then
        echo "FAIL  $name: exit status $status" >&2
        cat "$work/$name.err" >&2
        failed=$((failed + 1))
        continue
    fi
    expected="$corpus/expected/$name.out"
    if [ -f "$expected" ] && cmp -s "$work/$name.out" "$expected"; then
        continue
    fi
    changed=$((changed + 1))
    if [ $check -eq 1 ]; then
        echo "DIFF  $name" >&2
        diff -u "$expected" "$work/$name.out" >&2 || true
    else
        cp "$work/$name.out" "$expected"
        echo "wrote expected/$name.out"
    fi
done

# Outputs whose case is gone.
if [ ${#selected[@]} -eq 0 ]; then
    for out in "$corpus"/expected/*.out; do
        [ -e "$out" ] || continue
        name="$(basename "$out" .out)"
        if [ ! -f "$corpus/cases/$name.pas" ]; then
            echo "STALE expected/$name.out has no case" >&2
            failed=$((failed + 1))
        fi
    done
fi

echo "${#cases[@]} cases, $changed changed, $failed failed"
if [ $failed -ne 0 ] || { [ $check -eq 1 ] && [ $changed -ne 0 ]; }; then
    exit 1
fi
