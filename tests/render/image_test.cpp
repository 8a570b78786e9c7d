#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "effect_harness.h"
#include "foundation/charset.h"
#include "foundation/globals.h"
#include "platform/message_box.h"
#include "render/image.h"

extern "C" {
#include <libswscale/swscale.h>
}

using namespace harness;

namespace {

struct Box {
    std::string text, caption;
};
std::vector<Box> boxes;

int recordBox(void*, const std::string& text, const std::string& caption, unsigned) {
    boxes.push_back({text, caption});
    return IDOK;
}

class ImageModule : public ::testing::Test {
protected:
    void SetUp() override {
        boxes.clear();
        savedHandler = setMessageBoxHandler(recordBox);
    }
    void TearDown() override { setMessageBoxHandler(savedHandler); }

    TempFolder dir;
    MessageBoxHandler savedHandler = nullptr;
};

Point sizeOf(MagickWand* wand) {
    return {static_cast<int>(MagickGetImageWidth(wand)), static_cast<int>(MagickGetImageHeight(wand))};
}

// The picture's YUV 4:2:0 as libswscale makes it into roomy planes of its
// own, laid end to end: what the encoder would make of the RGB frame (its
// edge repeated to an even size).
std::vector<unsigned char> referenceYuv(MagickWand* wand) {
    const Frame rgb = frameOf(wand);
    const int W = rgb.width, H = rgb.height, evenW = W + W % 2, evenH = H + H % 2;
    // The scaler's vector code reads a little past the last pixel.
    std::vector<unsigned char> even(static_cast<std::size_t>(evenW) * evenH * 3 + 64);
    for (int y = 0; y < evenH; ++y)
        for (int x = 0; x < evenW; ++x) {
            Rgb c = rgb.at(std::min(x, W - 1), std::min(y, H - 1));
            unsigned char* p = &even[(static_cast<std::size_t>(y) * evenW + x) * 3];
            p[0] = static_cast<unsigned char>(c.r);
            p[1] = static_cast<unsigned char>(c.g);
            p[2] = static_cast<unsigned char>(c.b);
        }
    SwsContext* context = sws_getContext(W, H, AV_PIX_FMT_RGB24, W, H, AV_PIX_FMT_YUV420P,
                                         SWS_BICUBIC, nullptr, nullptr, nullptr);
    // Rows of 64-byte multiples and a spare row: room for any vector write.
    const int chromaW = (W + 1) / 2, chromaH = (H + 1) / 2;
    const int strides[] = {(W + 63) / 64 * 64, (chromaW + 63) / 64 * 64, (chromaW + 63) / 64 * 64};
    std::vector<std::uint8_t> padded[3];
    std::uint8_t* planes[3];
    for (int plane = 0; plane < 3; ++plane) {
        padded[plane].resize(static_cast<std::size_t>(strides[plane]) * ((plane ? chromaH : H) + 1));
        planes[plane] = padded[plane].data();
    }
    const std::uint8_t* source[] = {even.data()};
    const int sourceStride[] = {evenW * 3};
    sws_scale(context, source, sourceStride, 0, H, planes, strides);
    sws_freeContext(context);
    std::vector<unsigned char> yuv;
    for (int plane = 0; plane < 3; ++plane)
        for (int y = 0; y < (plane ? chromaH : H); ++y) {
            const std::uint8_t* row = planes[plane] + static_cast<std::ptrdiff_t>(y) * strides[plane];
            yuv.insert(yuv.end(), row, row + (plane ? chromaW : W));
        }
    return yuv;
}

} // namespace

