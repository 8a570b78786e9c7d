#include "render/image_probe.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/regular_file.h"

namespace {

enum class Signature { None, Bmp, Jpeg, Gif, Png };

// The signature table, in its order: the first two bytes as one value.
Signature signatureOf(const unsigned char* header) {
    unsigned value = header[0] << 8 | header[1];
    switch (value) {
    case 0x424D: return Signature::Bmp;
    case 0xFFD8: return Signature::Jpeg;
    case 0x4749: return Signature::Gif;
    case 0x8950: return Signature::Png;
    default: return Signature::None;
    }
}

const char* nameOf(Signature signature) {
    switch (signature) {
    case Signature::Bmp: return "BMP";
    case Signature::Jpeg: return "JPEG";
    case Signature::Gif: return "GIF";
    case Signature::Png: return "PNG";
    default: return nullptr;
    }
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Only a regular file is opened: a FIFO or a device would block the read
// or never end.
FilePtr openPicture(const std::string& path) { return FilePtr(openRegularFileStream(path.c_str())); }

// Sequential reads that never take the end of the file for data: every
// read reports whether the bytes were really there.
class ByteReader {
public:
    explicit ByteReader(std::FILE* file) : file_(file) {}
    bool byte(int* value) {
        int c = std::fgetc(file_);
        if (c == EOF) return false;
        *value = c;
        return true;
    }
    bool bigEndian16(int* value) {
        int high = 0, low = 0;
        if (!byte(&high) || !byte(&low)) return false;
        *value = high << 8 | low;
        return true;
    }
    // Skipping forward is a read too: the bytes must exist.
    bool skip(long count) {
        if (count <= 0) return true;
        if (std::fseek(file_, count - 1, SEEK_CUR) != 0) return false;
        int ignored = 0;
        return byte(&ignored);
    }
    // Data sub-blocks: a length byte and that many bytes, up to a zero length.
    bool skipSubBlocks() {
        for (;;) {
            int length = 0;
            if (!byte(&length)) return false;
            if (length == 0) return true;
            if (!skip(length)) return false;
        }
    }

private:
    std::FILE* file_;
};

std::int64_t fileLength(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    long length = std::ftell(file);
    return length < 0 ? -1 : length;
}

int colourTableBytes(int packed) {
    return (packed & 0x80) ? 3 * (1 << ((packed & 0x07) + 1)) : 0;
}

// Counts a GIF89a's images block by block; the file stands at offset 15.
int walkGif(std::FILE* file, const unsigned char* header) {
    if (std::fseek(file, 13 + colourTableBytes(header[10]), SEEK_SET) != 0)
        return IMAGE_PROBE_UNKNOWN;
    ByteReader reader(file);
    bool imageSeen = false;
    for (;;) {
        int block = 0;
        if (!reader.byte(&block)) return IMAGE_PROBE_UNKNOWN;
        if (block == 0x21) {
            int label = 0;
            if (!reader.byte(&label)) return IMAGE_PROBE_UNKNOWN;
            bool ok = true;
            switch (label) {
            case 0xF9: ok = reader.skip(6); break;
            case 0xFE: ok = reader.skipSubBlocks(); break;
            case 0xFF: ok = reader.skip(12) && reader.skipSubBlocks(); break;
            case 0x01: ok = reader.skip(13) && reader.skipSubBlocks(); break;
            // Every extension is a run of sub-blocks after its label, so one
            // this walk does not know is passed over whole.
            default: ok = reader.skipSubBlocks(); break;
            }
            if (!ok) return IMAGE_PROBE_UNKNOWN;
        } else if (block == 0x2C) {
            if (imageSeen) return IMAGE_PROBE_ANIMATED;
            int packed = 0;
            if (!reader.skip(8) || !reader.byte(&packed) || !reader.skip(colourTableBytes(packed)) ||
                !reader.skip(1) || !reader.skipSubBlocks())
                return IMAGE_PROBE_UNKNOWN;
            imageSeen = true;
        } else if (block == 0x3B) {
            return IMAGE_PROBE_GIF;
        } else {
            return IMAGE_PROBE_UNKNOWN;
        }
    }
}

int littleEndian16(const unsigned char* p) { return p[0] | p[1] << 8; }
// PNG sizes are 31-bit; a larger value is no PNG and reads as 0.
int pngSide(const unsigned char* p) {
    std::uint32_t value = static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
    return value > 0x7FFFFFFF ? 0 : static_cast<int>(value);
}
std::int32_t littleEndian32(const unsigned char* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | p[1] << 8 | p[2] << 16 |
                                     static_cast<std::uint32_t>(p[3]) << 24);
}

// Finds the frame header (baseline 0xC0 or progressive 0xC2) after the
// start marker; false at the end of the file or on a broken segment.
bool scanJpegSize(std::FILE* file, int* width, int* height) {
    if (std::fseek(file, 2, SEEK_SET) != 0) return false;
    ByteReader reader(file);
    for (;;) {
        int prefix = 0, marker = 0, length = 0;
        if (!reader.byte(&prefix) || prefix != 0xFF) return false;
        if (!reader.byte(&marker) || !reader.bigEndian16(&length)) return false;
        // A length counts its own two bytes; anything less cannot be a segment.
        if (length < 2) return false;
        if ((marker & ~0x02) == 0xC0) {
            return reader.skip(1) && reader.bigEndian16(height) && reader.bigEndian16(width);
        }
        if (!reader.skip(length - 2)) return false;
    }
}

} // namespace

