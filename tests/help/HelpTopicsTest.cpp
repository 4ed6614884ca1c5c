#include <gtest/gtest.h>

#include "help/HelpTopics.h"

using namespace help;

namespace {
const wchar_t kSource[] =
    L"# a comment\n"
    L"@@ contents | 1 | 目次 | 目次;ヘルプ\n"
    L"Pelmora のヘルプです。\n"
    L"\n"
    L"レジの使い方\n"
    L"\n"
    L"@@ register | 10 | レジの使い方 | レジ;Regi;釣銭\n"
    L"# a comment inside a body is left out\n"
    L"単価を打って ENTER を押します。\r\n"
    L"@@ about|2|バージョン情報|\n"
    L"Version 2.0.0.0\n";
}

TEST(HelpTopics, TopicsAreReadWithTheirFields) {
    std::vector<Topic> topics = ParseTopics(kSource);
    ASSERT_EQ(topics.size(), 3u);
    EXPECT_EQ(topics[0].name, L"contents");
    EXPECT_EQ(topics[0].context, 1);
    EXPECT_EQ(topics[0].title, L"目次");
    EXPECT_EQ(topics[0].keywords, (std::vector<std::wstring>{L"目次", L"ヘルプ"}));
    EXPECT_EQ(topics[0].body, L"Pelmora のヘルプです。\r\n\r\nレジの使い方");  // trailing blank lines dropped
    EXPECT_EQ(topics[1].body, L"単価を打って ENTER を押します。");
    EXPECT_EQ(topics[2].name, L"about");
    EXPECT_EQ(topics[2].context, 2);
    EXPECT_TRUE(topics[2].keywords.empty());
}

TEST(HelpTopics, TopicsAreFoundByNameAndContext) {
    std::vector<Topic> topics = ParseTopics(kSource);
    EXPECT_EQ(FindByName(topics, L"register"), 1);
    EXPECT_EQ(FindByName(topics, L"nothing"), -1);
    EXPECT_EQ(FindByContext(topics, 2), 2);
    EXPECT_EQ(FindByContext(topics, 99), -1);
}

TEST(HelpTopics, SearchLooksAtTitlesKeywordsAndText) {
    std::vector<Topic> topics = ParseTopics(kSource);
    EXPECT_EQ(Search(topics, L""), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Search(topics, L"釣銭"), (std::vector<int>{1}));        // keyword
    EXPECT_EQ(Search(topics, L"regi"), (std::vector<int>{1}));        // either case
    EXPECT_EQ(Search(topics, L"バージョン"), (std::vector<int>{2}));  // title
    EXPECT_EQ(Search(topics, L"enter"), (std::vector<int>{1}));       // body
    EXPECT_EQ(Search(topics, L"レジの使い方"), (std::vector<int>{0, 1}));
    EXPECT_TRUE(Search(topics, L"存在しない").empty());
}
