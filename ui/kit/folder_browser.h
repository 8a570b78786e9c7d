// Choosing a folder. A typed folder that does not exist is refused with
// "文件夹 '...' 不存在" and the dialog stays open.
#pragma once

#include <string>

class QWidget;

// Starts at path; on a choice writes the folder into path and returns 1,
// else 0. allowNewFolder shows the button that makes a new folder.
int browseForFolder(QWidget* owner, const std::string& title, std::string& path,
                    bool allowNewFolder);
