#include "production/encoder_pipeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "foundation/array_list.h"
#include "foundation/file_path.h"
#include "foundation/globals.h"
#include "foundation/heap_alloc.h"
#include "platform/command_ids.h"
#include "platform/progress_window.h"
#include "platform/window_controls.h"
#include "production/download_folder.h"
#include "production/encoder_command.h"
#include "production/timing.h"
#include "production/video_thread.h"
#include "foundation/linked_list.h"
#include "net/http_request.h"
#include "render/effects/frame_output.h"
#include "render/image.h"
#include "render/picture_renderer.h"
#include "render/render_engine.h"
#include "render/wand_ptr.h"
#include "production_support.h"
#include "../net/test_server.h"

using namespace production_test;

namespace {

class EncoderPipeline : public ProductionTest {
protected:
    void SetUp() override {
        ProductionTest::SetUp();
        setUpOutputControls(1, 3, 0);  // 0.2 s pause
        ASSERT_TRUE(fileExists(ffmpegPath.c_str())) << "the build links tool/ffmpeg beside the tests";
    }
    // Three small pictures: no animation, the fade, a zoom.
    void addThreePictures(const std::string& prefix = "p") {
        const char* colors[] = {"#ffffff", "#3366cc", "#cc3333"};
        const int effects[] = {99, 31, 1};
        for (int i = 0; i < 3; ++i) {
            std::string path = folder / (prefix + std::to_string(i) + ".jpg");
            writeSolidPicture(path, 300, 200, colors[i]);
            addPicture(path, effects[i]);
        }
    }
    void useMusic(const std::string& path) {
        std::lock_guard<std::mutex> hold(musicPathListLock);
        arraylist_insert(musicPathList, 1, heapCopy(path.c_str()));
        comboAddString(IDC_MUSIC, "music");
        comboSetCurSel(IDC_MUSIC, 1);
    }
    void useLogo(const std::string& path, int position) {
        setChecked(IDC_LOGO_CHECK, 1);
        setControlText(IDC_LOGO_PATH, path);
        for (int i = 0; i < 8; ++i) comboAddString(IDC_LOGO_POSITION, "position");
        comboSetCurSel(IDC_LOGO_POSITION, position);
    }
    std::vector<unsigned> outcome() { return recorded().messages; }
    // The music is longer than the video and cut to its length.
    void expectMusicCut(const std::string& path) {
        const double seconds = audioStreamSeconds(path);
        EXPECT_GT(seconds, 0) << "an audio stream";
        EXPECT_LE(seconds, getTotalFrames() / 25.0 + 0.05);
    }
    // The frames a generation of the list as it stands renders, in order.
    std::vector<std::string> renderedFrames() {
        std::vector<std::string> frames;
        auto keep = [](void* handle, const void* bytes, std::uint32_t length, std::uint32_t* written,
                       void*) {
            static_cast<std::vector<std::string>*>(handle)->emplace_back(
                static_cast<const char*>(bytes), length);
            *written = length;
            return 1;
        };
        renderFrameStream(takeRenderSettings(), {keep, nullptr, &frames}, {}, 1);
        return frames;
    }
    void expectVideo(const std::string& path, int frames) {
        auto info = probeVideo(path);
        EXPECT_EQ(info["width"], "256");
        EXPECT_EQ(info["height"], "256");
        EXPECT_EQ(info["r_frame_rate"], "25/1");
        EXPECT_EQ(info["pix_fmt"], "yuv420p");
        EXPECT_EQ(info["nb_read_frames"], std::to_string(frames));
        EXPECT_NEAR(std::atof(info["duration"].c_str()), frames / 25.0, 0.05);
    }
};

using Outcome = std::vector<unsigned>;

// Thin dark lines on a coloured gradient, 256 x 256: edges are what JPEG
// blurs and what a conversion to YUV 4:2:0 filters.
void writeLinesPicture(const std::string& path) {
    std::vector<unsigned char> pixels(256 * 256 * 3);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            unsigned char* p = &pixels[(static_cast<std::size_t>(y) * 256 + x) * 3];
            bool line = x % 7 == 0 || y % 11 == 0;
            p[0] = line ? 40 : static_cast<unsigned char>(150 + x / 4);
            p[1] = line ? 40 : static_cast<unsigned char>(160 + y / 4);
            p[2] = line ? 50 : static_cast<unsigned char>(170 + (x + y) / 8);
        }
    WandPtr wand(NewMagickWand());
    PixelWandPtr black = newPixelWand("#000000");
    MagickNewImage(wand.get(), 256, 256, black.get());
    MagickImportImagePixels(wand.get(), 0, 0, 256, 256, "RGB", CharPixel, pixels.data());
    ASSERT_EQ(MagickWriteImage(wand.get(), path.c_str()), MagickTrue);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Peak signal-to-noise ratio of a against b in dB (8-bit samples).
double psnr(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    EXPECT_EQ(a.size(), b.size());
    double sum = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        double d = static_cast<double>(a[i]) - b[i];
        sum += d * d;
    }
    double mse = sum / static_cast<double>(std::max<std::size_t>(a.size(), 1));
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

// Makes the frames a generation writes until the sixth, which it cannot
// make (as when there is no memory for its pixels).
std::atomic<int> framesMade{0};
unsigned char* failingAtTheSixthFrame(MagickWand* frame, std::size_t* length, void*) {
    if (++framesMade > 5) return nullptr;
    return getFramePixels(frame, static_cast<int>(MagickGetImageWidth(frame)),
                          static_cast<int>(MagickGetImageHeight(frame)), length, nullptr,
                          FramePixels::Yuv420p);
}

}  // namespace

