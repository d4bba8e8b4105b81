// The JPEG Huffman table check: tables of more than 256 codes are refused wherever the decoder
// would read them; anything it would not build as a table is left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/d3dx9/DecodedImage.h"
#include "platform/d3dx9/JpegHuffmanCheck.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A Huffman table segment holding one table whose sixteen code counts are all `perLength`.
Bytes huffmanSegment(unsigned char perLength, bool withSymbols) {
    const unsigned codes = 16u * perLength;
    const unsigned length = 2 + 17 + codes;
    Bytes segment(5 + 16 + (withSymbols ? codes : 0u), 0x01);
    segment[0] = 0xFF;
    segment[1] = 0xC4;
    segment[2] = static_cast<unsigned char>(length >> 8);
    segment[3] = static_cast<unsigned char>(length);
    segment[4] = 0x00;
    std::fill_n(segment.begin() + 5, 16, perLength);
    return segment;
}

Bytes jpeg(std::initializer_list<Bytes> parts) {
    Bytes bytes = {0xFF, 0xD8};
    for (const Bytes& part : parts) {
        for (unsigned char b : part) {
            bytes.push_back(b);
        }
    }
    bytes.push_back(0xFF);
    bytes.push_back(0xD9);
    return bytes;
}

bool fits(const Bytes& bytes) {
    return fx::JpegHuffmanCheck::tablesFit(bytes.data(), bytes.size());
}

TEST(JpegHuffmanCheckTest, TablesOfMoreThan256CodesAreRefusedBeforeAndAfterAScan) {
    EXPECT_TRUE(fits(jpeg({huffmanSegment(16, true)})));     // exactly 256 codes
    EXPECT_FALSE(fits(jpeg({huffmanSegment(17, true)})));    // 272
    EXPECT_FALSE(fits(jpeg({huffmanSegment(255, false)})));  // counts only, data cut short
    // A progressive file declares tables between scans; the scan data has a stuffed 0xFF.
    const Bytes scan = {0xFF, 0xDA, 0x00, 0x02, 0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD0, 0x56};
    EXPECT_TRUE(fits(jpeg({huffmanSegment(1, true), scan, huffmanSegment(2, true)})));
    EXPECT_FALSE(fits(jpeg({huffmanSegment(1, true), scan, huffmanSegment(20, true)})));
    // Fill bytes before the start-of-image code still make a JPEG file for the decoder.
    Bytes filled = jpeg({huffmanSegment(17, true)});
    filled.insert(filled.begin(), {0xFF, 0xFF});
    EXPECT_FALSE(fits(filled));
    // The refusal reaches the image decoder.
    const Bytes bad = jpeg({huffmanSegment(17, true)});
    EXPECT_FALSE(fx::DecodedImage::decode(bad.data(), bad.size()).has_value());
}

// A Huffman table segment defining one small table of `tableClass` (0 DC, 1 AC) in `slot`.
Bytes tableIn(unsigned char tableClass, unsigned char slot) {
    Bytes segment = huffmanSegment(0, true);
    segment[4] = static_cast<unsigned char>(tableClass << 4 | slot);
    segment[5] = 2;  // two codes of one bit
    segment[3] = static_cast<unsigned char>(2 + 17 + 2);
    segment.push_back(0x00);
    segment.push_back(0x01);
    return segment;
}

// A scan header for one component using DC table `dc` and AC table `ac` over the spectral
// range [start, end] with successive approximation `high`.
Bytes scanHeader(unsigned char dc, unsigned char ac, unsigned char start, unsigned char end,
                 unsigned char high = 0) {
    return {0xFF,
            0xDA,
            0x00,
            0x08,
            0x01,
            0x01,
            static_cast<unsigned char>(dc << 4 | ac),
            start,
            end,
            static_cast<unsigned char>(high << 4),
            0x12,
            0x34};
}

const Bytes kProgressiveFrame = {0xFF, 0xC2, 0x00, 0x0B, 0x08, 0x00, 0x08,
                                 0x00, 0x08, 0x01, 0x01, 0x11, 0x00};

TEST(JpegHuffmanCheckTest, ScansMayUseOnlyTablesDefinedBeforeThem) {
    // A sequential scan decodes with both of its tables.
    EXPECT_TRUE(fits(jpeg({tableIn(0, 0), tableIn(1, 0), scanHeader(0, 0, 0, 63)})));
    EXPECT_FALSE(fits(jpeg({tableIn(0, 0), scanHeader(0, 0, 0, 63)})));
    EXPECT_FALSE(fits(jpeg({tableIn(0, 0), tableIn(1, 0), scanHeader(0, 2, 0, 63)})));
    EXPECT_FALSE(fits(jpeg({scanHeader(0, 0, 0, 63), tableIn(0, 0), tableIn(1, 0)})));
    // A progressive file: the first DC scan needs only its DC table, refining DC bits none, an
    // AC scan its AC table.
    EXPECT_TRUE(fits(jpeg({kProgressiveFrame, tableIn(0, 1), scanHeader(1, 3, 0, 0)})));
    EXPECT_TRUE(fits(jpeg({kProgressiveFrame, scanHeader(1, 3, 0, 0, 1)})));
    EXPECT_FALSE(fits(jpeg({kProgressiveFrame, tableIn(0, 1), scanHeader(1, 3, 1, 5)})));
    EXPECT_TRUE(
        fits(jpeg({kProgressiveFrame, tableIn(0, 1), tableIn(1, 3), scanHeader(1, 3, 1, 5)})));
    // Through the image decoder.
    const Bytes undefined = jpeg({tableIn(0, 0), scanHeader(0, 1, 0, 63)});
    EXPECT_FALSE(fx::DecodedImage::decode(undefined.data(), undefined.size()).has_value());
}

TEST(JpegHuffmanCheckTest, WhatTheDecoderWouldNotBuildAsATableIsLeftAlone) {
    // The same bytes inside an application segment are not a table.
    const Bytes hidden = huffmanSegment(17, true);
    const std::size_t length = 2 + hidden.size();
    Bytes application = {0xFF, 0xE1, static_cast<unsigned char>(length >> 8),
                         static_cast<unsigned char>(length)};
    for (unsigned char b : hidden) {
        application.push_back(b);
    }
    EXPECT_TRUE(fits(jpeg({application})));
    // Fill bytes before a marker, and a segment cut off by the end of the data.
    EXPECT_TRUE(fits(jpeg({{0xFF, 0xFF, 0xFF}, huffmanSegment(3, true)})));
    EXPECT_TRUE(fits({0xFF, 0xD8, 0xFF, 0xC4, 0x00}));
    // Not a JPEG file at all.
    EXPECT_TRUE(fits({0x89, 'P', 'N', 'G'}));
    EXPECT_TRUE(fits({}));
}

}  // namespace
