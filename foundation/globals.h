// Process-wide settings and state that several layers read or write.
// They live here, in the lowest layer, so that no layer has to include a
// higher one to reach them. Each is written on the user-interface thread
// before a worker that reads it starts, unless it is an atomic.
//
// Keep one section per owner, in layer order, so additions stay apart.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

// ---- Main window and output size (set by the user interface: the size
// combo and the custom size dialog) ----
extern void* hwndMain;   // owner of message boxes; null until the main window exists
extern int videoWidth;   // initial 400
extern int videoHeight;  // initial 400

// ---- Service host, user and program identity (net: start-up query, error reports) ----
// The program's version, sent with every call to the service host.
constexpr float programVersion = 10.5f;
// Base address of the service host ("https://host[:port]"; a bare host
// means "http://host") and of the support site whose pages are opened in
// the browser. Preferences, empty by default: with none, no service call
// touches the network and error reports go to the local log file.
extern std::string serviceHost;
extern std::string supportSite;
extern char userId[33];         // opaque user identifier, possibly empty
extern char programDigest[33];  // MD5 of the program file, 32 upper-case hex digits, or empty

// Service settings: initial values until the start-up query replaces them
// (on the user-interface thread, all in one call).
extern int itemPictureMode;        // initial 5; chooses the item-picture loader; 2 hides the load commands
extern char itemUrlTemplate[128];  // item JSON address template, initially empty
extern int itemPictureTypes;       // initial 1; 3 offers the colour-variant picture types
extern int serviceBitrateKbps;     // initial 0; video bitrate when the bitrate setting is on its default
extern int keepHttpsPictureUrls;   // initial 0; kept as the service sends it, but picture addresses always keep "https://"
extern char itemRequestCookie[4096];  // cookie for the second item-JSON attempt, initially empty
struct CaptionMargins;
extern CaptionMargins defaultCaptionMargins;  // 0.06001 each, centre-bottom 0.15001

// ---- Frame rendering (read by render/, written by the layers above) ----
struct HashMap;
struct LinkedList;
typedef struct _MagickWand MagickWand;

// A Windows colour value, 0x00BBGGRR, as the caption colour tables store it.
using COLORREF = std::uint32_t;
constexpr COLORREF rgbColor(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFFu) | (green & 0xFFu) << 8 | (blue & 0xFFu) << 16;
}

// Receives every encoded frame; nonzero when the frame was accepted, zero
// stops rendering. written and overlapped follow the pipe-writer shape; the
// renderer passes a local it never reads and a null overlapped.
using FrameSink = int (*)(void* handle, const void* bytes, std::uint32_t length,
                          std::uint32_t* written, void* overlapped);

extern int videoBgFillColor;       // 0 white, 1 black background behind pictures
extern int pauseFrames;            // hold frames per picture, initial 25
extern int frameOutputMode;        // 1 generating a video, 2 previewing
extern MagickWand* previewLogoWand; // logo laid on preview frames, or null
extern int previewLogoX;
extern int previewLogoY;
extern FrameSink frameSink;        // set before a render thread starts
extern void* encoderInput;         // handle passed to frameSink with every frame

// Caption margins as fractions of the frame.
struct CaptionMargins {
    float top, bottom, left, right, centerBottom;
};
extern CaptionMargins captionMargins;  // 0.06001 each, centre-bottom 0.15001

// Caption colour combo: text and box colour per index; equal colours draw no box.
extern COLORREF captionTextColors[16];
extern COLORREF captionBoxColors[16];

extern HashMap* fontMap;         // font display name -> font file path (heap strings)
extern HashMap* effectNameMap;   // effect index -> display name
extern LinkedList* pictureList;  // PictureRecord pointers in list order

// ---- Video production (timing and the encoder pipeline; the folders,
// preferences and music state they read) ----
struct ArrayList;

extern std::string programFolder;   // the executable's folder, no trailing "/"
extern std::string workFolder;      // downloaded pictures and logo copies
extern std::string ffmpegPath;      // the encoder: programFolder + "/tool/ffmpeg"
extern std::string lastVideoFolder; // where the save dialog for videos starts
extern int mp4VideoBitrate;         // 0 encoder default, 1 to 3: 1M to 3M
extern int mp4DefaultFileName;      // 0 empty, 1 current time, 2 first picture's name
extern float musicSeconds;          // length of the chosen music, 0 without music
// Paths parallel to the music combo: entry 0 and the last entry (the local
// file item) are empty texts. The music catalogue thread adds entries, so
// every use holds musicPathListLock.
extern ArrayList* musicPathList;
extern std::mutex musicPathListLock;
extern std::string outputVideoPath; // the MP4 being made
extern char durationText[13];       // the encoder's "-t" value
extern std::atomic<int> stopFlag;   // 1: rendering must stop (Stop, or an encoder error)
extern std::atomic<int> useAnonymousPipe;  // 1 once the named-pipe way has failed; stays 1
extern void* hwndProgressDialog;    // owner of the encoder's error box

// ---- Program start-up, preferences and the windows (app/, ui/) ----
// The folder the music dialog starts in, remembered between runs like the
// other dialog folders (lastVideoFolder above, lastImageFolder and
// lastLogoFolder below).
extern std::string lastMusicFolder;
// The output size selected at start-up, remembered between runs; 800 x 800
// by default.
extern int defaultVideoWidth;
extern int defaultVideoHeight;
// Visible items of the per-picture effect combo's list, from the screen
// height at start-up; initial 24.
extern int effectComboVisibleCount;
// Processors online, counted at start-up; chooses the preview's buffering.
extern int processorCount;


// ---- Picture list (production: the picture list model) ----
extern int maxPictures;       // 60; 600 while GIF mode (IDM_GIF_MODE) is checked
extern int captionPosition;   // caption position given to new pictures, initial 4
// 1 while the selection refresh writes the caption edit: the edit's change
// handling must not store that text as the user's.
extern int captionEditGuard;
// Remembered dialog folders (the preferences read and write them).
extern std::string lastImageFolder;  // the add-pictures dialog
extern std::string lastLogoFolder;   // the logo dialog


// ---- Preview (production: preview queue and playback) ----
// 0 idle or stopped, 1 running, 2 played to the end; the main window's
// music commands start the preview's music only while it is 1.
extern std::atomic<int> previewRunState;
// 1 once the preview's render thread has delivered every frame (or
// stopped); the player ends when it is 1 and the queue is empty.
extern std::atomic<int> previewRenderDone;
// 1 once the preview's player thread has ended.
extern std::atomic<int> previewPlayerDone;


// ---- Background music and settings files (production) ----
// 1 while the music started by playMusicAudition is open and playing; the
// preview's player thread reads and clears it.
extern std::atomic<int> musicAuditionPlaying;
extern int auditionIndex;    // music combo entry labelled " - 试听中", -1 when none
extern int lastMusicIndex;   // the music combo entry last accepted, restored when the local-file dialog is cancelled
extern int auditionRestartPending;  // 1: the end of the playing audition starts the newly selected song
extern std::atomic<int> musicReplayCount;  // restarts of the preview's music; the preview resets it


// ---- Item import (net/import) ----

