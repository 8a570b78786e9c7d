// The file dialogs: the user picks a file to save, a file to open, or
// several files to open. The user interface installs a handler at start-up, called on the
// user-interface thread; it applies the path-length rules of the program's
// dialogs. Until then, and in tests that install none, every dialog is
// cancelled.
#pragma once

#include <string>
#include <vector>

struct FileFilter {
    std::string name;     // "mp4视频 (*.mp4)"
    std::string pattern;  // "*.mp4"; several patterns separated by ";"
};

// Asks for a file to save. folder and file give the starting folder and
// name; when a file is chosen, file receives its full path and folder its
// folder, and the result is non-zero. Cancelling returns 0 and changes
// nothing. The default extension is added by the caller's rules, not here.
using SaveFileDialogHandler = int (*)(void* owner, const std::string& title,
                                      const std::vector<FileFilter>& filters,
                                      const std::string& defaultExtension, std::string& folder,
                                      std::string& file);

int showSaveFileDialog(void* owner, const std::string& title,
                       const std::vector<FileFilter>& filters,
                       const std::string& defaultExtension, std::string& folder,
                       std::string& file);

// Installs the handler (null restores cancelling) and returns the previous one.
SaveFileDialogHandler setSaveFileDialogHandler(SaveFileDialogHandler handler);

// Asks for one existing file to open, starting in folder (when not empty).
// A choice sets file to its full path and folder to its folder and returns
// non-zero; cancelling returns 0 and changes nothing.
using OpenFileDialogHandler = int (*)(void* owner, const std::string& title,
                                      const std::vector<FileFilter>& filters, std::string& folder,
                                      std::string& file);

int showOpenFileDialog(void* owner, const std::string& title,
                       const std::vector<FileFilter>& filters, std::string& folder,
                       std::string& file);

OpenFileDialogHandler setOpenFileDialogHandler(OpenFileDialogHandler handler);

// Asks for one or more existing files. A choice appends their full paths to
// files in the order the dialog gives them, sets folder to their folder and
// returns non-zero; cancelling returns 0. A path refused by the length
// rules ends the list there (the paths before it stay) and returns 0.
using OpenFilesDialogHandler = int (*)(void* owner, const std::string& title,
                                       const std::vector<FileFilter>& filters,
                                       std::string& folder, std::vector<std::string>& files);

int showOpenFilesDialog(void* owner, const std::string& title,
                        const std::vector<FileFilter>& filters, std::string& folder,
                        std::vector<std::string>& files);

OpenFilesDialogHandler setOpenFilesDialogHandler(OpenFilesDialogHandler handler);
