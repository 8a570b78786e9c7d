// The load-item dialog ("加载宝贝图片") as the item-picture loaders see it:
// the record it fills and the call that runs it. The user interface
// installs the dialog at start-up; until then (and in tests that install
// none) the call leaves the record as the caller set it, so a zeroed
// record stays "not confirmed".
// Call on the user-interface thread.
#pragma once

constexpr int kLoadItemAddressSize = 8192;

struct LoadItemRequest {
    int ok;    // 1 when OK was accepted, 0 when Cancel was pressed
    int type;  // 0 main pictures, 1 colour-variant pictures, 2 both
    char address[kLoadItemAddressSize];  // trimmed, terminated, at most 8191 bytes
};

// owner is an opaque window handle (hwndMain).
using LoadItemDialogHandler = void (*)(void* owner, LoadItemRequest* result);

// Runs the dialog modally and leaves its answer in result.
void showLoadItemPicturesDialog(void* owner, LoadItemRequest* result);

// Installs the dialog (null: the call does nothing) and returns the previous one.
LoadItemDialogHandler setLoadItemDialogHandler(LoadItemDialogHandler handler);
