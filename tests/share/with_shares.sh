#!/bin/bash
# Runs a command beside two real file servers, as an office with a file server
# and two PCs has them: a Samba server (smbd) and an SSH server (sshd, for
# sshfs) on the loopback address of a network namespace of the script's own,
# each server's share mounted twice through FUSE (smbnetfs, sshfs), one mount
# per PC. The command finds the mounts in the environment:
#
#   PB_SHARE_SAMBA="MOUNT1 MOUNT2"   two mounts of one Samba share (folders, "/" at the end)
#   PB_SHARE_SSH="MOUNT1 MOUNT2"     two mounts of one folder served over SSH
#   PB_SHARE_LOCAL=FOLDER            a folder of the local disk beside them
#
#   with_shares.sh COMMAND [ARGS...]
#
# Exits 77 (skipped) with a message when namespaces, FUSE or a server program
# are missing; otherwise with the command's exit code. The servers and mounts
# end with the script, by their process ids.
set -u

skip() {
    echo "SKIPPED: $*" >&2
    exit 77
}

if [ "${PB_SHARES_INSIDE:-}" != 1 ]; then
    command -v unshare >/dev/null || skip "unshare is not installed"
    unshare -n -m -u true 2>/dev/null || skip "no network, mount or host-name namespaces here (needs root)"
    PB_SHARES_INSIDE=1 exec unshare -n -m -u --propagation private bash "$0" "$@"
fi

[ -c /dev/fuse ] || skip "no /dev/fuse: FUSE is missing"
for tool in smbd smbnetfs sshfs fusermount3 ssh-keygen ip; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh)"
done
[ -x /usr/sbin/sshd ] || skip "sshd is not installed (scripts/install-deps.sh)"

ip link set lo up || skip "cannot bring up the loopback of the private network"
hostname fileserver

T=$(mktemp -d "${TMPDIR:-/tmp}/pb-shares.XXXXXX")
pids=()
mounts=()
finish() {
    for m in "${mounts[@]}"; do fusermount3 -u -z "$m" 2>/dev/null; done
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
    rm -rf "$T"
}
trap finish EXIT

mkdir -p "$T/samba" "$T/ssh-share" "$T/local" "$T/smb/private" "$T/smb/lock" "$T/smb/state" \
    "$T/smb/cache" "$T/smb/pid" "$T/smb/ncalrpc" "$T/ssh" "$T/s1" "$T/s2" "$T/r1" "$T/r2" \
    "$T/h1/.smb" "$T/h2/.smb"

# --- Samba: a guest share, served on 127.0.0.1 only ---
cat >"$T/smb.conf" <<EOF
[global]
  workgroup = OFFICE
  netbios name = FILESERVER
  interfaces = lo
  bind interfaces only = yes
  smb ports = 445
  disable netbios = yes
  private dir = $T/smb/private
  lock directory = $T/smb/lock
  state directory = $T/smb/state
  cache directory = $T/smb/cache
  pid directory = $T/smb/pid
  ncalrpc dir = $T/smb/ncalrpc
  log file = $T/smb/log
  passdb backend = tdbsam:$T/smb/private/passdb.tdb
  map to guest = Bad User
  guest account = root
  server role = standalone server
  load printers = no
  printing = bsd
  printcap name = /dev/null
[data]
  path = $T/samba
  read only = no
  guest ok = yes
  force user = root
EOF
# In a session of its own: at its end smbd signals its whole process group.
setsid smbd --foreground --no-process-group --configfile="$T/smb.conf" >"$T/smbd.out" 2>&1 &
pids+=($!)

# --- SSH: a private host key, a key of our own, sftp only, 127.0.0.1 only ---
mkdir -p /run/sshd
ssh-keygen -q -t ed25519 -N '' -f "$T/ssh/host_key" || skip "ssh-keygen failed"
ssh-keygen -q -t ed25519 -N '' -f "$T/ssh/client_key" || skip "ssh-keygen failed"
cp "$T/ssh/client_key.pub" "$T/ssh/authorized_keys"
cat >"$T/ssh/sshd_config" <<EOF
ListenAddress 127.0.0.1:2222
HostKey $T/ssh/host_key
PidFile none
AuthorizedKeysFile $T/ssh/authorized_keys
PermitRootLogin prohibit-password
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
Subsystem sftp internal-sftp
EOF
/usr/sbin/sshd -D -e -f "$T/ssh/sshd_config" 2>"$T/sshd.log" &
pids+=($!)

wait_for_port() {
    for _ in $(seq 100); do
        (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null && return 0
        sleep 0.05
    done
    return 1
}
wait_for_port 445 || { cat "$T/smbd.out" >&2; skip "smbd did not start"; }
wait_for_port 2222 || { cat "$T/sshd.log" >&2; skip "sshd did not start"; }

# Two PCs: each mount is a client of its own (its own connection, its own
# caches). Caches are off as the manual asks: another PC's change is seen at once.
for i in 1 2; do
    cat >"$T/h$i/.smb/smbnetfs.conf" <<EOF
auth "guest" ""
host 127.0.0.1 visible=true
EOF
    chmod 600 "$T/h$i/.smb/smbnetfs.conf"
    cp "$T/smb.conf" "$T/h$i/.smb/smb.conf"
    HOME="$T/h$i" smbnetfs "$T/s$i" -o smb_query_browsers=false,attr_timeout=0,entry_timeout=0,negative_timeout=0 ||
        skip "smbnetfs could not mount"
    mounts+=("$T/s$i")
    sshfs -o IdentityFile="$T/ssh/client_key",StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null \
        -o port=2222,LogLevel=ERROR,dir_cache=no,attr_timeout=0,entry_timeout=0,negative_timeout=0 \
        "root@127.0.0.1:$T/ssh-share" "$T/r$i" || skip "sshfs could not mount"
    mounts+=("$T/r$i")
done
for _ in $(seq 100); do
    [ -d "$T/s1/127.0.0.1/data" ] && [ -d "$T/s2/127.0.0.1/data" ] && break
    sleep 0.05
done
[ -d "$T/s1/127.0.0.1/data" ] || skip "the Samba share did not appear under smbnetfs"

export PB_SHARE_SAMBA="$T/s1/127.0.0.1/data/ $T/s2/127.0.0.1/data/"
export PB_SHARE_SSH="$T/r1/ $T/r2/"
export PB_SHARE_LOCAL="$T/local/"
"$@"
