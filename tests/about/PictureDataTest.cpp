#include <gtest/gtest.h>

#include <functional>

#include "about/PictureData.h"
#include "tests/about/PictureBytes.h"

using namespace about;
namespace pb = picture_bytes;

TEST(PictureKind, FollowsTheExtensionInAnyCase) {
    struct Case {
        const wchar_t* path;
        const wchar_t* extension;
        PictureKind kind;
    };
    const Case cases[] = {
        {L"C:\\Pelmora\\About.bmp", L"bmp", PictureKind::Bitmap},
        {L"C:\\Pelmora\\ABOUT.BMP", L"BMP", PictureKind::Bitmap},
        {L"icon.Ico", L"Ico", PictureKind::Icon},
        {L"d:/pictures/sea.emf", L"emf", PictureKind::EnhancedMetafile},
        {L"sea.WMF", L"WMF", PictureKind::Metafile},
        {L"photo.jpg", L"jpg", PictureKind::Unknown},
        {L"archive.bmp.gz", L"gz", PictureKind::Unknown},
        {L"C:\\folder.bmp\\noextension", L"", PictureKind::Unknown},
        {L"trailing.", L"", PictureKind::Unknown},
        {L"C:.bmp", L"bmp", PictureKind::Bitmap},
        {L"", L"", PictureKind::Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.kind));
        EXPECT_EQ(ExtensionOf(c.path), c.extension);
        EXPECT_EQ(KindOfExtension(ExtensionOf(c.path)), c.kind);
    }
}

TEST(CheckBitmap, AcceptsEveryDepthAndFindsThePixels) {
    struct Case {
        int width, height, bits;
    };
    const Case cases[] = {{5, 3, 1}, {5, 3, 4}, {7, 2, 8}, {3, 4, 24}, {2, 2, 32}, {4, -3, 24}, {286, 345, 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << "x" << c.bits);
        std::string bytes = pb::Bitmap(c.width, c.height, c.bits);
        auto layout = CheckBitmap(bytes);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->infoOffset, 14u);
        const int colors = c.bits <= 8 ? 1 << c.bits : 0;
        EXPECT_EQ(layout->bitsOffset, static_cast<std::size_t>(14 + 40 + 4 * colors));
        EXPECT_EQ(layout->width, c.width);
        EXPECT_EQ(layout->height, c.height < 0 ? -c.height : c.height);
    }
}

TEST(CheckBitmap, RefusesDamagedHeaders) {
    const std::string good = pb::Bitmap(4, 4, 24);
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
    };
    const Case cases[] = {
        {"not BM", [](std::string& b) { b[0] = 'X'; }},
        {"header size 20", [](std::string& b) { pb::Set32(b, 14, 20); }},
        {"header size huge", [](std::string& b) { pb::Set32(b, 14, 0x7FFFFFFF); }},
        {"zero width", [](std::string& b) { pb::Set32(b, 18, 0); }},
        {"negative width", [](std::string& b) { pb::Set32(b, 18, 0xFFFFFFFF); }},
        {"zero height", [](std::string& b) { pb::Set32(b, 22, 0); }},
        {"two planes", [](std::string& b) { pb::Set16(b, 26, 2); }},
        {"7 bits", [](std::string& b) { pb::Set16(b, 28, 7); }},
        {"RLE8 on 24 bits", [](std::string& b) { pb::Set32(b, 30, 1); }},
        {"JPEG inside", [](std::string& b) { pb::Set32(b, 30, 4); }},
        {"too many colours", [](std::string& b) { pb::Set32(b, 46, 100000); }},
        {"pixels beyond the end", [](std::string& b) { pb::Set32(b, 10, static_cast<std::uint32_t>(b.size())); }},
        {"pixels inside the header", [](std::string& b) { pb::Set32(b, 10, 20); }},
        {"gigantic",
         [](std::string& b) {
             pb::Set32(b, 18, 30000);
             pb::Set32(b, 22, 30000);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        c.damage(bytes);
        EXPECT_FALSE(CheckBitmap(bytes));
    }
}

TEST(CheckIcon, PicksTheImageAndRefusesDamage) {
    std::string good = pb::Icon(32);
    auto image = CheckIcon(good);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->offset, 22u);
    EXPECT_EQ(image->length, good.size() - 22);
    EXPECT_EQ(image->width, 32);
    EXPECT_EQ(image->height, 32);

    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
    };
    const Case cases[] = {
        {"cursor type", [](std::string& b) { pb::Set16(b, 2, 2); }},
        {"no images", [](std::string& b) { pb::Set16(b, 4, 0); }},
        {"more entries than bytes", [](std::string& b) { pb::Set16(b, 4, 500); }},
        {"image beyond the end", [](std::string& b) { pb::Set32(b, 6 + 12, static_cast<std::uint32_t>(b.size())); }},
        {"image length beyond the end", [](std::string& b) { pb::Set32(b, 6 + 8, 0xFFFFFFF0); }},
        {"header size 12", [](std::string& b) { pb::Set32(b, 22, 12); }},
        {"image taller than its bytes", [](std::string& b) { pb::Set32(b, 22 + 8, 2 * 200); }},
        {"compressed", [](std::string& b) { pb::Set32(b, 22 + 16, 1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        c.damage(bytes);
        EXPECT_FALSE(CheckIcon(bytes));
    }
}

TEST(CheckIcon, AcceptsAPngImage) {
    std::string b;
    pb::Put16(b, 0);
    pb::Put16(b, 1);
    pb::Put16(b, 1);
    b += std::string("\0\0\0\0", 4);  // 256 x 256
    pb::Put16(b, 1);
    pb::Put16(b, 32);
    pb::Put32(b, 16);
    pb::Put32(b, 22);
    b += std::string("\x89PNG\r\n\x1a\n\0\0\0\0IEND", 16);
    auto image = CheckIcon(b);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 256);
    EXPECT_EQ(image->length, 16u);
}

TEST(CheckMetafiles, FindTheirRecords) {
    auto plain = CheckMetafile(pb::Metafile(false));
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->placeable);
    EXPECT_EQ(plain->offset, 0u);
    EXPECT_EQ(plain->length, pb::Metafile(false).size());

    auto placeable = CheckMetafile(pb::Metafile(true));
    ASSERT_TRUE(placeable);
    EXPECT_TRUE(placeable->placeable);
    EXPECT_EQ(placeable->offset, 22u);
    EXPECT_EQ(placeable->right - placeable->left, 100);
    EXPECT_EQ(placeable->bottom - placeable->top, 50);
    EXPECT_EQ(placeable->unitsPerInch, 96);

    auto enhanced = CheckEnhancedMetafile(pb::EnhancedMetafile());
    ASSERT_TRUE(enhanced);
    EXPECT_EQ(enhanced->length, pb::EnhancedMetafile().size());
}

