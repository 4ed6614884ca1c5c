#include "platform/Sha256.h"

#include <windows.h>
#include <bcrypt.h>

#include "platform/SystemFunction.h"

namespace platform {

namespace {

constexpr ULONG kDigest = 32;

using OpenProvider = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE*, LPCWSTR, LPCWSTR, ULONG);
using HashOnce = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, PUCHAR, ULONG, PUCHAR, ULONG, PUCHAR, ULONG);
using CreateHash = NTSTATUS(WINAPI*)(BCRYPT_ALG_HANDLE, BCRYPT_HASH_HANDLE*, PUCHAR, ULONG, PUCHAR, ULONG, ULONG);
using HashData = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using FinishHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE, PUCHAR, ULONG, ULONG);
using DestroyHash = NTSTATUS(WINAPI*)(BCRYPT_HASH_HANDLE);

// The library's functions and the SHA-256 provider, looked up once; the
// provider's handle may be shared by threads and lives as long as the program.
struct Cng {
    HashOnce hash = nullptr;
    CreateHash create = nullptr;
    HashData data = nullptr;
    FinishHash finish = nullptr;
    DestroyHash destroy = nullptr;
    BCRYPT_ALG_HANDLE sha256 = nullptr;

    Cng() {
        auto open = SystemFunction<OpenProvider>(L"bcrypt.dll", "BCryptOpenAlgorithmProvider");
        hash = SystemFunction<HashOnce>(L"bcrypt.dll", "BCryptHash");
        create = SystemFunction<CreateHash>(L"bcrypt.dll", "BCryptCreateHash");
        data = SystemFunction<HashData>(L"bcrypt.dll", "BCryptHashData");
        finish = SystemFunction<FinishHash>(L"bcrypt.dll", "BCryptFinishHash");
        destroy = SystemFunction<DestroyHash>(L"bcrypt.dll", "BCryptDestroyHash");
        if (open && !BCRYPT_SUCCESS(open(&sha256, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) sha256 = nullptr;
    }
};

const Cng& System() {
    static const Cng cng;
    return cng;
}

std::string Hex(const UCHAR (&digest)[kDigest]) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (UCHAR byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 15];
    }
    return text;
}

PUCHAR Bytes(std::string_view bytes) { return reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())); }

}  // namespace

namespace detail {

std::string Sha256HexByHashObject(std::string_view bytes) {
    const Cng& cng = System();
    if (!cng.sha256 || !cng.create || !cng.data || !cng.finish || !cng.destroy) return {};
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(cng.create(cng.sha256, &hash, nullptr, 0, nullptr, 0, 0))) return {};
    UCHAR digest[kDigest];
    bool made = BCRYPT_SUCCESS(cng.data(hash, Bytes(bytes), static_cast<ULONG>(bytes.size()), 0)) &&
                BCRYPT_SUCCESS(cng.finish(hash, digest, kDigest, 0));
    cng.destroy(hash);
    return made ? Hex(digest) : std::string();
}

}  // namespace detail

std::string Sha256Hex(std::string_view bytes) {
    const Cng& cng = System();
    if (!cng.sha256) return {};
    if (!cng.hash) return detail::Sha256HexByHashObject(bytes);
    UCHAR digest[kDigest];
    if (!BCRYPT_SUCCESS(
            cng.hash(cng.sha256, nullptr, 0, Bytes(bytes), static_cast<ULONG>(bytes.size()), digest, kDigest)))
        return {};
    return Hex(digest);
}

}  // namespace platform
