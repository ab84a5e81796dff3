#!/usr/bin/env bash
# A package run signed with a throwaway self-signed code-signing certificate:
# the program in the ZIP, the installer, and the uninstaller and program it
# installs all carry signatures that osslsigncode accepts against that
# certificate; the build's own program stays unsigned; the password is
# written into no build file; the manifests name the signed files.
# Leaves the signed program and installer in WORK for the Wine scenario
# that installs and starts them.
#   signed_packages_test.sh SOURCE_DIR WORK VERSION
set -euo pipefail
source_dir=$(realpath "$1")
work=$(realpath -m "$2")
version=$3
base_url=https://downloads.shelfcloak.example/$version

rm -rf "$work"
mkdir -p "$work"
cd "$work"

# Blanks, a dollar sign and quotes: nothing on the way may split or expand it.
export SHELFCLOAK_SIGN_PASSWORD='throwaway $HOME "pass word"'
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Shelf Cloak test signer" \
  -addext extendedKeyUsage=codeSigning -addext keyUsage=critical,digitalSignature \
  -keyout key.pem -out cert.pem >openssl.log 2>&1 || { cat openssl.log >&2; exit 1; }
openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx \
  -passout env:SHELFCLOAK_SIGN_PASSWORD >>openssl.log 2>&1 || { cat openssl.log >&2; exit 1; }

if ! env -u SHELFCLOAK_SIGN_TIMESTAMP_URL SHELFCLOAK_SIGN_PFX="$work/cert.pfx" \
     "$source_dir/tools/package" --build "$work/build" --out "$work/packages" \
     --base-url "$base_url" >package.log 2>&1; then
  cat package.log >&2
  echo "tools/package failed with a certificate" >&2
  exit 1
fi
installer=$work/packages/Shelfcloak-$version-setup.exe
unzip -q "$work/packages/Shelfcloak-$version-portable.zip" -d portable
program=$work/portable/Shelfcloak/Shelfcloak.exe

# What the installer installs, in a Wine prefix of its own that is thrown
# away afterwards, into a folder the host can read.
mkdir wine
if ! (
  source "$source_dir/tools/wine/env.sh" "$work/wine"
  target='Z:'${work//\//\\}'\installed'
  DISPLAY= setsid wine "$installer" /S "/D=$target" </dev/null >wine.log 2>&1
  DISPLAY= wineserver -w
); then
  cat wine.log >&2
  echo "the signed installer failed under Wine" >&2
  exit 1
fi
rm -rf "$work/wine"

status=0
verify() {
  local name=$1 file=$2
  if [[ ! -f $file ]]; then
    echo "MISSING: $name ($file)" >&2
    status=1
  elif osslsigncode verify -CAfile cert.pem -in "$file" >"verify-$name.txt" 2>&1 &&
       grep -q '^Signature verification: ok' "verify-$name.txt"; then
    echo "signed: $name"
  else
    cat "verify-$name.txt" >&2
    echo "NOT SIGNED, or not with the certificate: $name ($file)" >&2
    status=1
  fi
}
verify program-in-zip "$program"
verify installer "$installer"
verify installed-program "$work/installed/Shelfcloak.exe"
verify installed-uninstaller "$work/installed/Uninstall.exe"
# A certificate kept without a password is signed with, given none.
openssl pkcs12 -export -inkey key.pem -in cert.pem -out open.pfx -passout pass: \
  >>openssl.log 2>&1 || { cat openssl.log >&2; exit 1; }
cp "$work/build/Shelfcloak.exe" open-signed.exe
if ! env -u SHELFCLOAK_SIGN_PASSWORD SHELFCLOAK_SIGN_PFX="$work/open.pfx" \
     "$source_dir/packaging/sign.sh" open-signed.exe "Shelf Cloak" >sign-open.log 2>&1; then
  cat sign-open.log >&2
fi
verify program-by-a-certificate-without-password "$work/open-signed.exe"
if ! cmp -s "$program" "$work/installed/Shelfcloak.exe"; then
  echo "DIFFERS: the installed program is not the ZIP's" >&2
  status=1
fi
if osslsigncode verify -CAfile cert.pem -in "$work/build/Shelfcloak.exe" >/dev/null 2>&1; then
  echo "SIGNED: the build's own program, which stays as built" >&2
  status=1
fi
if leaks=$(grep -rlF -- "$SHELFCLOAK_SIGN_PASSWORD" "$work/build" "$work/build.log" package.log); then
  echo "THE PASSWORD IS WRITTEN IN: $leaks" >&2
  status=1
fi
/usr/bin/python3 "$source_dir/tests/release/manifests_test.py" "$work/packages" "$version" \
  "$base_url" "$source_dir/packaging/shelfcloak.nsi" || status=1
exit $status
