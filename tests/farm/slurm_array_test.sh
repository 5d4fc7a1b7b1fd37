#!/usr/bin/env bash
# examples/slurm/render.sbatch on a one-node Slurm cluster brought up here: munged, slurmctld
# and slurmd configured in a temporary folder with ports of their own, started by this script
# and stopped on every way out. The array renders 8 frames in 4 tasks, which must be the bytes
# of a local render; submitted again with --skip-existing it renders nothing. A still split into
# tiles over a second array and joined by oiiotool is the still rendered whole.
#   slurm_array_test.sh RENDERER SOURCE_DIR
# Where the scheduler cannot start, the test says why and is skipped (status 77), except under
# CI (CI set), where that is a failure.
set -euo pipefail
render=$(readlink -f "$1")
source_dir=$(readlink -f "$2")
scene=$source_dir/examples/orbit/orbit.json
sbatch_script=$source_dir/examples/slurm/render.sbatch
common=(--size 64x36 --set "HDRI Samples=2")

cannot_start() {
  echo "slurm_array_test: the scheduler cannot start here: $*" >&2
  if [ -n "${CI:-}" ]; then exit 1; fi
  exit 77
}
[ "$(id -u)" -eq 0 ] || cannot_start "the daemons run as root, and this is user $(id -un)"
for program in munged slurmctld slurmd sbatch sinfo squeue scontrol python3 oiiotool; do
  command -v "$program" >/dev/null ||
    cannot_start "$program is not installed (Debian: slurm-wlm, munge, openimageio-tools)"
done

