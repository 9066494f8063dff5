// The update check, the home page and the support mail through the real program: the
// maker's site is a loopback server put in as the test prefix's web proxy, and the shell's
// hand-offs go to the recorder registered for the http and mailto protocols.

#include "CommandsUiSupport.h"

#include "tests/support/LoopbackHttp.h"
#include "update/MakerSite.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using commandsui::answerMessage;
using testsupport::HttpReply;
using testsupport::LoopbackHttpServer;
using testsupport::ProxySetting;

// The check runs on the program's only thread; on a loaded machine its answer can take a
// while.
const DWORD answerTimeoutMs = 30000;

const std::string exitQuestion = "Do you want to exit \"Tesselwork 2\"?";

std::string cannotConnect()
{
    return std::string("Can not connect to ") + makerWebHost() + ", Please check your network connection.";
}

std::string question(const std::string& version)
{
    return "A new version " + version
        + " is available, do you want to update Tesselwork 2 now (the current Tesselwork 2 will be closed)?";
}

class UpdateUi : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listening());
        ASSERT_TRUE(proxy.applied());
    }

    // Two files handed over, a rule and a preview: the work that must survive a check.
    void startWithWork()
    {
        ASSERT_TRUE(app.start(folder.createAndHandOff({"a.txt", "b.txt"}))) << app.lastError();
        app.selectComboItem(IDC_RULE_ACTION, 0);
        app.selectComboItem(IDC_RULE_ARG1, 0);
        app.click(IDC_ADD_RULE);
        app.click(IDC_PREVIEW);
        ASSERT_EQ(app.lineCount(IDC_FILE_LIST), 2);
        ASSERT_EQ(app.lineCount(IDC_RULE_LIST), 1);
        ASSERT_FALSE(app.text(IDC_RESULT_LIST).empty());
    }

    struct Work {
        std::vector<std::string> files, rules;
        std::string results;
        bool operator==(const Work& o) const { return files == o.files && rules == o.rules && results == o.results; }
    };
    Work work() const { return {app.lines(IDC_FILE_LIST), app.lines(IDC_RULE_LIST), app.text(IDC_RESULT_LIST)}; }

    // Clicks "Online Update" and answers the box that comes; its title and text.
    std::pair<std::string, std::string> checkAndAnswer(const std::string& button)
    {
        app.clickAsync(IDC_UPDATE);
        ui::ModalWindow box;
        ui::waitFor([&] { return static_cast<bool>(box = app.findModal()); }, answerTimeoutMs);
        if (!box)
            return {"<no box>", ""};
        const std::pair<std::string, std::string> seen{box.title(), box.staticText()};
        box.clickButton(button);
        box.waitClosed();
        return seen;
    }

    LoopbackHttpServer server;
    ProxySetting proxy{server.address()};
    commandsui::OpenRecorder recorder{{}, {"http", "mailto"}};
    commandsui::TestFolder folder{"upd"};
    ui::Program app;
};

struct CheckRow {
    const char* what;
    HttpReply reply;
    std::string title;
    std::string text;
};

void PrintTo(const CheckRow& row, std::ostream* out)
{
    *out << row.what;
}

class UpdateCheckUi : public UpdateUi, public ::testing::WithParamInterface<CheckRow> {};

// Every answer that asks nothing leaves the program as it was; a question answered no too.
TEST_P(UpdateCheckUi, ShowsTheMessageForTheAnswerAndKeepsTheWork)
{
    startWithWork();
    const Work before = work();
    server.setReply(GetParam().reply);

    const std::string button = GetParam().title == questionBoxTitle ? "&No" : "&OK";
    const auto seen = checkAndAnswer(button);
    EXPECT_EQ(seen.first, GetParam().title);
    EXPECT_EQ(seen.second, GetParam().text);

    ASSERT_TRUE(app.waitIdle());
    EXPECT_TRUE(app.running());
    EXPECT_FALSE(app.findModal()) << "another box after the answer";
    EXPECT_TRUE(work() == before) << "the work changed";
    ASSERT_TRUE(server.waitForRequests(1, 5000));
    EXPECT_EQ(testsupport::proxiedTarget(server.requestLines().front()),
              "http://" + std::string(makerWebHost()) + "/Tessel2.ver");
    EXPECT_TRUE(recorder.opened(0).empty()) << "something was handed to the shell";
}

