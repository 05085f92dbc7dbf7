#include "core/app/CLaunchReply.h"

#include "core/app/CLaunchArgs.h"
#include "core/app/TrayIds.h"
#include "core/model/TrayState.h"

std::string CLaunchReply::For(const std::string& word, int state) {
    if (word == CLaunchArgs::kStartedAgain) return CLaunchArgs::kAlreadyRunning;
    if (CLaunchArgs::CommandFor(word) != TrayId::CmdExit) return {};
    switch (state) {
    case StateRinging:
        return "Jotterly will quit after the ringing note is answered.";
    case StateManagerOpen:
        return "Jotterly will quit after the Note Manager is closed.";
    case StateOptionsOpen:
        return "Jotterly will quit after the options are closed.";
    case StateFileTransfer:
        return "Jotterly will quit after the open file dialog is closed.";
    case StateStarting:
        return "Jotterly will quit once it has started.";
    default:
        return {};
    }
}
