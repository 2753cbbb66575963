#!/usr/bin/env bash
# Uploads against real servers on 127.0.0.1: an OpenSSH sshd (SFTP) and a
# vsftpd with TLS (FTPS), each started here with a throw-away configuration,
# host key or certificate, user and password (tests/upload/servers.sh).
#
#   tests/upload_servers.sh --driver build/tests/upload_driver
#
# Checks: an unknown host key and an unverified certificate are asked about
# with their fingerprints, a changed host key is refused; a page and a 20 MB
# page arrive byte for byte; a wrong password is reported; a server stopped
# in the middle of a 20 MB upload, and a cancel, leave the old page as it
# was, and no temporary file stays after the next upload; a read-only remote
# folder is reported. Exits 77 (skipped), saying why, where the servers
# cannot run.
set -euo pipefail

driver=""
while [ $# -gt 0 ]; do
    case "$1" in
    --driver) driver=$2; shift 2 ;;
    *) echo "upload_servers: unknown argument $1" >&2; exit 2 ;;
    esac
done
[ -x "$driver" ] || { echo "upload_servers: --driver must name the upload_driver program" >&2; exit 2; }

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=upload/servers.sh
source "$here/upload/servers.sh"
missing=$(srv_missing)
if [ -n "$missing" ]; then
    echo "upload_servers: SKIPPED: not installed: $missing (scripts/install-deps brings them)"
    exit 77
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "upload_servers: SKIPPED: creating the servers' throw-away user needs root"
    exit 77
fi

# A command that fails says which, even where it prints nothing itself.
set -E
trap 'echo "upload_servers: FAILED: line $LINENO: $BASH_COMMAND (status $?)" >&2' ERR
servers_setup "$driver"
trap servers_cleanup EXIT
start_sshd
start_vsftpd
export ORIBEL_UPLOAD_PASSWORD=$srv_password
site=$srv_home/site
known=$srv_work/known_hosts
local=$srv_work/local
mkdir -p "$local"
step=""

fail() {
    echo "upload_servers: FAILED at \"$step\": $*" >&2
    exit 1
}

# run NAME ARGS...: runs the driver, keeping its output in $out and its status in $status.
run() {
    out=$(timeout 60 "$driver" "$@" 2>&1) || true
    status=$(sed -n 's/^status //p' <<<"$out")
}
expect() {
    [ "$status" = "$1" ] || fail "expected status $1, got: $out"
}
same() {
    cmp -s "$1" "$2" || fail "$2 differs from $1"
}
no_temporary() {
    local left
    left=$(find "$site" -name '.oribel-*' | head -1)
    [ -z "$left" ] || fail "temporary file left: $left"
}

sftp=(--protocol sftp --host 127.0.0.1 --port "$sshd_port" --user "$srv_user" --folder site --known-hosts "$known" --stall 5)

head -c 3000 /dev/urandom | base64 >"$local/page.html"
head -c 20000000 /dev/urandom >"$local/big1.html"
head -c 20000000 /dev/urandom >"$local/big2.html"

step="SFTP: an unknown host key is asked about"
run upload "${sftp[@]}" "$local/page.html" page.html
expect UnknownHostKey
expected=$(ssh-keygen -lf "$srv_work/host_ed25519.pub" | awk '{ print $2 }')
grep -qx "fingerprint $expected" <<<"$out" || fail "fingerprint not $expected: $out"
[ ! -e "$site/page.html" ] || fail "a page went to an untrusted host"
"$driver" trust-host "$known" "$(sed -n 's/^hostkey //p' <<<"$out")"

step="SFTP: a page arrives, by password"
run upload "${sftp[@]}" "$local/page.html" page.html
expect Done
same "$local/page.html" "$site/page.html"

step="SFTP: a 20 MB page arrives in a new subfolder, by key"
run upload "${sftp[@]}" --key "$srv_key" "$local/big1.html" 2026/big.html
expect Done
same "$local/big1.html" "$site/2026/big.html"
no_temporary

step="SFTP: a wrong password is reported"
ORIBEL_UPLOAD_PASSWORD=wrong run upload "${sftp[@]}" "$local/page.html" page.html
expect AuthFailed

