#pragma once

#include <map>
#include <string>

// The tray icon's tooltip: the usual hint, and below it a line for each thing the user should
// know about that is not shown anywhere else while it lasts (checks waiting for the network, a
// clock that could not be synchronised).
class CTrayTip {
public:
    enum Topic { Network, Clock };

    // An empty line removes the topic's line.
    void SetLine(Topic topic, const std::string& line);
    // hint followed by the lines, one a line.
    std::string Text(const std::string& hint) const;

private:
    std::map<Topic, std::string> m_lines;
};
