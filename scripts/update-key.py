#!/usr/bin/env python3
"""Writes the C++ source of the object that holds the program's update key.

    update-key.py PUBLIC_KEY_PEM OUTPUT_CPP

The PEM file holds an RSA public key of 2048 to 4096 bits as `openssl rsa
-pubout` writes it (a SubjectPublicKeyInfo). The object defines
BuiltInUpdateKey (CfgUnit/SignedUpdate.h): the key as CryptImportKey takes it
(a PUBLICKEYBLOB: header, RSAPUBKEY, modulus least significant byte first) and
the SHA-256 of its DER form, the fingerprint that
`openssl pkey -pubin -in KEY -outform DER | sha256sum` prints.
"""
import base64
import hashlib
import os
import sys

RSA_ENCRYPTION = bytes.fromhex("2a864886f70d010101")  # 1.2.840.113549.1.1.1
PUBLICKEYBLOB, CUR_BLOB_VERSION, CALG_RSA_SIGN, RSA1 = 6, 2, 0x2400, 0x31415352


def fail(message):
    sys.exit(f"update-key.py: {message}")


def tlv(data, at, tag):
    """The contents of the DER element of that tag at `at`, and where the next one starts."""
    if at + 2 > len(data) or data[at] != tag:
        fail("not an RSA public key in the form `openssl rsa -pubout` writes")
    length, at = data[at + 1], at + 2
    if length & 0x80:
        count = length & 0x7F
        length, at = int.from_bytes(data[at:at + count], "big"), at + count
    if at + length > len(data):
        fail("the key is cut short")
    return data[at:at + length], at + length


def der_of_pem(text):
    if "PRIVATE KEY" in text:
        fail("this is a private key; give the public key (openssl rsa -in private.pem -pubout)")
    lines = text.strip().splitlines()
    if not lines or lines[0] != "-----BEGIN PUBLIC KEY-----" or lines[-1] != "-----END PUBLIC KEY-----":
        fail("expects a PEM file that begins with -----BEGIN PUBLIC KEY-----")
    return base64.b64decode("".join(lines[1:-1]))


def modulus_and_exponent(der):
    info, _ = tlv(der, 0, 0x30)
    algorithm, at = tlv(info, 0, 0x30)
    oid, _ = tlv(algorithm, 0, 0x06)
    if oid != RSA_ENCRYPTION:
        fail("the key is not an RSA key")
    bits, _ = tlv(info, at, 0x03)
    key, _ = tlv(bits[1:], 0, 0x30)
    modulus, at = tlv(key, 0, 0x02)
    exponent, _ = tlv(key, at, 0x02)
    return int.from_bytes(modulus, "big"), int.from_bytes(exponent, "big")


def blob(modulus, exponent):
    bits = modulus.bit_length()
    if not 2048 <= bits <= 4096 or bits % 8:
        fail(f"the key has {bits} bits; it must have 2048 to 4096, a whole number of bytes")
    if exponent >= 1 << 32:
        fail("the key's public exponent does not fit the 32 bits CryptoAPI takes")
    header = bytes([PUBLICKEYBLOB, CUR_BLOB_VERSION, 0, 0]) + CALG_RSA_SIGN.to_bytes(4, "little")
    rsapubkey = RSA1.to_bytes(4, "little") + bits.to_bytes(4, "little") + exponent.to_bytes(4, "little")
    return header + rsapubkey + modulus.to_bytes(bits // 8, "little")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    pem, output = sys.argv[1:]
    with open(pem, encoding="ascii", errors="replace") as file:
        der = der_of_pem(file.read())
    data = blob(*modulus_and_exponent(der))
    rows = ",\n".join("    " + ", ".join(f"0x{b:02x}" for b in data[i:i + 12]) for i in range(0, len(data), 12))
    source = (f"// Made by scripts/update-key.py from {os.path.basename(pem)}: the key updates are verified with.\n"
              '#include "CfgUnit/SignedUpdate.h"\n\n'
              f"static const unsigned char Blob[] = {{\n{rows}}};\n\n"
              f'const TUpdateKey BuiltInUpdateKey = {{Blob, sizeof Blob, "{hashlib.sha256(der).hexdigest()}"}};\n')
    with open(output, "w", encoding="ascii") as file:
        file.write(source)


if __name__ == "__main__":
    main()
