#include "production/music_catalogue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <memory>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "foundation/file_path.h"
#include "platform/command_ids.h"
#include "platform/ui_thread.h"
#include "platform/window_controls.h"
#include "production/service_texts.h"
#include "net/http_test_support.h"
#include "music_fixture.h"
#include "net/test_server.h"

namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The UTF-8 form of one code point.
std::string utf8(char32_t c) {
    auto byte = [](char32_t value) { return static_cast<char>(value); };
    if (c < 0x80) return {byte(c)};
    if (c < 0x800) return {byte(0xC0 | c >> 6), byte(0x80 | (c & 0x3F))};
    if (c < 0x10000) return {byte(0xE0 | c >> 12), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F))};
    return {byte(0xF0 | c >> 18), byte(0x80 | (c >> 12 & 0x3F)), byte(0x80 | (c >> 6 & 0x3F)), byte(0x80 | (c & 0x3F))};
}

} // namespace

TEST(MusicCatalogue, FileNamesAreReducedToVisibleMp3Names) {
    const struct {
        const char* name;
        const char* safe;
    } cases[] = {
        {"song.mp3", "song.mp3"},
        {"歌曲 1.MP3", "歌曲 1.MP3"},
        {"../../outside.mp3", "outside.mp3"},
        {"..\\..\\windows.mp3", "windows.mp3"},
        {"/etc/cron.d/x.mp3", "x.mp3"},
        {".hidden.mp3", ""},
        {"dir/.hidden.mp3", ""},
        {".mp3", ""},
        {"song.mp3.sh", ""},
        {"run.sh", ""},
        {"folder/", ""},
        {"", ""},
        {"tab\there.mp3", ""},
        {"line\x7f.mp3", ""},
        {"c1\u0085.mp3", ""},
        {"mark\u200f.mp3", ""},
        {"x\u202egpj.mp3", ""},
        {"\u2066isolate\u2069.mp3", ""},
        {"not utf-8 \xb8\xe8.mp3", ""},
        {"above U+10FFFF \xF4\x90\x80\x80.mp3", ""},
        {"lead F5 \xF5\x80\x80\x80.mp3", ""},
        {"lead F7 \xF7\xBF\xBF\xBF.mp3", ""},
        {"5 bytes \xF8\x88\x80\x80\x80.mp3", ""},
        {"6 bytes \xFC\x84\x80\x80\x80\x80.mp3", ""},
        {"歌曲（现场版）- 周末_01, 2024 & 更多!.mp3", "歌曲（现场版）- 周末_01, 2024 & 更多!.mp3"},
        {"\u2764\uFE0F love.mp3", "\u2764\uFE0F love.mp3"},  // a variation selector shows the emoji
        {"\u845B\U000E0100.mp3", "\u845B\U000E0100.mp3"},      // an ideographic variation
    };
    for (const auto& c : cases) EXPECT_EQ(safeMusicFileName(c.name), c.safe) << c.name;
}

TEST(MusicCatalogue, NamesWithInvisibleOrReorderingCharactersAreRefused) {
    // Each range is refused throughout; the characters either side of it pass.
    const struct {
        char32_t first, last;
    } hidden[] = {
        {0x01, 0x1F},       {0x7F, 0x9F},       {0xAD, 0xAD},     {0x34F, 0x34F},   {0x61C, 0x61C},
        {0x115F, 0x1160},   {0x17B4, 0x17B5},   {0x180E, 0x180E}, {0x200B, 0x200F}, {0x2028, 0x202E},
        {0x2060, 0x206F},   {0x3164, 0x3164},   {0xFEFF, 0xFEFF}, {0xFFA0, 0xFFA0}, {0xFFF0, 0xFFFB},
        {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0000, 0xE00FF}, {0xE01F0, 0xE0FFF},
    };
    for (const auto& range : hidden) {
        for (char32_t c = range.first; c <= range.last; ++c) {
            const std::string name = "歌" + utf8(c) + "曲.mp3";
            EXPECT_EQ(safeMusicFileName(name), "") << std::hex << "U+" << static_cast<unsigned>(c);
        }
        for (char32_t c : {range.first - 1, range.last + 1}) {
            if (c == 0) continue;
            const std::string name = "歌" + utf8(c) + "曲.mp3";
            EXPECT_EQ(safeMusicFileName(name), name) << std::hex << "U+" << static_cast<unsigned>(c);
        }
    }
}

