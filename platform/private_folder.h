// Folders that only this user can reach. The work folder may lie in a
// temporary directory every local user can write to; a folder there that
// another user made first (or a link to somewhere else) would let that user
// swap the program's files for links and have downloads, logo copies and
// removals land wherever they point. So such a folder (the work folder, the
// crash records' folder) is used only when it is a real directory (never a
// link) owned by this user with no access for others, and trees are
// removed without ever following a link.
#pragma once

#include <string>
#include <vector>

// Opens folder as a directory descriptor without following a link at its
// last part, creating it (mode 0700) first when create is set and it is
// missing. A folder of this user's own that others may reach is made
// private (0700). -1 when it is missing, a link or not a directory, or
// belongs to another user. The caller closes the descriptor.
int openPrivateFolder(const std::string& folder, bool create);

// Whether folder, made (mode 0700) when missing, passes openPrivateFolder's
// rule and this user can write in it: the test for a folder the program
// keeps its own files in.
bool ensureWritablePrivateFolder(const std::string& folder);

// Whether name inside the folder parentFd is a real directory of this user
// with no access for others.
bool isPrivateFolderAt(int parentFd, const char* name);

// Removes name inside the folder parentFd with everything below it, when
// it is a real directory owned by this user. Links inside are removed
// themselves, never followed; folders of other users inside are left.
// true when name is gone.
bool removeFolderTreeAt(int parentFd, const char* name);

// The names in the folder folderFd, without "." and ".."; empty when it
// cannot be read. The descriptor stays open and its own.
std::vector<std::string> folderEntriesAt(int folderFd);
