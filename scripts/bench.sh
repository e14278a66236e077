#!/usr/bin/env bash
# Measures the installer's drive walk inside Wine (bench/WalkBenchmark.cpp):
# its walk time against a bare FindFirstFileA walk, the longest time the
# window goes without processing messages, and the time from the find to the
# Browse page. Prints key=value lines; the exit code is the benchmark's.
# Usage: bash scripts/bench.sh [BENCHMARK-ARGS...]   (e.g. --runs=5)
# Environment:
#   QUORLET_BUILD          build folder (default: build/ of the checkout)
#   QUORLET_BENCH_WALK_C=1 walk drive C: of the prefix too; by default C: is
#                          typed as a CD-ROM drive, so only the fixture drive
#                          D: is walked (C:'s contents differ per Wine version)
#   QUORLET_KEEP_PREFIX=1  keep the prefix afterwards
# The fixture tree (24,000 folders, 120,000 empty files, 9 levels) is
# generated once into $QUORLET_BUILD/bench/ and reused while its generator
# below is unchanged.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

arch=$(test_arch)
bench_dir=$QUORLET_BUILD/bench
mkdir -p "$bench_dir"

echo "# building for $arch (log: $bench_dir/build.log)"
if ! bash "$QUORLET_ROOT/scripts/build.sh" "$arch" >"$bench_dir/build.log" 2>&1; then
  # Another target failing (a test being written, say) does not stop the
  # benchmark as long as its own targets build.
  if [ -f "$QUORLET_BUILD/$arch/CMakeCache.txt" ] &&
    cmake --build "$QUORLET_BUILD/$arch" -j"$(nproc)" --target QuorletBench standin_v4 \
      >>"$bench_dir/build.log" 2>&1; then
    echo "# warning: the full build failed (see the log); QuorletBench and the v4 stand-in built"
  else
    tail -40 "$bench_dir/build.log" >&2
    echo "error=build failed" >&2
    exit 1
  fi
fi
bench_exe=$QUORLET_BUILD/$arch/tests/QuorletBench.exe
host_exe="$QUORLET_BUILD/$arch/standin/v4/FileMaker Pro.exe"
for f in "$bench_exe" "$host_exe"; do
  [ -f "$f" ] || { echo "error=missing $f" >&2; exit 1; }
done

ensure_template_prefix

# --- The fixture tree ------------------------------------------------------
# Deterministic: a fixed seed, level by level. Folder names are words, camel
# case, versions, dates, locales and GUIDs, 2 to 38 characters; fan-out falls
# with depth (a dozen or more at the top, one or two near the bottom, ten
# levels at most, folder paths kept under 170 characters); files are spread
# lognormally over the folders, so most folders hold a few files and some
# hold hundreds.
read -r -d '' generator <<'PYTHON' || true
import os, random, sys

root = sys.argv[1]
FOLDERS, FILES, MAX_DEPTH, MAX_FOLDER_PATH = 24000, 120000, 10, 170
rng = random.Random(20240611)

WORDS = """common shared data sample samples templates resources assets images icons help docs
documents reports archive backup cache temp logs config settings plugins extensions modules
drivers fonts locale languages media sounds music video projects source include library lib bin
tools utilities updates downloads install setup runtime components framework services client
server database scripts styles themes skins graphics textures models maps levels saves profiles
users accounts invoices letters contracts photos scans exports imports office finance sales
marketing support training examples tutorials demo test tests build release debug output vendor
packages cores engine network security system common legacy old new misc various personal work
home school family holiday summer winter spring autumn project client archive year quarter""".split()
EXTS = ("txt dll png xml ini dat htm html js json css jpg gif bmp wav mp3 pdf doc xls csv log "
        "cfg h cpp lnk ico ttf zip cab chm hlp inf sys db fp5 fp3 rtf mdb").split()
RESERVED = {"con", "prn", "aux", "nul"} | {f"com{i}" for i in range(10)} | {f"lpt{i}" for i in range(10)}

def word():
    return rng.choice(WORDS)

def folder_name():
    style = rng.random()
    if style < 0.35:
        return " ".join(w.capitalize() for w in (word() for _ in range(rng.randint(1, 3))))
    if style < 0.55:
        return "".join(w.capitalize() for w in (word() for _ in range(rng.randint(1, 3))))
    if style < 0.70:
        return rng.choice("-_").join(word() for _ in range(rng.randint(1, 2)))
    if style < 0.78:
        return f"v{rng.randint(1, 12)}.{rng.randint(0, 9)}.{rng.randint(0, 9999)}"
    if style < 0.85:
        return f"{rng.randint(1995, 2024)}-{rng.randint(1, 12):02d}"
    if style < 0.90:
        return rng.choice(["en-US", "de-DE", "fr-FR", "ja-JP", "es", "it", "nl", "pt-BR", "sv"])
    if style < 0.95:
        return "%08x" % rng.getrandbits(32)
    g = "%032X" % rng.getrandbits(128)
    return "{%s-%s-%s-%s-%s}" % (g[:8], g[8:12], g[12:16], g[16:20], g[20:])

def file_name():
    style = rng.random()
    if style < 0.4:
        stem = "".join(w.capitalize() for w in (word() for _ in range(rng.randint(1, 3))))
    elif style < 0.6:
        stem = " ".join(word() for _ in range(rng.randint(1, 4)))
    elif style < 0.75:
        stem = rng.choice(["IMG_", "DSC", "scan", "page", "file", "part"]) + str(rng.randint(1, 99999))
    elif style < 0.9:
        stem = rng.choice("-_").join(word() for _ in range(rng.randint(1, 3)))
    else:
        stem = "%x" % rng.getrandbits(rng.choice([24, 32, 48]))
    return stem + "." + rng.choice(EXTS)

