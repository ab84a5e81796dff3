#!/usr/bin/env bash
# Gives a Windows program file an Authenticode signature, in place, with
# Debian's osslsigncode:
#   sign.sh FILE DESCRIPTION
# The certificate and its key come from the PKCS#12 file named by
# SHELFCLOAK_SIGN_PFX, its password from SHELFCLOAK_SIGN_PASSWORD (none when
# unset), and an RFC 3161 time-stamp server from SHELFCLOAK_SIGN_TIMESTAMP_URL
# when it is set. The password reaches osslsigncode through a file only
# this user may read, never on a command line, where other users and build
# logs could see it; a certificate without one is given none, since
# osslsigncode refuses an empty password file. DESCRIPTION is the name
# Windows shows for the file.
set -euo pipefail
file=$1
description=$2
pfx=${SHELFCLOAK_SIGN_PFX:?names no certificate}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

args=(sign -pkcs12 "$pfx" -h sha256 -n "$description" -i https://www.shelfcloak.example/)
if [[ -n ${SHELFCLOAK_SIGN_PASSWORD-} ]]; then
  printf '%s' "$SHELFCLOAK_SIGN_PASSWORD" >"$work/password"
  args+=(-readpass "$work/password")
fi
if [[ -n ${SHELFCLOAK_SIGN_TIMESTAMP_URL-} ]]; then
  args+=(-ts "$SHELFCLOAK_SIGN_TIMESTAMP_URL")
fi
if ! osslsigncode "${args[@]}" -in "$file" -out "$work/signed" >"$work/log" 2>&1; then
  cat "$work/log" >&2
  echo "sign.sh: could not sign $file" >&2
  exit 1
fi
# Written whole or not at all: a half-signed file never takes the place of
# the unsigned one.
cp "$work/signed" "$file.signed"
mv -f "$file.signed" "$file"
