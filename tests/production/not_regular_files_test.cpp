// Paths from outside that name a FIFO, a folder or a device, given
// wherever the program takes a path: as the logo, a picture, the music or
// a settings file. Each use refuses them at once; none may block.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

#include "foundation/globals.h"
#include "foundation/linked_list.h"
#include "platform/command_ids.h"
#include "platform/info_window.h"
#include "platform/window_controls.h"
#include "production/animation_settings.h"
#include "production/generate_checks.h"
#include "production/logo_copy.h"
#include "production/mp3_duration.h"
#include "production/picture_list.h"
#include "production/timing.h"
#include "production/video_settings.h"
#include "render/image.h"
#include "music_fixture.h"

using production_test::recorded;

namespace {

// Runs use on a thread of its own and waits a few seconds. A use that
// blocks fails the test: path is then opened for writing and closed again
// and again, which ends a blocked open or read of a FIFO; a use that still
// does not return stops the test program rather than hang it.
bool returnsPromptly(const std::function<void()>& use, const std::string& path) {
    std::packaged_task<void()> task(use);
    std::future<void> done = task.get_future();
    std::thread runner(std::move(task));
    const bool prompt = done.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (done.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) ::close(fd);
        if (std::chrono::steady_clock::now() > giveUp) {
            std::fprintf(stderr, "still blocked on %s\n", path.c_str());
            std::abort();
        }
    }
    runner.join();
    return prompt;
}

bool folderIsEmpty(const std::string& path) { return std::filesystem::is_empty(path); }

// While it lives, no file grows past 256 MiB: a use that copies a device
// without end stops there (killed by SIGXFSZ, failing the test) instead of
// filling the disk before the deadline.
class FileSizeLimit {
public:
    FileSizeLimit() {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = std::min<rlim_t>(saved_.rlim_max, rlim_t{256} << 20);
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

// The message boxes shown while use ran.
std::vector<production_test::ShownBox> boxesShownBy(const std::function<void()>& use) {
    const std::size_t before = recorded().boxes.size();
    use();
    const auto boxes = recorded().boxes;
    return {boxes.begin() + static_cast<std::ptrdiff_t>(before), boxes.end()};
}

} // namespace

class NotRegularFiles : public MusicTest {
protected:
    void SetUp() override {
        MusicTest::SetUp();
        setUpOutputControls(10, kDefaultPauseEntry, 0);
        videoWidth = videoHeight = 800;
        clearInfoLog();
    }
};

TEST_F(NotRegularFiles, AreRefusedWithoutBlockingWhereverAPathIsTaken) {
    enum class Kind { Fifo, Folder, Device };
    const struct {
        const char* name;
        Kind kind;
    } kinds[] = {{"fifo", Kind::Fifo}, {"folder", Kind::Folder}, {"link to zero", Kind::Device}};

    // Each use with the extension its paths carry; true when it refused.
    const struct {
        const char* name;
        const char* extension;
        std::function<bool(const std::string&)> refuses;
    } uses[] = {
        {"logo checked before generating", ".png",
         [](const std::string& path) {
             setChecked(IDC_LOGO_CHECK, 1);
             setControlText(IDC_LOGO_PATH, path);
             int passed = 1;
             return boxesShownBy([&] { passed = checkBeforeGenerate(); }).size() == 1 && passed == 0;
         }},
        {"logo copied for the encoder", ".png",
         [](const std::string& path) { return !LogoCopy::make(path, workFolder) && folderIsEmpty(workFolder); }},
        {"picture added to the list", ".jpg",
         [](const std::string& path) {
             const int before = pictureListSize();
             return ::addPicture(path) == 0 && pictureListSize() == before &&
                    infoLogText().find("图片读取失败:\r\n" + path) != std::string::npos;
         }},
        {"picture read for rendering", ".jpg",
         [](const std::string& path) {
             std::string failure;
             return readPictureQuietly(path, "#ffffff", &failure) == nullptr && !failure.empty();
         }},
        {"music's length", ".mp3", [](const std::string& path) { return getMp3Duration(path.c_str()) == 0.0f; }},
        {"music auditioned", ".mp3", [](const std::string& path) { return !startMusicPlay(path); }},
        {"video settings loaded", ".sz",
         [](const std::string& path) {
             const auto boxes = boxesShownBy([&] { loadVideoSettings(path); });
             return boxes.size() == 1 && boxes[0].text.rfind("读取文件时出错", 0) == 0;
         }},
        {"animation settings loaded", ".dh",
         [](const std::string& path) {
             loadAnimationSettings(path);
             return static_cast<const PictureRecord*>(linkedlist_get(pictureList, 0))->effectIndex == 99;
         }},
    };

    addPicture("/nowhere/a.jpg", 99);
    // The sound output starts here, not on a runner thread: SDL keeps
    // state per thread that a thread of its own would leave behind.
    EXPECT_FALSE(startMusicPlay(folder / "none.mp3"));
    FileSizeLimit limit;
    for (const auto& kind : kinds) {
        for (const auto& use : uses) {
            SCOPED_TRACE(std::string(kind.name) + " as " + use.name);
            const std::string path = folder / (std::string(kind.name) + " for " + use.name + use.extension);
            switch (kind.kind) {
            case Kind::Fifo: ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); break;
            case Kind::Folder: ASSERT_TRUE(std::filesystem::create_directory(path)); break;
            case Kind::Device: ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); break;
            }
            bool refused = false;
            EXPECT_TRUE(returnsPromptly([&] { refused = use.refuses(path); }, path));
            EXPECT_TRUE(refused);
        }
    }
}
