# Shared by the release tests: their failures, a changed byte, a throwaway signer and a folder's state.

# fail MESSAGE: says what failed; the test goes on, and ends with the status that it sets.
status=0
fail() { echo "FAILED: $*"; status=1; }

# flip_byte FILE OFFSET: inverts the bits of one byte of FILE (4100: in the first section's code).
flip_byte() {
  local byte
  byte=$(od -An -tu1 -j "$2" -N1 "$1" | tr -d ' ')
  printf "\\$(printf '%03o' $((byte ^ 255)))" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# make_signer FOLDER PASSWORD: a throwaway code-signing certificate, valid for two days, in FOLDER: cert.pem,
# key.pem and signer.pfx (with PASSWORD).
make_signer() {
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$1/key.pem" -out "$1/cert.pem" -days 2 \
    -subj "/CN=Updater test signer" -addext extendedKeyUsage=codeSigning -addext keyUsage=digitalSignature 2>/dev/null
  openssl pkcs12 -export -inkey "$1/key.pem" -in "$1/cert.pem" -out "$1/signer.pfx" -passout "pass:$2"
}

# folder_state FOLDER: every entry of FOLDER with its size, mode and modification time, and every file's sum.
folder_state() {
  (cd "$1" && find . -printf '%p %s %m %T@\n' | sort && find . -type f -exec sha256sum {} + | sort)
}
