#pragma once

#include <array>
#include <functional>

class CHoverButton;
class CRegionButton;
class QFont;
class QWidget;

// The Note Manager's buttons: the icon toolbar under the caption band and the row of rounded
// buttons above the editor. It makes and places them; what a click does is the window's.
class CManagerToolbar {
public:
    // onTool gets the tool's id (CNoteManagerDlg::ToolId) of each click.
    void Create(QWidget& window, std::function<void(int)> onTool);

    CRegionButton* Button(int id) const;
    CHoverButton* Tool(int id) const;
    const std::array<CRegionButton*, 5>& Buttons() const { return m_buttons; }

    void PlaceTools(int left, int top);
    void PlaceButtons(int left, int top);

private:
    void CreateTools(QWidget& window);
    void CreateButtons(QWidget& window);

    std::array<CRegionButton*, 5> m_buttons{};
    std::array<CHoverButton*, 9> m_tools{};
    std::function<void(int)> m_onTool;
};
