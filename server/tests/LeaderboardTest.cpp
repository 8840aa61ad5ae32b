#include <gtest/gtest.h>

#include "Leaderboard.h"

TEST(LeaderboardTest, DatesAreUtcCalendarDays) {
  EXPECT_EQ(DateOf(0), "1970-01-01");
  // 2000-02-29 00:00 UTC is 11016 days after 1970-01-01 (30 years, 7 of them
  // leap years, plus January and 28 days of February).
  EXPECT_EQ(DateOf((30 * 365 + 7 + 31 + 28) * 86400LL), "2000-02-29");
  EXPECT_EQ(DateOf((30 * 365 + 7 + 31 + 28) * 86400LL - 1), "2000-02-28");
}

TEST(LeaderboardTest, MarkupInNamesStaysText) {
  EXPECT_EQ(EscapeHtml("<script>alert('x')</script> & \"q\""),
            "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;q&quot;");
  EXPECT_EQ(EscapeJson("a\\b\"<c>\n\xE9"), "a\\\\b\\\"\\u003cc\\u003e\\u000a\\u00e9");

  const std::vector<TStoredScore> Rows = {{"<script>", 900, 0}, {"Bob", 800, 86400}};
  const std::string Page = LeaderboardPage(Rows, {});
  EXPECT_EQ(Page.find("<script>"), std::string::npos);
  const std::size_t Script = Page.find("<td class=\"name\">&lt;script&gt;</td>");
  const std::size_t Bob = Page.find("<td class=\"name\">Bob</td>");
  ASSERT_NE(Script, std::string::npos);
  ASSERT_NE(Bob, std::string::npos);
  EXPECT_LT(Script, Bob);
  EXPECT_NE(Page.find("1970-01-02"), std::string::npos);
  EXPECT_NE(Page.find("No scores yet."), std::string::npos);  // the empty recent table

  EXPECT_EQ(LeaderboardJson("30d", 10, {Rows[1]}),
            "{\"period\":\"30d\",\"offset\":10,\"scores\":[{\"place\":11,\"name\":\"Bob\",\"score\":800,"
            "\"date\":\"1970-01-02\",\"verified\":false}]}\n");
}

// A verified entry links its run on the page and in the JSON, after the
// fields every entry has always had.
TEST(LeaderboardTest, AVerifiedEntryLinksItsRun) {
  const std::vector<TStoredScore> Rows = {{"Ann", 700, 0, 5}, {"Bob", 600, 0, 0}};
  EXPECT_EQ(LeaderboardJson("all", 0, Rows),
            "{\"period\":\"all\",\"offset\":0,\"scores\":[{\"place\":1,\"name\":\"Ann\",\"score\":700,"
            "\"date\":\"1970-01-01\",\"verified\":true,\"run\":\"/runs/5.vrp\"},{\"place\":2,\"name\":\"Bob\","
            "\"score\":600,\"date\":\"1970-01-01\",\"verified\":false}]}\n");
  const std::string Page = LeaderboardPage(Rows, {});
  const std::size_t Ann = Page.find("<td class=\"name\">Ann</td>"), Bob = Page.find("<td class=\"name\">Bob</td>");
  const std::size_t Link = Page.find("<a class=\"verified\" href=\"/runs/5.vrp\"");
  ASSERT_NE(Link, std::string::npos);
  EXPECT_GT(Link, Ann);
  EXPECT_LT(Link, Bob);
  EXPECT_EQ(Page.find("class=\"verified\"", Link + 10), std::string::npos);
}
