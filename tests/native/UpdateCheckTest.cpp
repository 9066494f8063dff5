// The update check's judgement of the maker's answer, its texts and the maker's addresses.

#include "update/MakerSite.h"
#include "update/UpdateCheck.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

struct AnswerRow {
    const char* what;
    std::string body;
    std::string published;
    UpdateOutcome outcome;
};

void PrintTo(const AnswerRow& row, std::ostream* out)
{
    *out << row.what;
}

class PublishedAnswer : public ::testing::TestWithParam<AnswerRow> {};

TEST_P(PublishedAnswer, GivesTheVersionAndTheOutcome)
{
    const std::string published = publishedVersionFrom(GetParam().body);
    EXPECT_EQ(published, GetParam().published);
    EXPECT_EQ(judgePublishedVersion(published, "2.21"), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, PublishedAnswer,
    ::testing::Values(
        AnswerRow{"the running version", "2.21", "2.21", UpdateOutcome::Newest},
        AnswerRow{"a newer version", "2.3", "2.3", UpdateOutcome::NewVersion},
        AnswerRow{"an older version counts as new", "2.2", "2.2", UpdateOutcome::NewVersion},
        AnswerRow{"a malformed version counts as new", " 2.2", " 2.2", UpdateOutcome::NewVersion},
        AnswerRow{"a line end after the version", "2.21\r\n", "", UpdateOutcome::NoAnswer},
        AnswerRow{"five characters", "2.210", "", UpdateOutcome::NoAnswer},
        AnswerRow{"three characters and a line end", "2.3\n", "2.3\n", UpdateOutcome::NewVersion},
        AnswerRow{"an empty file", "", "", UpdateOutcome::NoAnswer},
        AnswerRow{"an error page", "<html><body>404 Not Found</body></html>", "", UpdateOutcome::NoAnswer}));

TEST(UpdateCheckTexts, AreTheProgramsOwnWords)
{
    EXPECT_EQ(cannotConnectText("www.maker.example"),
              "Can not connect to www.maker.example, Please check your network connection.");
    EXPECT_EQ(newestVersionText("Tesselwork 2"), "Your Tesselwork 2 is already the newest one.");
    EXPECT_EQ(newVersionQuestion("2.3", "Tesselwork 2"),
              "A new version 2.3 is available, do you want to update Tesselwork 2 now (the current "
              "Tesselwork 2 will be closed)?");
}

TEST(MakerSite, AddressesAreFormedFromTheConfiguredHostAndMailAddress)
{
    const std::string host = makerWebHost();
    const std::string mail = supportMailAddress();
    ASSERT_FALSE(host.empty());
    EXPECT_EQ(host.find('/'), std::string::npos);
    EXPECT_NE(mail.find('@'), std::string::npos);

    EXPECT_EQ(versionFileUrl("Tessel2"), "http://" + host + "/Tessel2.ver");
    EXPECT_EQ(downloadUrl(), "http://" + host + "/download/tessel2.exe");
    EXPECT_EQ(homePageUrl(), "http://" + host);
    EXPECT_EQ(mailUrl(), "mailto:" + mail);
}

} // namespace