step="SFTP: the server stopped in the middle leaves the old page"
"$driver" upload "${sftp[@]}" --limit 4000000 "$local/big2.html" 2026/big.html >"$srv_work/cut.log" 2>&1 &
cut=$!
for _ in $(seq 1 200); do grep -q '^sent' "$srv_work/cut.log" && break; sleep 0.05; done
grep -q '^sent' "$srv_work/cut.log" || fail "the upload did not start: $(cat "$srv_work/cut.log")"
stop_sshd
wait "$cut" && fail "an upload cut off was reported as done"
echo "upload_servers: cut off: $(grep -v "^sent" "$srv_work/cut.log" | tr "\n" " ")"
same "$local/big1.html" "$site/2026/big.html"
start_sshd
run upload "${sftp[@]}" "$local/big2.html" 2026/big.html
expect Done
same "$local/big2.html" "$site/2026/big.html"
no_temporary

step="SFTP: a cancel leaves the old page and no temporary file"
run upload "${sftp[@]}" --limit 4000000 --cancel-after 3000000 "$local/big1.html" 2026/big.html
expect Cancelled
same "$local/big2.html" "$site/2026/big.html"
no_temporary

step="SFTP: a page an earlier upload set aside is put back"
mv "$site/2026/big.html" "$site/2026/.oribel-old-big.html"
run upload "${sftp[@]}" --limit 4000000 --cancel-after 3000000 "$local/big1.html" 2026/big.html
expect Cancelled
same "$local/big2.html" "$site/2026/big.html"
[ ! -e "$site/2026/.oribel-old-big.html" ] || fail "the page set aside is still there"
no_temporary

step="SFTP: a read-only remote folder is reported"
mkdir -p "$site/locked"
chown "$srv_user:" "$site/locked"
chmod 555 "$site/locked"
run upload "${sftp[@]}" "$local/page.html" locked/page.html
expect PermissionDenied
grep -qi 'permission denied' <<<"$out" || fail "the server's reason is missing: $out"

ftps=(--protocol ftps --host 127.0.0.1 --port "$ftp_port" --user "$srv_user" --folder site --stall 5)

step="FTPS: an unverified certificate is asked about"
run upload "${ftps[@]}" "$local/page.html" ftp.html
expect UntrustedCertificate
expected=$(openssl x509 -in "$srv_work/ftp.pem" -noout -fingerprint -sha256 | sed 's/.*=//')
grep -qx "fingerprint SHA256:$expected" <<<"$out" || fail "fingerprint not $expected: $out"
[ ! -e "$site/ftp.html" ] || fail "a page went to an untrusted server"
pin=$(sed -n 's/^pin //p' <<<"$out")
ftps+=(--pin "$pin")

step="FTPS: a page and a 20 MB page arrive"
run upload "${ftps[@]}" "$local/page.html" ftp.html
expect Done
same "$local/page.html" "$site/ftp.html"
run upload "${ftps[@]}" "$local/big1.html" ftp/big.html
expect Done
same "$local/big1.html" "$site/ftp/big.html"

step="FTPS: a wrong password is reported"
ORIBEL_UPLOAD_PASSWORD=wrong run upload "${ftps[@]}" "$local/page.html" ftp.html
expect AuthFailed

step="FTPS: the server stopped in the middle leaves the old page"
"$driver" upload "${ftps[@]}" --limit 4000000 "$local/big2.html" ftp/big.html >"$srv_work/cut.log" 2>&1 &
cut=$!
for _ in $(seq 1 200); do grep -q '^sent' "$srv_work/cut.log" && break; sleep 0.05; done
grep -q '^sent' "$srv_work/cut.log" || fail "the upload did not start: $(cat "$srv_work/cut.log")"
stop_vsftpd
wait "$cut" && fail "an upload cut off was reported as done"
echo "upload_servers: cut off: $(grep -v "^sent" "$srv_work/cut.log" | tr "\n" " ")"
same "$local/big1.html" "$site/ftp/big.html"
start_vsftpd
run upload "${ftps[@]}" "$local/big2.html" ftp/big.html
expect Done
same "$local/big2.html" "$site/ftp/big.html"
no_temporary

step="FTPS: a cancel leaves the old page and no temporary file"
run upload "${ftps[@]}" --limit 4000000 --cancel-after 3000000 "$local/big1.html" ftp/big.html
expect Cancelled
same "$local/big2.html" "$site/ftp/big.html"
no_temporary

step="FTPS: a read-only remote folder is reported"
run upload "${ftps[@]}" "$local/page.html" locked/page.html
expect PermissionDenied

step="SFTP: a changed host key is refused"
before=$(cat "$known")
stop_sshd
new_host_key
start_sshd
run upload "${sftp[@]}" "$local/big1.html" page.html
expect HostKeyChanged
same "$local/page.html" "$site/page.html"
[ "$(cat "$known")" = "$before" ] || fail "the known hosts file changed"

echo "upload_servers: all checks passed"
