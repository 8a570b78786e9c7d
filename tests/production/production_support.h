// Test support for the production layer: ImageMagick started around the
// tests, the user-interface seams replaced by recorders, a picture list
// built in code, pictures and music written by the test, and ffprobe.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "foundation/temp_folder.h"
#include "render/picture_record.h"

namespace production_test {

struct ShownBox {
    std::string text, caption;
    unsigned type = 0;
};

// What the progress window and the message boxes were told.
struct Recorded {
    std::vector<int> updates;          // updateProgress indices
    std::vector<unsigned> messages;    // outcome messages
    std::vector<ShownBox> boxes;
    std::vector<std::string> rowLabels;
    std::vector<int> selectedRows;
};
Recorded recorded();

// Base fixture: fresh control table, empty picture list, a private work
// folder and error log, recorders installed, settings at their defaults.
class ProductionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Appends a record for path with the effect index.
    PictureRecord* addPicture(const std::string& path, int effectIndex = 99);
    // Output size, pause and music combos filled as the main window fills
    // them, with the given selections.
    void setUpOutputControls(int sizeEntry, int pauseEntry, int musicEntry = 0);
    // The save dialog answers with this path (empty: cancelled).
    void answerSaveDialog(const std::string& path);
    // Stop is pressed when the progress window is told about picture index.
    void stopAtPicture(int index);
    // Runs the generate command and waits until every thread has ended.
    void generateAndWait();
    // The error log's content.
    std::string errorLog() const;

    TempFolder folder;
};

// A picture of one colour (format from the extension).
void writeSolidPicture(const std::string& path, int width, int height, const char* color);
// A short MP3 made by ffmpeg.
void writeMusic(const std::string& path, double seconds);
// An executable shell script standing in for the encoder.
std::string writeScript(const TempFolder& folder, const std::string& name, const std::string& body);

// ffprobe's key=value answers about the first video stream and the file.
std::map<std::string, std::string> probeVideo(const std::string& path);
// The first audio stream's length in seconds; -1 without one.
double audioStreamSeconds(const std::string& path);
// The first frame as 8-bit RGB, width x height.
std::vector<unsigned char> firstFrameRgb(const std::string& path);

// Runs argv (argv[0] a path) and returns its standard output; exitCode
// receives its exit code.
std::string runCapture(const std::vector<std::string>& argv, int* exitCode = nullptr);

}  // namespace production_test
