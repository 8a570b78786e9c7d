// The music catalogue of the service host: a list of MP3 files that the
// program keeps in its music folder. A thread started with the main window
// fetches the list, downloads every file that is missing or whose size
// differs from the list's, and adds new files to the music combo. Only
// the list's first songs are taken (see MusicCatalogueLimits), no download
// leaves less than a set amount of the disk free, and a file the user put
// in the folder is never replaced: the catalogue replaces only the files it
// wrote itself, as they were (its record lies beside them).
//
// Catalogue: UTF-8 lines separated by "\n", each "download URL|size in
// bytes|file name", further fields ignored.
#pragma once

#include <string>
#include <vector>

struct MusicCatalogueEntry {
    std::string url;
    long long size;
    std::string fileName;  // a plain file name ending in ".mp3"
};

// The usable lines of a catalogue. A line is left out when it has fewer
// than three fields, a URL longer than 259 bytes, a size that is not a
// positive number, or a name that safeMusicFileName refuses.
std::vector<MusicCatalogueEntry> parseMusicCatalogue(const std::string& text);

// The name reduced to its last path part (after "/" or "\"); empty when
// that is not a visible file name ending in ".mp3" (ignoring case) or holds
// control characters.
std::string safeMusicFileName(const std::string& name);

struct MusicCatalogueLimits {
    int songs;               // songs taken from the list, in its order
    long long totalBytes;    // their sizes together (a song that would
                             // pass it is left out)
    long long freeBytesKept; // disk space a download never goes below
};
// 100 songs, 500 MB, 1 GB. Tests change them.
extern MusicCatalogueLimits musicCatalogueLimits;

// The thread's work: fetch the catalogue (nothing when no service host is
// set or the fetch fails) and bring the music folder up to date. Returns 0.
int thread_download_music();
// Starts thread_download_music on a thread of its own, not waited for;
// no thread without a service host.
void startMusicDownload();
