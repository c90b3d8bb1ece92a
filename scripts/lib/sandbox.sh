# Helpers for running Windows programs under Wine inside a network namespace of their own, so that nothing
# they send can leave the machine. Sourced by the test scripts.

export PATH=/usr/lib/wine:$PATH

# Prints a display number that no X server uses.
free_display() {
  local d
  for d in $(seq "${1:-80}" 199); do
    if [ ! -e "/tmp/.X11-unix/X$d" ] && [ ! -e "/tmp/.X$d-lock" ]; then echo "$d"; return 0; fi
  done
  return 1
}

# Waits (bounded) until the X server of display $1 accepts connections.
wait_display() {
  local i
  for i in $(seq 1 100); do
    [ -S "/tmp/.X11-unix/X$1" ] && return 0
    sleep 0.1
  done
  echo "X display :$1 did not come up" >&2
  return 1
}

# Windows form of a Unix path (Wine maps / to Z:).
zpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }

# Two new network namespaces joined by a veth pair, as two PCs on the cable's link: $1 with device $2 gets
# 10.0.0.1/8, $3 with device $4 gets 10.0.0.2/8; loopback and both ends are up.
join_namespaces() {
  ip netns add "$1"
  ip netns add "$3"
  ip link add "$2" type veth peer name "$4"
  ip link set "$2" netns "$1"
  ip link set "$4" netns "$3"
  ip -n "$1" addr add 10.0.0.1/8 dev "$2"
  ip -n "$3" addr add 10.0.0.2/8 dev "$4"
  local ns
  for ns in "$1" "$3"; do
    ip -n "$ns" link set lo up
  done
  ip -n "$1" link set "$2" up
  ip -n "$3" link set "$4" up
}
