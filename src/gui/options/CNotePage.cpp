#include "gui/options/CNotePage.h"

#include "core/alarms/CAlarmCheck.h"
#include "core/options/COptionsValues.h"
#include "core/platform/IDialogs.h"
#include "core/platform/ProgramFolder.h"
#include "core/sticky/NoteColors.h"
#include "gui/options/CSchemeSample.h"
#include "gui/platform/CDialogOwner.h"
#include "gui/platform/FontConverter.h"
#include "gui/platform/GdiPaint.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <cstdlib>

CNotePage::CNotePage(COptionsValues& values, IDialogs& dialogs, CAlarmCheck& log, QWidget* parent)
    : COptionsPage(values, dialogs, parent), m_log(log) {
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(Units().Rect(2, 2, 221, 90));

    m_schemes = Place(new QComboBox(this), 8, 5, 137, 12, "scheme");
    for (int i = 1; i <= CSettings::kSchemes; ++i)
        m_schemes->addItem(tr("Scheme %1").arg(i));
    auto* reset = Place(new QPushButton(tr("Reset"), this), 156, 5, 61, 13, "reset",
                        "Reset background color scheme to default");
    auto* font = Place(new QPushButton(tr("Font"), this), 8, 21, 48, 14, "font",
                       "Select font of current scheme");
    m_fontName = Place(new QLabel(this), 62, 22, 153, 11, "fontName");
    m_fontName->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_fontName->setTextFormat(Qt::PlainText);
    auto* back = Place(new QPushButton(tr("Background"), this), 8, 39, 48, 14, "background",
                       "Change background color");
    m_sample = Place(new CSchemeSample(this), 62, 38, 155, 48, "sample");
    auto* text = Place(new QPushButton(tr("Text"), this), 8, 55, 48, 14, "text",
                       "Select text color for sticky notes");
    m_border = Place(new QComboBox(this), 8, 72, 48, 12, "border");
    m_border->addItems({tr("Default"), tr("Emboss"), tr("Glow")});
    m_useLog = Place(new QCheckBox(tr("Use log file"), this), 2, 95, 58, 9, "useLog",
                     "Use a log file to record notes that go off");
    m_viewLog =
        Place(new QPushButton(tr("View"), this), 62, 94, 36, 13, "viewLog", "View log file");
    m_purgeLog =
        Place(new QPushButton(tr("Purge"), this), 100, 94, 36, 13, "purgeLog", "Purge log file");
    for (QPushButton* b : {reset, font, back, text, m_viewLog, m_purgeLog})
        b->setAutoDefault(false);

    m_pickFont = [](QWidget* parent, const LOGFONT& initial) -> std::optional<LOGFONT> {
        QPointer<QFontDialog> dlg = new QFontDialog(FontConverter::ToQFont(initial), parent);
        dlg->setWindowTitle(tr("Font"));
        dlg->setOption(QFontDialog::ScalableFonts);
        const bool ok = CDialogOwner::Exec(*dlg) == QDialog::Accepted;
        const QFont f = ok ? dlg->selectedFont() : QFont();
        delete dlg;
        if (!ok) return std::nullopt;
        LOGFONT lf = FontConverter::FromQFont(f);
        lf.lfUnderline = lf.lfStrikeOut = 0; // a scheme carries no effects
        return lf;
    };
    m_pickColor = [](QWidget* parent, COLORREF initial) -> std::optional<COLORREF> {
        QPointer<QColorDialog> dlg = new QColorDialog(GdiPaint::ToQColor(initial), parent);
        const bool ok = CDialogOwner::Exec(*dlg) == QDialog::Accepted;
        const QColor c = ok ? dlg->selectedColor() : QColor();
        delete dlg;
        if (!c.isValid()) return std::nullopt;
        return GdiPaint::FromQColor(c);
    };
    m_view = [](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    };

    m_schemes->setCurrentIndex(values.selectedScheme);
    m_border->setCurrentIndex(values.schemeBorder[values.selectedScheme]);
    m_useLog->setChecked(values.logEnabled);
    m_viewLog->setEnabled(values.logEnabled);
    m_purgeLog->setEnabled(values.logEnabled);
    ShowFontName();
    Redraw();

    connect(m_schemes, &QComboBox::activated, this, &CNotePage::SelectScheme);
    connect(m_border, &QComboBox::activated, this, [this](int style) {
        m_values.schemeBorder[m_values.selectedScheme] = style;
        Redraw();
    });
    connect(reset, &QPushButton::clicked, this, &CNotePage::Reset);
    connect(font, &QPushButton::clicked, this, &CNotePage::ChooseFont);
    connect(back, &QPushButton::clicked, this, [this] { ChooseColor(m_values.schemeBack); });
    connect(text, &QPushButton::clicked, this, [this] { ChooseColor(m_values.schemeText); });
    connect(m_useLog, &QCheckBox::toggled, this, [this](bool on) {
        m_viewLog->setEnabled(on);
        m_purgeLog->setEnabled(on);
    });
    connect(m_viewLog, &QPushButton::clicked, this, &CNotePage::ViewLog);
    connect(m_purgeLog, &QPushButton::clicked, this, &CNotePage::PurgeLog);
}

