// Opening files that come from outside the program. A path a user or
// another program hands over can name anything: a FIFO blocks whoever opens
// or reads it until a writer comes, a device such as /dev/zero never ends,
// a folder cannot be read as a file. So such a path is opened without
// blocking, checked on the opened descriptor to be a regular file, and only
// then read, never more than the caller can use.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

enum class RegularFileError {
    None,
    Missing,     // nothing of that name, or a link where links are refused
    Unreadable,  // there, but it cannot be opened for reading
    NotRegular,  // a folder, FIFO, device or socket
    TooLarge,    // larger than the caller's bound
};

enum class FollowLinks { Yes, No };

// Opens path (or name inside the folder folderFd, for openRegularFileAt)
// for reading in blocking mode, once it is known to be a regular file.
// With FollowLinks::No a link at the last part is refused as Missing.
// -1 on failure, with error (when given) saying why and errno set (EINVAL
// for a path that is not a regular file). The caller closes the
// descriptor.
int openRegularFile(const char* path, FollowLinks follow = FollowLinks::Yes,
                    RegularFileError* error = nullptr);
int openRegularFileAt(int folderFd, const char* name, FollowLinks follow = FollowLinks::Yes,
                      RegularFileError* error = nullptr);

// openRegularFile as a stdio stream for reading, for code that reads
// through one (header probes, ImageMagick). Null on failure; the caller
// closes the stream.
std::FILE* openRegularFileStream(const char* path, FollowLinks follow = FollowLinks::Yes,
                                 RegularFileError* error = nullptr);

// Whether path opens as a regular file; the file is not read.
bool isRegularFile(const char* path, FollowLinks follow = FollowLinks::Yes,
                   RegularFileError* error = nullptr);

// Reads the whole regular file at path into content when it holds at most
// maxBytes. A file that grows past the bound while it is read is TooLarge
// too. false (content empty) on failure.
bool readRegularFile(const char* path, std::size_t maxBytes, std::string& content,
                     FollowLinks follow = FollowLinks::Yes, RegularFileError* error = nullptr);
// The same for name inside the folder folderFd.
bool readRegularFileAt(int folderFd, const char* name, std::size_t maxBytes, std::string& content,
                       FollowLinks follow = FollowLinks::Yes, RegularFileError* error = nullptr);
