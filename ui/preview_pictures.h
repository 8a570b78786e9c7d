// The preview window's built-in pictures: the start picture (shown when a
// preview starts and while the player waits for frames), the end picture
// (the preview played to the end; a click replays it) and a blank one.
#pragma once

extern const unsigned char previewStartGif[344];
extern const unsigned char previewEndGif[876];
extern const unsigned char previewBlankGif[43];
