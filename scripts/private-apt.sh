#!/usr/bin/env bash
# Sourced, not run. An apt state of the project's own (sources, lists and cache in one
# folder), so packages and sources of a chosen Debian release can be fetched, checked
# against the release's signature as apt checks its own, without touching the system's
# sources or lists.
#
# private_apt DIR LINE: prepares DIR for the sources.list line LINE ("deb" or "deb-src",
# without the mirror and signature: "deb-src bookworm main") and sets apt_options to use it.
# The mirror is the one the system's own Debian packages come from.

private_apt() {
  local dir=$1 line=$2
  local debian=('Created-By: Packages' 'Component: main' 'Origin: Debian')
  local codename mirror kind=${line%% *}
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  mirror=$(apt-get indextargets --format '$(REPO_URI)' "${debian[@]}" "Codename: $codename" | head -n1)
  [ -n "$mirror" ] || mirror=$(apt-get indextargets --format '$(REPO_URI)' "${debian[@]}" | head -n1)
  if [ -z "$mirror" ]; then
    echo "private-apt.sh: the system lists no Debian mirror to fetch from" >&2
    return 1
  fi
  mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
  echo "$kind [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror ${line#* }" \
    >"$dir/sources.list"
  apt_options=(
    -o Dir::Etc::sourcelist="$dir/sources.list" -o Dir::Etc::sourceparts=-
    -o Dir::State::lists="$dir/lists" -o Dir::Cache="$dir/cache"
    -o APT::Architectures::=amd64 -o APT::Sandbox::User="$(id -un)" -q
  )
}