TEST_F(ImageModule, ReadsPathsImageMagickWouldOtherwiseParse) {
    WandPtr red = solidCanvas(8, 6, "#ff0000");
    for (const char* name : {"红色 图片[1].png", "png:伪装.png", "a[2x2].png"}) {
        std::string path = dir / name;
        writePicture(red.get(), path);
        WandPtr read(readPicture(path, "#ffffff"));
        ASSERT_NE(read, nullptr) << name;
        EXPECT_EQ(sizeOf(read.get()), (Point{8, 6})) << name;
        EXPECT_EQ(pixelOf(read.get(), 1, 1), kRed) << name;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ImageModule, UnreadablePictureShowsItsErrorAndReturnsNull) {
    EXPECT_EQ(readPicture(dir / "missing.jpg", "#ffffff"), nullptr);
    std::string garbage = dir / "garbage.jpg";
    FILE* file = std::fopen(garbage.c_str(), "wb");
    std::fputs("not a picture at all", file);
    std::fclose(file);
    EXPECT_EQ(readPicture(garbage, "#ffffff"), nullptr);
    ASSERT_EQ(boxes.size(), 2u);
    for (const Box& box : boxes) {
        EXPECT_EQ(box.caption, "错误");
        EXPECT_EQ(box.text.rfind("MagickReadImage() 发生错误：\n\nimage unknown 164 ", 0), 0u)
            << box.text;
    }
    EXPECT_NE(boxes[0].text.find("missing.jpg"), std::string::npos);
}

TEST_F(ImageModule, ReadErrorTextIsBoundedOnACharacterBoundary) {
    std::string longName = "/nonexistent";
    for (int i = 0; i < 400; ++i) longName += "/图片";
    EXPECT_EQ(readPicture(longName, "#ffffff"), nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_LE(gbk_length(boxes[0].text.c_str()), 1023);
    EXPECT_GE(gbk_length(boxes[0].text.c_str()), 1021);
    std::vector<char> utf8(boxes[0].text.size() * 2 + 1);
    std::size_t length = 0;
    EXPECT_EQ(iconvStr("UTF-8", "UTF-8", boxes[0].text.data(), boxes[0].text.size(), utf8.data(),
                       utf8.size(), &length),
              0)
        << "the cut must not split a character";
}

TEST_F(ImageModule, TransparencyIsFlattenedOntoTheFillExceptIn32BitBmp) {
    WandPtr clear = solidCanvas(4, 4, "rgba(255,0,0,0)");
    MagickSetImageAlphaChannel(clear.get(), ActivateAlphaChannel);
    std::string png = dir / "clear.png";
    std::string bmp = dir / "clear.bmp";
    writePicture(clear.get(), png);
    writePicture(clear.get(), bmp);
    WandPtr flat(readPicture(png, "#00ff00"));
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(pixelOf(flat.get(), 2, 2), rgbOf("#00ff00"));
    WandPtr kept(readPicture(bmp, "#00ff00"));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(MagickGetImageAlphaChannel(kept.get()), MagickFalse);
    EXPECT_EQ(pixelOf(kept.get(), 2, 2), kRed);
}

TEST_F(ImageModule, CmykPicturesAreReadAsSrgb) {
    WandPtr picture = solidCanvas(16, 16, "#3366cc");
    MagickTransformImageColorspace(picture.get(), CMYKColorspace);
    std::string path = dir / "cmyk.jpg";
    writePicture(picture.get(), path);
    EXPECT_EQ(isCmykFile(path), 1);
    WandPtr read(readPicture(path, "#ffffff"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(MagickGetImageColorspace(read.get()), sRGBColorspace);
    EXPECT_TRUE(near(pixelOf(read.get(), 8, 8), rgbOf("#3366cc"), 6)) << pixelOf(read.get(), 8, 8);
    std::string png = dir / "rgb.png";
    writePicture(solidCanvas(4, 4, "#ff0000").get(), png);
    EXPECT_EQ(isCmykFile(png), 0);
    EXPECT_EQ(isCmykFile(dir / "none.jpg"), 0);
}

TEST_F(ImageModule, FitKeepsExactSizesAndCentresSmallPicturesWithoutEnlarging) {
    WandPtr exact = positionCodedCanvas(400, 400);
    WandPtr fitted(fitOnBackground(400, 400, exact.get(), "#ffffff"));
    EXPECT_EQ(frameOf(fitted.get()), frameOf(exact.get()));

    WandPtr small = solidCanvas(100, 50, "#ff0000");
    WandPtr canvas(fitOnBackground(400, 400, small.get(), "#ffffff"));
    EXPECT_EQ(sizeOf(small.get()), (Point{100, 50}));
    EXPECT_EQ(pixelOf(canvas.get(), 150, 175), kRed);
    EXPECT_EQ(pixelOf(canvas.get(), 249, 224), kRed);
    EXPECT_EQ(pixelOf(canvas.get(), 149, 175), rgbOf("#ffffff"));
    EXPECT_EQ(pixelOf(canvas.get(), 250, 224), rgbOf("#ffffff"));
}

TEST_F(ImageModule, FitShrinksLargePicturesInPlace) {
    WandPtr wide = solidCanvas(1000, 500, "#ff0000");
    WandPtr canvas(fitOnBackground(400, 400, wide.get(), "#000000"));
    EXPECT_EQ(sizeOf(wide.get()), (Point{400, 200}));
    EXPECT_EQ(pixelOf(canvas.get(), 0, 99), kBlack);
    EXPECT_EQ(pixelOf(canvas.get(), 0, 100), kRed);
    EXPECT_EQ(pixelOf(canvas.get(), 399, 299), kRed);

    WandPtr line = solidCanvas(10000, 1, "#ff0000");
    WandPtr lineCanvas(fitOnBackground(400, 400, line.get(), "#ffffff"));
    EXPECT_EQ(sizeOf(line.get()), (Point{400, 1}));

    WandPtr tall = solidCanvas(300, 900, "#ff0000");
    WandPtr tallCanvas(fitOnBackground(400, 400, tall.get(), "#ffffff"));
    EXPECT_EQ(sizeOf(tall.get()), (Point{133, 400}));
}

TEST_F(ImageModule, ZoomCanvasCentresAnEnlargedCopyAndLeavesThePicture) {
    WandPtr picture = positionCodedCanvas(400, 400);
    WandPtr zoomed(zoomOnWhiteCanvas(400, 400, picture.get(), 8));
    EXPECT_EQ(sizeOf(zoomed.get()), (Point{400, 400}));
    EXPECT_EQ(sizeOf(picture.get()), (Point{400, 400}));
    // A 408 x 408 copy at (-4, -4): the corner shows source pixel ~3.9.
    Point corner = positionOf(pixelOf(zoomed.get(), 0, 0));
    EXPECT_NEAR(corner.x, 4, 1);
    EXPECT_NEAR(corner.y, 4, 1);
    Point centre = positionOf(pixelOf(zoomed.get(), 200, 200));
    EXPECT_NEAR(centre.x, 200, 1);
}

TEST_F(ImageModule, WhiteCanvasesCompositeAndBlend) {
    WandPtr red = solidCanvas(10, 10, "#ff0000");
    WandPtr placed(newWhiteCanvasWith(40, 40, red.get(), 5, 7));
    EXPECT_EQ(pixelOf(placed.get(), 5, 7), kRed);
    EXPECT_EQ(pixelOf(placed.get(), 4, 7), rgbOf("#ffffff"));
    WandPtr base = solidCanvas(40, 40, "#0000ff");
    WandPtr blended(blendOnWhiteCanvas(40, 40, red.get(), base.get(), 0.5));
    EXPECT_TRUE(near(pixelOf(blended.get(), 2, 2), {128, 0, 128}, 2));
    EXPECT_EQ(pixelOf(blended.get(), 20, 20), kBlue);
}

TEST_F(ImageModule, FrameJpegCarriesTheLogoWhenGivenOne) {
    WandPtr frame = solidCanvas(64, 64, "#ff0000");
    WandPtr logo = solidCanvas(16, 16, "#00ff00");
    FrameLogo placed{logo.get(), 8, 8};
    const FrameLogo* choices[] = {nullptr, &placed};
    for (const FrameLogo* given : choices) {
        std::size_t length = 0;
        MagickBlobPtr blob(getFrameJpegBlob(frame.get(), &length, given));
        ASSERT_NE(blob, nullptr);
        ASSERT_GT(length, 3u);
        EXPECT_EQ(blob.get()[0], 0xFF);
        EXPECT_EQ(blob.get()[1], 0xD8);
        WandPtr decoded(NewMagickWand());
        ASSERT_EQ(MagickReadImageBlob(decoded.get(), blob.get(), length), MagickTrue);
        Rgb atLogo = pixelOf(decoded.get(), 16, 16);
        EXPECT_TRUE(near(atLogo, given ? rgbOf("#00ff00") : kRed, 12)) << atLogo;
    }
    EXPECT_EQ(pixelOf(frame.get(), 16, 16), kRed) << "the frame itself keeps no logo";
}

TEST_F(ImageModule, FramePixelsAreRowsOfRgbAtTheAskedSize) {
    WandPtr coded = positionCodedCanvas(300, 200);
    WandPtr logo = solidCanvas(16, 16, "#00ff00");
    FrameLogo placed{logo.get(), 8, 8};
    Frame expected = frameOf(coded.get());
    // Pixels outside the image repeat its last column and row.
    auto expectedAt = [&](int x, int y) { return expected.at(std::min(x, 299), std::min(y, 199)); };
    struct Case {
        const char* name;
        int width, height;
        const FrameLogo* logo;
    } cases[] = {
        {"the image's own size", 300, 200, nullptr},
        {"with the logo", 300, 200, &placed},
        {"larger than the image", 310, 205, nullptr},
        {"smaller than the image", 120, 90, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::size_t length = 1;
        MagickBlobPtr blob(getFramePixels(coded.get(), c.width, c.height, &length, c.logo));
        ASSERT_NE(blob, nullptr);
        ASSERT_EQ(length, static_cast<std::size_t>(c.width) * c.height * 3);
        Frame frame{c.width, c.height, std::vector<std::uint8_t>(blob.get(), blob.get() + length)};
        for (Point p : {Point{0, 0}, Point{7, 7}, Point{8, 8}, Point{23, 23}, Point{24, 24},
                        Point{c.width - 1, 0}, Point{0, c.height - 1},
                        Point{c.width - 1, c.height - 1}}) {
            bool underLogo = c.logo && p.x >= 8 && p.x < 24 && p.y >= 8 && p.y < 24;
            EXPECT_EQ(frame.at(p.x, p.y), underLogo ? rgbOf("#00ff00") : expectedAt(p.x, p.y)) << p;
        }
    }
    EXPECT_EQ(frameOf(coded.get()), expected) << "the frame itself keeps no logo";
    std::size_t length = 1;
    EXPECT_EQ(getFramePixels(coded.get(), 0, 200, &length, nullptr), nullptr);
    EXPECT_EQ(length, 0u);
}

TEST_F(ImageModule, YuvFramePixelsArePlanesOfLimitedRangeBt601) {
    struct Case {
        const char* color;
        int y, u, v;  // BT.601, limited range
    } colors[] = {
        {"#ffffff", 235, 128, 128},
        {"#000000", 16, 128, 128},
        {"#ff0000", 82, 90, 240},
        {"#0000ff", 41, 240, 110},
    };
    // The tiny sizes are where libswscale's vector code writes past the last
    // pixel of a plane.
    for (Point size : {Point{1, 1}, Point{1, 3}, Point{1, 4}, Point{3, 1}, Point{4, 3}, Point{5, 5},
                       Point{6, 4}, Point{7, 5}, Point{17, 3}, Point{32, 18}, Point{33, 2}}) {
        const int chroma = ((size.x + 1) / 2) * ((size.y + 1) / 2);
        const std::size_t bytes = static_cast<std::size_t>(size.x * size.y + 2 * chroma);
        EXPECT_EQ(framePixelBytes(size.x, size.y, FramePixels::Yuv420p), bytes);
        {
            SCOPED_TRACE(::testing::Message() << "position-coded at " << size);
            WandPtr coded = positionCodedCanvas(size.x, size.y);
            std::size_t length = 0;
            MagickBlobPtr blob(getFramePixels(coded.get(), size.x, size.y, &length, nullptr,
                                              FramePixels::Yuv420p));
            ASSERT_NE(blob, nullptr);
            ASSERT_EQ(length, bytes);
            EXPECT_EQ(std::vector<unsigned char>(blob.get(), blob.get() + length),
                      referenceYuv(coded.get()));
        }
        for (const Case& c : colors) {
            SCOPED_TRACE(::testing::Message() << c.color << " at " << size);
            WandPtr frame = solidCanvas(size.x, size.y, c.color);
            std::size_t length = 0;
            MagickBlobPtr blob(getFramePixels(frame.get(), size.x, size.y, &length, nullptr,
                                              FramePixels::Yuv420p));
            ASSERT_NE(blob, nullptr);
            ASSERT_EQ(length, bytes);
            for (std::size_t i = 0; i < length; ++i) {
                const std::size_t luma = static_cast<std::size_t>(size.x * size.y);
                const int want = i < luma ? c.y : i < luma + chroma ? c.u : c.v;
                ASSERT_NEAR(blob.get()[i], want, 1) << "byte " << i;
            }
        }
    }
}

TEST_F(ImageModule, JpegFileQualityIsCappedAtTheCeiling) {
    std::string source = dir / "q.jpg";
    for (int quality : {75, 92}) {
        WandPtr picture = positionCodedCanvas(64, 64);
        MagickSetImageCompressionQuality(picture.get(), quality);
        writePicture(picture.get(), source);
        WandPtr read(NewMagickWand());
        ASSERT_EQ(readImageGbkPath(read.get(), source), 1);
        std::string target = dir / "out.jpg";
        ASSERT_EQ(writeJpegFile(read.get(), target, 80), 1);
        WandPtr written(NewMagickWand());
        ASSERT_EQ(readImageGbkPath(written.get(), target), 1);
        EXPECT_EQ(MagickGetImageCompressionQuality(written.get()), quality == 75 ? 75u : 80u);
    }
}

TEST_F(ImageModule, StillTestLooksAtTheFirstFrame) {
    auto animation = [&](size_t firstDelay, size_t secondDelay) {
        WandPtr frames(NewMagickWand());
        for (size_t delay : {firstDelay, secondDelay}) {
            PixelWandPtr fill = newPixelWand(delay == firstDelay ? "#ff0000" : "#0000ff");
            MagickNewImage(frames.get(), 8, 8, fill.get());
            MagickSetImageDelay(frames.get(), delay);
        }
        std::string path = dir / "anim.gif";
        MagickResetIterator(frames.get());
        EXPECT_EQ(MagickWriteImages(frames.get(), path.c_str(), MagickTrue), MagickTrue);
        WandPtr read(NewMagickWand());
        EXPECT_EQ(readImageGbkPath(read.get(), path), 1);
        return read;
    };
    WandPtr stillFirst = animation(0, 20);
    ssize_t index = MagickGetIteratorIndex(stillFirst.get());
    EXPECT_EQ(isStillImage(stillFirst.get()), 1);
    EXPECT_EQ(MagickGetIteratorIndex(stillFirst.get()), index) << "the iterator is restored";
    EXPECT_EQ(isStillImage(animation(20, 0).get()), 0);
    WandPtr single = solidCanvas(8, 8, "#ff0000");
    MagickSetImageDelay(single.get(), 30);
    EXPECT_EQ(isStillImage(single.get()), 1);
}

// Render workers export frames that share one pixel cache (clones of the
// same canvas) at the same time, odd sizes reading one pixel past the edge.
TEST(FramePixelsThreads, ClonesOfOnePictureExportAtOnceOnSeveralThreads) {
    WandPtr canvas = positionCodedCanvas(301, 201);
    struct Export {
        int width, height;
        FramePixels layout;
        std::vector<unsigned char> bytes;
    } exports[] = {{301, 201, FramePixels::Rgb24, {}},
                   {301, 201, FramePixels::Yuv420p, {}},
                   {304, 203, FramePixels::Rgb24, {}}};
    for (Export& e : exports) {
        std::size_t length = 0;
        MagickBlobPtr blob(getFramePixels(canvas.get(), e.width, e.height, &length, nullptr, e.layout));
        ASSERT_NE(blob, nullptr);
        e.bytes.assign(blob.get(), blob.get() + length);
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 60; ++i) {
                WandPtr clone(CloneMagickWand(canvas.get()));
                const Export& e = exports[(t + i) % 3];
                std::size_t length = 0;
                MagickBlobPtr blob(getFramePixels(clone.get(), e.width, e.height, &length, nullptr,
                                                  e.layout));
                if (!blob || !std::equal(e.bytes.begin(), e.bytes.end(), blob.get())) ++wrong;
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
}
