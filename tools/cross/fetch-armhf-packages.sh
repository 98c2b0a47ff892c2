#!/bin/sh
# Usage: fetch-armhf-packages.sh DEST PACKAGE...
# Downloads the Debian 12 armhf packages named and everything they depend on,
# and unpacks each into DEST with dpkg -x (no maintainer scripts run).
# Needs: apt-get and dpkg (any Debian 12 host) whose apt sources reach a
# Debian 12 mirror: the machine's own sources and settings (its mirror, its
# proxy) are used, so the packages come from wherever the machine gets its own.
# Leaves: DEST filled, with DEST/.fetched-debs listing the .debs unpacked;
# a private apt state and the downloaded .debs under
# ${OKU_CACHE_DIR:-$HOME/.cache/oku}/apt-armhf, reused by later runs.
# The system's apt and dpkg configuration are not changed, so the host needs
# no foreign architecture.
set -eu
[ $# -ge 2 ] || { echo "usage: $0 DEST PACKAGE..." >&2; exit 2; }
dest=$1
shift

state=${OKU_CACHE_DIR:-$HOME/.cache/oku}/apt-armhf
mkdir -p "$state/lists/partial" "$state/archives/partial" "$state/preferences.d" "$dest"
[ -f "$state/status" ] || : >"$state/status"
# The status file stays empty: apt sees nothing installed and so resolves
# the whole closure, down to libc6. Root-owned caches are not readable by
# the _apt sandbox user, hence downloads run as the caller.
apt_armhf() {
    apt-get -q -o APT::Architecture=armhf -o APT::Architectures=armhf \
        -o APT::Install-Recommends=false -o APT::Sandbox::User="$(id -un)" \
        -o Dir::State="$state" -o Dir::State::Lists="$state/lists" \
        -o Dir::State::Status="$state/status" \
        -o Dir::Cache="$state" -o Dir::Cache::Archives="$state/archives" \
        -o Dir::Etc::Preferences=/nonexistent -o Dir::Etc::PreferencesParts="$state/preferences.d" \
        "$@"
}

# A mirror in mid-sync can serve one suite's index inconsistently; the
# other suites still resolve the closure, so that is only a warning.
update() {
    apt_armhf update -qq ||
        echo "warning: some armhf indexes failed to update, continuing without them" >&2
}

# Indexes younger than a day are reused; a failed download (a version
# superseded on the mirror) refreshes them and tries once more.
fresh_lists=$(find "$state/lists" -maxdepth 1 -name '*_Packages*' -mmin -1440 | head -n 1)
[ -n "$fresh_lists" ] || update
download() { apt_armhf install -y -qq --download-only "$@" >/dev/null; }
download "$@" || { update && download "$@"; }

# The simulated install lists the closure as "Inst NAME (VERSION ... [ARCH])";
# the .deb apt stored for it is NAME_VERSION_ARCH.deb with ':' escaped.
# DEST/.fetched-debs records what is unpacked already, so a re-run only
# unpacks what changed.
record=$dest/.fetched-debs
touch "$record"
apt_armhf install -s "$@" |
    sed -n 's/^Inst \([^ ]*\) (\([^ ]*\) [^[]*\[\([a-z0-9]*\)\].*/\1_\2_\3.deb/p' |
    sed 's/:/%3a/' | { grep -vxF -f "$record" || true; } >"$record.new"
(cd "$state/archives" && xargs -r -P2 -I{} dpkg -x {} "$dest" <"$record.new")
cat "$record.new" >>"$record"
rm "$record.new"
