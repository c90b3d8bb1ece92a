# Two sides of a benchmark, each in its own network namespace joined by a veth pair (10.0.0.1/8 sends,
# 10.0.0.2/8 receives) with its own Wine prefix and home under a temporary folder. Source after sandbox.sh,
# then call `wine_pair_open TAG WORK`; `in_side s|r COMMAND...` runs a command on one side. Everything made
# (namespaces, veth, prefixes, files, the processes listed in `pids`) goes on exit, also on failure.

pids=()

wine_pair_cleanup() {
  local pid side ns
  for pid in "${pids[@]}"; do [ -n "$pid" ] && kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do [ -n "$pid" ] && wait "$pid" 2>/dev/null || true; done
  for side in s r; do
    ns="${tag}${side}"
    if ip netns list | grep -qw "$ns"; then
      ip netns exec "$ns" env WINEPREFIX="$work/$side" timeout 20 wineserver -k >/dev/null 2>&1 || true
      ip netns del "$ns" 2>/dev/null || true
    fi
  done
  ip link del "${tag}vs" 2>/dev/null || true
  rm -rf "$work"
}

# in_side s|r COMMAND...: runs a command in that side's namespace with its own Wine prefix and home.
in_side() {
  local side=$1
  shift
  local ns="${tag}${side}"
  mkdir -p "$work/$side-home"
  ip netns exec "$ns" env HOME="$work/$side-home" WINEPREFIX="$work/$side" WINEDEBUG=-all \
    WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY= "$@"
}

# wine_pair_open TAG WORK: makes both namespaces and boots both prefixes (in parallel, bounded).
wine_pair_open() {
  tag=$1
  work=$2
  trap wine_pair_cleanup EXIT
  trap 'exit 1' INT TERM
  join_namespaces "${tag}s" "${tag}vs" "${tag}r" "${tag}vr"
  local side pid
  for side in s r; do
    (in_side "$side" timeout 180 wineboot -i >/dev/null 2>&1 || true) &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || true; done
  pids=()
}
