// The program's file dialogs behind platform/file_dialog.h: a file to save,
// a file to open and several files to open. What the user picks passes the
// program's path-length rules: a folder or a full path over 259 characters
// (GBK length: a Chinese character counts two) is refused with a box that
// says how long it is and how to shorten it, and the choice counts as
// cancelled.
//
// The dialog itself is a picker that tests replace (setFilePicker) to
// answer as a user would; the rules apply to whatever it returns.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "platform/file_dialog.h"

enum class FileDialogKind { Save, Open, OpenMany };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    void* owner = nullptr;         // a QWidget, or null
    std::string title;
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // added to a saved name without one
    std::string folder;            // where the dialog starts (empty: anywhere)
    std::string file;              // the name offered (save)
};

// Shows the dialog and returns the chosen full paths in the dialog's order;
// none when the user cancelled.
using FilePicker = std::vector<std::string> (*)(const FileDialogRequest& request);

// Replaces the picker (null restores the Qt dialog); returns the previous one.
FilePicker setFilePicker(FilePicker picker);

// The rules for one chosen file. Accepted: file receives the path, folder
// its folder ("/" for a file in the root), result 1. Refused: the box,
// file emptied, result 0; folder is updated unless the folder itself was
// too long.
int acceptChosenFile(void* owner, const std::string& path, std::string& folder, std::string& file);

// The rules for several files of one folder: folder receives their folder,
// files the accepted paths in order. A folder over the limit refuses all; a
// path over the limit ends the list there (the paths before it stay).
// 1 when every path was accepted, else 0.
int acceptChosenFiles(void* owner, const std::vector<std::string>& paths, std::string& folder,
                      std::vector<std::string>& files);

// The Qt name filter of a filter: its name without a trailing "(...)",
// then its patterns between parentheses, separated by blanks.
QString qtNameFilter(const FileFilter& filter);

// Makes the three dialogs of platform/file_dialog.h show Qt file dialogs.
void installFileDialogs();
