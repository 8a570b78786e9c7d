#include "net/service_config.h"

#include "http_test_support.h"
#include "platform/load_item_commands.h"
#include "platform/message_box.h"
#include "platform/ui_thread.h"
#include "service_test_support.h"
#include "test_server.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {

struct Shown {
    std::string text, caption;
    unsigned type;
};
std::vector<Shown> boxes;
std::vector<std::string> commands;
int boxAnswer = IDNO;

int recordBox(void*, const std::string& text, const std::string& caption, unsigned type) {
    boxes.push_back({text, caption, type});
    return boxAnswer;
}

const LoadItemCommandsHandler recordingCommands = {
    [] { commands.push_back("hide"); },
    [] { commands.push_back("link"); },
    nullptr,
};

struct ServiceConfigFixture : ServiceGlobalsFixture {
    MessageBoxHandler previousBox = nullptr;
    const LoadItemCommandsHandler* previousCommands = nullptr;
    void SetUp() override {
        HttpFixture::SetUpTestSuite();
        boxes.clear();
        commands.clear();
        boxAnswer = IDNO;
        previousBox = setMessageBoxHandler(recordBox);
        previousCommands = setLoadItemCommandsHandler(&recordingCommands);
        supportSite.clear();
    }
    void TearDown() override {
        setMessageBoxHandler(previousBox);
        setLoadItemCommandsHandler(previousCommands);
        ServiceGlobalsFixture::TearDown();
    }
};

std::string fields(std::initializer_list<std::pair<int, std::string>> set) {
    std::vector<std::string> all(12);
    for (const auto& [index, value] : set) {
        if (all.size() <= static_cast<size_t>(index)) all.resize(static_cast<size_t>(index) + 1);
        all[static_cast<size_t>(index)] = value;
    }
    std::string text;
    for (size_t i = 0; i < all.size(); ++i) text += (i ? "^" : "") + all[i];
    return text;
}

void expectMargins(const CaptionMargins& m, float c, float l, float r, float t, float b) {
    EXPECT_FLOAT_EQ(m.centerBottom, c);
    EXPECT_FLOAT_EQ(m.left, l);
    EXPECT_FLOAT_EQ(m.right, r);
    EXPECT_FLOAT_EQ(m.top, t);
    EXPECT_FLOAT_EQ(m.bottom, b);
}

} // namespace

TEST_F(ServiceConfigFixture, FieldsAreReadByPosition) {
    std::string text = fields({{0, "false"}, {1, "ignored"}, {2, "4"}, {3, "https://api.example/item?id=%s"},
                               {4, "3"}, {5, "2500"}, {6, "1"}, {7, "0.1"}, {8, "0.05"}, {9, "0.05"},
                               {10, "0.05"}, {11, "0.05"}, {27, "sid=abc"}, {31, "late"}});
    ServiceReply reply = parseServiceReply(text.c_str());
    EXPECT_EQ(reply.notice, "false");
    EXPECT_EQ(reply.itemPictureMode, 4);
    EXPECT_EQ(reply.itemUrlTemplate, "https://api.example/item?id=%s");
    EXPECT_EQ(reply.itemPictureTypes, 3);
    EXPECT_EQ(reply.serviceBitrateKbps, 2500);
    EXPECT_EQ(reply.keepHttpsPictureUrls, 1);
    ASSERT_TRUE(reply.captionMargins.has_value());
    EXPECT_DOUBLE_EQ((*reply.captionMargins)[0], 0.1);
    EXPECT_EQ(reply.itemRequestCookie, "sid=abc");

    applyServiceReply(reply);
    EXPECT_EQ(itemPictureMode, 4);
    EXPECT_STREQ(itemUrlTemplate, "https://api.example/item?id=%s");
    EXPECT_EQ(itemPictureTypes, 3);
    EXPECT_EQ(serviceBitrateKbps, 2500);
    EXPECT_EQ(keepHttpsPictureUrls, 1);
    EXPECT_STREQ(itemRequestCookie, "sid=abc");
    expectMargins(defaultCaptionMargins, 0.1f, 0.05f, 0.05f, 0.05f, 0.05f);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(commands.empty());
}

TEST_F(ServiceConfigFixture, ShortRepliesSetOnlyTheFieldsPresent) {
    applyServiceReply(parseServiceReply("false"));
    EXPECT_EQ(itemPictureMode, 5);
    EXPECT_EQ(itemPictureTypes, 1);
    expectMargins(defaultCaptionMargins, 0.15001f, 0.06001f, 0.06001f, 0.06001f, 0.06001f);

    ServiceReply reply = parseServiceReply("false^^1^t");
    EXPECT_EQ(reply.itemPictureMode, 1);
    EXPECT_EQ(reply.itemUrlTemplate, "t");
    EXPECT_FALSE(reply.itemPictureTypes.has_value());
    EXPECT_FALSE(reply.captionMargins.has_value());

    // Over-long texts are cut to their fields.
    std::string longTemplate(300, 'u');
    applyServiceReply(parseServiceReply(fields({{0, "false"}, {3, longTemplate}, {27, std::string(5000, 'c')}}).c_str()));
    EXPECT_EQ(std::string(itemUrlTemplate), std::string(127, 'u'));
    EXPECT_EQ(std::string(itemRequestCookie).size(), 4095u);
}

