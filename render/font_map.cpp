#include "render/font_map.h"

#include <mutex>

#include <fontconfig/fontconfig.h>

#include "foundation/globals.h"
#include "foundation/hash_map.h"
#include "foundation/heap_alloc.h"
#include "foundation/text.h"

namespace {

struct CaptionFont {
    const char* name;
    const char* files[2];     // file names in a Windows fonts folder
    const char* families[3];  // family names the same font is installed under
    const char* style;        // generic family of the stand-in when it is absent
};

const CaptionFont kCaptionFonts[] = {
    {"黑体", {"SIMHEI.TTF"}, {"SimHei", "黑体"}, "sans-serif"},
    {"楷体", {"SIMKAI.TTF"}, {"KaiTi", "楷体", "AR PL UKai CN"}, "serif"},
    {"宋体", {"simsun.ttc"}, {"SimSun", "宋体", "Noto Serif CJK SC"}, "serif"},
    {"微软雅黑", {"msyh.ttf", "msyh.ttc"}, {"Microsoft YaHei", "微软雅黑", "Noto Sans CJK SC"},
     "sans-serif"},
    {"幼圆", {"simyou.ttf", "youyuan.ttf"}, {"YouYuan", "幼圆"}, "sans-serif"},
    {"阿里普惠体", {"alibaba-puhuiti-regular.ttf"}, {"Alibaba PuHuiTi", "阿里巴巴普惠体"},
     "sans-serif"},
};

std::string fileBaseName(const char* path) {
    std::string text(path);
    std::size_t slash = text.rfind('/');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

bool matchesFont(FcPattern* font, const CaptionFont& wanted) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch) {
        std::string base = fileBaseName(reinterpret_cast<const char*>(file));
        for (const char* name : wanted.files)
            if (name && str_equals_nocase(base.c_str(), name)) return true;
    }
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        for (const char* name : wanted.families)
            if (name && str_equals_nocase(reinterpret_cast<const char*>(family), name))
                return true;
    return false;
}

// The installed file of the font itself, or empty.
std::string installedFontFile(const CaptionFont& wanted) {
    std::string path;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    for (int i = 0; fonts && i < fonts->nfont && path.empty(); ++i) {
        FcChar8* file = nullptr;
        if (matchesFont(fonts->fonts[i], wanted) &&
            FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) == FcResultMatch)
            path = reinterpret_cast<const char*>(file);
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return path;
}

// The best installed font for Chinese text of a generic style.
std::string chineseFontFile(const char* style) {
    std::string path;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(style));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return path;
}

std::mutex fontconfigLock;  // fontconfig's default configuration is not thread-safe to build

} // namespace

std::vector<std::string> buildFontMap() {
    std::lock_guard<std::mutex> guard(fontconfigLock);
    if (!fontMap) fontMap = hashmap_new(hash_string, equals_string, 16, 0.75f);
    std::vector<std::string> names;
    for (const CaptionFont& font : kCaptionFonts) {
        std::string path = installedFontFile(font);
        if (path.empty()) path = chineseFontFile(font.style);
        void* old = hashmap_put(fontMap, const_cast<char*>(font.name), heapCopy(path.c_str()));
        std::free(old);
        names.push_back(font.name);
    }
    return names;
}

std::string captionFontPath(const std::string& fontName) {
    if (fontMap) {
        auto* path = static_cast<const char*>(hashmap_get(fontMap, fontName.c_str()));
        if (path && *path) return path;
    }
    std::lock_guard<std::mutex> guard(fontconfigLock);
    return chineseFontFile("sans-serif");
}