TEST(MusicCatalogue, OnlyCompleteLinesAreKept) {
    const std::string longUrl = "http://h/" + std::string(251, 'a');  // 260 bytes
    const std::string text = "http://h/a|100|a.mp3\r\n"
                             "http://h/b|  200 |b.mp3|extra|fields\n"
                             "http://h/c|300\n"
                             "\n"
                             "http://h/d|12a|d.mp3\n"
                             "http://h/e|-5|e.mp3\n"
                             "http://h/f|0|f.mp3\n"
                             "http://h/g||g.mp3\n"
                             "|10|h.mp3\n"
                             "http://h/i|10|.i.mp3\n"
                             "http://h/j|99999999999999999999|j.mp3\n" +
                             longUrl + "|10|long.mp3\n" + longUrl.substr(1) + "|10|fits.mp3";
    std::vector<MusicCatalogueEntry> entries = parseMusicCatalogue(text, musicCatalogueLimits);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].url, "http://h/a");
    EXPECT_EQ(entries[0].size, 100);
    EXPECT_EQ(entries[0].fileName, "a.mp3");
    EXPECT_EQ(entries[1].size, 200);
    EXPECT_EQ(entries[1].fileName, "b.mp3");
    EXPECT_EQ(entries[2].fileName, "fits.mp3");

    // Parsing stops at the songs taken, however long the list.
    std::string longList;
    for (int i = 0; i < 100000; ++i) longList += "u|1|a.mp3\n";
    EXPECT_EQ(parseMusicCatalogue(longList, musicCatalogueLimits).size(), 100u);
}

