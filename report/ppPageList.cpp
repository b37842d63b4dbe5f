// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/ppPageList.h"

#include <algorithm>
#include <climits>

std::vector<TppPageSpan> ParsePageRanges(const QString& text, int pageCount) {
  const int last = pageCount > 0 ? pageCount : ppUnknownPageCountLimit;
  std::vector<TppPageSpan> spans;
  // Keeps the part of first..last that is a page of the report.
  auto add = [&](long long first, long long lastPage) {
    first = std::max<long long>(first, 1);
    lastPage = std::min<long long>(lastPage, last);
    if (first <= lastPage) spans.push_back({int(first), int(lastPage)});
  };
  bool haveNumber = false;   // a number was read
  bool rangeOpen = false;    // a "-" followed it
  bool justClosed = false;   // the last number closed a range
  long long previous = 0;
  long long number = -1;     // the run of digits being read, or -1
  auto endNumber = [&] {
    if (number < 0) return;
    const long long n = number;
    number = -1;
    add(n, n);
    if (rangeOpen) {
      // Pages strictly between the two ends, when the end is larger.
      if (n > previous + 1) add(previous + 1, n - 1);
      rangeOpen = false;
      justClosed = true;
    } else {
      justClosed = false;
    }
    previous = n;
    haveNumber = true;
  };
  for (const QChar c : text) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      // Numbers past any page count stay past it without overflowing.
      number = std::min<long long>((number < 0 ? 0 : number) * 10 + (c.unicode() - '0'),
                                   (long long)INT_MAX + 1);
      continue;
    }
    endNumber();
    if (c == QLatin1Char('-') && haveNumber && !justClosed) rangeOpen = true;
  }
  endNumber();

  std::sort(spans.begin(), spans.end(),
            [](const TppPageSpan& a, const TppPageSpan& b) { return a.First < b.First; });
  std::vector<TppPageSpan> merged;
  for (const TppPageSpan& s : spans) {
    if (!merged.empty() && s.First <= merged.back().Last + 1)
      merged.back().Last = std::max(merged.back().Last, s.Last);
    else
      merged.push_back(s);
  }
  return merged;
}

QStringList PageNumbersOf(const std::vector<TppPageSpan>& spans) {
  QStringList pages;
  for (const TppPageSpan& s : spans)
    for (int p = s.First; p <= s.Last; ++p) pages.append(QString::number(p));
  return pages;
}

QStringList ParsePageList(const QString& text, int pageCount) {
  return PageNumbersOf(ParsePageRanges(text, pageCount));
}
