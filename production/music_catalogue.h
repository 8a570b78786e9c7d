// The music catalogue of the service host: a list of MP3 files that the
// program keeps in its music folder. A thread started with the main window
// fetches the list, downloads every file that is missing or whose size
// differs from the list's, and adds new files to the music combo. Only
// the list's first songs are taken, all that the catalogue has written
// into the folder stays within the same bounds (see MusicCatalogueLimits), no
// download leaves less than a set amount of the disk free (a reply longer
// than the listed size fails as soon as it passes it), and a file the
// user put in the folder is never replaced: the catalogue replaces only the
// files it wrote itself, as they were (its record lies beside them), and
// leaves anything else of a song's name alone, a link or a file it cannot
// read included. Each request has a whole-request deadline and ends early
// once the program is ending.
//
// Catalogue: UTF-8 lines separated by "\n", each "download URL|size in
// bytes|file name", further fields ignored.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

struct MusicCatalogueEntry {
    std::string url;
    long long size;
    std::string fileName;  // a plain file name ending in ".mp3"
};

struct MusicCatalogueLimits {
    int songs;               // songs the catalogue keeps in the folder, and
                             // songs taken from the list, in its order
    long long totalBytes;    // their sizes together (a song that would
                             // pass it is left out)
    long long freeBytesKept; // disk space a download never goes below
};
// 100 songs, 500 MB, 1 GB. Tests change them.
extern MusicCatalogueLimits musicCatalogueLimits;

// The whole time the list or one song may take, connecting included: two
// minutes, enough for a 10 MB song at 100 KB/s. Tests shorten it.
extern std::atomic<int> musicDownloadDeadlineMs;

// The usable lines at the start of a catalogue, in its order: at most
// limits.songs of them and limits.totalBytes together (a line that would
// pass it is left out); the rest of the text is not read. A line is left
// out when it has fewer than three fields, a URL longer than 259 bytes, a
// size that is not a positive number, or a name that safeMusicFileName
// refuses.
std::vector<MusicCatalogueEntry> parseMusicCatalogue(std::string_view text, const MusicCatalogueLimits& limits);

// The name reduced to its last path part (after "/" or "\"); empty when
// that is not a visible file name ending in ".mp3" (ignoring case): not
// UTF-8, or holding control characters, marks that change the direction
// of the text around them, line or paragraph separators, or invisible
// format characters (zero-width ones, the byte order mark, the soft
// hyphen, tags and the like).
std::string safeMusicFileName(const std::string& name);

// The thread's work: fetch the catalogue (nothing when no service host is
// set or the fetch fails) and bring the music folder up to date. Returns 0.
int thread_download_music();
// Starts thread_download_music on a thread of its own; no thread without a
// service host, nor while an earlier one still runs.
void startMusicDownload();
// Tells the thread to stop (its request ends within a tenth of a second)
// and joins it; one that has not ended after a few seconds is left to end
// with the process. Call once the user interface has closed.
void endMusicDownload();
