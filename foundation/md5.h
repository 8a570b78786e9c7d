// MD5 message digest (RFC 1321), used for the program's own digest that the
// start-up query sends.
#pragma once

#include <cstddef>
#include <cstdint>

struct Md5Context {
    std::uint32_t count[2];      // bit count, low word first
    std::uint32_t state[4];
    unsigned char buffer[64];    // input not yet absorbed
};

void md5_init(Md5Context* context);
void md5_update(Md5Context* context, const void* bytes, std::size_t length);
void md5_final(Md5Context* context, unsigned char digest[16]);
void md5_transform(std::uint32_t state[4], const unsigned char block[64]);
void md5_encode(unsigned char* output, const std::uint32_t* input, std::size_t length);
void md5_decode(std::uint32_t* output, const unsigned char* input, std::size_t length);

// Digest of the bytes as 32 upper-case hexadecimal digits into text (33
// bytes or more, terminated); returns 32.
int md5_hex(const void* bytes, std::size_t length, char* text);
