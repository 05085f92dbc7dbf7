#include "app/CLauncher.h"

#include "platform/CSingleInstance.h"

#include <cstdio>

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
    case LaunchRequest::Kind::Run:
        break;
    }
    if (request.word.empty()) return std::nullopt; // a second copy ends silently later on
    std::string reply;
    switch (CSingleInstance::HandOver(request.word, {}, {}, &reply)) {
    case CSingleInstance::Delivery::Delivered:
        if (!reply.empty()) std::printf("%s\n", reply.c_str());
        return 0;
    case CSingleInstance::Delivery::Failed:
        std::fprintf(stderr, "jotterly: the running Jotterly did not take \"%s\"\n",
                     request.word.c_str());
        return 1;
    case CSingleInstance::Delivery::NoneRuns:
        break;
    }
    if (CLaunchArgs::StartsProgram(request.word)) return std::nullopt;
    std::fprintf(stderr, "jotterly: Jotterly is not running (\"%s\" needs the running copy)\n",
                 request.word.c_str());
    return 1;
}
