// Playing a video the program has just made: the desktop's player opens
// it; where no player can be started, a small HTML page "play.html" that
// plays the video in the browser is written and opened instead.
//
// User-interface thread only.
#pragma once

#include <string>

// The page for the video at videoPath (absolute): its file name as the
// title, the video as a file:// address, a drop-down that switches the page
// between black and white, and a notice for browsers without MP4 support.
// Every inserted text is HTML-escaped.
std::string playPageHtml(const std::string& videoPath);

// Writes playPageHtml(videoPath) to pagePath, replacing the file as a
// whole. 1 when the page was written, else 0.
int writePlayPage(const char* pagePath, const char* videoPath);

// Opens the video with the desktop's player. When that cannot start or
// finds no program for MP4 files, the
// play page is written (into the program folder, or the user's data folder
// when the program folder cannot be written) and opened in the browser;
// when the page cannot be written at all, a warning says so (the video
// itself is fine). owner is the owner of that warning.
void playGeneratedVideo(void* owner, const std::string& videoPath);