def unique(make, taken):
    for _ in range(50):
        name = make()
        key = name.lower()
        if key not in taken and key.split(".")[0] not in RESERVED:
            taken.add(key)
            return name
    return None

# Children per folder at each depth: (chance of none, mean of the rest).
FANOUT = [(0.0, 12), (0.05, 5), (0.15, 3.6), (0.25, 2.9), (0.3, 2.6),
          (0.35, 2.4), (0.4, 2.3), (0.45, 2.2), (0.5, 2.0), (0.6, 1.8)]

folders = [("", 0)]          # (relative path, depth); the root first
names_in = {"": set()}
level = [""]
depth = 0
while level and len(folders) - 1 < FOLDERS and depth < MAX_DEPTH:
    rng.shuffle(level)
    next_level = []
    for parent in level:
        none, mean = FANOUT[depth]
        if rng.random() < none:
            continue
        for _ in range(1 + int(rng.expovariate(1 / mean))):
            if len(folders) - 1 >= FOLDERS:
                break
            name = unique(folder_name, names_in[parent])
            if name is None:
                continue
            path = f"{parent}/{name}" if parent else name
            if len(path) + 4 > MAX_FOLDER_PATH:
                names_in[parent].discard(name.lower())
                continue
            names_in[path] = set()
            folders.append((path, depth + 1))
            next_level.append(path)
    level = next_level
    depth += 1

weights = [rng.lognormvariate(0, 1.3) for _ in folders]
total = sum(weights)
counts = [int(FILES * w / total) for w in weights]
for i in sorted(range(len(folders)), key=lambda i: -(FILES * weights[i] / total % 1))[:FILES - sum(counts)]:
    counts[i] += 1

os.makedirs(root)
for path, _ in folders[1:]:
    os.mkdir(os.path.join(root, path))
files = 0
for (path, _), count in zip(folders, counts):
    base = os.path.join(root, path)
    for _ in range(count):
        name = unique(file_name, names_in[path])
        if name is None:
            continue
        os.close(os.open(os.path.join(base, name), os.O_CREAT | os.O_WRONLY, 0o644))
        files += 1
print(f"generated {len(folders) - 1} folders, {files} files, {depth} levels")
PYTHON

tree=$bench_dir/fixture-tree
stamp_file=$bench_dir/fixture-tree.stamp
stamp=$(printf '%s' "$generator" | sha256sum | cut -d' ' -f1)
if [ -d "$tree" ] && [ -f "$stamp_file" ] && [ "$(cat "$stamp_file")" = "$stamp" ]; then
  fixture_state=cached
else
  echo "# generating the fixture tree (once) into $tree"
  rm -rf "$tree" "$tree.tmp" "$stamp_file"
  started=$(date +%s%N)
  python3 -c "$generator" "$tree.tmp"
  mv "$tree.tmp" "$tree"
  echo "$stamp" >"$stamp_file"
  echo "# generated in $((($(date +%s%N) - started) / 1000000)) ms"
  fixture_state=generated
fi
# A run that was killed may have left the stand-in host behind.
find "$tree" -name 'FileMaker Pro.exe' -delete

# --- The prefix ------------------------------------------------------------

prefix=$QUORLET_WINE/bench-$$
xvfb_pid=
cleanup() {
  stop_prefix_server "$prefix"
  [ -n "${QUORLET_KEEP_PREFIX:-}" ] || rm -rf "$prefix"
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  find "$tree" -name 'FileMaker Pro.exe' -delete 2>/dev/null || true
}
trap cleanup EXIT

# new_prefix copies the template with cp -al, which copies a symbolic link as
# a link: a template that is a link to another build's is resolved first, so
# that nothing of the prefix is written into the other build's template.
template_real=$(readlink -f "$QUORLET_WINE/template")
(QUORLET_WINE=$(dirname "$template_real") && [ "$(basename "$template_real")" = template ] &&
  new_prefix "$prefix")
[ -d "$prefix" ] && [ ! -L "$prefix" ] || { echo "error=could not make the prefix $prefix" >&2; exit 1; }

map_drive "$prefix" d "$tree" hd
if [ "${QUORLET_BENCH_WALK_C:-}" = 1 ]; then
  drive_c=walked
else
  WINEPREFIX=$prefix wine64_quiet reg add 'HKLM\Software\Wine\Drives' /v c: /d cdrom /f /reg:64
  drive_c="not walked (typed as cdrom; set QUORLET_BENCH_WALK_C=1 to walk it)"
fi
cp "$bench_exe" "$prefix/drive_c/fixtures/QuorletBench.exe"
cp "$host_exe" "$prefix/drive_c/fixtures/host-v4.exe"
stop_prefix_server "$prefix"

if [ -z "${DISPLAY:-}" ]; then
  display=42
  while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
  done
  export DISPLAY=:$display
  display_note="own Xvfb on :$display"
else
  display_note="existing display $DISPLAY"
fi

echo "# machine: $(uname -sr), $(nproc) CPUs, load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "bench_arch=$arch"
echo "display=$display_note"
echo "fixture_tree=$tree ($fixture_state)"
echo "drive_c=$drive_c"

export WINEPREFIX=$prefix
wineserver -p
loader=$(wine_loader_for "$arch")
set +e
WINEDEBUG=${WINEDEBUG:--all} timeout --kill-after=30 7200 \
  "$loader" 'C:\fixtures\QuorletBench.exe' "$@" | tee "$bench_dir/last-run.txt"
status=${PIPESTATUS[0]}
set -e
echo "# load average after: $(cut -d' ' -f1-3 /proc/loadavg); output kept in $bench_dir/last-run.txt"
exit "$status"
