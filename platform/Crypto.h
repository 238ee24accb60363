// The system's CryptoAPI (advapi32): SHA-256 digests and RSA signatures
// verified with a public key. Bound at run time: the first Windows 95 has
// none of it, and where the calls exist, the 9x family and Windows XP before
// its third service pack have no provider of SHA-256, so that acquiring the
// provider or making the hash fails there.
#pragma once

#include "platform/Owner.h"

#include <wincrypt.h>

#include <string>

namespace platform {

void ReleaseCryptProvider(HCRYPTPROV provider);
void DestroyCryptKey(HCRYPTKEY key);
void DestroyCryptHash(HCRYPTHASH hash);
using CryptProvider = Owner<NullTraits<HCRYPTPROV, &ReleaseCryptProvider>>;
using CryptKey = Owner<NullTraits<HCRYPTKEY, &DestroyCryptKey>>;
using CryptHash = Owner<NullTraits<HCRYPTHASH, &DestroyCryptHash>>;

// The provider of RSA with SHA-256 (PROV_RSA_AES), without a key container:
// it verifies, it never signs. Empty on failure; where the system lacks the
// call, the last error is ERROR_PROC_NOT_FOUND.
CryptProvider AcquireRsaAesProvider();
// A public key from the form CryptImportKey takes (a PUBLICKEYBLOB).
CryptKey ImportPublicKey(HCRYPTPROV provider, const unsigned char* blob, DWORD size);
CryptHash NewSha256(HCRYPTPROV provider);
bool HashData(HCRYPTHASH hash, const std::string& bytes);
// The digest's 32 bytes; the hash takes no more data after it.
bool HashValue(HCRYPTHASH hash, std::string& digest);
// An RSA PKCS#1 v1.5 signature of the hashed data, its bytes in CryptoAPI's
// order (least significant first, the reverse of what OpenSSL writes).
bool VerifySignature(HCRYPTHASH hash, const std::string& signature, HCRYPTKEY key);

}  // namespace platform
