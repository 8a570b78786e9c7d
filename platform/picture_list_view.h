// The picture list view: one row per picture of pictureList, in order,
// labelled with the picture's effect name (its file name in GIF mode).
//
// The user interface installs a handler at start-up, called on the
// user-interface thread. Until then, and in tests, the calls do nothing.
#pragma once

#include <string>

struct PictureListViewHandler {
    // Sets a row's label and redraws the row.
    void (*setRowLabel)(int row, const std::string& label);
    // Deselects every row, selects and focuses row, scrolls it into view
    // and redraws all rows.
    void (*selectOnlyRow)(int row);
};

void setRowLabel(int row, const std::string& label);
void selectOnlyRow(int row);

// Installs the handler (null restores doing nothing) and returns the previous one.
const PictureListViewHandler* setPictureListViewHandler(const PictureListViewHandler* handler);
