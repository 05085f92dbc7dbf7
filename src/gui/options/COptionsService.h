#pragma once

#include "core/manager/IOptionsService.h"
#include "gui/options/CEmailPage.h"

class IDialogs;
class IOptionsHost;
class ISound;

// Shows the options sheet for the hub and reports how it was closed.
class COptionsService : public IOptionsService {
public:
    COptionsService(IOptionsHost& hub, IDialogs& dialogs, ISound& sound)
        : m_hub(hub), m_dialogs(dialogs), m_sound(sound) {}

    Result OpenOptions(COptionsValues& values) override;
    // The dialog that adds and edits a mail account on the Email page.
    void SetAccountEditor(CEmailPage::AccountEditor editor) { m_editor = std::move(editor); }

private:
    IOptionsHost& m_hub;
    IDialogs& m_dialogs;
    ISound& m_sound;
    CEmailPage::AccountEditor m_editor;
};