TEST_F(EncoderPipeline, NamedPipeWayWritesTheCountedFrames) {
    addThreePictures();
    std::string output = folder / "out";
    answerSaveDialog(output);  // ".mp4" is added
    generateAndWait();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_DONE});
    EXPECT_EQ(recorded().updates, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(useAnonymousPipe.load(), 0);
    EXPECT_EQ(outputVideoPath, output + ".mp4");
    expectVideo(output + ".mp4", getTotalFrames());
    EXPECT_TRUE(recorded().boxes.empty());
}

TEST_F(EncoderPipeline, StandardInputWayWithMusicLogoAndBitrate) {
    addThreePictures();
    useAnonymousPipe = 1;
    mp4VideoBitrate = 1;
    std::string music = folder / "m.mp3";
    writeMusic(music, 5.0);
    useMusic(music);
    std::string logo = folder / "logo.png";
    writeSolidPicture(logo, 24, 24, "#00ff00");
    useLogo(logo, 2);
    answerSaveDialog(folder / "out.MP4");
    generateAndWait();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_DONE});
    expectVideo(folder / "out.MP4", getTotalFrames());
    expectMusicCut(folder / "out.MP4");
    // Top right, inset by 6: the logo over the first (white) picture.
    std::vector<unsigned char> rgb = firstFrameRgb(folder / "out.MP4");
    ASSERT_EQ(rgb.size(), 256u * 256u * 3u);
    const unsigned char* inLogo = &rgb[(18u * 256u + 256u - 18u) * 3u];
    EXPECT_LT(inLogo[0], 80);
    EXPECT_GT(inLogo[1], 200);
}

