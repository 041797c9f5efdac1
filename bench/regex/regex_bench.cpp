// The order patterns over pages in the back-end's look, from the UTF-8 page as it arrives
// to the local-text fields. Targets on the development machine: a 20 KB order page under
// 100 us, a list of 2,000 orders under 5 ms, no near-miss page over 5 ms.
//
// Each run also reports `steps`: the smallest match limit under which the page still
// gives the same matches, against `limit`, the limit that the search sets for that page.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "backend/order_patterns.h"
#include "http/encodings.h"
#include "regex/compiled_pattern.h"
#include "regex/order_page_fixtures.h"
#include "regex/regex_object.h"

namespace varnola {
namespace {

// The smallest match limit that still finds `expected` matches (found by bisection).
std::uint32_t StepsNeeded(const CompiledPattern& pattern, std::u16string_view subject,
                          int expected) {
  std::uint32_t low = 1;
  std::uint32_t high = DefaultMatchLimit(subject.size());
  if (pattern.FindAll(subject, true, high).Count() != expected) return 0;
  while (low < high) {
    const std::uint32_t middle = low + (high - low) / 2;
    if (pattern.FindAll(subject, true, middle).Count() == expected) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return high;
}

void ReportSteps(benchmark::State& state, const std::string& pattern, bool caseSensitive,
                 const std::string& utf8Page, int expected) {
  const auto compiled = CompiledPattern::Get(pattern, caseSensitive, true);
  const std::u16string subject = ToWideText(UrlDecode(utf8Page, true), kCodePageLocal);
  state.counters["steps"] = StepsNeeded(*compiled, subject, expected);
  state.counters["limit"] = DefaultMatchLimit(subject.size());
  state.counters["bytes"] = static_cast<double>(utf8Page.size());
}

std::string ListPage(int orders) {
  std::vector<test::ListOrder> rows;
  for (int i = 1; i <= orders; ++i) rows.push_back(test::SampleListOrder(i));
  return test::OrderListPage(rows);
}

void BM_OrderList(benchmark::State& state) {
  const int orders = static_cast<int>(state.range(0));
  const bool readFields = state.range(1) != 0;
  const std::string page = ListPage(orders);
  RegexObject regex;
  for (auto _ : state) {
    regex.Execute(OrderListPattern(), UrlDecode(page, true), true);
    if (regex.MatchCount() != orders) state.SkipWithError("wrong match count");
    if (readFields) {
      for (int i = 1; i <= regex.MatchCount(); ++i) {
        for (int k = 1; k <= 8; ++k) benchmark::DoNotOptimize(regex.SubMatchText(i, k));
      }
    }
  }
  ReportSteps(state, OrderListPattern(), true, page, orders);
}
BENCHMARK(BM_OrderList)
    ->ArgNames({"orders", "fields"})
    ->Args({2000, 0})
    ->Args({2000, 1})
    ->Unit(benchmark::kMicrosecond);

constexpr std::size_t kScriptPadding = 17000;  // brings the order page to about 20 KB

void BM_OrderDetail(benchmark::State& state) {
  const std::string page = test::OrderDetailPage(test::SampleDetails(), 3, kScriptPadding);
  RegexObject regex;
  for (auto _ : state) {
    regex.Execute(OrderDetailPattern(), UrlDecode(page, true), false);
    if (regex.MatchCount() != 1) state.SkipWithError("no match");
    for (int k = 1; k <= 13; ++k) benchmark::DoNotOptimize(regex.SubMatchText(1, k));
  }
  ReportSteps(state, OrderDetailPattern(), false, page, 1);
}
BENCHMARK(BM_OrderDetail)->Unit(benchmark::kMicrosecond);

// Pages that lack one labelled part. The later the missing part, the more ways the lazy
// gaps before it have to be tried; the match limit stops the search in every case.
struct NearMiss {
  const char* label;
  const char* missing;  // UTF-8, replaced by `stand` wherever it stands
  const char* stand;
  int extraGoods;
  std::size_t padding;
  const char* filler = "";  // UTF-8, repeated after the address label
  int fillerTimes = 0;
};

// The filler that cost the most per backtracking step of all that were tried (table rows,
// boxes, repeated sections, goods rows): short lines that each offer the gaps before the
// missing part a new place to stop.
constexpr const char* kWorstFiller = " </div>\n </tr>\n <tr>\n";

const NearMiss kNearMisses[] = {
    {"no table body", "<tbody>", "<tbody class=\"goods\">", 3, kScriptPadding},
    {"packing", "包装方式:", "包装方式：", 3, kScriptPadding},
    {"order total", "订单总价：", "订单金额：", 3, kScriptPadding},
    {"logistics box", "物流信息", "配送信息", 3, kScriptPadding},
    {"telephone", "联系电话：", "联系方式：", 3, kScriptPadding},
    {"tracking number", "物流单号：", "快递单号：", 3, kScriptPadding},
    {"tracking number, 1,000 goods rows", "物流单号：", "快递单号：", 1000, 0},
    {"tracking number, worst filler", "物流单号：", "快递单号：", 3, 0, kWorstFiller, 800},
    {"tracking number, worst filler, 0.8 MB", "物流单号：", "快递单号：", 3, 0, kWorstFiller,
     40000},
};

std::string NearMissPage(const NearMiss& miss) {
  std::string page = test::OrderDetailPage(test::SampleDetails(), miss.extraGoods, miss.padding);
  std::string filler;
  for (int i = 0; i < miss.fillerTimes; ++i) filler += miss.filler;
  const std::string addressRow = "<td>地址：</td>\n";
  page.insert(page.find(addressRow) + addressRow.size(), filler);
  const std::string missing = miss.missing;
  const std::string stand = miss.stand;
  for (std::size_t at = page.find(missing); at != std::string::npos;
       at = page.find(missing, at + stand.size())) {
    page.replace(at, missing.size(), stand);
  }
  return page;
}

void BM_OrderDetailNearMiss(benchmark::State& state) {
  const NearMiss& miss = kNearMisses[state.range(0)];
  const std::string page = NearMissPage(miss);
  state.SetLabel(miss.label);
  RegexObject regex;
  for (auto _ : state) {
    regex.Execute(OrderDetailPattern(), UrlDecode(page, true), false);
    if (regex.MatchCount() != 0) state.SkipWithError("matched");
  }
  state.counters["bytes"] = static_cast<double>(page.size());
  state.counters["limit"] = DefaultMatchLimit(ToWideText(page).size());
}
BENCHMARK(BM_OrderDetailNearMiss)
    ->DenseRange(0, std::size(kNearMisses) - 1)
    ->Unit(benchmark::kMicrosecond);

// The match alone, without the conversions, for the 20 KB page and its worst near-miss.
void BM_DetailMatchOnly(benchmark::State& state) {
  const std::string page = state.range(0) == 0
                               ? test::OrderDetailPage(test::SampleDetails(), 3, kScriptPadding)
                               : NearMissPage(kNearMisses[7]);
  const auto compiled = CompiledPattern::Get(OrderDetailPattern(), false, true);
  const std::u16string subject = ToWideText(UrlDecode(page, true), kCodePageLocal);
  for (auto _ : state) {
    benchmark::DoNotOptimize(compiled->FindAll(subject, true, DefaultMatchLimit(subject.size())));
  }
  state.SetLabel(state.range(0) == 0 ? "order page" : "worst near-miss");
}
BENCHMARK(BM_DetailMatchOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace varnola

BENCHMARK_MAIN();
