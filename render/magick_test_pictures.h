// Four tiny pictures, one per coder the program relies on, that the
// ImageMagick self-test decodes from memory.
#pragma once

extern const unsigned char kTestPng[79];
extern const unsigned char kTestJpeg[521];
extern const unsigned char kTestGif[54];
extern const unsigned char kTestBmp[102];
