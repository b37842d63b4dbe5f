// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's page-list parser (report/ppPageList), which the print
// dialog reads its list with: numbers and ranges as typed, and ranges far
// beyond the report's pages.
#include "report/ppPageList.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
  const char* text;
  int pageCount;
  std::vector<int> pages;
};

std::vector<int> Ints(const QStringList& pages) {
  std::vector<int> out;
  for (const QString& p : pages) out.push_back(p.toInt());
  return out;
}

TEST(PageList, ParsesNumbersAndRangesAsTyped) {
  const std::vector<ParseCase> cases = {
      {"1,3,5-12", 20, {1, 3, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"12-5", 20, {5, 12}},  // an end below the start: the two ends
      {"5-7-9", 20, {5, 6, 7, 9}},  // no range opens right after a closed one
      {"1 2", 20, {1, 2}},
      {"-5", 20, {5}},  // a "-" before the first number opens nothing
      {"abc", 20, {}},
      {"", 20, {}},
      {"5-5", 20, {5}},
      {"3-,7", 20, {3, 4, 5, 6, 7}},  // characters between the "-" and the end
      {"2,2,1,2", 20, {1, 2}},  // each page once, ascending
      {"0", 20, {}},  // there is no page 0
      {"3,25,30-40", 20, {3}},  // pages the report does not have
      {"18-40", 20, {18, 19, 20}},
      {"1-2000000000", 3, {1, 2, 3}},
      {"99999999999999999999999", 20, {}},  // no overflow into a page
      {"2-99999999999999999999999", 4, {2, 3, 4}},
  };
  for (const ParseCase& c : cases)
    EXPECT_EQ(Ints(ParsePageList(QString::fromUtf8(c.text), c.pageCount)), c.pages)
        << '"' << c.text << "\" of " << c.pageCount << " pages";
}

TEST(PageList, AHugeRangeIsOneSpanCappedAtThePageCount) {
  // Two thousand million pages asked for: one span, as many pages as the
  // report has.
  EXPECT_EQ(ParsePageRanges(QStringLiteral("1-2000000000"), 3),
            (std::vector<TppPageSpan>{{1, 3}}));
  EXPECT_EQ(ParsePageRanges(QStringLiteral("7,1-2000000000,4"), 10),
            (std::vector<TppPageSpan>{{1, 10}}));
  // Not knowing the report's pages, the list stops at a limit.
  EXPECT_EQ(ParsePageRanges(QStringLiteral("1-2000000000"), 0),
            (std::vector<TppPageSpan>{{1, ppUnknownPageCountLimit}}));
  EXPECT_EQ(ParsePageList(QStringLiteral("1-2000000000"), 0).size(), ppUnknownPageCountLimit);
  // Neighbouring pieces join, separate ones stay apart.
  EXPECT_EQ(ParsePageRanges(QStringLiteral("1-3,4,6-7"), 20),
            (std::vector<TppPageSpan>{{1, 4}, {6, 7}}));
}

}  // namespace