TEST_F(EncoderPipeline, LogoShowsInItsCornerAndItsPrivateCopyGoesWithTheRun) {
    removeDownloadFolder();  // one left by an earlier test's work folder
    // Each run of the encoder tells its way, which folder it runs in and
    // what the copy there is.
    const std::string seen = folder / "seen";
    ffmpegPath = writeScript(folder, "ffmpeg",
                             "{ case \"$*\" in *pipe:0*) echo stdin;; *) echo FIFO;; esac\n"
                             "  pwd -P; stat -c '%a %F' temp_*; } >> '" + seen + "'\n"
                             "exec /usr/bin/ffmpeg \"$@\"");
    std::string picture = folder / "white.png";
    writeSolidPicture(picture, 256, 256, "#ffffff");
    addPicture(picture, 99);
    std::string logo = folder / "logo.png";
    writeSolidPicture(logo, 32, 32, "#ff0000");
    useLogo(logo, 3);  // bottom right, inset by 256 / 400 * 10 = 6
    answerSaveDialog(folder / "logo.mp4");
    generateAndWait();
    ASSERT_EQ(outcome(), Outcome{WM_ENCODE_DONE});
    std::vector<unsigned char> rgb = firstFrameRgb(folder / "logo.mp4");
    ASSERT_EQ(rgb.size(), 256u * 256u * 3u);
    auto pixel = [&](int x, int y) { return &rgb[(static_cast<std::size_t>(y) * 256 + x) * 3]; };
    const unsigned char* inLogo = pixel(256 - 6 - 16, 256 - 6 - 16);
    EXPECT_GT(inLogo[0], 200);
    EXPECT_LT(inLogo[1], 80);
    for (auto [x, y] : {std::pair{10, 10}, std::pair{252, 252}, std::pair{240, 10}}) {
        EXPECT_GT(pixel(x, y)[1], 200) << x << "," << y;
    }
    // The encoder ran once, through the FIFO; the copy lay in this
    // process's own folder, readable by this user alone, and is gone once
    // the run has ended.
    const std::string own = ensureDownloadFolder();
    EXPECT_EQ(own.rfind(workFolder + "/", 0), 0u);
    EXPECT_EQ(readTextFile(seen), "FIFO\n" + std::filesystem::canonical(own).string() + "\n600 regular file\n");
    EXPECT_TRUE(std::filesystem::is_empty(own));

    // The next video goes through the FIFO too.
    std::filesystem::remove(seen);
    setChecked(IDC_LOGO_CHECK, 0);
    answerSaveDialog(folder / "after-logo.mp4");
    generateAndWait();
    EXPECT_EQ(outcome(), (Outcome{WM_ENCODE_DONE, WM_ENCODE_DONE}));
    EXPECT_EQ(readTextFile(seen).rfind("FIFO\n", 0), 0u) << readTextFile(seen);
    EXPECT_EQ(useAnonymousPipe.load(), 0);
}

// A work folder that is not this user's own (here a link to elsewhere)
// gives no private folder: the generation is refused before the logo is
// copied or the encoder runs.
TEST_F(EncoderPipeline, LogoWithoutAPrivateFolderIsRefusedAndNothingIsWritten) {
    addThreePictures();
    std::string logo = folder / "logo.png";
    writeSolidPicture(logo, 24, 24, "#00ff00");
    useLogo(logo, 2);
    const std::string elsewhere = folder.folder("elsewhere");
    workFolder = folder / "link";
    ASSERT_EQ(symlink(elsewhere.c_str(), workFolder.c_str()), 0);
    answerSaveDialog(folder / "refused.mp4");
    generateAndWait();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_FAILED});
    auto boxes = recorded().boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("无法创建图标文件的副本：找不到只属于您的临时文件夹。", 0), 0u) << boxes[0].text;
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
    EXPECT_FALSE(fileExists((folder / "refused.mp4").c_str()));
}