const std::string errorPage = "<html><head><title>404 Not Found</title></head><body>Not Found</body></html>";

INSTANTIATE_TEST_SUITE_P(
    Answers, UpdateCheckUi,
    ::testing::Values(
        CheckRow{"the running version", HttpReply::withBody("2.21"), messageBoxTitle,
                 "Your Tesselwork 2 is already the newest one."},
        CheckRow{"a newer version, answered no", HttpReply::withBody("2.3"), questionBoxTitle, question("2.3")},
        CheckRow{"an older version, answered no", HttpReply::withBody("2.2"), questionBoxTitle, question("2.2")},
        CheckRow{"a line end after the version", HttpReply::withBody("2.21\r\n"), messageBoxTitle, cannotConnect()},
        CheckRow{"an empty file", HttpReply::withBody(""), messageBoxTitle, cannotConnect()},
        CheckRow{"an error page", HttpReply::withBody(errorPage, 404), messageBoxTitle, cannotConnect()}));

TEST_F(UpdateUi, ServerDownGivesTheCannotConnectMessage)
{
    ProxySetting nowhere("127.0.0.1:" + std::to_string(LoopbackHttpServer::closedPort()));
    ASSERT_TRUE(nowhere.applied());
    startWithWork();
    const Work before = work();
    const auto seen = checkAndAnswer("&OK");
    EXPECT_EQ(seen.first, messageBoxTitle);
    EXPECT_EQ(seen.second, cannotConnect());
    ASSERT_TRUE(app.waitIdle());
    EXPECT_TRUE(work() == before);
    EXPECT_TRUE(server.requestLines().empty());
}

TEST_F(UpdateUi, SilentServerGivesTheCannotConnectMessageAfterTheTimeOut)
{
    startWithWork();
    const Work before = work();
    HttpReply silent;
    silent.manner = HttpReply::Manner::Silent;
    server.setReply(silent);
    app.clickAsync(IDC_UPDATE);
    // The program waits for its own time-out of some seconds, then says it could not connect.
    const std::string text = answerMessage(app, messageBoxTitle, "&OK", 4 * answerTimeoutMs);
    EXPECT_EQ(text, cannotConnect());
    ASSERT_TRUE(app.waitIdle());
    EXPECT_TRUE(work() == before);
}

TEST_F(UpdateUi, AcceptingHandsTheDownloadToTheBrowserAndEndsWithoutTheExitQuestion)
{
    ASSERT_TRUE(app.start()) << app.lastError();
    server.setReply(HttpReply::withBody("2.3"));
    const auto seen = checkAndAnswer("&Yes");
    ASSERT_EQ(seen.second, question("2.3"));

    // The program ends by itself; the exit question would keep it running.
    std::string unexpected;
    const bool ended = ui::waitFor(
        [&] {
            if (ui::ModalWindow box = app.findModal())
                unexpected = box.staticText();
            return !app.running();
        },
        answerTimeoutMs);
    EXPECT_TRUE(ended) << "still running";
    EXPECT_NE(unexpected, exitQuestion);
    EXPECT_EQ(recorder.opened(1), std::vector<std::string>{"http://" + std::string(makerWebHost()) + "/download/tessel2.exe"});
}

struct LinkRow {
    const char* what;
    int button;
    std::string url;
};

void PrintTo(const LinkRow& row, std::ostream* out)
{
    *out << row.what;
}

class WebLinksUi : public UpdateUi, public ::testing::WithParamInterface<LinkRow> {};

TEST_P(WebLinksUi, HandsTheAddressToTheShellAndStays)
{
    ASSERT_TRUE(app.start()) << app.lastError();
    app.click(GetParam().button);
    EXPECT_EQ(recorder.opened(1), std::vector<std::string>{GetParam().url});
    EXPECT_TRUE(app.running());
    EXPECT_FALSE(app.findModal());
    EXPECT_TRUE(server.requestLines().empty()) << "the program itself asked the site";
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, WebLinksUi,
    ::testing::Values(LinkRow{"home page", IDC_WEB, "http://" + std::string(makerWebHost())},
                      LinkRow{"support mail", IDC_MAIL, "mailto:" + std::string(supportMailAddress())}));

} // namespace