TEST(CheckMetafiles, RefuseDamagedRecords) {
    struct Case {
        const char* what;
        std::string bytes;
        std::function<void(std::string&)> damage;
        bool enhanced;
    };
    const std::string wmf = pb::Metafile(false), placeable = pb::Metafile(true), emf = pb::EnhancedMetafile();
    const Case cases[] = {
        {"wmf: bad type", wmf, [](std::string& b) { pb::Set16(b, 0, 3); }, false},
        {"wmf: bad header size", wmf, [](std::string& b) { pb::Set16(b, 2, 8); }, false},
        {"wmf: size beyond the end", wmf, [](std::string& b) { pb::Set32(b, 6, 5000); }, false},
        {"wmf: record of no length", wmf, [](std::string& b) { pb::Set32(b, 18, 0); }, false},
        {"wmf: record beyond the file", wmf, [](std::string& b) { pb::Set32(b, 18, 0x10000); }, false},
        {"wmf: no end record", wmf, [](std::string& b) { pb::Set16(b, b.size() - 2, 0x0201); }, false},
        {"placeable: empty bounds", placeable, [](std::string& b) { pb::Set16(b, 10, 0); }, false},
        {"placeable: no units", placeable, [](std::string& b) { pb::Set16(b, 14, 0); }, false},
        {"emf: bad signature", emf, [](std::string& b) { pb::Set32(b, 40, 0); }, true},
        {"emf: not a header", emf, [](std::string& b) { pb::Set32(b, 0, 2); }, true},
        {"emf: total beyond the end", emf, [](std::string& b) { pb::Set32(b, 48, 4000); }, true},
        {"emf: record of no length", emf, [](std::string& b) { pb::Set32(b, 88 + 4, 0); }, true},
        {"emf: record beyond the end", emf, [](std::string& b) { pb::Set32(b, 88 + 4, 400); }, true},
        {"emf: no end record", emf, [](std::string& b) { pb::Set32(b, 88 + 24, 70); }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = c.bytes;
        c.damage(bytes);
        EXPECT_FALSE(c.enhanced ? bool(CheckEnhancedMetafile(bytes)) : bool(CheckMetafile(bytes)));
    }
}

// Every file cut short anywhere is turned away, whatever its kind.
TEST(CheckPictures, RefuseEveryTruncation) {
    struct Case {
        const char* what;
        std::string bytes;
        std::function<bool(const std::string&)> check;
    };
    const Case cases[] = {
        {"bitmap 1 bit", pb::Bitmap(9, 3, 1), [](const std::string& b) { return bool(CheckBitmap(b)); }},
        {"bitmap 8 bits", pb::Bitmap(5, 4, 8), [](const std::string& b) { return bool(CheckBitmap(b)); }},
        {"bitmap 24 bits", pb::Bitmap(5, 4, 24), [](const std::string& b) { return bool(CheckBitmap(b)); }},
        {"icon", pb::Icon(16), [](const std::string& b) { return bool(CheckIcon(b)); }},
        {"metafile", pb::Metafile(false), [](const std::string& b) { return bool(CheckMetafile(b)); }},
        {"placeable metafile", pb::Metafile(true), [](const std::string& b) { return bool(CheckMetafile(b)); }},
        {"enhanced metafile", pb::EnhancedMetafile(),
         [](const std::string& b) { return bool(CheckEnhancedMetafile(b)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.check(c.bytes));
        for (std::size_t length = 0; length < c.bytes.size(); ++length)
            EXPECT_FALSE(c.check(c.bytes.substr(0, length))) << "cut at " << length;
    }
}

TEST(FitInto, KeepsProportionsNeverEnlargesAndCentres) {
    struct Case {
        int width, height;
        Box box, expected;
    };
    const Case cases[] = {
        {286, 345, {0, 0, 100, 100}, {8, 0, 83, 100}}, {400, 100, {10, 20, 200, 200}, {10, 95, 200, 50}},
        {32, 32, {0, 0, 100, 100}, {34, 34, 32, 32}},  {100, 100, {0, 0, 100, 100}, {0, 0, 100, 100}},
        {10000, 1, {0, 0, 100, 100}, {0, 49, 100, 1}}, {0, 10, {5, 5, 100, 100}, {5, 5, 0, 0}},
        {10, 10, {5, 5, 0, 100}, {5, 5, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        Box b = FitInto(c.width, c.height, c.box);
        EXPECT_EQ(b.left, c.expected.left);
        EXPECT_EQ(b.top, c.expected.top);
        EXPECT_EQ(b.width, c.expected.width);
        EXPECT_EQ(b.height, c.expected.height);
    }
}
