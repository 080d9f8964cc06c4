#!/usr/bin/env bash
# Starts and stops the tests' NTP peers: chronyd on 127.0.0.2 and NTPsec's
# ntpd on 127.0.0.3, both on port 123, both serving this machine's own clock
# and neither allowed to change it.
#
#   scripts/ntp-peers.sh start DIR   # configs, pid files and logs go to DIR
#   scripts/ntp-peers.sh stop DIR
#
# The daemons come unpacked from their .debs by scripts/install-deps.sh
# (VELTRANO_NTP_CACHE, /var/cache/veltrano-ntp by default), never installed as
# services. Port 123 needs root.
set -euo pipefail

action=${1:-}
dir=${2:-}
if [[ -z $action || -z $dir ]]; then
    echo "usage: $0 start|stop DIR" >&2
    exit 2
fi
root=${VELTRANO_NTP_CACHE:-/var/cache/veltrano-ntp}/root
chrony_address=127.0.0.2
ntpsec_address=127.0.0.3
# Generous: both answer within seconds on an idle machine.
deadline=${VELTRANO_NTP_DEADLINE:-120}

stop_one() {
    local pidfile=$1 pid
    [[ -f $pidfile ]] || return 0
    pid=$(<"$pidfile")
    if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
    fi
    rm -f "$pidfile"
}

stop() {
    stop_one "$dir/chronyd.pid"
    stop_one "$dir/ntpd.pid"
    if ip -4 addr show dev lo label lo:vntp | grep -q "inet $ntpsec_address/"; then
        ip addr del "$ntpsec_address/32" dev lo
    fi
}

# Sends an SNTPv4 client request (first byte 0x23) and succeeds once the
# answer is a server reply with a usable stratum and no alarm.
probe() {
    python3 - "$1" <<'PY'
import socket, struct, sys, time
request = bytearray(48)
request[0] = 0x23
request[40:44] = struct.pack(">I", int(time.time()) + 2208988800)
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.settimeout(1.0)
try:
    s.sendto(bytes(request), (sys.argv[1], 123))
    data, sender = s.recvfrom(512)
except OSError:
    sys.exit(1)
ok = (len(data) >= 48 and data[0] & 7 == 4 and data[0] >> 6 != 3
      and 1 <= data[1] <= 15 and data[24:32] == bytes(request[40:48]))
sys.exit(0 if ok else 1)
PY
}

wait_for() {
    local name=$1 address=$2 log=$3 pidfile=$4 start=$SECONDS
    until probe "$address"; do
        if [[ -f $pidfile ]] && ! kill -0 "$(<"$pidfile")" 2>/dev/null; then
            echo "ntp-peers: $name is not running; its log:" >&2
            cat "$log" >&2 || true
            return 1
        fi
        if (( SECONDS - start > deadline )); then
            echo "ntp-peers: $name on $address did not answer within ${deadline} s; its log:" >&2
            cat "$log" >&2 || true
            return 1
        fi
        sleep 1
    done
    echo "ntp-peers: $name answers on $address"
}

start() {
    if [[ $(id -u) -ne 0 ]]; then
        echo "ntp-peers: the NTP peers listen on port 123, which needs root; run the tests as root" >&2
        exit 1
    fi
    if [[ ! -x $root/usr/sbin/chronyd || ! -x $root/usr/sbin/ntpd ]]; then
        echo "ntp-peers: chronyd or ntpd missing under $root; run scripts/install-deps.sh" >&2
        exit 1
    fi
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    stop

    cat >"$dir/chrony.conf" <<CONF
bindaddress $chrony_address
port 123
allow 127.0.0.0/8
local stratum 8
cmdport 0
pidfile $dir/chronyd.pid
driftfile $dir/chrony.drift
CONF
    # Neither daemon may set this machine's clock: chronyd is told so (-x) and
    # both lose the capability to, so a wrong option cannot do it either.
    setpriv --bounding-set -sys_time --inh-caps -sys_time \
        "$root/usr/sbin/chronyd" -x -u root -f "$dir/chrony.conf" -l "$dir/chronyd.log"

    # ntpd listens only on addresses an interface carries, unlike chronyd's
    # bindaddress, so its own loopback address is put on lo (and taken off
    # by stop). Orphan mode makes it answer at stratum 8, not as
    # unsynchronised, with no source at all; ntp and kernel disabled leave
    # the clock undisciplined.
    if ! ip -4 addr show dev lo | grep -q "inet $ntpsec_address/"; then
        ip addr add "$ntpsec_address/32" dev lo label lo:vntp
    fi
    cat >"$dir/ntp.conf" <<CONF
disable ntp
disable kernel
tos orphan 8 orphanwait 1
interface ignore wildcard
interface ignore ipv6
interface ignore 127.0.0.0/8
interface listen $ntpsec_address
CONF
    setpriv --bounding-set -sys_time --inh-caps -sys_time \
        "$root/usr/sbin/ntpd" -c "$dir/ntp.conf" -p "$dir/ntpd.pid" -l "$dir/ntpd.log" 2>>"$dir/ntpd.log"

    wait_for chronyd "$chrony_address" "$dir/chronyd.log" "$dir/chronyd.pid"
    wait_for ntpd "$ntpsec_address" "$dir/ntpd.log" "$dir/ntpd.pid"
}

case $action in
    start) start ;;
    stop) stop ;;
    *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
