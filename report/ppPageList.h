// SPDX-License-Identifier: GPL-3.0-or-later
// Page lists as a user types them ("1,3,5-12"): what the print dialog reads
// its list with and the page request takes.  No widget: the engine's core.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Pages First to Last, both included.
struct TppPageSpan {
  int First = 0;
  int Last = 0;
  bool operator==(const TppPageSpan&) const = default;
};

// How many pages a list may name when the report's page count is not known.
inline constexpr int ppUnknownPageCountLimit = 9999;

// Reads a page list as typed into the print dialog.  A run of decimal
// digits is a page number; any other character ends it.  Every number is a
// page; a number followed later by "-" opens a range that the next number
// closes, adding the pages between when the end is larger than the start
// (otherwise only the two ends); a "-" before the first number, or right
// after a closed range, opens nothing.  Only pages 1 to `pageCount` are
// kept (`pageCount` 0: not known, then ppUnknownPageCountLimit), so a range
// such as "1-2000000000" costs no more than the pages there are.  The
// answer is sorted, without overlaps or adjacent spans.
std::vector<TppPageSpan> ParsePageRanges(const QString& text, int pageCount);
// The pages of the spans as decimal strings, ascending.
QStringList PageNumbersOf(const std::vector<TppPageSpan>& spans);
// Both in one: the page list the engine's page request takes.
QStringList ParsePageList(const QString& text, int pageCount);
