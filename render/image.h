// The image module: the recurring steps over MagickWand that the renderer,
// the effects and the picture list share. Paths are UTF-8 (the program's
// text); the "Gbk" names are kept from the design where paths were GBK.
// Every function that returns a wand hands it to the caller.
#pragma once

#include <cstddef>
#include <string>

#include <wand/MagickWand.h>

// Transforms a CMYK image's pixels to sRGB; other colourspaces are left alone.
void cmykToSrgb(MagickWand* wand);
// Labels the image sRGB (no pixel conversion) unless it already is.
void setSrgbColorspace(MagickWand* wand);

// Reads the file at path into the wand; 1 when read. The path is opened by
// the program, never parsed by ImageMagick, so names containing "[...]" or
// a "format:" prefix are read as the plain files they are. Only a regular
// file is opened (see platform/regular_file.h), and ImageMagick reads that
// open file, so nothing can swap it in between. 0 with errno set when it
// cannot be opened (EINVAL for a FIFO, folder or device).
int readImageGbkPath(MagickWand* wand, const std::string& path);
// Writes the wand to path (format from the wand or the extension); 1 when written.
int writeImageGbkPath(MagickWand* wand, const std::string& path);

// Reads a picture for rendering: profiles stripped, alpha flattened onto
// fillColor (32-bit BMP: alpha switched off), CMYK turned to sRGB.
// Null after an error box.
MagickWand* readPicture(const std::string& path, const char* fillColor);
// The same without the box: null with the box's text in *failure.
MagickWand* readPictureQuietly(const std::string& path, const char* fillColor,
                               std::string* failure);

// A logo laid over every frame at (x, y): the preview shows the logo the
// encoder would lay over the video. The wand is the owner's.
struct FrameLogo {
    MagickWand* wand = nullptr;
    int x = 0;
    int y = 0;
};
// Composites the logo Over frame at its place.
void layFrameLogo(MagickWand* frame, const FrameLogo& logo);

// How a frame's pixels are laid out for whoever reads them.
enum class FramePixels {
    Rgb24,    // width x height 8-bit RGB triples, rows top to bottom
    // Planar YUV 4:2:0, BT.601 limited range, as the encoder's video is:
    // the Y plane (width x height), then U and V (each (width + 1) / 2 x
    // (height + 1) / 2), converted exactly as the encoder converts Rgb24.
    Yuv420p,
};

// Bytes of one width x height frame in the layout.
std::size_t framePixelBytes(int width, int height, FramePixels layout);

// A frame as the encoder or the preview reads it, from the wand's current
// image: framePixelBytes(width, height, layout) bytes, released with
// MagickRelinquishMemory. With a logo, the logo is laid over a copy first.
// Null with *length 0 when the size is empty or the export fails.
unsigned char* getFramePixels(MagickWand* wand, int width, int height, std::size_t* length,
                              const FrameLogo* logo, FramePixels layout = FramePixels::Rgb24);
// JPEG bytes of the wand's current image (released with MagickRelinquishMemory);
// with a logo, the logo is laid over a copy first.
unsigned char* getFrameJpegBlob(MagickWand* wand, std::size_t* length, const FrameLogo* logo);
// Writes a JPEG whose quality is at most qualityCeiling; MagickWriteImage's result.
int writeJpegFile(MagickWand* wand, const std::string& path, int qualityCeiling);

// One image of width x height filled with color.
MagickWand* newCanvas(int width, int height, const char* color);
// White canvas with image composited Over at (x, y); image stays the caller's.
MagickWand* newWhiteCanvasWith(int width, int height, MagickWand* image, int x, int y);
// White canvas with base at (0, 0) and top over it at the given opacity
// (1.0 opaque); top's opacity is changed in place.
MagickWand* blendOnWhiteCanvas(int width, int height, MagickWand* top, MagickWand* base,
                               double opacity);
// White W x H canvas with a copy of picture enlarged by delta pixels in width
// (height in proportion) and centred, so the enlargement is cropped evenly.
MagickWand* zoomOnWhiteCanvas(int W, int H, MagickWand* picture, int delta);
// W x H canvas of color with picture centred on it; a picture larger than the
// canvas is shrunk in place to fit (never enlarged).
MagickWand* fitOnBackground(int W, int H, MagickWand* picture, const char* color);

int isCmykImage(MagickWand* wand);
int isCmykFile(const std::string& path);
// 1 for a still picture: its first frame has no delay, or it holds one image.
int isStillImage(MagickWand* wand);
