#pragma once

#include "core/platform/Win32Types.h"
#include "gui/options/COptionsPage.h"

#include <functional>
#include <optional>

class CAlarmCheck;
class CSchemeSample;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// "Note": the four colour schemes (font, colours, border style, a live sample), the scheme new
// notes take, and the alarm log with View and Purge.
class CNotePage : public COptionsPage {
    Q_OBJECT
public:
    using FontPicker = std::function<std::optional<LOGFONT>(QWidget*, const LOGFONT&)>;
    using ColorPicker = std::function<std::optional<COLORREF>(QWidget*, COLORREF)>;
    using Viewer = std::function<bool(const std::string& path)>;

    CNotePage(COptionsValues& values, IDialogs& dialogs, CAlarmCheck& log, QWidget* parent);

    void Store() override;

    // The standard pickers and the desktop's viewer unless replaced (tests answer them).
    void SetFontPicker(FontPicker picker) { m_pickFont = std::move(picker); }
    void SetColorPicker(ColorPicker picker) { m_pickColor = std::move(picker); }
    void SetViewer(Viewer viewer) { m_view = std::move(viewer); }

    CSchemeSample* Sample() const { return m_sample; }

private:
    void SelectScheme(int index);
    void ChooseFont();
    void ChooseColor(COLORREF* colors);
    void Reset();
    void ShowFontName();
    void Redraw();
    void ViewLog();
    void PurgeLog();
    std::string LogPath() const;

    CAlarmCheck& m_log;
    FontPicker m_pickFont;
    ColorPicker m_pickColor;
    Viewer m_view;
    QComboBox* m_schemes;
    QComboBox* m_border;
    QLabel* m_fontName;
    CSchemeSample* m_sample;
    QCheckBox* m_useLog;
    QPushButton* m_viewLog;
    QPushButton* m_purgeLog;
};
