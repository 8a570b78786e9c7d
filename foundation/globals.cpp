#include "foundation/globals.h"

// ---- Main window and output size ----
void* hwndMain = nullptr;
int videoWidth = 400;
int videoHeight = 400;

// ---- Service host, user and program identity ----
std::string serviceHost;
std::string supportSite;
char userId[33] = "";
char programDigest[33] = "";
int itemPictureMode = 5;
char itemUrlTemplate[128] = "";
int itemPictureTypes = 1;
int serviceBitrateKbps = 0;
int keepHttpsPictureUrls = 0;
char itemRequestCookie[4096] = "";
CaptionMargins defaultCaptionMargins = {0.06001f, 0.06001f, 0.06001f, 0.06001f, 0.15001f};

// ---- Frame rendering ----
int videoBgFillColor = 0;
int pauseFrames = 25;
int frameOutputMode = 0;
MagickWand* previewLogoWand = nullptr;
int previewLogoX = 0;
int previewLogoY = 0;
FrameSink frameSink = nullptr;
void* encoderInput = nullptr;

CaptionMargins captionMargins = {0.06001f, 0.06001f, 0.06001f, 0.06001f, 0.15001f};

COLORREF captionTextColors[16] = {
    rgbColor(255, 255, 255), rgbColor(255, 255, 0),   rgbColor(0, 128, 255),
    rgbColor(0, 255, 0),     rgbColor(0, 0, 0),       rgbColor(0, 0, 255),
    rgbColor(0, 64, 0),      rgbColor(255, 255, 255), rgbColor(255, 255, 255),
    rgbColor(0, 0, 0),       rgbColor(255, 97, 157),  rgbColor(0, 128, 255),
    rgbColor(255, 128, 0),   rgbColor(0, 128, 0),
};
COLORREF captionBoxColors[16] = {
    rgbColor(0, 0, 0),       rgbColor(0, 0, 0),       rgbColor(0, 0, 0),
    rgbColor(0, 0, 0),       rgbColor(255, 255, 255), rgbColor(255, 255, 255),
    rgbColor(255, 255, 255), rgbColor(255, 97, 157),  rgbColor(255, 255, 255),
    rgbColor(0, 0, 0),       rgbColor(255, 97, 157),  rgbColor(0, 128, 255),
    rgbColor(255, 128, 0),   rgbColor(0, 128, 0),
};

HashMap* fontMap = nullptr;
HashMap* effectNameMap = nullptr;
LinkedList* pictureList = nullptr;

// ---- Video production ----
std::string programFolder;
std::string workFolder;
std::string ffmpegPath;
std::string lastVideoFolder;
int mp4VideoBitrate = 0;
int mp4DefaultFileName = 0;
float musicSeconds = 0.0f;
ArrayList* musicPathList = nullptr;
std::mutex musicPathListLock;
std::string outputVideoPath;
char durationText[13] = "";
std::atomic<int> stopFlag{0};
std::atomic<int> useAnonymousPipe{0};
void* hwndProgressDialog = nullptr;

// ---- Program start-up, preferences and the windows ----
std::string lastMusicFolder;
int defaultVideoWidth = 800;
int defaultVideoHeight = 800;
int effectComboVisibleCount = 24;
int processorCount = 1;


// ---- Picture list ----
int maxPictures = 60;
int captionPosition = 4;
int captionEditGuard = 0;
std::string lastImageFolder;
std::string lastLogoFolder;


// ---- Preview ----
std::atomic<int> previewRunState{0};
std::atomic<int> previewRenderDone{0};
std::atomic<int> previewPlayerDone{0};


// ---- Background music and settings files ----
std::atomic<int> musicAuditionPlaying{0};
int auditionIndex = -1;
int lastMusicIndex = 0;
int auditionRestartPending = 0;
std::atomic<int> musicReplayCount{0};


// ---- Item import ----

