#!/usr/bin/env bash
# release.timestamped: scripts/release in the copy of release_of_copy.sh, signing with a throwaway certificate
# and timestamping at a timestamp authority of the test's own on loopback (timestamp_authority.py, its
# certificate issued here by a root of its own for time stamping alone). The release must say so; each image's
# signature must carry the timestamp, which verifies against the authority's root, and verify still days after
# the signer's certificate has expired, where a signature without it no longer does. The release must stop
# when the authority's root is not the one given, and when the server does not answer. The test ends the
# server itself.
# Usage: timestamped.sh CHECKOUT COPY
set -euo pipefail
checkout=$1 copy=$2
source "$checkout/scripts/lib/release.sh"
source "$checkout/tests/release/lib.sh"
work=$(mktemp -d)
server=
stop_server() {
  [ -n "$server" ] || return 0
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  server=
}
trap 'stop_server; rm -rf "$work"' EXIT

password=throwaway-$$
make_signer "$work" "$password"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/tsa-root.key" -out "$work/tsa-root.pem" -days 2 \
  -subj "/CN=Updater test timestamp root" -addext basicConstraints=critical,CA:TRUE \
  -addext keyUsage=critical,keyCertSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout "$work/tsa.key" -out "$work/tsa.csr" -subj "/CN=Updater test timestamps" 2>/dev/null
openssl x509 -req -in "$work/tsa.csr" -CA "$work/tsa-root.pem" -CAkey "$work/tsa-root.key" -CAcreateserial \
  -out "$work/tsa.pem" -days 2 -extfile <(printf '%s\n' 'extendedKeyUsage=critical,timeStamping' \
  'keyUsage=critical,digitalSignature' 'basicConstraints=CA:FALSE') 2>/dev/null
echo 01 >"$work/tsa.serial"
cat >"$work/tsa.cnf" <<CONFIG
[ tsa ]
default_tsa = authority
[ authority ]
serial = $work/tsa.serial
crypto_device = builtin
signer_cert = $work/tsa.pem
certs = $work/tsa.pem
signer_key = $work/tsa.key
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha256, sha384, sha512
accuracy = secs:1
ordering = yes
ess_cert_id_alg = sha256
CONFIG

# The server never outlives the test, even where the test is killed before it ends it.
timeout 600 python3 "$checkout/tests/release/timestamp_authority.py" "$work/tsa.cnf" "$work/port" &
server=$!
for _ in $(seq 1 100); do [ -f "$work/port" ] && break; sleep 0.1; done
[ -f "$work/port" ] || { echo "FAILED: the timestamp authority did not start"; exit 1; }
url=http://127.0.0.1:$(cat "$work/port")
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1

# The copy is no git checkout: released all the same (release_of_copy.sh shows the refusal).
export SOURCE_DATE_EPOCH RELEASE_ALLOW_CHANGES=1 RELEASE_PFX=$work/signer.pfx RELEASE_PFX_PASSWORD=$password
SOURCE_DATE_EPOCH=$(cat "$copy.epoch")
out=$(RELEASE_TIMESTAMP_URL=$url RELEASE_TIMESTAMP_CA=$work/tsa-root.pem "$copy/scripts/release" 2>&1) ||
  { echo "$out"; echo "FAILED: scripts/release with a timestamp server"; exit 1; }
echo "$out"
grep -q "^release: signed with .*, timestamped by $url, signatures and timestamps verified" <<<"$out" ||
  fail "the release does not say that it is timestamped and verified"

# A signature without a timestamp, from the same images, for the contrast after the certificate's expiry.
mkdir "$work/plain"
cp "$copy/build/release/Update.exe" "$copy/build/release/TkZip.dll" "$work/plain/"
sign_images "$work/signer.pfx" "$password" "$SOURCE_DATE_EPOCH" "$work/plain"
expired=$(( $(date +%s) + 5 * 86400 ))
for image in "${RELEASE_IMAGES[@]}"; do
  report=$(osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$work/tsa-root.pem" -in "$copy/dist/$image" 2>&1) ||
    fail "$image does not verify"
  grep -q '^Countersignatures:' <<<"$report" && grep -q 'Timestamp time:' <<<"$report" ||
    fail "$image carries no timestamp"
  grep -q '^Timestamp Server Signature verification: ok' <<<"$report" || fail "the timestamp of $image does not verify"
  osslsigncode verify -CAfile "$work/cert.pem" -TSA-CAfile "$work/tsa-root.pem" -time "$expired" \
    -in "$copy/dist/$image" >/dev/null 2>&1 || fail "$image does not verify once its certificate has expired"
  osslsigncode verify -CAfile "$work/cert.pem" -time "$expired" -in "$work/plain/$image" >/dev/null 2>&1 &&
    fail "$image without a timestamp verifies once its certificate has expired: the contrast shows nothing"
done

out=$(RELEASE_TIMESTAMP_URL=$url RELEASE_TIMESTAMP_CA=$work/cert.pem "$copy/scripts/release" 2>&1) &&
  fail "scripts/release goes on when the timestamp does not verify against the root given"
grep -q '^release: the timestamp of Update.exe does not verify' <<<"$out" ||
  { echo "$out"; fail "scripts/release does not say that the timestamp does not verify"; }

stop_server
out=$(RELEASE_TIMESTAMP_URL=$url RELEASE_TIMESTAMP_CA=$work/tsa-root.pem "$copy/scripts/release" 2>&1) &&
  fail "scripts/release goes on when the timestamp server does not answer"
grep -q "^release: cannot sign Update.exe with a timestamp from $url" <<<"$out" ||
  { echo "$out"; fail "scripts/release does not say that it could not timestamp"; }
[ $status = 0 ] && echo "the timestamped release verifies, also after its certificate has expired"
exit $status