TEST(MusicCatalogue, ServiceTextsKeepTheirLines) {
    ServiceTexts texts;
    texts.texts[0] = "kept";
    parseServiceTexts("a,,b,\r\n\nsecond\r\nthird\n4\n5\n6\n7\neighth", texts);
    EXPECT_EQ(texts.items, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(texts.texts[0], "kept") << "an empty second line keeps the text";
    EXPECT_EQ(texts.texts[1], "second");
    EXPECT_EQ(texts.texts[2], "third");
    EXPECT_EQ(texts.texts[6], "7");
}

class MusicCatalogueTest : public MusicTest {
protected:
    static void SetUpTestSuite() { HttpFixture::SetUpTestSuite(); }
    void SetUp() override {
        MusicTest::SetUp();
        savedHost = serviceHost;
    }
    void TearDown() override {
        serviceHost = savedHost;
        MusicTest::TearDown();
    }
    std::string savedHost;
};

TEST_F(MusicCatalogueTest, DownloadsWhatIsMissingOrOfTheWrongSize) {
    const std::string kept = musicFile("keep.mp3", std::string(100, 'k'));
    const std::string stale = musicFile("stale.mp3", "old");
    buildMusicList();
    std::string base;  // the server's own address, known once it listens
    std::atomic<int> newSize{300};
    TestServer server([&base, &newSize](ServerExchange& x) {
        const std::string& t = x.request.target;
        if (t == "/mp3/list.asp?v=10.5") {
            std::string list;
            for (std::string line : {"/keep|100|keep.mp3", "/stale|200|stale.mp3", "/new|300|新歌.mp3",
                                     "/short|400|short.mp3", "/evil|50|../../evil.mp3", "/hidden|50|.hidden.mp3",
                                     "/script|50|run.sh", "/gone|50|gone.mp3"}) {
                if (line.rfind("/new|", 0) == 0) line = "/new|" + std::to_string(newSize) + "|新歌.mp3";
                list += base + line + "\n";
            }
            x.send(reply("200 OK", list + "too|few\n"));
        } else if (t == "/stale") {
            x.send(reply("200 OK", std::string(200, 's')));
        } else if (t == "/new") {
            x.send(reply("200 OK", std::string(newSize, 'n')));
        } else if (t == "/short") {
            x.send(reply("200 OK", std::string(399, 'x')));
        } else if (t == "/evil") {
            x.send(reply("200 OK", std::string(50, 'e')));
        } else {
            x.send(reply("404 Not Found", ""));
        }
    });
    base = server.url("");
    serviceHost = base;
    // Each downloaded song reaches the music list through the user-interface thread.
    static int uiCalls;
    uiCalls = 0;
    UiThreadRunner previousRunner = setUiThreadRunner([](const std::function<void()>& call) {
        ++uiCalls;
        call();
    });
    EXPECT_EQ(thread_download_music(), 0);
    setUiThreadRunner(previousRunner);
    EXPECT_EQ(uiCalls, 2) << "new and evil were downloaded";

    // How often each address was asked for (a refused request may be repeated once).
    auto fetched = [&server] {
        std::map<std::string, int> counts;
        for (const ServerRequest& request : server.seen()) ++counts[request.target];
        counts["/gone"] = counts["/gone"] > 0;
        return counts;
    };
    EXPECT_EQ(fetched(), (std::map<std::string, int>{
                             {"/mp3/list.asp?v=10.5", 1}, {"/new", 1}, {"/short", 1}, {"/evil", 1}, {"/gone", 1}}));

    const std::string mp3 = folder / "program/mp3";
    EXPECT_EQ(contentOf(kept), std::string(100, 'k'));
    EXPECT_EQ(contentOf(stale), "old") << "a file the user put there is never replaced";
    EXPECT_EQ(contentOf(mp3 + "/新歌.mp3"), std::string(300, 'n'));
    EXPECT_EQ(contentOf(mp3 + "/evil.mp3"), std::string(50, 'e'));
    EXPECT_FALSE(fileExists((folder / "evil.mp3").c_str()));
    EXPECT_FALSE(fileExists((mp3 + "/short.mp3").c_str())) << "a download of the wrong size is not kept";
    EXPECT_FALSE(fileExists((mp3 + "/gone.mp3").c_str()));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(mp3)) names.push_back(entry.path().filename());
    EXPECT_EQ(names.size(), 5u) << "no partial downloads are left behind, only the record of what was written";

    std::vector<std::string> items;
    for (int i = 0; i < comboGetCount(IDC_MUSIC); ++i) items.push_back(comboGetItemText(IDC_MUSIC, i));
    EXPECT_EQ(items, (std::vector<std::string>{"", "keep.mp3", "stale.mp3", "新歌.mp3", "evil.mp3", kLocalMusicItem}));
    EXPECT_EQ(musicPathAt(3), mp3 + "/新歌.mp3");

    // The second time only what is still missing is fetched, and a song the
    // catalogue wrote itself is replaced when its size changed.
    newSize = 301;
    EXPECT_EQ(thread_download_music(), 0);
    EXPECT_EQ(fetched(), (std::map<std::string, int>{
                             {"/mp3/list.asp?v=10.5", 2}, {"/new", 2}, {"/short", 2}, {"/evil", 1}, {"/gone", 1}}));
    EXPECT_EQ(contentOf(mp3 + "/新歌.mp3"), std::string(301, 'n'));
    EXPECT_EQ(contentOf(stale), "old");
    EXPECT_EQ(comboGetCount(IDC_MUSIC), 6);
}

