#pragma once

#include <QColor>

// System colour ids mapped to the current palette, so dark themes work.
class SystemColors {
public:
    static QColor Get(int colorId);
};
