#include "render/image_probe.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/temp_folder.h"

namespace {

using Bytes = std::string;

Bytes bytes(std::initializer_list<int> values) {
    Bytes out;
    for (int v : values) out += static_cast<char>(v);
    return out;
}

// A GIF of 2 x 2 pixels: header, global table of two colours, the given
// blocks between the table and the trailer.
Bytes gif(const char* version, const Bytes& blocks) {
    return Bytes("GIF") + version + bytes({2, 0, 2, 0, 0x80, 0, 0}) + bytes({0, 0, 0, 255, 255, 255}) +
           blocks + ";";
}

const Bytes kImage = bytes({0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 2, 0x4C, 0x01, 0});
const Bytes kGraphicControl = bytes({0x21, 0xF9, 4, 0, 10, 0, 0, 0});
const Bytes kNetscape = bytes({0x21, 0xFF, 11}) + "NETSCAPE2.0" + bytes({3, 1, 0, 0, 0});

Bytes jpeg(const Bytes& segments) { return bytes({0xFF, 0xD8}) + segments + bytes({0xFF, 0xD9}); }
Bytes jfif() { return bytes({0xFF, 0xE0, 0, 16}) + "JFIF" + bytes({0, 1, 1, 0, 0, 1, 0, 1, 0, 0}); }
// A frame header of the given marker: precision 8, height, width, one component.
Bytes frameHeader(int marker, int width, int height) {
    return bytes({0xFF, marker, 0, 11, 8, height >> 8, height & 0xFF, width >> 8, width & 0xFF, 1, 1,
                  0x11, 0});
}

Bytes littleEndian32(long value) {
    unsigned long v = static_cast<unsigned long>(value);
    return bytes({int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF), int(v >> 24 & 0xFF)});
}
Bytes bmp(long width, long height) {
    Bytes header = "BM" + littleEndian32(70) + littleEndian32(0) + littleEndian32(54) +
                   littleEndian32(40) + littleEndian32(width) + littleEndian32(height);
    return header + Bytes(70 - header.size(), '\0');
}

} // namespace

TEST(ImageProbe, GifFramesAreCountedThroughTheirExtensions) {
    TempFolder folder;
    EXPECT_EQ(probeImageType(folder.write("one.gif", gif("89a", kNetscape + kGraphicControl + kImage))),
              IMAGE_PROBE_GIF);
    EXPECT_EQ(probeImageType(folder.write("two.gif", gif("89a", kNetscape + kGraphicControl + kImage +
                                                                   kGraphicControl + kImage))),
              IMAGE_PROBE_ANIMATED);
    // Version 87a is not walked: two images still count as a still picture.
    EXPECT_EQ(probeImageType(folder.write("old.gif", gif("87a", kImage + kImage))), IMAGE_PROBE_GIF);
    Bytes comment = bytes({0x21, 0xFE, 3}) + "abc" + bytes({0});
    EXPECT_EQ(probeImageType(folder.write("comment.gif", gif("89a", comment + kImage))),
              IMAGE_PROBE_GIF);
}

TEST(ImageProbe, UnknownGifExtensionIsSkippedNotRefused) {
    TempFolder folder;
    Bytes unknown = bytes({0x21, 0x99, 2, 0x2C, 0x3B, 1, 0x21, 0});  // its data looks like blocks
    EXPECT_EQ(probeImageType(folder.write("ext.gif", gif("89a", unknown + kImage))), IMAGE_PROBE_GIF);
    EXPECT_EQ(probeImageType(folder.write("ext2.gif", gif("89a", kImage + unknown + kImage))),
              IMAGE_PROBE_ANIMATED);
}

TEST(ImageProbe, BrokenOrForeignFilesAreRecognisedAsSuch) {
    TempFolder folder;
    EXPECT_EQ(probeImageType(folder / "missing.gif"), IMAGE_PROBE_UNREADABLE);
    EXPECT_EQ(probeImageType(folder.write("text.gif", "hello world")), IMAGE_PROBE_UNKNOWN);
    EXPECT_EQ(probeImageType(folder.write("empty.gif", "")), IMAGE_PROBE_UNKNOWN);
    // Cut inside the image data, and a block type that does not exist.
    Bytes full = gif("89a", kImage);
    EXPECT_EQ(probeImageType(folder.write("cut.gif", full.substr(0, full.size() - 4))),
              IMAGE_PROBE_UNKNOWN);
    EXPECT_EQ(probeImageType(folder.write("bad.gif", gif("89a", bytes({0x55})))), IMAGE_PROBE_UNKNOWN);
    // The signature alone decides for PNG, JPEG and BMP.
    EXPECT_EQ(probeImageType(folder.write("p.png", bytes({0x89, 'P'}))), IMAGE_PROBE_PNG);
    EXPECT_EQ(probeImageType(folder.write("j.jpg", bytes({0xFF, 0xD8}))), IMAGE_PROBE_JPEG);
    EXPECT_EQ(probeImageType(folder.write("b.bmp", "BM")), IMAGE_PROBE_BMP);
}