TEST_F(MusicCatalogueTest, ASongEndsOnceItPassesItsListedSize) {
    constexpr int kListed = 4096;
    const struct {
        const char* name;
        const char* fields;
        bool chunked;
    } cases[] = {
        {"a stated length beyond it", "Content-Length: 10000000\r\n", false},
        {"a body that lasts until the close", "", false},
        {"chunks", "Transfer-Encoding: chunked\r\n", true},
    };
    const int savedDeadline = musicDownloadDeadlineMs;
    musicDownloadDeadlineMs = 5000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder / "program/mp3");
        buildMusicList();
        std::string base;
        std::atomic<bool> finished{false};
        std::atomic<long long> sent{0}, sentBeforeNextSong{-1};
        // The long song sends 1 KB every 5 ms, without end; the next song is
        // listed at exactly its size.
        TestServer server([&](ServerExchange& x) {
            const std::string& t = x.request.target;
            if (t == "/long") {
                x.send(std::string("HTTP/1.1 200 OK\r\n") + c.fields + "\r\n");
                const std::string piece(1024, 'x');
                const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
                while (!finished && std::chrono::steady_clock::now() < end) {
                    x.send(c.chunked ? "400\r\n" + piece + "\r\n" : piece);
                    sent += 1024;
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                }
                x.close();
            } else if (t == "/exact") {
                sentBeforeNextSong = sent.load();
                x.send(reply("200 OK", std::string(kListed, 'e')));
            } else {
                const std::string size = "|" + std::to_string(kListed) + "|";
                x.send(reply("200 OK", base + "/long" + size + "long.mp3\n" + base + "/exact" + size + "exact.mp3\n"));
            }
        });
        base = server.url("");
        serviceHost = base;
        EXPECT_EQ(thread_download_music(), 0);
        finished = true;
        EXPECT_GE(sentBeforeNextSong, kListed);
        EXPECT_LT(sentBeforeNextSong, 256 * 1024) << "the long song was not read to its deadline";
        int longRequests = 0;
        for (const ServerRequest& request : server.seen()) longRequests += request.target == "/long";
        EXPECT_EQ(longRequests, 1) << "a reply too long is not asked for again";
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder / "program/mp3"))
            names.insert(entry.path().filename());
        EXPECT_EQ(names, (std::set<std::string>{".catalogue", "exact.mp3"})) << "no partial file stays";
    }
    musicDownloadDeadlineMs = savedDeadline;
}

namespace {

// Songs the catalogue lists, each served with its size in bytes.
struct ServedSong {
    std::string name;
    int size;
};

// A server whose catalogue lists songs, each answered with size bytes.
std::unique_ptr<TestServer> serveSongs(const std::vector<ServedSong>& songs) {
    auto base = std::make_shared<std::string>();
    auto server = std::make_unique<TestServer>([base, songs](ServerExchange& x) {
        std::string list;
        for (const ServedSong& song : songs) {
            if (x.request.target == "/" + song.name) {
                x.send(reply("200 OK", std::string(song.size, 'n')));
                return;
            }
            list += *base + "/" + song.name + "|" + std::to_string(song.size) + "|" + song.name + "\n";
        }
        x.send(reply("200 OK", list));
    });
    *base = server->url("");
    return server;
}

std::set<std::string> songsAskedFor(const TestServer& server) {
    std::set<std::string> asked;
    for (const ServerRequest& request : server.seen())
        if (request.target != "/mp3/list.asp?v=10.5") asked.insert(request.target.substr(1));
    return asked;
}

} // namespace

