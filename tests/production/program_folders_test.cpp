#include "production/program_folders.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include "foundation/file_path.h"
#include "foundation/globals.h"

TEST(ProgramFolders, EncoderLinkLiesBesideTheExecutable) {
    locateProgramFolders();
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(ffmpegPath, programFolder + "/tool/ffmpeg");
    EXPECT_EQ(fileExists(ffmpegPath.c_str()), 1);
    EXPECT_EQ(access(ffmpegPath.c_str(), X_OK), 0);
    EXPECT_EQ(isDirectory(workFolder.c_str()), 1);
}
