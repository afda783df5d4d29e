#!/usr/bin/env bash
# release.signed: scripts/release in the copy of release_of_copy.sh with a throwaway code-signing certificate
# made here. A wrong password must stop it; the signed images must verify against the certificate, and no
# longer once a byte is changed; the sums and the archive must be those of the signed images, the unsigned
# sums those of the images as built; and the signed Update.exe must run under Wine and end by itself with exit
# code 0 (where this kernel runs 32-bit code).
# Usage: signed.sh CHECKOUT COPY
set -euo pipefail
checkout=$1 copy=$2
source "$checkout/scripts/lib/display.sh"
source "$checkout/tests/release/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

password=throwaway-$$
make_signer "$work" "$password"

# The copy is no git checkout: released all the same (release_of_copy.sh shows the refusal).
export SOURCE_DATE_EPOCH RELEASE_ALLOW_CHANGES=1
SOURCE_DATE_EPOCH=$(cat "$copy.epoch")
out=$(RELEASE_PFX=$work/signer.pfx RELEASE_PFX_PASSWORD=wrong-$password "$copy/scripts/release" 2>&1) &&
  fail "scripts/release goes on with a wrong password"
grep -q '^release: cannot read .*signer.pfx' <<<"$out" || { echo "$out"; fail "scripts/release does not say why it stopped"; }

out=$(RELEASE_PFX=$work/signer.pfx RELEASE_PFX_PASSWORD=$password "$copy/scripts/release" 2>&1) || { echo "$out"; echo "FAILED: scripts/release with a certificate"; exit 1; }
echo "$out"
grep -q '^release: signed with subject=CN *= *Updater test signer, signatures verified, not timestamped' <<<"$out" ||
  fail "the release does not say that it is signed and verified, and not timestamped"
dist=$copy/dist

for image in Update.exe TkZip.dll; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$dist/$image" >/dev/null 2>&1 ||
    fail "$image does not verify against the certificate"
  cp "$dist/$image" "$work/$image"
  flip_byte "$work/$image" 4100
  osslsigncode verify -CAfile "$work/cert.pem" -in "$work/$image" >/dev/null 2>&1 &&
    fail "$image verifies with a byte changed after signing"
done
(cd "$dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS are not the sums of the signed images"
(cd "$copy/build/release" && sha256sum --quiet -c "$dist/SHA256SUMS.unsigned") ||
  fail "SHA256SUMS.unsigned are not the sums of the images as built"
mkdir "$work/unpacked"
unzip -q "$dist"/Update-*.zip -d "$work/unpacked"
for member in Update.exe TkZip.dll SHA256SUMS; do
  cmp "$work/unpacked/$member" "$dist/$member" || fail "the archive's $member is not the signed release's"
done

if [ "$(windows_test_tree)" = win32 ]; then
  mkdir "$work/app"
  cp "$dist/Update.exe" "$dist/TkZip.dll" "$work/app/"
  code=0
  timeout 120 "$checkout/tools/wine-run" "$work/app/Update.exe" || code=$?
  [ $code = 0 ] || fail "the signed Update.exe ended with exit code $code under Wine"
else
  echo "the signed Update.exe was not run: this kernel runs no 32-bit code"
fi
[ $status = 0 ] && echo "the signed release verifies and its Update.exe runs"
exit $status
