#include "core/app/CLaunchQueue.h"

#include "core/app/CLaunchArgs.h"
#include "core/app/Globals.h"
#include "core/app/ILaunchHost.h"
#include "core/app/TrayIds.h"
#include "core/model/TrayState.h"

#include <utility>

CLaunchQueue::CLaunchQueue(ILaunchHost& core, std::function<void(int)> runCommand)
    : m_core(core), m_runCommand(std::move(runCommand)) {}

bool CLaunchQueue::Push(const std::string& word) {
    const int command = CLaunchArgs::CommandFor(word);
    if (command == 0 || m_commands.size() >= kMaxPending) return false;
    m_commands.push_back(command);
    return true;
}

bool CLaunchQueue::CanRun(int command) const {
    // Raising the notes disturbs nothing, as Ctrl+click on the icon shows at any time.
    if (command == TrayId::CmdShowNotes || command == CLaunchArgs::kShowRunning)
        return m_core.State() != StateStarting;
    return m_core.State() == StateIdle && g_timeDialogCount == 0;
}

bool CLaunchQueue::RunReady() {
    // A word for the manager while it is open brings it to the front and is done with; kept,
    // it would open the manager again the moment the user closed it.
    if (m_core.State() == StateManagerOpen &&
        std::erase(m_commands, int(TrayId::CmdNoteManager)) > 0)
        m_runCommand(TrayId::CmdNoteManager);
    while (!m_commands.empty()) {
        if (m_core.State() == StateExiting) {
            m_commands.clear(); // nothing is started on the way out
            break;
        }
        const int command = m_commands.front();
        if (!CanRun(command)) break;
        // Taken off first: the manager runs modally, and words arriving meanwhile come here.
        m_commands.pop_front();
        // A second start shows the program: the open manager, else the notes, then its notice.
        if (command == CLaunchArgs::kShowRunning)
            m_runCommand(m_core.State() == StateManagerOpen ? int(TrayId::CmdNoteManager)
                                                            : int(TrayId::CmdShowNotes));
        m_runCommand(command);
    }
    return !m_commands.empty();
}
