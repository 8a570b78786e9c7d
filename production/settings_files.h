// What the two kinds of settings files share: the settings folder, reading
// a file as text (UTF-8, or GBK as Chinese Windows programs write it),
// writing one with the program's error boxes, the last-access time that
// orders the recent-file lists, and those lists.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// "sz" in the program folder (or in the user's data folder), made when
// missing; empty when neither can be used (see programDataFolder).
std::string settingsFolder();

// The largest settings file read. A video settings file holds a few
// hundred bytes and an animation settings file a number for each picture
// (600 at most), a few kilobytes; a larger file is no settings file.
inline constexpr std::size_t kMaxSettingsFileBytes = 1 << 20;

enum class SettingsRead { Ok, CannotOpen, CannotRead, NotText };
// The whole file as UTF-8 text: a file that is not valid UTF-8 is read as
// GBK; a UTF-8 byte-order mark is dropped. Only a regular file is read
// (see platform/regular_file.h). CannotOpen: nothing readable is there;
// CannotRead: it is a FIFO, folder or device, larger than
// kMaxSettingsFileBytes, or reading fails. NotText: the file is neither
// UTF-8 nor GBK, and text is left as it was.
SettingsRead readSettingsText(const std::string& path, std::string& text);

// Writes text as the file's whole content, replacing it only once all is
// written. 1 when written; 0 after an error box ("写入文件时出错，文件句柄打开出错"
// when the file cannot be created, "写入文件时出错" when writing fails).
int writeSettingsFile(const std::string& path, const std::string& text);

// Sets the file's last-access time to now, its modification time kept;
// false when that fails.
bool stampAccessTime(const std::string& path);
// Stamps the file when it lies in the settings folder: the recent-file
// lists show its last use first.
void stampSettingsFileUse(const std::string& path);

// At most count names of the settings folder's files that match pattern
// ("*.sz", "*.dh"), the last used first; files whose access time cannot be
// read are left out.
std::vector<std::string> recentSettingsFiles(const char* pattern, int count = 5);
