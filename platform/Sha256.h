#pragma once
// SHA-256 from the system's cryptography (Windows CNG, bcrypt.dll), loaded
// when first used: the journal's chain values (journal/Chain.h).
#include <string>
#include <string_view>

namespace platform {

// The SHA-256 of bytes as 64 lowercase hex digits; empty when the system has none.
// Safe to call from several threads.
std::string Sha256Hex(std::string_view bytes);

namespace detail {
// The same through a hash object (BCryptCreateHash, BCryptHashData,
// BCryptFinishHash), what systems without BCryptHash (before Windows 10,
// older Wine) take; Sha256Hex uses it where BCryptHash is missing.
std::string Sha256HexByHashObject(std::string_view bytes);
}  // namespace detail

}  // namespace platform
