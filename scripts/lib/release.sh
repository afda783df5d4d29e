# Shared by scripts/release and its tests (tests/release): the steps of a release from the images of the
# shipped i686 product to dist/.

RELEASE_IMAGES=(Update.exe TkZip.dll)

# release_version: the version, from VERSION alone.
release_version() {
  head -n 1 VERSION
}

# A release is of a commit: its folder must be a git checkout of its own (its top level: a folder without .git
# inside another checkout's work tree, such as the release tests' copy under build/, is none) and hold exactly
# its commit. The file beside the sums that says that a release is not of a commit:
UNCOMMITTED_NOTE=UNCOMMITTED.txt

# own_checkout: whether this folder is the top level of a git checkout.
own_checkout() {
  local top
  top=$(git rev-parse --show-toplevel 2>/dev/null) && [ "$(cd "$top" && pwd -P)" = "$(pwd -P)" ]
}

# release_commit: the checkout's commit; nothing (and failure) where the folder is no checkout of its own.
release_commit() {
  own_checkout && git rev-parse HEAD
}

# checkout_changes: what keeps this folder from being its commit, one line each, as git status shows it:
# tracked files changed, staged or deleted, and untracked files that are not ignored (the build's file globs
# compile an untracked source in). One line that says so where the folder is no checkout of its own. Nothing
# for a commit.
checkout_changes() {
  if own_checkout; then git status --porcelain --untracked-files=all; else echo "not a git checkout: no commit to be the release of"; fi
}

# release_epoch: the time that the release's files carry: SOURCE_DATE_EPOCH when set, else the time of the
# checkout's commit. The images carry none (cmake/Windows.cmake).
release_epoch() {
  if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then echo "$SOURCE_DATE_EPOCH"; return; fi
  own_checkout && git log -1 --format=%ct || { echo "release: not a git checkout; set SOURCE_DATE_EPOCH" >&2; return 1; }
}

# build_release_images TREE: Update.exe and TkZip.dll built in build/TREE by the recipe of build/win32, without
# the tests.
build_release_images() {
  configure_shipped_tree "$1" OFF
  cmake --build "build/$1" -j2 --target Update TkZip
}

# sign_images PFX PASSWORD EPOCH FOLDER [TIMESTAMP_URL]: signs the images in FOLDER with Authenticode
# (SHA-256), the signing time set to EPOCH, so that one certificate gives the same signed bytes from the same
# images; with TIMESTAMP_URL, an RFC 3161 timestamp server countersigns each signature with its own time
# (those bytes then differ at every signing), so that it verifies after the certificate has expired. The
# password reaches osslsigncode through a pipe, never its command line.
sign_images() {
  local pfx=$1 password=$2 epoch=$3 folder=$4 url=${5:-} image timestamp=()
  [ -n "$url" ] && timestamp=(-ts "$url")
  for image in "${RELEASE_IMAGES[@]}"; do
    osslsigncode sign -pkcs12 "$pfx" -readpass <(printf '%s' "$password") -h sha256 -time "$epoch" \
      "${timestamp[@]}" -in "$folder/$image" -out "$folder/$image.signed" >/dev/null ||
      { echo "release: cannot sign $image${url:+ with a timestamp from $url}" >&2; return 1; }
    mv "$folder/$image.signed" "$folder/$image"
  done
}

# verify_images CAFILE FOLDER [TSA_CAFILE]: verifies the signature of each image in FOLDER against the
# certificates in CAFILE (PEM), and with TSA_CAFILE its timestamp against the timestamp authorities'
# certificates there: osslsigncode accepts a signature whose timestamp fails while the certificate is still
# valid, so the timestamp's own verdict is required. CRL distribution points are not fetched where
# osslsigncode can be told so: no machine of ours reaches them.
verify_images() {
  local cafile=$1 folder=$2 tsa=${3:-} image options=() report
  osslsigncode verify --help 2>&1 | grep -q -- -ignore-cdp && options+=(-ignore-cdp)
  [ -n "$tsa" ] && options+=(-TSA-CAfile "$tsa")
  for image in "${RELEASE_IMAGES[@]}"; do
    report=$(osslsigncode verify "${options[@]}" -CAfile "$cafile" -in "$folder/$image" 2>&1) || {
      echo "release: the signature of $image does not verify:" >&2
      echo "$report" >&2
      return 1
    }
    if [ -n "$tsa" ] && ! grep -q '^Timestamp Server Signature verification: ok' <<<"$report"; then
      echo "release: the timestamp of $image does not verify against $tsa:" >&2
      echo "$report" >&2
      return 1
    fi
  done
}

