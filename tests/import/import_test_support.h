// Shared set-up of the item-import tests: the connection pools, a work
// folder of the test's own, the service settings restored afterwards, an
// empty picture list, and recorders for message boxes, the browser-extension
// link and the load-item dialog.
#pragma once

#include "foundation/temp_folder.h"
#include "net/http_test_support.h"
#include "net/service_test_support.h"
#include "platform/load_item_dialog.h"

#include <string>
#include <vector>

struct ShownBox {
    std::string text, caption;
    unsigned type;
};

struct ImportFixture : ServiceGlobalsFixture {
    TempFolder folder;
    std::string savedWorkFolder;

    static void SetUpTestSuite() { HttpFixture::SetUpTestSuite(); }
    void SetUp() override;
    void TearDown() override;

    // Boxes shown since the test began.
    static std::vector<ShownBox>& boxes();
    // The texts status-bar part 1 showed, in order.
    static std::vector<std::string>& statusLog();
    // The cursor last set: 1 the wait cursor, 0 the arrow.
    static int& waitCursor();
    // How often the browser-extension link was shown.
    static int& linkShown();
    // What the fake dialog answers (ok 0 unless a test sets it) and how often it ran.
    static LoadItemRequest& dialogAnswer();
    static int& dialogRuns();

    // A confirmed request for address and picture type.
    static LoadItemRequest request(const std::string& address, int type = 0);
    // The texts of the boxes shown, in order.
    static std::vector<std::string> boxTexts();
    // The number of pictures in the list.
    static int pictureCount();
    // Paths of the files in this process's download folder.
    static std::vector<std::string> downloadedFiles();
    // Adds count copies of a small JPEG to the list directly.
    void fillPictureList(int count);
};

// The bytes of a small valid JPEG picture.
std::string jpegBytes();