TEST_F(EncoderPipeline, VideoFramesStayCloserToTheRenderedFramesThanThroughJpeg) {
    std::string path = folder / "lines.png";
    writeLinesPicture(path);
    addPicture(path, 99);
    mp4VideoBitrate = 3;  // the encoder's own loss small beside the one compared
    answerSaveDialog(folder / "raw.mp4");
    generateAndWait();
    ASSERT_EQ(outcome(), Outcome{WM_ENCODE_DONE});

    // The frames the generation rendered, and the same frames through JPEG
    // into the encoder with the same output options.
    std::vector<std::string> rendered = renderedFrames();
    ASSERT_EQ(static_cast<int>(rendered.size()), getTotalFrames());
    ASSERT_EQ(rendered[0].size(), 256u * 256u * 3u);
    std::string jpegFrames;
    for (const std::string& frame : rendered) {
        WandPtr wand(NewMagickWand());
        PixelWandPtr black = newPixelWand("#000000");
        MagickNewImage(wand.get(), 256, 256, black.get());
        MagickImportImagePixels(wand.get(), 0, 0, 256, 256, "RGB", CharPixel, frame.data());
        std::size_t length = 0;
        MagickBlobPtr blob(getFrameJpegBlob(wand.get(), &length, nullptr));
        jpegFrames.append(reinterpret_cast<const char*>(blob.get()), length);
    }
    std::string jpegPath = folder.write("frames.mjpeg", jpegFrames);
    EncoderOptions options;
    options.output = folder / "jpeg.mp4";
    ArgumentList argv = standardInputCommandLine("/usr/bin/ffmpeg", 256, 256, durationText, options);
    ArgumentList input = {"-f", "mjpeg", "-r", "25", "-vcodec", "mjpeg", "-i", "file:" + jpegPath};
    auto frameInput = std::find(argv.begin(), argv.end(), "pipe:0");
    ASSERT_NE(frameInput, argv.end());
    argv.erase(argv.begin() + 2, frameInput + 1);
    argv.insert(argv.begin() + 2, input.begin(), input.end());
    int exitCode = -1;
    runCapture(argv, &exitCode);
    ASSERT_EQ(exitCode, 0);

    std::vector<unsigned char> raw = firstFrameRgb(folder / "raw.mp4");
    std::vector<unsigned char> jpeg = firstFrameRgb(folder / "jpeg.mp4");
    std::vector<unsigned char> truth(rendered[0].begin(), rendered[0].end());
    double rawPsnr = psnr(raw, truth), jpegPsnr = psnr(jpeg, truth);
    EXPECT_GT(rawPsnr, jpegPsnr + 1.0) << "raw " << rawPsnr << " dB, through JPEG " << jpegPsnr << " dB";
    expectVideo(folder / "raw.mp4", getTotalFrames());
}

TEST_F(EncoderPipeline, VideoIsTheOneTheEncoderMakesOfTheRenderedRgbFrames) {
    // The frames reach the encoder already in its YUV; converted as the
    // encoder would, the video's bytes are the same.
    std::string lines = folder / "lines.png", red = folder / "red.jpg";
    writeLinesPicture(lines);
    writeSolidPicture(red, 300, 200, "#cc3333");
    addPicture(lines, 99);
    addPicture(red, 31);
    addPicture(lines, 25);
    answerSaveDialog(folder / "made.mp4");
    generateAndWait();
    ASSERT_EQ(outcome(), Outcome{WM_ENCODE_DONE});

    std::string rgbFrames;
    for (const std::string& frame : renderedFrames()) rgbFrames += frame;
    ASSERT_EQ(rgbFrames.size(), 256u * 256u * 3u * getTotalFrames());
    EncoderOptions options;
    options.output = folder / "from-rgb.mp4";
    ArgumentList argv = standardInputCommandLine(ffmpegPath, 256, 256, durationText, options);
    auto input = std::find(argv.begin(), argv.end(), "pipe:0");
    auto format = std::find(argv.begin(), input, "-pix_fmt");
    ASSERT_NE(input, argv.end());
    ASSERT_NE(format, input);
    format[1] = "rgb24";
    *input = "file:" + folder.write("frames.rgb", rgbFrames);
    int exitCode = -1;
    runCapture(argv, &exitCode);
    ASSERT_EQ(exitCode, 0);
    std::string made = fileBytes(folder / "made.mp4");
    EXPECT_FALSE(made.empty());
    EXPECT_TRUE(made == fileBytes(folder / "from-rgb.mp4")) << "the videos differ";
}

TEST_F(EncoderPipeline, NamesWithSpacesQuotesChineseAndShellSyntax) {
    std::string odd = "图 片 '1' \"q\" $(touch pwned) ;";
    addThreePictures(odd);
    std::string music = folder / "音乐 'a' $(x).mp3";
    writeMusic(music, 2.0);
    useMusic(music);
    std::string logo = folder / "标志 \"x\" ';'.png";
    writeSolidPicture(logo, 16, 16, "#00ff00");
    useLogo(logo, 0);
    // 243 bytes: the temporary beside it keeps only part of the name.
    std::string longName;
    for (int i = 0; i < 70; ++i) longName += "长";
    std::string output = folder / ("输出 $(touch pwned) 'a' \"b\"" + longName + ".mp4");
    answerSaveDialog(output);
    generateAndWait();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_DONE});
    expectVideo(output, getTotalFrames());
    expectMusicCut(output);
    EXPECT_FALSE(fileExists("pwned"));
    EXPECT_FALSE(fileExists((workFolder + "/pwned").c_str()));
}