# pfx_pem PFX PASSWORD [OPTION...]: the PFX file's certificates as PEM (openssl pkcs12's options, as -clcerts
# for the signer's alone). PFX files exported on Windows are often encrypted with RC2, which OpenSSL 3 reads
# only with its legacy provider.
pfx_pem() {
  local pfx=$1 password=$2 pem; shift 2
  pem=$(openssl pkcs12 -in "$pfx" -nokeys "$@" -passin fd:3 3< <(printf '%s' "$password") 2>/dev/null) ||
    pem=$(openssl pkcs12 -legacy -in "$pfx" -nokeys "$@" -passin fd:3 3< <(printf '%s' "$password")) || return 1
  printf '%s\n' "$pem"
}

# pfx_certificates PFX PASSWORD OUT: the PFX file's certificates, with the system's trusted ones, as the
# PEM file that verify_images trusts: a signature verifies when it chains to either.
pfx_certificates() {
  pfx_pem "$1" "$2" >"$3" || return 1
  [ -f /etc/ssl/certs/ca-certificates.crt ] && cat /etc/ssl/certs/ca-certificates.crt >>"$3"
  return 0
}

# pfx_signer PFX PASSWORD: the subject of the PFX file's signing certificate.
pfx_signer() {
  pfx_pem "$1" "$2" -clcerts | openssl x509 -noout -subject
}

# write_sums FOLDER NAME: NAME in FOLDER, the SHA-256 sums of its images in sha256sum's format.
write_sums() {
  (cd "$1" && sha256sum "${RELEASE_IMAGES[@]}" >"$2")
}

# make_archive FOLDER EPOCH NAME: the archive NAME (a .zip) in FOLDER of its images, SHA256SUMS and the note
# that the release is not of a commit where there is one, the same bytes from the same files: names in a fixed
# order, every member dated EPOCH (UTC) and readable by all, no owners and no extra fields.
make_archive() {
  local folder=$1 epoch=$2 name=$3 members=("${RELEASE_IMAGES[@]}" SHA256SUMS)
  [ -f "$folder/$UNCOMMITTED_NOTE" ] && members+=("$UNCOMMITTED_NOTE")
  (
    cd "$folder"
    chmod 0644 "${members[@]}"
    TZ=UTC touch -d "@$epoch" "${members[@]}"
    rm -f "$name"
    TZ=UTC zip -X -D -q -9 "$name" "${members[@]}"
  )
}

# same_image SHIPPED BUILT: whether the shipped image is the built one, signed or not. A signed image is
# compared after its signature is attached to a copy of the built image, which osslsigncode does exactly as
# signing did (padding, checksum, certificate table), so the two are byte-identical when the code is.
same_image() {
  local shipped=$1 built=$2 work status=0
  work=$(mktemp -d)
  if osslsigncode extract-signature -in "$shipped" -out "$work/signature" >/dev/null 2>&1; then
    # attach-signature fails when the signature does not chain to a certificate that this machine trusts,
    # but still writes the image, which is all that the comparison needs.
    osslsigncode attach-signature -sigin "$work/signature" -in "$built" -out "$work/image" >/dev/null 2>&1 || true
    cmp -s "$shipped" "$work/image" || status=1
  else
    cmp -s "$shipped" "$built" || status=1
  fi
  rm -rf "$work"
  return $status
}
