// The new-mail window's list for 300 messages whose raw From: lines are 1,000,000 bytes each:
// turning each raw field into its shown form (as the worker thread does), and building the
// rows and the window from the kept fields (as the GUI thread does while the tray waits).
#include "core/mail/CMailCheck.h"
#include "core/net/ExtractField.h"
#include "core/net/MimeHeaderText.h"
#include "gui/mail/CMailListDlg.h"

#include <QApplication>
#include <QTableWidget>
#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr int kMessages = 300;

const std::string& Header() {
    static const std::string header =
        "From: " + std::string(1'000'000, 'f') + "\r\nSubject: =?UTF-8?Q?caf=C3=A9?= big\r\n\r\n";
    return header;
}

void BM_ShownFieldsOfMegabyteSenders(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < kMessages; ++i)
            for (const char* name : {"From:", "Subject:", "Date:"})
                benchmark::DoNotOptimize(
                    ShownHeaderField(ExtractField(Header(), name, kMaxRawField + 1)));
}
BENCHMARK(BM_ShownFieldsOfMegabyteSenders)->Unit(benchmark::kMillisecond);

void BM_MailListBuild(benchmark::State& state) {
    CNoteStore store;
    auto account = std::make_unique<CMailAccount>();
    account->m_name = "Big";
    for (int i = 0; i < kMessages; ++i)
        for (const char* name : {"From:", "Subject:", "Date:", ""})
            account->m_messages.push_back(
                *name ? ShownHeaderField(ExtractField(Header(), name, kMaxRawField + 1)) : "");
    store.AddAccount(std::move(account));
    for (auto _ : state) {
        CMailListDlg window;
        window.SetContent(CMailCheck::Headline(kMessages), CMailCheck::Rows(store.accounts()), {});
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.List()->rowCount());
    }
}
BENCHMARK(BM_MailListBuild)->Unit(benchmark::kMillisecond);
} // namespace
