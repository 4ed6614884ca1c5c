#pragma once
// Small picture files of each kind, written byte by byte as the formats lay
// them out, for the loader's tests.
#include <cstdint>
#include <string>

namespace picture_bytes {

inline void Put16(std::string& b, std::uint32_t v) {
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void Set32(std::string& b, std::size_t at, std::uint32_t v) {
    std::string field;
    Put32(field, v);
    b.replace(at, 4, field);
}
inline void Set16(std::string& b, std::size_t at, std::uint32_t v) {
    std::string field;
    Put16(field, v);
    b.replace(at, 2, field);
}

inline std::uint32_t Stride(int width, int bits) { return (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4; }

// A 40-byte bitmap header.
inline void PutInfoHeader(std::string& b, int width, int height, int bits, std::uint32_t imageSize, int colors) {
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));
    Put16(b, 1);
    Put16(b, static_cast<std::uint32_t>(bits));
    Put32(b, 0);
    Put32(b, imageSize);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, static_cast<std::uint32_t>(colors));
    Put32(b, 0);
}

// A bitmap file: the left half red, the right half blue (for 8 bits and
// fewer through a palette whose entry 1 is red and 2 blue). A negative
// height stores the rows top-down.
inline std::string Bitmap(int width, int height, int bits) {
    const int rows = height < 0 ? -height : height;
    const int colors = bits <= 8 ? (1 << bits) : 0;
    const std::uint32_t stride = Stride(width, bits);
    const std::uint32_t offset = 14 + 40 + 4 * colors;
    std::string b = "BM";
    Put32(b, offset + stride * rows);
    Put32(b, 0);
    Put32(b, offset);
    PutInfoHeader(b, width, height, bits, stride * rows, 0);
    for (int i = 0; i < colors; ++i) Put32(b, i == 1 ? 0xFF0000 : i == 2 ? 0x0000FF : 0);  // BGR0
    for (int y = 0; y < rows; ++y) {
        std::string row(stride, '\0');
        for (int x = 0; x < width; ++x) {
            bool left = x < width / 2;
            switch (bits) {
            case 24:
                row[3 * x + 0] = left ? 0 : '\xFF';
                row[3 * x + 2] = left ? '\xFF' : 0;
                break;
            case 32:
                row[4 * x + 0] = left ? 0 : '\xFF';
                row[4 * x + 2] = left ? '\xFF' : 0;
                break;
            case 8: row[x] = left ? 1 : 2; break;
            case 4: row[x / 2] = static_cast<char>(row[x / 2] | ((left ? 1 : 2) << (x % 2 ? 0 : 4))); break;
            case 1:  // only entries 0 and 1: red on the left, black on the right
                if (left) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
                break;
            }
        }
        b += row;
    }
    return b;
}

// An icon file with one 32-bit image of size x size, all red and opaque.
inline std::string Icon(int size) {
    const std::uint32_t xorBytes = Stride(size, 32) * size, andBytes = Stride(size, 1) * size;
    const std::uint32_t imageBytes = 40 + xorBytes + andBytes;
    std::string b;
    Put16(b, 0);
    Put16(b, 1);
    Put16(b, 1);
    b += static_cast<char>(size & 0xFF);
    b += static_cast<char>(size & 0xFF);
    b += '\0';
    b += '\0';
    Put16(b, 1);
    Put16(b, 32);
    Put32(b, imageBytes);
    Put32(b, 6 + 16);
    PutInfoHeader(b, size, 2 * size, 32, xorBytes, 0);
    for (int i = 0; i < size * size; ++i) Put32(b, 0xFFFF0000);  // ARGB: opaque red
    b += std::string(andBytes, '\0');
    return b;
}

// A Windows metafile drawing a blue rectangle over (0,0)-(100,50) in logical
// units, with the placeable header in front when asked.
inline std::string Metafile(bool placeable) {
    std::string records;
    // SetWindowExt(100, 50): parameters come in reverse order.
    Put32(records, 5);
    Put16(records, 0x020C);
    Put16(records, 50);
    Put16(records, 100);
    // CreateBrushIndirect: solid blue.
    Put32(records, 7);
    Put16(records, 0x02FC);
    Put16(records, 0);           // BS_SOLID
    Put32(records, 0x00FF0000);  // COLORREF blue
    Put16(records, 0);
    // SelectObject(0)
    Put32(records, 4);
    Put16(records, 0x012D);
    Put16(records, 0);
    // Rectangle(0, 0, 100, 50): bottom, right, top, left.
    Put32(records, 7);
    Put16(records, 0x041B);
    Put16(records, 50);
    Put16(records, 100);
    Put16(records, 0);
    Put16(records, 0);
    // End of file.
    Put32(records, 3);
    Put16(records, 0);

    std::string b;
    if (placeable) {
        Put32(b, 0x9AC6CDD7);
        Put16(b, 0);
        Put16(b, 0);
        Put16(b, 0);
        Put16(b, 100);
        Put16(b, 50);
        Put16(b, 96);  // units per inch: one unit a screen pixel at 96 dpi
        Put32(b, 0);
        std::uint16_t sum = 0;
        for (std::size_t i = 0; i < 20; i += 2)
            sum ^= static_cast<std::uint16_t>(static_cast<unsigned char>(b[i]) | static_cast<unsigned char>(b[i + 1])
                                                                                     << 8);
        Put16(b, sum);
    }
    Put16(b, 1);
    Put16(b, 9);
    Put16(b, 0x0300);
    Put32(b, static_cast<std::uint32_t>((18 + records.size()) / 2));
    Put16(b, 1);
    Put32(b, 7);
    Put16(b, 0);
    return b + records;
}

// An enhanced metafile whose frame is 20 x 10 mm, with one rectangle.
inline std::string EnhancedMetafile() {
    std::string records;
    Put32(records, 43);  // EMR_RECTANGLE
    Put32(records, 24);
    for (std::uint32_t v : {0u, 0u, 75u, 37u}) Put32(records, v);
    Put32(records, 14);  // EMR_EOF
    Put32(records, 20);
    Put32(records, 0);
    Put32(records, 16);
    Put32(records, 20);

    const std::uint32_t total = 88 + static_cast<std::uint32_t>(records.size());
    std::string b;
    Put32(b, 1);  // EMR_HEADER
    Put32(b, 88);
    for (std::uint32_t v : {0u, 0u, 75u, 37u}) Put32(b, v);      // bounds, device pixels
    for (std::uint32_t v : {0u, 0u, 2000u, 1000u}) Put32(b, v);  // frame, 1/100 mm
    Put32(b, 0x464D4520);
    Put32(b, 0x10000);
    Put32(b, total);
    Put32(b, 3);  // records
    Put16(b, 1);  // handles
    Put16(b, 0);
    Put32(b, 0);  // description
    Put32(b, 0);
    Put32(b, 0);  // palette entries
    Put32(b, 1024);
    Put32(b, 768);
    Put32(b, 270);
    Put32(b, 203);
    return b + records;
}

}  // namespace picture_bytes