// The catalogue replaces only regular files it recorded as its own, with
// the size recorded: a name held by anything else (a file it cannot read, a
// link, a folder) is left as it is and its song not fetched.
TEST_F(MusicCatalogueTest, ANameTheCatalogueDidNotWriteIsLeftAloneWhateverItIs) {
    const std::string mp3 = folder / "program/mp3";
    const std::string locked = musicFile("locked.mp3", "mine");
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    ASSERT_EQ(symlink("gone", (mp3 + "/dangling.mp3").c_str()), 0);
    const std::string outside = folder.write("outside", std::string(10, 'o'));
    ASSERT_EQ(symlink(outside.c_str(), (mp3 + "/linked.mp3").c_str()), 0);
    folder.write("program/mp3/.catalogue", "10|linked.mp3\n4|recorded.mp3\n");  // the song once written there
    folder.folder("program/mp3/folder.mp3");
    musicFile("recorded.mp3", "four");
    buildMusicList();
    auto server = serveSongs({{"locked.mp3", 20}, {"dangling.mp3", 20}, {"linked.mp3", 20}, {"folder.mp3", 20},
                              {"recorded.mp3", 20}, {"new.mp3", 20}});
    serviceHost = server->url("");
    EXPECT_EQ(thread_download_music(), 0);

    EXPECT_EQ(songsAskedFor(*server), (std::set<std::string>{"recorded.mp3", "new.mp3"}));
    auto kindOf = [&mp3](const char* name) {
        struct stat info {};
        return lstat((mp3 + "/" + name).c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
    };
    EXPECT_EQ(kindOf("locked.mp3"), unsigned(S_IFREG));
    EXPECT_EQ(contentOf(locked), "mine");
    EXPECT_EQ(kindOf("dangling.mp3"), unsigned(S_IFLNK));
    EXPECT_EQ(kindOf("linked.mp3"), unsigned(S_IFLNK));
    EXPECT_EQ(contentOf(outside), std::string(10, 'o'));
    EXPECT_EQ(kindOf("folder.mp3"), unsigned(S_IFDIR));
    EXPECT_EQ(contentOf(mp3 + "/recorded.mp3"), std::string(20, 'n'));
    EXPECT_EQ(contentOf(mp3 + "/new.mp3"), std::string(20, 'n'));
}

// The record beside the songs is read only as a regular file: a FIFO or a
// link to a device in its place neither holds the thread up nor is read
// without end; the songs are then all the user's, and new ones still come.
TEST_F(MusicCatalogueTest, ARecordThatIsNoFileIsReadAsEmpty) {
    const struct {
        const char* name;
        void (*plant)(const std::string& record);
    } cases[] = {
        {"a FIFO", [](const std::string& record) { ASSERT_EQ(mkfifo(record.c_str(), 0600), 0); }},
        {"a link to /dev/zero", [](const std::string& record) { ASSERT_EQ(symlink("/dev/zero", record.c_str()), 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder / "program/mp3");
        const std::string mine = musicFile("mine.mp3", "four");
        c.plant(folder / "program/mp3/.catalogue");
        buildMusicList();
        auto server = serveSongs({{"mine.mp3", 20}, {"new.mp3", 20}});
        serviceHost = server->url("");
        EXPECT_TRUE(endsInTime(folder, [] { thread_download_music(); }));
        EXPECT_EQ(songsAskedFor(*server), (std::set<std::string>{"new.mp3"}));
        EXPECT_EQ(contentOf(mine), "four");
    }
}

TEST_F(MusicCatalogueTest, NoServiceHostNoRequest) {
    buildMusicList();
    TestServer server([](ServerExchange& x) { x.send(reply("200 OK", "")); });
    serviceHost.clear();
    EXPECT_EQ(thread_download_music(), 0);
    EXPECT_EQ(server.requests(), 0);
    ServiceTexts texts;
    EXPECT_EQ(fetchServiceTexts(texts), 0);
    EXPECT_EQ(server.requests(), 0);
}

TEST_F(MusicCatalogueTest, OnlyTheCataloguesFirstSongsAreFetchedWhileTheDiskKeepsRoom) {
    constexpr long long kTenMegabytes = 10485760;
    const struct {
        const char* name;
        int listed;
        long long size;
        long long freeBytesKept;
        std::size_t fetched;
    } cases[] = {
        {"100 songs at most", 150, 10, 0, 100},
        {"500 MB at most", 60, kTenMegabytes, 0, 50},
        {"never below the free space kept", 3, 10, LLONG_MAX / 2, 0},
    };
    const MusicCatalogueLimits saved = musicCatalogueLimits;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        buildMusicList();
        musicCatalogueLimits.freeBytesKept = c.freeBytesKept;
        std::string base;
        TestServer server([&base, &c](ServerExchange& x) {
            if (x.request.target == "/mp3/list.asp?v=10.5") {
                std::string list;
                for (int i = 0; i < c.listed; ++i)
                    list += base + "/s" + std::to_string(i) + "|" + std::to_string(c.size) + "|s" + std::to_string(i) + ".mp3\n";
                x.send(reply("200 OK", list));
            } else {
                x.send(reply("404 Not Found", ""));  // what was asked for is what counts
            }
        });
        base = server.url("");
        serviceHost = base;
        EXPECT_EQ(thread_download_music(), 0);
        std::set<std::string> songs;
        for (const ServerRequest& request : server.seen())
            if (request.target != "/mp3/list.asp?v=10.5") songs.insert(request.target);
        EXPECT_EQ(songs.size(), c.fetched);
        if (c.fetched > 0) {
            EXPECT_EQ(songs.count("/s" + std::to_string(c.fetched - 1)), 1u);
        }
    }
    musicCatalogueLimits = saved;
}

TEST_F(MusicCatalogueTest, WhatTheCatalogueKeepsStaysWithinItsBoundsOverItsRuns) {
    struct Song {
        std::string name;
        int size;
    };
    const struct {
        const char* name;
        std::vector<Song> first, second;
        const char* removed;  // by the user between the runs
        std::set<std::string> kept;
    } cases[] = {
        {"3 songs", {{"a", 10}, {"b", 10}}, {{"c", 10}, {"d", 10}}, nullptr, {"a", "b", "c"}},
        {"100 bytes", {{"a", 60}}, {{"b", 50}, {"c", 30}}, nullptr, {"a", "c"}},
        {"a removed song frees its place", {{"a", 10}, {"b", 10}, {"c", 10}}, {{"d", 10}, {"e", 10}}, "a",
         {"b", "c", "d"}},
    };
    const MusicCatalogueLimits saved = musicCatalogueLimits;
    musicCatalogueLimits = {3, 100, 0};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder / "program/mp3");
        musicFile("mine.mp3", std::string(90, 'm'));  // the user's own songs do not count
        buildMusicList();
        std::string base;
        std::atomic<const std::vector<Song>*> listed{&c.first};
        TestServer server([&base, &listed](ServerExchange& x) {
            std::string list;
            for (const Song& song : *listed.load()) {
                if (x.request.target == "/" + song.name) {
                    x.send(reply("200 OK", std::string(song.size, 's')));
                    return;
                }
                list += base + "/" + song.name + "|" + std::to_string(song.size) + "|" + song.name + ".mp3\n";
            }
            x.send(reply("200 OK", list));
        });
        base = server.url("");
        serviceHost = base;
        EXPECT_EQ(thread_download_music(), 0);
        if (c.removed) std::filesystem::remove(folder / "program/mp3/" + c.removed + ".mp3");
        listed = &c.second;
        EXPECT_EQ(thread_download_music(), 0);
        std::set<std::string> kept;
        for (const auto& entry : std::filesystem::directory_iterator(folder / "program/mp3"))
            if (entry.path().filename() != "mine.mp3" && entry.path().filename() != ".catalogue")
                kept.insert(entry.path().stem());
        EXPECT_EQ(kept, c.kept);
    }
    musicCatalogueLimits = saved;
}

