#include "foundation/md5.h"

#include <bit>
#include <cstdio>
#include <cstring>

namespace {

// Per-step shift amounts and the sine-derived constants of RFC 1321.
constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

} // namespace

void md5_init(Md5Context* context) {
    context->count[0] = context->count[1] = 0;
    context->state[0] = 0x67452301;
    context->state[1] = 0xefcdab89;
    context->state[2] = 0x98badcfe;
    context->state[3] = 0x10325476;
}

void md5_update(Md5Context* context, const void* bytes, std::size_t length) {
    const auto* input = static_cast<const unsigned char*>(bytes);
    std::size_t used = (context->count[0] >> 3) & 0x3F;
    std::uint64_t bits = (static_cast<std::uint64_t>(context->count[1]) << 32 | context->count[0]) +
                         (static_cast<std::uint64_t>(length) << 3);
    context->count[0] = static_cast<std::uint32_t>(bits);
    context->count[1] = static_cast<std::uint32_t>(bits >> 32);

    std::size_t free = 64 - used, i = 0;
    if (length >= free) {
        std::memcpy(context->buffer + used, input, free);
        md5_transform(context->state, context->buffer);
        for (i = free; i + 63 < length; i += 64) md5_transform(context->state, input + i);
        used = 0;
    }
    if (length > i) std::memcpy(context->buffer + used, input + i, length - i);
}

void md5_final(Md5Context* context, unsigned char digest[16]) {
    static const unsigned char padding[64] = {0x80};
    unsigned char bitCount[8];
    md5_encode(bitCount, context->count, 8);
    std::size_t used = (context->count[0] >> 3) & 0x3F;
    std::size_t padLength = used < 56 ? 56 - used : 120 - used;
    md5_update(context, padding, padLength);
    md5_update(context, bitCount, 8);
    md5_encode(digest, context->state, 16);
    std::memset(context, 0, sizeof *context);
}

void md5_transform(std::uint32_t state[4], const unsigned char block[64]) {
    std::uint32_t x[16];
    md5_decode(x, block, 64);
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        std::uint32_t f;
        int g;
        switch (i / 16) {
        case 0: f = (b & c) | (~b & d); g = i; break;
        case 1: f = (d & b) | (~d & c); g = (5 * i + 1) % 16; break;
        case 2: f = b ^ c ^ d; g = (3 * i + 5) % 16; break;
        default: f = c ^ (b | ~d); g = (7 * i) % 16; break;
        }
        std::uint32_t rotated = std::rotl(a + f + kSine[i] + x[g], kShift[i]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void md5_encode(unsigned char* output, const std::uint32_t* input, std::size_t length) {
    for (std::size_t i = 0, j = 0; j < length; ++i, j += 4) {
        output[j] = static_cast<unsigned char>(input[i]);
        output[j + 1] = static_cast<unsigned char>(input[i] >> 8);
        output[j + 2] = static_cast<unsigned char>(input[i] >> 16);
        output[j + 3] = static_cast<unsigned char>(input[i] >> 24);
    }
}

void md5_decode(std::uint32_t* output, const unsigned char* input, std::size_t length) {
    for (std::size_t i = 0, j = 0; j < length; ++i, j += 4)
        output[i] = static_cast<std::uint32_t>(input[j]) | static_cast<std::uint32_t>(input[j + 1]) << 8 |
                    static_cast<std::uint32_t>(input[j + 2]) << 16 |
                    static_cast<std::uint32_t>(input[j + 3]) << 24;
}

int md5_hex(const void* bytes, std::size_t length, char* text) {
    Md5Context context;
    unsigned char digest[16];
    md5_init(&context);
    md5_update(&context, bytes, length);
    md5_final(&context, digest);
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = digits[digest[i] >> 4];
        text[2 * i + 1] = digits[digest[i] & 0xF];
    }
    text[32] = '\0';
    return 32;
}