int probeImageType(const std::string& path) {
    FilePtr file = openPicture(path);
    if (!file) return IMAGE_PROBE_UNREADABLE;
    unsigned char header[15] = {};
    if (std::fread(header, 1, sizeof header, file.get()) < 2) return IMAGE_PROBE_UNKNOWN;
    switch (signatureOf(header)) {
    case Signature::Jpeg: return IMAGE_PROBE_JPEG;
    case Signature::Png: return IMAGE_PROBE_PNG;
    case Signature::Bmp: return IMAGE_PROBE_BMP;
    case Signature::Gif:
        if (std::memcmp(header + 3, "87a", 3) == 0) return IMAGE_PROBE_GIF;
        return walkGif(file.get(), header);
    default: return IMAGE_PROBE_UNKNOWN;
    }
}

int getImageTypeName(const std::string& path, std::string* name) {
    FilePtr file = openPicture(path);
    if (!file) return 0;
    unsigned char header[2] = {};
    (void)std::fread(header, 1, sizeof header, file.get());
    const char* known = nameOf(signatureOf(header));
    if (name) *name = known ? known : "未知格式";
    return 1;
}

int readImageHeaderInfo(const std::string& path, ImageHeaderInfo* info) {
    FilePtr file = openPicture(path);
    return file ? readImageHeaderInfo(file.get(), info) : 0;
}

int readImageHeaderInfo(std::FILE* file, ImageHeaderInfo* info) {
    if (std::fseek(file, 0, SEEK_SET) != 0) return 0;
    // Zeroed first, so a short file reads as zero sizes and fails below.
    unsigned char header[32] = {};
    (void)std::fread(header, 1, sizeof header, file);
    Signature signature = signatureOf(header);
    std::int64_t bytes = 0;
    int width = 0, height = 0;
    switch (signature) {
    case Signature::Gif:
        width = littleEndian16(header + 6);
        height = littleEndian16(header + 8);
        bytes = fileLength(file);
        break;
    case Signature::Png:
        // The whole 32-bit fields: a picture 65546 wide must not pass for 10.
        width = pngSide(header + 16);
        height = pngSide(header + 20);
        bytes = fileLength(file);
        break;
    case Signature::Jpeg:
        if (!scanJpegSize(file, &width, &height)) return 0;
        bytes = fileLength(file);
        break;
    case Signature::Bmp: {
        std::int64_t wide = std::llabs(static_cast<long long>(littleEndian32(header + 18)));
        std::int64_t high = std::llabs(static_cast<long long>(littleEndian32(header + 22)));
        if (wide > 100000 || high > 100000) {
            // An old core header: 16-bit sizes.
            wide = littleEndian16(header + 18);
            high = littleEndian16(header + 20);
        }
        width = static_cast<int>(wide);
        height = static_cast<int>(high);
        bytes = static_cast<std::uint32_t>(littleEndian32(header + 2));
        break;
    }
    default: return 0;
    }
    if (bytes <= 0 || width <= 0 || height == 0) return 0;
    info->type = nameOf(signature);
    info->width = width;
    info->height = height;
    info->bytes = bytes;
    return 1;
}

int getImageTypeAndSize(const std::string& path, std::string* typeName, int* width, int* height) {
    ImageHeaderInfo info;
    if (!readImageHeaderInfo(path, &info)) return 0;
    if (typeName) *typeName = info.type;
    if (width && height) {
        *width = info.width;
        *height = info.height;
    }
    return 1;
}