TEST(ImageProbe, TypeNameComesFromTheSignature) {
    TempFolder folder;
    std::string name;
    EXPECT_EQ(getImageTypeName(folder / "missing", &name), 0);
    EXPECT_EQ(getImageTypeName(folder.write("a.gif", "GIF89a"), &name), 1);
    EXPECT_EQ(name, "GIF");
    EXPECT_EQ(getImageTypeName(folder.write("a.txt", "text"), &name), 1);
    EXPECT_EQ(name, "未知格式");
}

TEST(ImageProbe, JpegSizeComesFromBaselineOrProgressiveFrameHeader) {
    TempFolder folder;
    std::string type;
    int width = 0, height = 0;
    ASSERT_EQ(getImageTypeAndSize(folder.write("p.jpg", jpeg(jfif() + frameHeader(0xC2, 640, 480))),
                                  &type, &width, &height),
              1);
    EXPECT_EQ(type, "JPEG");
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    ASSERT_EQ(getImageTypeAndSize(folder.write("b.jpg", jpeg(frameHeader(0xC0, 300, 100))), nullptr,
                                  &width, &height),
              1);
    EXPECT_EQ(width, 300);
    // Only a lossless frame header: not a size this program reads.
    EXPECT_EQ(getImageTypeAndSize(folder.write("l.jpg", jpeg(jfif() + frameHeader(0xC1, 8, 8))),
                                  &type, &width, &height),
              0);
}

TEST(ImageProbe, JpegSegmentShorterThanItsLengthFieldFails) {
    TempFolder folder;
    int width = 0, height = 0;
    // A length of 0 or 1 would step backwards or stand still.
    EXPECT_EQ(getImageTypeAndSize(folder.write("z.jpg", jpeg(bytes({0xFF, 0xE1, 0, 0}) +
                                                             frameHeader(0xC0, 8, 8))),
                                  nullptr, &width, &height),
              0);
    EXPECT_EQ(getImageTypeAndSize(folder.write("o.jpg", jpeg(bytes({0xFF, 0xE1, 0, 1}) +
                                                             frameHeader(0xC0, 8, 8))),
                                  nullptr, &width, &height),
              0);
    // Running off the end, or a byte where a marker must be.
    EXPECT_EQ(getImageTypeAndSize(folder.write("e.jpg", bytes({0xFF, 0xD8, 0xFF, 0xE0, 0x40, 0})),
                                  nullptr, &width, &height),
              0);
    EXPECT_EQ(getImageTypeAndSize(folder.write("m.jpg", bytes({0xFF, 0xD8, 0x00, 0xC0})), nullptr,
                                  &width, &height),
              0);
}

TEST(ImageProbe, PngGifAndBmpSizesFromTheirHeaders) {
    TempFolder folder;
    ImageHeaderInfo info;
    Bytes png = bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13}) + "IHDR" +
                bytes({0, 0, 0x03, 0x20, 0, 0, 0x02, 0x58, 8, 6, 0, 0, 0});
    ASSERT_EQ(readImageHeaderInfo(folder.write("a.png", png), &info), 1);
    EXPECT_EQ(info.type, "PNG");
    EXPECT_EQ(info.width, 800);
    EXPECT_EQ(info.height, 600);
    EXPECT_EQ(info.bytes, static_cast<std::int64_t>(png.size()));
    // The sizes are 32 bits wide; past 31 bits the header is no PNG's.
    png.replace(16, 8, bytes({0, 1, 0, 0x0A, 0x7F, 0xFF, 0xFF, 0xFF}));
    ASSERT_EQ(readImageHeaderInfo(folder.write("wide.png", png), &info), 1);
    EXPECT_EQ(info.width, 65546);
    EXPECT_EQ(info.height, 0x7FFFFFFF);
    png.replace(16, 4, bytes({0x80, 0, 0, 0}));
    EXPECT_EQ(readImageHeaderInfo(folder.write("negative.png", png), &info), 0);

    ASSERT_EQ(readImageHeaderInfo(folder.write("a.gif", gif("89a", kImage)), &info), 1);
    EXPECT_EQ(info.type, "GIF");
    EXPECT_EQ(info.width, 2);

    // Top-down BMP: the negative height is its size.
    ASSERT_EQ(readImageHeaderInfo(folder.write("t.bmp", bmp(640, -480)), &info), 1);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 480);
    EXPECT_EQ(info.bytes, 70);  // the header's file-size field

    EXPECT_EQ(readImageHeaderInfo(folder.write("short.bmp", Bytes("BM") + Bytes(8, '\0')), &info), 0);
    int width = -1;
    EXPECT_EQ(getImageTypeAndSize(folder.write("x.bmp", bmp(4, 4)), nullptr, &width, nullptr), 1);
    EXPECT_EQ(width, -1) << "sizes are stored only when both outputs are given";
}
