// Test support for the main window: the program's start-up state made in
// code (ImageMagick, the effect names, the picture list, the program
// folders), a fresh main window per test with every seam reaching its
// widgets, pictures written by the test, and dialogs answered by code.
#pragma once

#include <gtest/gtest.h>

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "foundation/temp_folder.h"
#include "ui/main_window.h"

namespace main_window_test {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A picture of one colour; the format follows the extension.
    std::string picture(const std::string& name, int width = 40, int height = 30,
                        const char* color = "#ff0000");
    // The open-files dialog answers with these paths (none: cancelled).
    void answerOpenFiles(const std::vector<std::string>& paths);
    // The open dialog (one file) answers with this path.
    void answerOpenFile(const std::string& path);
    // The save dialog answers with this path.
    void answerSaveFile(const std::string& path);
    // Clicks the toolbar button or control of id, as the user would.
    void click(int id);
    // Picks item index of the combo of id, as the user would.
    void pick(int id, int index);
    // Selects exactly these rows of the list view; the first is focused.
    void selectRows(const std::vector<int>& rows);
    // Lets queued work (the selection refresh) run.
    void settle();
    std::vector<std::string> rowLabels() const;

    TempFolder folder;
    dialog_test::BoxRecorder boxes;
    MainWindow* window = nullptr;
};

// Runs step on the modal window of type T as soon as it runs.
void whenModal(const char* className, std::function<void(QWidget*)> step);

// ffprobe's answers about a video's first video stream: width, height and
// the number of frames.
struct VideoFacts {
    int width = 0, height = 0, frames = 0;
};
VideoFacts probeVideo(const std::string& path);

}  // namespace main_window_test
