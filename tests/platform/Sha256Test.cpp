#include "platform/Sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The published test vectors (FIPS 180-2, appendix B), by both ways the system is asked.
struct Vector {
    std::string input;
    const char* digest;
};
const Vector kVectors[] = {
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

TEST(Sha256, GivesThePublishedDigests) {
    for (const Vector& vector : kVectors) {
        SCOPED_TRACE(vector.input.substr(0, 60));
        EXPECT_EQ(platform::Sha256Hex(vector.input), vector.digest);
        EXPECT_EQ(platform::detail::Sha256HexByHashObject(vector.input), vector.digest);
    }
}

}  // namespace
