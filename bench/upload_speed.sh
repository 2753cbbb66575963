#!/usr/bin/env bash
# Upload speed on loopback: a 20 MB page to a throw-away sshd (SFTP) and
# vsftpd (FTPS) started here (tests/upload/servers.sh; needs root), each
# upload run through the window's ThreadedUploadService while the calling
# thread's event loop ticks every 5 ms. Reports per run the speed in MB/s
# and the longest gap between two ticks (the event loop's longest stall).
#
#   bench/upload_speed.sh [-b BUILD] [-r RUNS] [-m MEGABYTES]
#
#   -b BUILD   the build folder holding tests/upload_driver (default build)
#   -r RUNS    uploads per protocol (default 3)
#   -m MB      the page's size (default 20)
set -euo pipefail

build=build
runs=3
megabytes=20
while getopts b:r:m: opt; do
    case $opt in
    b) build=$OPTARG ;;
    r) runs=$OPTARG ;;
    m) megabytes=$OPTARG ;;
    *) exit 2 ;;
    esac
done
driver=$build/tests/upload_driver
[ -x "$driver" ] || { echo "upload_speed: build $driver first (cmake --build $build --target upload_driver)" >&2; exit 2; }
driver=$(cd "$(dirname "$driver")" && pwd)/upload_driver
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=../tests/upload/servers.sh
source "$here/tests/upload/servers.sh"
[ "$(id -u)" -eq 0 ] || { echo "upload_speed: needs root (a throw-away user for the servers)" >&2; exit 2; }

servers_setup "$driver"
trap servers_cleanup EXIT
start_sshd
start_vsftpd
export ORIBEL_UPLOAD_PASSWORD=$srv_password
known=$srv_work/known_hosts
page=$srv_work/page.html
head -c $((megabytes * 1000000)) /dev/urandom >"$page"

sftp=(--protocol sftp --host 127.0.0.1 --port "$sshd_port" --user "$srv_user" --folder site --known-hosts "$known" --key "$srv_key")
ftps=(--protocol ftps --host 127.0.0.1 --port "$ftp_port" --user "$srv_user" --folder site)
# The first contact of each asks for trust: the host key and the pin are taken as shown.
first=$("$driver" upload "${sftp[@]}" "$page" page.html) || true
"$driver" trust-host "$known" "$(sed -n 's/^hostkey //p' <<<"$first")"
first=$("$driver" upload "${ftps[@]}" "$page" page.html) || true
ftps+=(--pin "$(sed -n 's/^pin //p' <<<"$first")")

for protocol in sftp ftps; do
    for run in $(seq 1 "$runs"); do
        if [ $protocol = sftp ]; then args=("${sftp[@]}"); else args=("${ftps[@]}"); fi
        out=$("$driver" upload "${args[@]}" --through-service "$page" page.html) || { echo "$out" >&2; exit 1; }
        ms=$(sed -n 's/^elapsed_ms //p' <<<"$out")
        gap=$(sed -n 's/^longest_tick_gap_ms //p' <<<"$out")
        cmp -s "$page" "$srv_home/site/page.html" || { echo "upload_speed: the page differs" >&2; exit 1; }
        awk -v p=$protocol -v r="$run" -v mb="$megabytes" -v ms="$ms" -v gap="$gap" \
            'BEGIN { printf "%s run %d: %d MB in %d ms = %.1f MB/s, longest event-loop stall %d ms\n", p, r, mb, ms, mb * 1000 / ms, gap }'
    done
done