void CNotePage::SelectScheme(int index) {
    m_values.selectedScheme = index;
    m_border->setCurrentIndex(m_values.schemeBorder[index]);
    ShowFontName();
    Redraw();
}

void CNotePage::ChooseFont() {
    const int i = m_values.selectedScheme;
    const std::optional<LOGFONT> chosen = m_pickFont(this, m_values.schemeFont[i]);
    if (!chosen || chosen->lfFaceName.empty()) return;
    if (std::abs(chosen->lfHeight) >= 70) {
        m_dialogs.MessageBox("Font is too big !", "Oops !", IDialogs::Ok, IDialogs::Stop);
        return;
    }
    m_values.schemeFont[i] = *chosen;
    ShowFontName();
    Redraw();
}

void CNotePage::ChooseColor(COLORREF* colors) {
    const int i = m_values.selectedScheme;
    if (const std::optional<COLORREF> c = m_pickColor(this, colors[i])) {
        colors[i] = *c;
        // A new background keeps the text readable; a text colour picked is taken as it is.
        if (colors == m_values.schemeBack)
            m_values.schemeText[i] = ReadableTextColor(*c, m_values.schemeText[i]);
        Redraw();
    }
}

void CNotePage::Reset() {
    m_values.ResetSchemes();
    // The border box follows the reset scheme, so what it shows is what OK keeps.
    m_border->setCurrentIndex(m_values.schemeBorder[m_values.selectedScheme]);
    ShowFontName();
    Redraw();
}

void CNotePage::ShowFontName() {
    const LOGFONT& f = m_values.schemeFont[m_values.selectedScheme];
    if (f.lfFaceName.empty()) return;
    std::string name = f.lfFaceName;
    if (f.lfItalic) name += " Italic";
    if (f.lfWeight > 699) name += " Bold";
    m_fontName->setText(QString::fromStdString(name));
}

void CNotePage::Redraw() {
    const int i = m_values.selectedScheme;
    m_sample->SetLook(m_values.schemeFont[i], m_values.schemeBack[i], m_values.schemeText[i],
                      m_border->currentIndex());
}

std::string CNotePage::LogPath() const {
    return m_log.LogPath().empty() ? ProgramFolder() + "Log.txt" : m_log.LogPath();
}

void CNotePage::ViewLog() {
    if (!m_view(LogPath()))
        m_dialogs.MessageBox("No program could show the log file \"" + LogPath() + "\".", "Sorry",
                             IDialogs::Ok, IDialogs::Warning);
}

void CNotePage::PurgeLog() {
    if (m_log.LogPath().empty()) m_log.OpenLogFile(ProgramFolder());
    if (!m_log.PurgeLog())
        m_dialogs.MessageBox("The log file \"" + LogPath() + "\" could not be emptied.", "Sorry",
                             IDialogs::Ok, IDialogs::Warning);
}

void CNotePage::Store() {
    m_values.selectedScheme = m_schemes->currentIndex();
    m_values.logEnabled = m_useLog->isChecked();
}
