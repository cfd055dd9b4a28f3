#!/usr/bin/env bash
# mutants.sh [-o TABLE] [-t SECONDS] [REVISION] [ID...]: plants each one-line
# fault of scripts/mutants.txt in turn into REVISION (default HEAD) and tells
# whether the unit tests catch it. Not part of the test command.
#
# The revision is exported with git archive into a temporary folder (removed
# afterwards) and built there once (Release, tests on, benchmarks off); no
# working tree is touched.
# Per mutant: the fragment is replaced, the tests of the mutated file's own
# folder (tests/ mirrors src/) are rebuilt and run first, and only when they
# all pass is everything else rebuilt and run. Relinking every test binary
# against the changed core library is the main cost, so a fault caught by its
# own folder's tests is never relinked anywhere else. Either way ctest stops
# at the first failure.
#
# Result per mutant: caught (with the first failing test), survived,
# build-failed, or not-found (the fragment no longer occurs exactly once: the
# list needs re-pointing). The table goes to stdout and, with -o, to TABLE.
set -euo pipefail

usage()
{
    echo "usage: $0 [-o TABLE] [-t SECONDS] [REVISION] [ID...]" >&2
    exit 2
}

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
list=$here/mutants.txt
table_file=
timeout=60
while getopts "o:t:h" option; do
    case $option in
    o) table_file=$OPTARG ;;
    t) timeout=$OPTARG ;;
    *) usage ;;
    esac
