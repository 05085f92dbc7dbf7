// The page reader on a large page: 10 MB with 500,000 tags must stay well under half a second.
#include "core/net/HtmlToText.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

std::string BigPage() {
    std::string page;
    page.reserve(10 * 1024 * 1024);
    const std::string text(4, 'w');
    for (int i = 0; page.size() < 10u * 1024 * 1024 - 32; ++i) {
        page += i % 2 ? "<td class=\"day\">" : "</td>";
        page += text;
        page += i % 7 ? "&nbsp;" : "\n\n\r\n\r\n";
    }
    return page;
}

void HtmlToTextOfTenMegabytes(benchmark::State& state) {
    const std::string page = BigPage();
    size_t tags = 0;
    for (char c : page)
        tags += c == '<';
    for (auto _ : state)
        benchmark::DoNotOptimize(HtmlToText(page));
    state.counters["bytes"] = static_cast<double>(page.size());
    state.counters["tags"] = static_cast<double>(tags);
}
BENCHMARK(HtmlToTextOfTenMegabytes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