// The video is written beside its name and takes it only when the encoder
// ended well and the user did not stop: otherwise a file that was there
// stays as it was, and no part of the video is left anywhere.
TEST_F(EncoderPipeline, AVideoTakesItsNameOnlyWhenFinished) {
    addThreePictures();
    const std::string encoder = "exec /usr/bin/ffmpeg \"$@\"";
    // Writes into its output (the last argument) before it fails.
    const std::string writesThenFails =
        "for a; do output=\"${a#file:}\"; done\necho partial > \"$output\"\necho boom >&2\nexit 1";
    enum class Before { OldFile, Folder, NoFolder };
    const struct {
        const char* name;
        std::string script;
        int stopAt;  // Stop when told of this picture; -1: never
        Before before;
        unsigned outcome;
        const char* box;  // the start of the one box shown, or null
        bool video;       // the new video under the name
        bool frameFails = false;  // the sixth frame cannot be made
    } cases[] = {
        {"finished", encoder, -1, Before::OldFile, WM_ENCODE_DONE, nullptr, true},
        {"stopped", encoder, 2, Before::OldFile, WM_ENCODE_STOPPED, nullptr, false},
        {"failed", writesThenFails, -1, Before::OldFile, WM_ENCODE_FAILED, "生成视频时发生错误：\n\nboom", false},
        {"FIFO failed, standard input finished",
         "case \"$*\" in *pipe:0*) " + encoder + ";; esac\n" + writesThenFails, -1, Before::OldFile,
         WM_ENCODE_DONE, nullptr, true},
        {"name taken by a folder", encoder, -1, Before::Folder, WM_ENCODE_FAILED, "无法保存视频文件：", false},
        {"folder missing", encoder, -1, Before::NoFolder, WM_ENCODE_FAILED, "无法保存视频文件：", false},
        {"a frame cannot be made", encoder, -1, Before::OldFile, WM_ENCODE_FAILED,
         "生成视频时发生错误，可能是电脑当前可用内存不足造成的。", false, true},
    };
    std::size_t runs = 0, boxes = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string place = folder.folder(c.name);
        const std::string output = place + (c.before == Before::NoFolder ? "/missing" : "") + "/video.mp4";
        if (c.before == Before::OldFile) folder.write(std::string(c.name) + "/video.mp4", "an older video");
        if (c.before == Before::Folder) folder.folder(std::string(c.name) + "/video.mp4");
        useAnonymousPipe = 0;
        ffmpegPath = writeScript(folder, "ffmpeg", c.script);
        stopAtPicture(c.stopAt);
        answerSaveDialog(output);
        const std::size_t updates = recorded().updates.size();
        framesMade = 0;
        FrameEncoder saved = setFrameEncoder(c.frameFails ? failingAtTheSixthFrame : nullptr);
        generateAndWait();
        setFrameEncoder(saved);
        if (c.stopAt > 0) {  // the run ended before the next picture
            const std::vector<int> all = recorded().updates;
            EXPECT_EQ(std::vector<int>(all.begin() + updates, all.end()), (std::vector<int>{1, 2}));
        }

        ASSERT_EQ(outcome().size(), ++runs);
        EXPECT_EQ(outcome().back(), c.outcome);
        auto shown = recorded().boxes;
        ASSERT_EQ(shown.size(), boxes + (c.box ? 1 : 0));
        if (c.box) EXPECT_EQ(shown.back().text.rfind(c.box, 0), 0u) << shown.back().text;
        boxes = shown.size();
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(place))
            names.push_back(entry.path().filename());
        EXPECT_EQ(names, c.before == Before::NoFolder ? std::vector<std::string>{}
                                                      : std::vector<std::string>{"video.mp4"});
        if (c.video) expectVideo(output, getTotalFrames());
        else if (c.before == Before::OldFile) EXPECT_TRUE(readTextFile(output) == "an older video")
            << readTextFile(output).substr(0, 16);
        else if (c.before == Before::Folder) EXPECT_TRUE(std::filesystem::is_empty(output));
    }
}

