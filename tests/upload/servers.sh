# Throw-away upload servers on 127.0.0.1 for the upload tests, the benchmark
# and visual checks: an OpenSSH sshd (SFTP) and a vsftpd with TLS (FTPS),
# each with its own configuration, keys and certificate in one work folder,
# on free ports, for one throw-away system user with a password and an
# authorised key. Sourced by bash scripts; needs root (to create the user).
#
#   servers_setup DRIVER     creates $srv_work, the user $srv_user with home
#                            $srv_home (the site folder is $srv_home/site),
#                            password $srv_password, client key $srv_key
#   start_sshd / stop_sshd   $sshd_port, $sshd_pid
#   start_vsftpd / stop_vsftpd  $ftp_port, $ftp_pid
#   new_host_key             replaces the sshd host key (restart to use it)
#   servers_cleanup          stops both, removes the user and the folder
#
# A server stopped here is stopped with its connection processes: the server
# and every process descended from it are killed by their ids (the session
# processes of sshd leave its process group).

srv_missing() {
    local m=()
    [ -x /usr/sbin/sshd ] || m+=(openssh-server)
    command -v ssh-keygen >/dev/null || m+=(openssh-client)
    [ -x /usr/sbin/vsftpd ] || m+=(vsftpd)
    command -v openssl >/dev/null || m+=(openssl)
    command -v useradd >/dev/null || m+=(passwd)
    echo "${m[*]}"
}

servers_setup() {
    srv_driver=$1
    srv_work=$(mktemp -d "${TMPDIR:-/tmp}/oribel-upload.XXXXXX")
    chmod 755 "$srv_work"
    srv_user="oribelup$$"
    srv_home=$srv_work/home
    srv_password="pw-$RANDOM-$RANDOM-$$"
    mkdir -p "$srv_home/site" "$srv_work/empty" /run/sshd
    useradd -M -d "$srv_home" -s /bin/bash "$srv_user" >/dev/null
    echo "$srv_user:$srv_password" | chpasswd
    chown -R "$srv_user:" "$srv_home"
    chmod 755 "$srv_home"
    ssh-keygen -q -t ed25519 -N '' -f "$srv_work/client_key" -C oribel-test
    srv_key=$srv_work/client_key
    cp "$srv_work/client_key.pub" "$srv_work/authorized_keys"
    chmod 644 "$srv_work/authorized_keys"
    new_host_key
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
        -keyout "$srv_work/ftp.key" -out "$srv_work/ftp.pem" >"$srv_work/openssl.log" 2>&1 ||
        { cat "$srv_work/openssl.log" >&2; return 1; }
    chmod 600 "$srv_work/ftp.key"
}

new_host_key() {
    rm -f "$srv_work/host_ed25519" "$srv_work/host_ed25519.pub"
    ssh-keygen -q -t ed25519 -N '' -f "$srv_work/host_ed25519" -C ''
}

# Waits until something listens on 127.0.0.1:$1 (at most five seconds).
srv_wait_port() {
    local i
    for i in $(seq 1 100); do
        if (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; then return 0; fi
        sleep 0.05
    done
    return 1
}

start_sshd() {
    [ -n "${sshd_port:-}" ] || sshd_port=$("$srv_driver" free-port)
    cat >"$srv_work/sshd_config" <<CONF
Port $sshd_port
ListenAddress 127.0.0.1
HostKey $srv_work/host_ed25519
PidFile $srv_work/sshd.pid
AuthorizedKeysFile $srv_work/authorized_keys
StrictModes no
PasswordAuthentication yes
KbdInteractiveAuthentication no
UsePAM no
PermitRootLogin no
AllowUsers $srv_user
Subsystem sftp internal-sftp
LogLevel ERROR
MaxStartups 50
CONF
    setsid /usr/sbin/sshd -D -e -f "$srv_work/sshd_config" 2>>"$srv_work/sshd.log" &
    sshd_pid=$!
    srv_wait_port "$sshd_port" || { echo "sshd did not start: $(cat "$srv_work/sshd.log")" >&2; return 1; }
}

start_vsftpd() {
    [ -n "${ftp_port:-}" ] || ftp_port=$("$srv_driver" free-port)
    [ -n "${ftp_pasv:-}" ] || ftp_pasv=$("$srv_driver" free-port-range 40)
    cat >"$srv_work/vsftpd.conf" <<CONF
listen=YES
listen_address=127.0.0.1
listen_port=$ftp_port
background=NO
anonymous_enable=NO
local_enable=YES
write_enable=YES
local_umask=022
userlist_enable=NO
pam_service_name=vsftpd
ssl_enable=YES
rsa_cert_file=$srv_work/ftp.pem
rsa_private_key_file=$srv_work/ftp.key
force_local_logins_ssl=YES
force_local_data_ssl=YES
require_ssl_reuse=NO
pasv_enable=YES
pasv_address=127.0.0.1
pasv_min_port=${ftp_pasv% *}
pasv_max_port=${ftp_pasv#* }
secure_chroot_dir=$srv_work/empty
seccomp_sandbox=NO
isolate=NO
isolate_network=NO
xferlog_enable=NO
vsftpd_log_file=$srv_work/vsftpd.log
dual_log_enable=NO
${srv_ftp_max_rate:+local_max_rate=$srv_ftp_max_rate}
CONF
    setsid /usr/sbin/vsftpd "$srv_work/vsftpd.conf" 2>>"$srv_work/vsftpd.err" &
    ftp_pid=$!
    srv_wait_port "$ftp_port" || { echo "vsftpd did not start: $(cat "$srv_work/vsftpd.err")" >&2; return 1; }
}

# The ids of the processes descended from $1, from /proc (read in one pass;
# a process that ends meanwhile is skipped).
srv_descendants() {
    { grep -H '^PPid:' /proc/[0-9]*/status 2>/dev/null || true; } | awk -v root="$1" '
        { split($1, p, "/"); parent[p[3]] = $2 }
        END {
            mark[root] = 1
            do {
                found = 0
                for (c in parent) if (!(c in mark) && (parent[c] in mark)) { mark[c] = 1; found = 1; print c }
            } while (found)
        }'
}

srv_kill_group() {
    [ -n "${1:-}" ] || return 0
    local children
    children=$(srv_descendants "$1")
    kill -STOP "$1" $children 2>/dev/null || true
    kill -KILL "$1" $children 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

stop_sshd() { srv_kill_group "${sshd_pid:-}"; sshd_pid=""; }
stop_vsftpd() { srv_kill_group "${ftp_pid:-}"; ftp_pid=""; }

servers_cleanup() {
    stop_sshd
    stop_vsftpd
    if [ -n "${srv_user:-}" ] && id "$srv_user" >/dev/null 2>&1; then userdel "$srv_user" 2>/dev/null || true; fi
    [ -n "${srv_work:-}" ] && rm -rf "$srv_work"
}