done
shift $((OPTIND - 1))
revision=${1:-HEAD}
[ $# -gt 0 ] && shift
commit=$(git -C "$repo" rev-parse --verify --quiet "$revision^{commit}") || {
    echo "mutants: unknown revision $revision" >&2
    exit 2
}

# The work folder is the first free numbered slot under the temporary folder:
# its path stays the same from run to run, so ccache serves the objects of
# every file, also those built with absolute paths in their defines.
root=${TMPDIR:-/tmp}/velmora-mutants
mkdir -p "$root"
slot=0
while :; do
    exec {lock}>"$root/$slot.lock"
    flock -n "$lock" && break
    exec {lock}>&-
    slot=$((slot + 1))
done
work=$root/$slot
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
src=$work/src
build=$work/build
log=$work/log
mkdir -p "$src" "$log"
# Paths relative to the work folder let ccache reuse objects across runs.
export CCACHE_BASEDIR=$work

now() { date +%s; }
say() { echo "mutants: $*" >&2; }

# The helper reads the list and edits files; Python keeps fragments exact.
helper=$work/helper.py
cat >"$helper" <<'PY'
import json, os, re, sys

def entries(path):
    found, current, last = [], {}, None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip():
                if current:
                    found.append(current)
                current, last = {}, None
                continue
            if line.startswith("#"):
                continue
            if line.startswith("|") and last:
                current[last] += "\n" + line[1:]
                continue
            key, sep, value = line.partition(":")
            if not sep or key not in ("id", "file", "find", "replace", "what"):
                sys.exit(f"{path}:{number}: expected id, file, find, replace or what")
            if key in current:
                sys.exit(f"{path}:{number}: {key} given twice")
            current[key] = value[1:] if value.startswith(" ") else value
            last = key
    if current:
        found.append(current)
    ids = set()
    for e in found:
        missing = [k for k in ("id", "file", "find", "replace", "what") if k not in e]
        if missing:
            sys.exit(f"{path}: mutant {e.get('id', '?')} lacks {', '.join(missing)}")
        if e["id"] in ids:
            sys.exit(f"{path}: mutant {e['id']} listed twice")
        ids.add(e["id"])
    return found

def subsystem(path):
    folder = os.path.dirname(path)
    return folder[4:] if folder.startswith("src/") else folder

command, args = sys.argv[1], sys.argv[2:]
if command == "list":
    # list FILE [ID...]: id, file, subsystem, description, tab-separated.
    chosen = entries(args[0])
    wanted = args[1:]
    unknown = set(wanted) - {e["id"] for e in chosen}
    if unknown:
        sys.exit("unknown mutant id: " + " ".join(sorted(unknown)))
    for e in chosen:
        if not wanted or e["id"] in wanted:
            print("\t".join((e["id"], e["file"], subsystem(e["file"]), e["what"])))
elif command == "apply":
    # apply FILE ID TREE: plants the fault; exit 3 when the fragment is not
    # there exactly once, with the count on stdout.
    e = next(e for e in entries(args[0]) if e["id"] == args[1])
    target = os.path.join(args[2], e["file"])
    text = open(target, encoding="utf-8").read() if os.path.isfile(target) else ""
    count = text.count(e["find"])
    if count != 1:
        print(f"fragment found {count} times" if count else "fragment not found")
        sys.exit(3)
    with open(target, "w", encoding="utf-8") as f:
        f.write(text.replace(e["find"], e["replace"]))
elif command == "select":
    # select CTEST_JSON BUILD FILE: the test binaries of the folder that
    # mirrors FILE under tests/ (or its nearest parent holding any), and a
    # ctest regex naming exactly their tests' suites. Prints the targets on
    # one line and the regex on the next; nothing when no folder has tests.
    tests = json.load(open(args[0]))["tests"]
    build, path = args[1], subsystem(args[2])
    binaries = {}
    for t in tests:
        command = t.get("command") or []
        if command:
            binaries.setdefault(command[0], []).append(t["name"])
    folder = os.path.join(build, "tests", path)
    chosen = []
    while os.path.relpath(folder, build) != "." and not chosen:
        chosen = sorted(b for b in binaries if os.path.dirname(b) == folder)
        folder = os.path.dirname(folder)
    if not chosen:
        sys.exit(0)
    names = [n for b in chosen for n in binaries[b]]
    suites = sorted({n.split(".")[0] for n in names})
    pattern = "^(" + "|".join(re.escape(s) for s in suites) + ")\\."
    # A suite name shared with another binary pulls that binary in too, so
    # that no stale binary ever runs.
    matcher = re.compile(pattern)
    for b, listed in binaries.items():
        if b not in chosen and any(matcher.search(n) for n in listed):
            chosen.append(b)
    print(" ".join(sorted({os.path.basename(b) for b in chosen})))
    print(pattern)
elif command == "table":
    # table HEADING: tab-separated rows from stdin, in aligned columns.
    rows = [line.rstrip("\n").split("\t") for line in sys.stdin if line.strip()]
    widths = [max(len(r[i]) for r in rows) for i in range(len(rows[0]))]
    print(args[0])
    for r in rows:
        print("  ".join(c.ljust(w) for c, w in zip(r, widths)).rstrip())
elif command == "failed":
    # failed CTEST_LOG: the first test ctest lists as failed.
    for line in open(args[0], encoding="utf-8", errors="replace"):
        m = re.match(r"\s*\d+ - (\S+) \((.+)\)\s*$", line)
        if m:
            print(m.group(1) if m.group(2) == "Failed" else f"{m.group(1)} ({m.group(2)})")
            break
PY

mutants=$(python3 "$helper" list "$list" "$@")
[ -n "$mutants" ] || { say "no mutants listed"; exit 2; }

say "exporting $revision (${commit:0:7})"
git -C "$repo" archive "$commit" | tar -x -C "$src"

started=$(now)
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$src" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=ON -DVELMORA_BENCH=OFF \
    >"$log/configure.txt" 2>&1 || { say "configure failed, see the log:"; cat "$log/configure.txt" >&2; exit 1; }
cmake --build "$build" -j2 >"$log/build.txt" 2>&1 || { say "the unmutated build fails:"; tail -30 "$log/build.txt" >&2; exit 1; }
say "built in $(($(now) - started)) s; running the unmutated tests"
started=$(now)
ctest --test-dir "$build" -j2 --timeout "$timeout" >"$log/tests.txt" 2>&1 || {
    say "the unmutated tests fail, no mutant can be judged:"
    tail -30 "$log/tests.txt" >&2
    exit 1
}
say "unmutated tests pass in $(($(now) - started)) s"
ctest --test-dir "$build" --show-only=json-v1 >"$work/tests.json"

# Builds the given targets; returns non-zero when the build fails. The stamp
# marks the end of the last build (see touch_after_build).
stamp=$work/stamp
build_targets()
{
    local status=0
    cmake --build "$build" -j2 --target "$@" >"$log/mutant-build.txt" 2>&1 || status=$?
    touch "$stamp"
    return $status
}

# Runs ctest with the given selection; prints the first failure, if any.
run_tests()
{
    if ctest --test-dir "$build" -j2 --stop-on-failure --timeout "$timeout" "$@" >"$log/mutant-tests.txt" 2>&1; then
        return 0
    fi
    local first
    first=$(python3 "$helper" failed "$log/mutant-tests.txt")
    echo "${first:-ctest failed without naming a test}"
    return 1
}

# A file rewritten within the same clock tick as the last build could look
# unchanged to the build: its time is moved past the build's stamp.
touch_after_build()
{
    touch "$1"
    while [ ! "$1" -nt "$stamp" ]; do
        sleep 0.1
        touch "$1"
    done
}
touch "$stamp"

rows=()
caught=0 survived=0 failed=0 missing=0
build_seconds=0 test_seconds=0
run_started=$(now)
while IFS=$'\t' read -r id file subsystem what; do
    target=$src/$file
    result='' first=''
    mutant_started=$(now)
    original=$work/original
    [ -f "$target" ] && cp -p "$target" "$original"
    if ! first=$(python3 "$helper" apply "$list" "$id" "$src"); then
        result=not-found
    else
        touch_after_build "$target"
        selection=$(python3 "$helper" select "$work/tests.json" "$build" "$file")
        own_targets=$(sed -n 1p <<<"$selection")
        own_regex=$(sed -n 2p <<<"$selection")
        b=$(now)
        if [ -n "$own_targets" ]; then
            # shellcheck disable=SC2086
            build_targets $own_targets || result='build-failed'
            build_seconds=$((build_seconds + $(now) - b))
            if [ -z "$result" ]; then
                t=$(now)
                first=$(run_tests -R "$own_regex") || result=caught
                test_seconds=$((test_seconds + $(now) - t))
            fi
        fi
        if [ -z "$result" ]; then
            b=$(now)
            # Everything: some tests run scripts or tools, not test binaries.
            build_targets all || result='build-failed'
            build_seconds=$((build_seconds + $(now) - b))
            if [ -z "$result" ]; then
                t=$(now)
                if [ -n "$own_regex" ]; then
                    first=$(run_tests -E "$own_regex") || result=caught
                else
                    first=$(run_tests) || result=caught
                fi
                test_seconds=$((test_seconds + $(now) - t))
                [ -n "$result" ] || { result=survived; first=; }
            fi
        fi
        [ "$result" = build-failed ] && first=$(grep -m1 -E 'error:' "$log/mutant-build.txt" | cut -c1-100 || true)
        cp "$original" "$target"
        touch_after_build "$target"
    fi
    case $result in
    caught) caught=$((caught + 1)) ;;
    survived) survived=$((survived + 1)) ;;
    build-failed) failed=$((failed + 1)) ;;
    not-found) missing=$((missing + 1)) ;;
    esac
    say "$id: $result ${first:+($first) }in $(($(now) - mutant_started)) s"
    rows+=("$id"$'\t'"$subsystem"$'\t'"$what"$'\t'"$result"$'\t'"$first")
done <<<"$mutants"

count=${#rows[@]}
elapsed=$(($(now) - run_started))
say "$count mutants in $elapsed s ($((elapsed / count)) s each: build $build_seconds s, tests $test_seconds s in all)"

printf '%s\n' "id"$'\t'"subsystem"$'\t'"description"$'\t'"result"$'\t'"first failing test" "${rows[@]}" |
    python3 "$helper" table \
        "# Mutants of ${commit:0:7}: $caught caught, $survived survived, $failed build-failed, $missing not-found" \
        >"$work/table.txt"
cat "$work/table.txt"
if [ -n "$table_file" ]; then
    cp "$work/table.txt" "$table_file"
fi