TEST_F(ServiceConfigFixture, ModesTwoAndSixChangeTheLoadCommands) {
    applyServiceReply(parseServiceReply("false^^2"));
    EXPECT_EQ(commands, std::vector<std::string>{"hide"});
    commands.clear();
    applyServiceReply(parseServiceReply("false^^6"));
    EXPECT_EQ(commands, std::vector<std::string>{"link"});
}

TEST_F(ServiceConfigFixture, MarginRule) {
    // Equal to the defaults to four decimals: nothing changes.
    captionMargins = {0.2f, 0.2f, 0.2f, 0.2f, 0.3f};
    applyServiceCaptionMargins({0.150019, 0.06009, 0.0600, 0.06001, 0.060015});
    expectMargins(defaultCaptionMargins, 0.15001f, 0.06001f, 0.06001f, 0.06001f, 0.06001f);

    // New values replace the defaults; margins the user changed stay.
    applyServiceCaptionMargins({0.1, 0.05, 0.05, 0.05, 0.05});
    expectMargins(defaultCaptionMargins, 0.1f, 0.05f, 0.05f, 0.05f, 0.05f);
    expectMargins(captionMargins, 0.3f, 0.2f, 0.2f, 0.2f, 0.2f);

    // Margins still on the old defaults follow the new ones.
    captionMargins = defaultCaptionMargins;
    applyServiceCaptionMargins({0.12, 0.07, 0.07, 0.07, 0.07});
    expectMargins(captionMargins, 0.12f, 0.07f, 0.07f, 0.07f, 0.07f);

    // One value at 0, 0.5 (or stored as 0.5), out of range or not a number rejects all five.
    for (double bad : {0.0, 0.5, 0.49999999, -0.1, 1e15, -1e15, 1e305, 1e-50, std::nan(""), HUGE_VAL}) {
        applyServiceCaptionMargins({0.1, 0.05, bad, 0.05, 0.05});
        expectMargins(defaultCaptionMargins, 0.12f, 0.07f, 0.07f, 0.07f, 0.07f);
    }
}

TEST_F(ServiceConfigFixture, NoticeTrueAsksAndOnlyExactKeywordsCount) {
    applyServiceReply(parseServiceReply("true "));
    EXPECT_TRUE(boxes.empty());
    applyServiceReply(parseServiceReply("true^x"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "提示");
    EXPECT_EQ(boxes[0].type, unsigned(MB_ICONQUESTION | MB_YESNO));
}

TEST_F(ServiceConfigFixture, NoticeMustEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    setMessageBoxHandler(nullptr);
    EXPECT_EXIT(applyServiceReply(parseServiceReply("must")), ::testing::ExitedWithCode(0), "");
}

TEST_F(ServiceConfigFixture, WithoutServiceHostNothingIsAsked) {
    serviceHost.clear();
    auto start = std::chrono::steady_clock::now();
    queryServiceConfig();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    EXPECT_EQ(itemPictureMode, 5);
}

namespace {

std::thread::id ranOn;
void recordingRunner(const std::function<void()>& call) {
    std::thread ui(call);
    ranOn = ui.get_id();
    ui.join();
}

} // namespace

TEST_F(ServiceConfigFixture, QueryAppliesTheReplyThroughTheUiThread) {
    TestServer server([](ServerExchange& x) {
        x.send(reply("200 OK", fields({{0, "false"}, {2, "3"}, {3, "https://item.example/%s"}, {4, "3"}, {27, "c=1"}}),
                     "Content-Type: text/plain; charset=utf-8\r\n"));
    });
    serviceHost = server.url("");
    std::strcpy(userId, "user1");
    std::strcpy(programDigest, "ABCDEF");
    UiThreadRunner previous = setUiThreadRunner(recordingRunner);
    ranOn = {};
    queryServiceConfig();
    setUiThreadRunner(previous);
    std::strcpy(programDigest, "");

    EXPECT_NE(ranOn, std::thread::id{});
    EXPECT_EQ(itemPictureMode, 3);
    EXPECT_STREQ(itemUrlTemplate, "https://item.example/%s");
    EXPECT_EQ(itemPictureTypes, 3);
    EXPECT_EQ(serviceBitrateKbps, 0);  // empty field: 0
    EXPECT_STREQ(itemRequestCookie, "c=1");
    std::string target = server.seen().at(0).target;
    EXPECT_EQ(target.rfind("/startup.asp?v=10.5&uid=user1&md5=ABCDEF&os=", 0), 0u) << target;
}

TEST_F(ServiceConfigFixture, FailedQueryChangesNothing) {
    TestServer server([](ServerExchange& x) { x.send(reply("500 Internal Server Error", "false^^2")); });
    serviceHost = server.url("");
    queryServiceConfig();
    EXPECT_EQ(itemPictureMode, 5);
    EXPECT_TRUE(commands.empty());
}
