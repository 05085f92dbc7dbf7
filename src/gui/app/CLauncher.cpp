#include "gui/app/CLauncher.h"

#include "core/app/CCalendarWords.h"
#include "core/platform/ProgramFolder.h"
#include "core/sync/CSyncConflict.h"
#include "gui/platform/CSingleInstance.h"

#include <cstdio>
#include <ctime>

std::optional<int> CLauncher::BeforeStart(const LaunchRequest& request) {
    switch (request.kind) {
    case LaunchRequest::Kind::Help:
        std::fputs(CLaunchArgs::HelpText().c_str(), stdout);
        return 0;
    case LaunchRequest::Kind::Version:
        std::fputs(CLaunchArgs::VersionText().c_str(), stdout);
        return 0;
    case LaunchRequest::Kind::Usage:
        std::fprintf(stderr, "%s\n", CLaunchArgs::UsageLine(request.error).c_str());
        return 2;
    case LaunchRequest::Kind::SyncConflict: {
        std::string message;
        const bool ok = CSyncConflict::Resolve(request.paths[0], request.paths[1], request.paths[2],
                                               std::time(nullptr), &message);
        std::fprintf(ok ? stdout : stderr, "jotterly: %s\n", message.c_str());
        return ok ? 0 : 1;
    }
    case LaunchRequest::Kind::Run:
        break;
    }
    const std::string line = CLaunchArgs::HandOverLine(request);
    if (line.size() > size_t(CSingleInstance::kMaxLine)) {
        std::fprintf(stderr, "jotterly: the file name is too long\n");
        return 1;
    }
    std::string reply;
    switch (CSingleInstance::HandOver(line, {}, {}, &reply)) {
    case CSingleInstance::Delivery::Delivered:
        if (!reply.empty()) std::printf("%s\n", reply.c_str());
        if (CCalendarWords::IsWord(request.word))
            std::printf("jotterly: handed \"%s\" to the running Jotterly\n", line.c_str());
        return 0;
    case CSingleInstance::Delivery::Failed:
        // A plain start goes on: the claim of the running copy's mark decides.
        if (request.word.empty()) return std::nullopt;
        std::fprintf(stderr, "jotterly: the running Jotterly did not take \"%s\"\n",
                     request.word.c_str());
        return 1;
    case CSingleInstance::Delivery::NoneRuns:
        break;
    }
    if (request.word.empty() || CLaunchArgs::StartsProgram(request.word)) return std::nullopt;
    if (CCalendarWords::IsWord(request.word)) {
        // No copy runs: the word is carried out on the data file itself.
        std::string message;
        const bool ok = CCalendarWords::RunOnDataFile(request.word, request.file,
                                                      ProgramFolder() + "Note.Dat", message);
        std::fprintf(ok ? stdout : stderr, "%s%s\n", ok ? "" : "jotterly: ", message.c_str());
        return ok ? 0 : 1;
    }
    std::fprintf(stderr, "jotterly: Jotterly is not running (\"%s\" needs the running copy)\n",
                 request.word.c_str());
    return 1;
}
