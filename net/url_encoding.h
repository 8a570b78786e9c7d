// Form URL encoding and decoding, and the hexadecimal reader of chunk sizes.
#pragma once

// Heap text (freed by the caller) of the first length bytes of text, form
// encoded: blank -> '+', letters, digits and "-._" kept, every other byte
// -> %XX. Null for a null text; outLength (may be null) gets the length.
char* url_encode(const char* text, int length, int* outLength);

// Decodes in place over length bytes ('+' -> blank, %XX -> byte), ends
// the text and returns the decoded length.
int url_decode(char* buffer, int length);

// Hexadecimal digits after an optional "0x" and blanks, up to the first
// other character; an empty digit run gives 0.
int hexToInt(const char* text);
