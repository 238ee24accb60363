#include "platform/Crypto.h"

#include "platform/SystemLibrary.h"

namespace platform {

namespace {

SystemDll advapi("advapi32.dll");
SystemFunction<BOOL(WINAPI*)(HCRYPTPROV*, LPCSTR, LPCSTR, DWORD, DWORD)> acquireContext(advapi,
                                                                                       "CryptAcquireContextA");
SystemFunction<BOOL(WINAPI*)(HCRYPTPROV, DWORD)> releaseContext(advapi, "CryptReleaseContext");
SystemFunction<BOOL(WINAPI*)(HCRYPTPROV, const BYTE*, DWORD, HCRYPTKEY, DWORD, HCRYPTKEY*)> importKey(
    advapi, "CryptImportKey");
SystemFunction<BOOL(WINAPI*)(HCRYPTKEY)> destroyKey(advapi, "CryptDestroyKey");
SystemFunction<BOOL(WINAPI*)(HCRYPTPROV, ALG_ID, HCRYPTKEY, DWORD, HCRYPTHASH*)> createHash(advapi,
                                                                                          "CryptCreateHash");
SystemFunction<BOOL(WINAPI*)(HCRYPTHASH)> destroyHash(advapi, "CryptDestroyHash");
SystemFunction<BOOL(WINAPI*)(HCRYPTHASH, const BYTE*, DWORD, DWORD)> hashData(advapi, "CryptHashData");
SystemFunction<BOOL(WINAPI*)(HCRYPTHASH, DWORD, BYTE*, DWORD*, DWORD)> hashParam(advapi, "CryptGetHashParam");
SystemFunction<BOOL(WINAPI*)(HCRYPTHASH, const BYTE*, DWORD, HCRYPTKEY, LPCSTR, DWORD)> verifySignature(
    advapi, "CryptVerifySignatureA");

// CALG_SHA_256, which the headers give only to programs for Windows XP SP3 and
// later: the program runs on older systems too, and refuses there.
constexpr ALG_ID Sha256 = ALG_CLASS_HASH | ALG_TYPE_ANY | 12;  // ALG_SID_SHA_256

const BYTE* Bytes(const std::string& text)
{
    return reinterpret_cast<const BYTE*>(text.data());
}

}  // namespace

void ReleaseCryptProvider(HCRYPTPROV provider)
{
    releaseContext(provider, 0);
}

void DestroyCryptKey(HCRYPTKEY key)
{
    destroyKey(key);
}

void DestroyCryptHash(HCRYPTHASH hash)
{
    destroyHash(hash);
}

CryptProvider AcquireRsaAesProvider()
{
    HCRYPTPROV provider = 0;
    ::SetLastError(ERROR_PROC_NOT_FOUND);  // stays when the call is missing
    if (!acquireContext(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT))
        return CryptProvider();
    return CryptProvider(provider);
}

CryptKey ImportPublicKey(HCRYPTPROV provider, const unsigned char* blob, DWORD size)
{
    HCRYPTKEY key = 0;
    return importKey(provider, blob, size, 0, 0, &key) ? CryptKey(key) : CryptKey();
}

CryptHash NewSha256(HCRYPTPROV provider)
{
    HCRYPTHASH hash = 0;
    return createHash(provider, Sha256, 0, 0, &hash) ? CryptHash(hash) : CryptHash();
}

bool HashData(HCRYPTHASH hash, const std::string& bytes)
{
    return hashData(hash, Bytes(bytes), static_cast<DWORD>(bytes.size()), 0) != FALSE;
}

bool HashValue(HCRYPTHASH hash, std::string& digest)
{
    BYTE value[32];
    DWORD size = sizeof value;
    if (!hashParam(hash, HP_HASHVAL, value, &size, 0))
        return false;
    digest.assign(reinterpret_cast<const char*>(value), size);
    return true;
}

bool VerifySignature(HCRYPTHASH hash, const std::string& signature, HCRYPTKEY key)
{
    return verifySignature(hash, Bytes(signature), static_cast<DWORD>(signature.size()), key, nullptr, 0) != FALSE;
}

}  // namespace platform
