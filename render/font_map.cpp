#include "render/font_map.h"

#include <cstdlib>
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

// ImageMagick draws the first face of a font collection, so only faces at
// index 0 are usable: the Noto CJK collections, for one, start with their
// Japanese face, whose glyph forms differ from the Chinese ones.
const CaptionFont kCaptionFonts[] = {
    {"黑体", {"SIMHEI.TTF"}, {"SimHei", "黑体"}, "sans-serif"},
    {"楷体", {"SIMKAI.TTF"}, {"KaiTi", "楷体", "AR PL UKai CN"}, "serif"},
    {"宋体", {"simsun.ttc"}, {"SimSun", "宋体", "AR PL UMing CN"}, "serif"},
    {"微软雅黑", {"msyh.ttf", "msyh.ttc"}, {"Microsoft YaHei", "微软雅黑"}, "sans-serif"},
    {"幼圆", {"simyou.ttf", "youyuan.ttf"}, {"YouYuan", "幼圆"}, "sans-serif"},
    {"阿里普惠体", {"alibaba-puhuiti-regular.ttf"}, {"Alibaba PuHuiTi", "阿里巴巴普惠体"},
     "sans-serif"},
};

std::string fileBaseName(const char* path) {
    std::string text(path);
    std::size_t slash = text.rfind('/');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

std::string fileOf(FcPattern* font) {
    FcChar8* file = nullptr;
    return FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch
               ? reinterpret_cast<const char*>(file)
               : "";
}

bool isFirstFace(FcPattern* font) {
    int index = 0;
    return FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch || index == 0;
}

bool matchesFont(FcPattern* font, const CaptionFont& wanted) {
    std::string base = fileBaseName(fileOf(font).c_str());
    for (const char* name : wanted.files)
        if (name && str_equals_nocase(base.c_str(), name)) return true;
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        for (const char* name : wanted.families)
            if (name && str_equals_nocase(reinterpret_cast<const char*>(family), name))
                return true;
    return false;
}

// Distance of a face's weight from the regular weight (0 when unknown).
int weightDistance(FcPattern* font) {
    int weight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    return std::abs(weight - FC_WEIGHT_REGULAR);
}

// The installed file of the font itself (its regular face first), or empty.
std::string installedFontFile(const CaptionFont& wanted) {
    std::string path;
    int bestDistance = 0;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FILE, FC_FAMILY, FC_INDEX, FC_WEIGHT, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        if (!isFirstFace(font) || !matchesFont(font, wanted)) continue;
        int distance = weightDistance(font);
        if (path.empty() || distance < bestDistance) {
            path = fileOf(font);
            bestDistance = distance;
        }
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return path;
}

bool writesChinese(FcPattern* font) {
    FcLangSet* languages = nullptr;
    if (FcPatternGetLangSet(font, FC_LANG, 0, &languages) != FcResultMatch ||
        FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("zh-cn")) ==
            FcLangDifferentLang)
        return false;
    // Pan-CJK collections cover Chinese with Japanese or Korean glyph forms
    // in the faces that say so.
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch) {
        const char* name = reinterpret_cast<const char*>(family);
        if (str_ends_with(name, " JP") || str_ends_with(name, " KR")) return false;
    }
    return true;
}

// The closest installed font of a generic style that writes Chinese in its
// first face; failing that, the closest font of any kind.
std::string chineseFontFile(const char* style) {
    std::string path;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(style));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    for (int i = 0; fonts && i < fonts->nfont && path.empty(); ++i)
        if (isFirstFace(fonts->fonts[i]) && writesChinese(fonts->fonts[i]))
            path = fileOf(fonts->fonts[i]);
    if (path.empty() && fonts && fonts->nfont > 0) path = fileOf(fonts->fonts[0]);
    if (fonts) FcFontSetDestroy(fonts);
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