TEST_F(MusicCatalogueTest, ASlowSongEndsByItsDeadlineOrWhenTheProgramEnds) {
    const struct {
        const char* name;
        int deadlineMs;
        bool programEnds;
    } cases[] = {
        {"the time runs out", 1000, false},
        {"the program ends", 120000, true},
    };
    const int savedDeadline = musicDownloadDeadlineMs;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder / "program/mp3");
        buildMusicList();
        musicDownloadDeadlineMs = c.deadlineMs;
        std::string base;
        std::atomic<bool> slowBegun{false}, finished{false}, slowRanOut{false};
        // A byte now and then: no single read waits long, the whole never ends.
        TestServer server([&](ServerExchange& x) {
            if (x.request.target == "/slow") {
                x.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
                slowBegun = true;
                const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
                while (!finished && std::chrono::steady_clock::now() < end) {
                    x.send("x");
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
                slowRanOut = !finished;
                x.close();
            } else if (x.request.target == "/fast") {
                x.send(reply("200 OK", "0123456789"));
            } else {
                x.send(reply("200 OK", base + "/slow|100000|slow.mp3\n" + base + "/fast|10|fast.mp3\n"));
            }
        });
        base = server.url("");
        serviceHost = base;
        if (c.programEnds) {
            startMusicDownload();
            for (int i = 0; i < 6000 && !slowBegun; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            endMusicDownload();
        } else {
            EXPECT_EQ(thread_download_music(), 0);
        }
        EXPECT_FALSE(slowRanOut) << "the download was cut short";
        finished = true;
        std::set<std::string> names;
        std::error_code missing;
        for (const auto& entry : std::filesystem::directory_iterator(folder / "program/mp3", missing))
            names.insert(entry.path().filename());
        const std::set<std::string> fetched{".catalogue", "fast.mp3"};
        EXPECT_EQ(names, c.programEnds ? std::set<std::string>{} : fetched) << "the slow song leaves no partial file";
    }
    musicDownloadDeadlineMs = savedDeadline;
}