TEST_F(EncoderPipeline, ChangesMadeDuringARunDoNotReachIt) {
    addThreePictures();
    const int frames = getTotalFrames();
    // The encoder opens its input a second late, so the run has rendered
    // nothing yet when the settings change.
    ffmpegPath = writeScript(folder, "ffmpeg", "sleep 1\nexec /usr/bin/ffmpeg \"$@\"");
    answerSaveDialog(folder / "steady.mp4");
    generateVideo();
    videoWidth = videoHeight = 128;
    pauseFrames = 1;
    videoBgFillColor = 1;
    waitForVideoThreads();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_DONE});
    expectVideo(folder / "steady.mp4", frames);
    // The first picture (300 x 200) lies between white bands, not black ones.
    std::vector<unsigned char> rgb = firstFrameRgb(folder / "steady.mp4");
    ASSERT_EQ(rgb.size(), 256u * 256u * 3u);
    EXPECT_GT(rgb[(5 * 256 + 128) * 3], 240);
}

TEST_F(EncoderPipeline, FailingEncoderFallsBackThenFailsWithItsText) {
    addThreePictures();
    ffmpegPath = writeScript(folder, "ffmpeg", "echo \"boom: 编码失败\" >&2\nexit 1");
    answerSaveDialog(folder / "failed.mp4");
    generateAndWait();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_FAILED});
    EXPECT_EQ(useAnonymousPipe.load(), 1);
    EXPECT_EQ(stopFlag.load(), 1);
    auto boxes = recorded().boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "错误");
    EXPECT_EQ(boxes[0].text,
              "生成视频时发生错误：\n\nboom: 编码失败\n\n\n解决方案有：\n\n"
              "1. 点击【生成视频】按钮时，将视频保存到您有写入权限的文件夹。\n"
              "2. 确认保存视频的磁盘有足够的剩余空间。\n\n如果问题依然存在，请进入官网联系我们的客服。");
    std::string log = errorLog();
    EXPECT_NE(log.find("thread_run_ffmpeg_by_named_pipe"), std::string::npos);
    EXPECT_NE(log.find("thread_run_ffmpeg_by_anonymous_pipe"), std::string::npos);
    EXPECT_NE(log.find("boom"), std::string::npos);
}

TEST_F(EncoderPipeline, EncoderDyingInTheMiddleOfAFrameEndsItsWay) {
    // It reads a frame and a half (a frame is 256 * 256 * 3 / 2 bytes) and dies:
    // the frame write under way fails instead of waiting on it.
    const std::string dies =
        "for a; do case \"$a\" in file:*/tevrako-pipe-*) input=\"${a#file:}\";; esac; done\n"
        "head -c 150000 \"${input:-/dev/stdin}\" > /dev/null\n"
        "echo \"died: 中途退出\" >&2\n"
        "exit 1";
    struct Case {
        const char* way;
        int anonymous;
        const char* script;
        unsigned outcome;
    } cases[] = {
        // The FIFO way fails over to standard input, where the real encoder runs.
        {"FIFO", 0, "case \"$*\" in *pipe:0*) exec /usr/bin/ffmpeg \"$@\";; esac\n", WM_ENCODE_DONE},
        {"standard input", 1, "", WM_ENCODE_FAILED},
    };
    addThreePictures();
    std::size_t runs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        useAnonymousPipe = c.anonymous;
        stopFlag = 0;
        ffmpegPath = writeScript(folder, std::string("ffmpeg-") + c.way, c.script + dies);
        std::string output = folder / (std::string(c.way) + ".mp4");
        answerSaveDialog(output);
        generateAndWait();
        ASSERT_EQ(outcome().size(), ++runs);
        EXPECT_EQ(outcome().back(), c.outcome);
        EXPECT_EQ(useAnonymousPipe.load(), 1);
        if (c.outcome == WM_ENCODE_DONE) expectVideo(output, getTotalFrames());
    }
    auto boxes = recorded().boxes;
    ASSERT_EQ(boxes.size(), 1u) << "only the standard-input way shows the encoder's text";
    EXPECT_NE(boxes[0].text.find("died: 中途退出"), std::string::npos) << boxes[0].text;
    EXPECT_NE(errorLog().find("died"), std::string::npos);
}

