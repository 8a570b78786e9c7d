// The encoder's command lines, as argument vectors: nothing in them passes
// through a shell, so any file name arrives as it is.
#pragma once

#include <string>
#include <vector>

using ArgumentList = std::vector<std::string>;

// The "-t" value for a length in seconds: "00:00:%02d.%03d", or
// "00:%02d:%02d.%03d" from 60 seconds up; milliseconds truncated.
std::string formatDuration(float seconds);

// What the encoder adds besides the frames.
struct EncoderOptions {
    ArgumentList audio;    // music input and its output settings, or empty
    ArgumentList logo;     // overlay filter, or empty
    ArgumentList bitrate;  // bitrate and buffer size, or empty
    std::string output;    // the MP4 to write
};

// The logo's distance from the frame's edges at the inset positions:
// 10 pixels on a 400-pixel-wide frame, in proportion.
int logoMargin(int width);

// The music input for the music combo's entry: none for entry 0, for the
// local-file item (the list's last entry) or for a file that is gone. A
// ".mp3" file is named as MP3 ("-f mp3") before it.
ArgumentList audioInputArguments(int musicIndex);
// The overlay filter for the logo copy (a bare name in the encoder's
// working folder) at a logo position combo entry on a frame width wide.
ArgumentList logoFilterArguments(const std::string& copyName, int position, int width);
// By the bitrate preset, else the service's bitrate, else none.
ArgumentList bitrateArguments(int preset, int serviceKbps);

// Reading the frames from the FIFO at pipePath.
ArgumentList namedPipeCommandLine(const std::string& encoder, const std::string& pipePath,
                                  int width, int height, const std::string& duration,
                                  const EncoderOptions& options);
// Reading the frames from standard input.
ArgumentList standardInputCommandLine(const std::string& encoder, int width, int height,
                                      const std::string& duration, const EncoderOptions& options);

// A file name the encoder takes literally: never as an option or a protocol.
std::string encoderFileArgument(const std::string& path);
