#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "message_recorder.h"
#include "platform/file_dialog.h"
#include "ui/kit/file_dialogs.h"

namespace {

std::string repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

// A folder whose path with its final "/" has GBK length n.
std::string folderOfOffset(int n) { return "/" + repeat("a", n - 2); }

struct SingleCase {
    const char* name;
    std::string path;
    int result;
    std::string folder;       // expected folder afterwards
    const char* boxStart;     // expected box text start, or null for none
    std::string boxLength;    // the length the box reports
};

TEST(FileDialogRules, OneFileIsMeasuredInGbkLengthAtItsFolderAndWhole) {
    std::string okFolder = folderOfOffset(259);                        // name starts at 259
    std::string longFolder = folderOfOffset(260);                      // name starts at 260
    std::string chinese = "/" + repeat("图", 129);                      // 1 + 258 + "/" = 260
    std::vector<SingleCase> cases = {
        {"name at 259, path of 260", okFolder + "/x", 0, okFolder, "文件路径长度不能大于 259", "260"},
        {"name at 260 is refused", longFolder + "/x.jpg", 0, "start", "文件夹路径长度不能大于 259",
         "260"},
        {"Chinese counts two", chinese + "/x.jpg", 0, "start", "文件夹路径长度不能大于 259", "260"},
        {"path of 259", "/" + repeat("b", 258), 1, "/", nullptr, ""},
        {"path of 260 keeps its folder", "/d/" + repeat("c", 257), 0, "/d",
         "文件路径长度不能大于 259", "260"},
        {"file in the root", "/x.jpg", 1, "/", nullptr, ""},
    };
    for (const SingleCase& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder boxes;
        std::string folder = "start";
        std::string file = "old";
        EXPECT_EQ(acceptChosenFile(nullptr, c.path, folder, file), c.result);
        EXPECT_EQ(folder, c.folder);
        EXPECT_EQ(file, c.result ? c.path : "");
        if (!c.boxStart) {
            EXPECT_TRUE(boxes.boxes.empty());
            continue;
        }
        ASSERT_EQ(boxes.boxes.size(), 1u);
        const RecordedBox& box = boxes.boxes[0];
        EXPECT_EQ(box.text.rfind(c.boxStart, 0), 0u) << box.text;
        EXPECT_NE(box.text.find("长度：" + c.boxLength + " 个字符"), std::string::npos) << box.text;
        EXPECT_NE(box.text.find("修改文件"), std::string::npos);
        EXPECT_EQ(box.caption, "提示");
        EXPECT_EQ(box.type, unsigned(MB_ICONERROR));
    }
}

TEST(FileDialogRules, SeveralFilesKeepTheirOrderAndStopAtATooLongPath) {
    MessageRecorder boxes;
    std::string folder = "start";
    std::vector<std::string> files;
    std::vector<std::string> chosen = {"/p/b.jpg", "/p/a.jpg", "/p/c.jpg"};
    EXPECT_EQ(acceptChosenFiles(nullptr, chosen, folder, files), 1);
    EXPECT_EQ(files, chosen);
    EXPECT_EQ(folder, "/p");

    files.clear();
    std::string tooLong = "/p/" + repeat("图", 129);
    EXPECT_EQ(acceptChosenFiles(nullptr, {"/p/1.jpg", tooLong, "/p/3.jpg"}, folder, files), 0);
    EXPECT_EQ(files, std::vector<std::string>{"/p/1.jpg"});
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("解决方案：修改文件名称"), std::string::npos);
    EXPECT_NE(boxes.boxes[0].text.find(tooLong), std::string::npos);

    files.clear();
    folder = "start";
    std::string longFolder = folderOfOffset(260);
    EXPECT_EQ(acceptChosenFiles(nullptr, {longFolder + "/1.jpg"}, folder, files), 0);
    EXPECT_TRUE(files.empty());
    EXPECT_EQ(folder, "start");
    EXPECT_NE(boxes.boxes.back().text.find("解决方案：修改文件夹名称"), std::string::npos);
}

// The picker a test installs: records the request, answers with paths.
FileDialogRequest lastRequest;
std::vector<std::string> nextAnswer;
std::vector<std::string> scriptedPicker(const FileDialogRequest& request) {
    lastRequest = request;
    return nextAnswer;
}

TEST(FileDialogs, TheSeamAsksThePickerAndAppliesTheRules) {
    installFileDialogs();
    setFilePicker(scriptedPicker);
    MessageRecorder boxes;

    nextAnswer = {"/m/a.png", "/m/b.png"};
    std::string folder = "/start";
    std::vector<std::string> files;
    EXPECT_EQ(showOpenFilesDialog(nullptr, "选择图片", {{"图片 (*.png)", "*.png"}}, folder, files), 1);
    EXPECT_EQ(lastRequest.kind, FileDialogKind::OpenMany);
    EXPECT_EQ(lastRequest.folder, "/start");
    EXPECT_EQ(files, nextAnswer);
    EXPECT_EQ(folder, "/m");

    nextAnswer = {"/v/out.mp4"};
    std::string file = "offered";
    EXPECT_EQ(showSaveFileDialog(nullptr, "视频保存到", {}, "mp4", folder, file), 1);
    EXPECT_EQ(lastRequest.kind, FileDialogKind::Save);
    EXPECT_EQ(lastRequest.file, "offered");
    EXPECT_EQ(lastRequest.defaultExtension, "mp4");
    EXPECT_EQ(file, "/v/out.mp4");

    nextAnswer.clear();  // cancelled: nothing changes
    EXPECT_EQ(showOpenFileDialog(nullptr, "t", {}, folder, file), 0);
    EXPECT_EQ(file, "/v/out.mp4");
    EXPECT_EQ(folder, "/v");
    EXPECT_TRUE(boxes.boxes.empty());

    // The default extension joins a name without it before the length rule.
    nextAnswer = {"/v/clip"};
    EXPECT_EQ(showSaveFileDialog(nullptr, "视频保存到", {}, "mp4", folder, file), 1);
    EXPECT_EQ(file, "/v/clip.mp4");
    nextAnswer = {"/v/CLIP.MP4"};
    EXPECT_EQ(showSaveFileDialog(nullptr, "视频保存到", {}, "mp4", folder, file), 1);
    EXPECT_EQ(file, "/v/CLIP.MP4");
    nextAnswer = {"/v/" + repeat("n", 253)};  // 256, and 260 with ".mp4"
    EXPECT_EQ(showSaveFileDialog(nullptr, "视频保存到", {}, "mp4", folder, file), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_NE(boxes.boxes[0].text.find("当前文件路径长度：260 个字符"), std::string::npos);

    setFilePicker(nullptr);
    setSaveFileDialogHandler(nullptr);
    setOpenFileDialogHandler(nullptr);
    setOpenFilesDialogHandler(nullptr);
}

TEST(FileDialogs, FiltersBecomeQtNameFilters) {
    struct {
        FileFilter filter;
        const char* expected;
    } cases[] = {
        {{"mp4视频 (*.mp4)", "*.mp4"}, "mp4视频 (*.mp4)"},
        {{"图片文件(*.jpg;*.png)", "*.jpg;*.png"}, "图片文件 (*.jpg *.png)"},
        {{"所有文件", "*"}, "所有文件 (*)"},
    };
    for (const auto& c : cases) EXPECT_EQ(qtNameFilter(c.filter).toStdString(), c.expected);
}

} // namespace