TEST_F(EncoderPipeline, ChattyEncoderIsDrainedAndItsMessageBounded) {
    addThreePictures();
    // 200 kB of error output before the real encoder runs: a pipe that is
    // not read would stop it for good.
    ffmpegPath = writeScript(folder, "ffmpeg",
                             "head -c 200000 /dev/zero | tr '\\0' 'e' >&2\n"
                             "case \"$*\" in *pipe:0*) exit 1;; esac\n"
                             "exec /usr/bin/ffmpeg \"$@\"");
    answerSaveDialog(folder / "chatty.mp4");
    generateAndWait();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_DONE});
    expectVideo(folder / "chatty.mp4", getTotalFrames());

    // The same chatter on the standard-input way, where it fails.
    useAnonymousPipe = 1;
    answerSaveDialog(folder / "chatty2.mp4");
    generateAndWait();
    auto boxes = recorded().boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(std::string(4096, 'e')), std::string::npos);
    EXPECT_EQ(boxes[0].text.find(std::string(4097, 'e')), std::string::npos);
}

TEST_F(EncoderPipeline, EncoderThatNeverOpensThePipeIsGivenUp) {
    addThreePictures();
    setNamedPipeConnectTimeout(500);
    ffmpegPath = writeScript(folder, "ffmpeg",
                             "case \"$*\" in *pipe:0*) ;; *) exec sleep 60;; esac\n"
                             "exec /usr/bin/ffmpeg \"$@\"");
    answerSaveDialog(folder / "late.mp4");
    generateAndWait();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_DONE}) << "made again through standard input";
    EXPECT_EQ(useAnonymousPipe.load(), 1);
    expectVideo(folder / "late.mp4", getTotalFrames());
    EXPECT_NE(errorLog().find("ConnectNamedPipe failed with error"), std::string::npos);
}

TEST_F(EncoderPipeline, MissingEncoderFailsTheGenerationNotTheProgram) {
    addThreePictures();
    ffmpegPath = folder / "no-such-ffmpeg";
    answerSaveDialog(folder / "none.mp4");
    generateAndWait();
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_FAILED});
    auto boxes = recorded().boxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("CreateProcess() failed with error 2\r\nfolder: ", 0), 0u)
        << boxes[0].text;
}

TEST_F(EncoderPipeline, CancelledDialogOrRefusedCheckStartsNothing) {
    addThreePictures();
    answerSaveDialog("");
    generateAndWait();
    EXPECT_TRUE(outcome().empty());
    comboSetCurSel(IDC_VIDEO_SIZE, 0);
    answerSaveDialog(folder / "x.mp4");
    generateAndWait();
    EXPECT_TRUE(outcome().empty());
    EXPECT_FALSE(fileExists((folder / "x.mp4").c_str()));
}

TEST_F(EncoderPipeline, DefaultFileNameByPreference) {
    addPicture("/pictures/商品 1.v2.jpg");
    EXPECT_EQ(defaultVideoFileName(), "");
    mp4DefaultFileName = 2;
    EXPECT_EQ(defaultVideoFileName(), "商品 1.v2");
    mp4DefaultFileName = 1;
    std::string stamp = defaultVideoFileName();
    EXPECT_EQ(stamp.size(), 17u);
    EXPECT_EQ(stamp[4], '_');
}

TEST_F(EncoderPipeline, AFailureIsToldWhateverTheServiceHostDoes) {
    // A byte every two seconds: each report gives up at its deadline.
    TestServer host([](ServerExchange& x) { x.trickle("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", 2000); });
    const std::string savedHost = serviceHost;
    const int savedDeadline = requestDeadlineMs.exchange(1000);
    serviceHost = host.url("");
    addThreePictures();
    ffmpegPath = writeScript(folder, "ffmpeg", "exit 1");
    answerSaveDialog(folder / "failed.mp4");
    generateAndWait();
    serviceHost = savedHost;
    requestDeadlineMs = savedDeadline;
    EXPECT_EQ(outcome(), Outcome{WM_ENCODE_FAILED});
    EXPECT_EQ(recorded().boxes.size(), 1u);
    EXPECT_NE(errorLog().find("thread_run_ffmpeg_by_anonymous_pipe"), std::string::npos) << "kept, as not sent";
}
