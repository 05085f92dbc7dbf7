#pragma once

// The tray menu's commands that belong to the desktop rather than to the data.
class ITrayActions {
public:
    virtual ~ITrayActions() = default;
    // Help > Contents: the help page in the user's browser.
    virtual void ShowHelpContents() = 0;
    // Help > Homepage: the project's home page in the user's browser.
    virtual void OpenHomePage() = 0;
    // Help > About: the about box, modally.
    virtual void ShowAbout() = 0;
};