work=$(mktemp -d /tmp/spirovault-slurm.XXXXXX)
pids=()
finish() {
  local status=$?
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    for log in "$work"/*.log; do [ -f "$log" ] && { echo "== $log"; tail -n 20 "$log"; }; done >&2
  fi
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT
trap 'exit 130' INT TERM HUP

# Two free ports, so that a cluster already on this machine (or a test beside this one) is
# left alone.
read -r controller_port node_port < <(python3 -c '
import socket
s = [socket.socket() for _ in range(2)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])')
node=$(hostname -s)
cpus=$(nproc)
mkdir -p "$work/state" "$work/spool" "$work/out" "$work/local"
chmod 700 "$work"

# munge with a fresh key, on a socket of its own.
head -c 1024 /dev/urandom >"$work/munge.key"
chmod 400 "$work/munge.key"
munged --foreground --force --socket="$work/munge.socket" --key-file="$work/munge.key" \
  --pid-file="$work/munged.pid" --log-file="$work/munged.log" --seed-file="$work/munged.seed" \
  2>>"$work/munged.log" &
pids+=($!)

# No cgroup.conf: process tracking and task launch without cgroups work in any container.
export SLURM_CONF=$work/slurm.conf
cat >"$SLURM_CONF" <<CONF
ClusterName=spirovault-test
SlurmctldHost=$node
SlurmUser=root
SlurmctldPort=$controller_port
SlurmdPort=$node_port
AuthType=auth/munge
AuthInfo=socket=$work/munge.socket
CredType=cred/munge
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MpiDefault=none
ReturnToService=2
SlurmdTimeout=30
NodeName=$node CPUs=$cpus State=UNKNOWN
PartitionName=test Nodes=$node Default=YES MaxTime=10 State=UP
CONF
for _ in $(seq 50); do [ -S "$work/munge.socket" ] && break; sleep 0.1; done
[ -S "$work/munge.socket" ] || cannot_start "munged did not start ($(tail -n 1 "$work/munged.log"))"
slurmctld -D -i >>"$work/slurmctld.log" 2>&1 &
pids+=($!)
slurmd -D >>"$work/slurmd.log" 2>&1 &
pids+=($!)
state=""
for _ in $(seq 60); do
  state=$(sinfo -h -n "$node" -o %T 2>/dev/null || true)
  [ "$state" = idle ] && break
  sleep 0.5
done
[ "$state" = idle ] || cannot_start "the node is '${state:-unknown}' after 30 s (logs: slurmctld, slurmd)"

# The reference: the same frames rendered here in one process.
"$render" --scene "$scene" "${common[@]}" --frames 0-7 -o "$work/local/frame_###.png"

# Submits the array and waits for it: sbatch --wait polls at intervals of up to 10 s, squeue
# every 0.2 s keeps the test short. Every task must have completed with status 0.
submit() {
  local id
  id=$(cd "$work" && SPIROVAULT_RENDER=$render sbatch --parsable --array=0-3 --time=5 \
    "$sbatch_script" "$scene" "$work/out/frame_###.png" 0 7 "${common[@]}" "$@")
  for _ in $(seq 600); do
    [ -z "$(squeue -h -j "$id" 2>/dev/null)" ] && break
    sleep 0.2
  done
  [ -z "$(squeue -h -j "$id" 2>/dev/null)" ] || { echo "slurm_array_test: the array did not finish" >&2; return 1; }
  local completed
  completed=$(scontrol -o show job "$id" | grep -c 'JobState=COMPLETED .*ExitCode=0:0' || true)
  [ "$completed" -eq 4 ] || {
    echo "slurm_array_test: $completed of 4 tasks completed with status 0" >&2
    scontrol -o show job "$id" | grep -o 'JobId=[^ ]*\|JobState=[^ ]*\|ExitCode=[^ ]*' >&2
    return 1
  }
}
started=$(date +%s.%N)
submit
echo "slurm_array_test: 8 frames in 4 tasks took $(python3 -c "print(round($(date +%s.%N) - $started, 1))") s"

failed=0
for frame in 000 001 002 003 004 005 006 007; do
  if ! cmp -s "$work/local/frame_$frame.png" "$work/out/frame_$frame.png"; then
    echo "slurm_array_test: frame $frame differs from the local render or is missing" >&2
    failed=1
  fi
done
[ "$(find "$work/out" -type f | wc -l)" -eq 8 ] || { echo "slurm_array_test: not 8 files" >&2; failed=1; }
[ $failed -eq 0 ] || exit 1

# Submitted again with --skip-existing: every task finds its frames written and renders none.
before=$(stat -c '%n %i %Y' "$work"/out/*)
rm -f "$work"/spirovault-*.log
submit --skip-existing
after=$(stat -c '%n %i %Y' "$work"/out/*)
[ "$before" = "$after" ] || { echo "slurm_array_test: --skip-existing rewrote files" >&2; exit 1; }
written=$(cat "$work"/spirovault-*.log | grep -c "2 of 2 frames already written" || true)
[ "$written" -eq 4 ] || {
  echo "slurm_array_test: expected 4 tasks to skip all their frames, saw $written" >&2
  cat "$work"/spirovault-*.log >&2
  exit 1
}
# One still split into 2 x 2 tiles with --region over a second array, joined by oiiotool: the
# joined image is the still rendered whole, pixel for pixel.
tiles_script=$source_dir/examples/slurm/tiles.sbatch
tile_options=(--frames 3 --set "HDRI Samples=2")
"$render" --scene "$scene" --size 50x28 "${tile_options[@]}" -o "$work/still.exr"
mkdir -p "$work/tiles"
id=$(cd "$work" && SPIROVAULT_RENDER=$render sbatch --parsable --array=0-3 --time=5 \
  "$tiles_script" "$scene" 50 28 2 2 "$work/tiles" "${tile_options[@]}")
for _ in $(seq 600); do
  [ -z "$(squeue -h -j "$id" 2>/dev/null)" ] && break
  sleep 0.2
done
[ "$(find "$work/tiles" -name 'tile_*.exr' | wc -l)" -eq 4 ] ||
  { echo "slurm_array_test: the tile array did not write 4 tiles" >&2; exit 1; }
(cd "$work" && bash "$source_dir/examples/slurm/join-tiles.sbatch" 50 28 2 2 tiles joined.exr)
oiiotool "$work/still.exr" "$work/joined.exr" --fail 0 --failpercent 0 --diff >"$work/diff.log" 2>&1 ||
  { echo "slurm_array_test: the joined tiles differ from the still" >&2; cat "$work/diff.log" >&2; exit 1; }
echo "slurm_array_test: passed"
