// Fixture of the music and settings-file tests: a program folder of their
// own (its "mp3" and "sz" folders), the dummy sound output, and a record
// of the notifications sent to the main window.
#pragma once

#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "foundation/globals.h"
#include "platform/main_command.h"
#include "production/background_music.h"
#include "production_support.h"

class MusicTest : public production_test::ProductionTest {
protected:
    void SetUp() override {
        ProductionTest::SetUp();
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        savedProgramFolder = programFolder;
        programFolder = folder.folder("program");
        musicAuditionPlaying = 0;
        auditionIndex = -1;
        captionPosition = 4;
        defaultVideoWidth = defaultVideoHeight = 800;
        commands().clear();
        setMainCommandHandler(recordCommand);
    }
    void TearDown() override {
        musicPlayer().close();
        setMusicNotifyHandler(nullptr);
        setMainCommandHandler(nullptr);
        programFolder = savedProgramFolder;
        ProductionTest::TearDown();
    }

    // Notifications sent to the main window, in order.
    static std::vector<std::pair<int, int>>& commands() {
        static std::vector<std::pair<int, int>> sent;
        return sent;
    }
    static void recordCommand(int id, int code) { commands().emplace_back(id, code); }

    // A file of the program's music folder.
    std::string musicFile(const std::string& name, const std::string& content = "x") {
        folder.folder("program/mp3");
        return folder.write("program/mp3/" + name, content);
    }

    std::string savedProgramFolder;
};
