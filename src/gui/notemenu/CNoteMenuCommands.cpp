#include "gui/notemenu/CNoteMenuCommands.h"

#include "core/app/Globals.h"
#include "core/export/CNoteTextExport.h"
#include "core/model/CNote.h"
#include "core/model/CSettings.h"
#include "core/platform/IDialogs.h"
#include "core/sticky/CNoteMenuModel.h"
#include "core/sticky/NoteColors.h"
#include "gui/manager/CTimeSettingDlg.h"
#include "gui/notemenu/CNoteMenu.h"
#include "gui/platform/CDialogOwner.h"
#include "gui/platform/FontConverter.h"
#include "gui/platform/GdiPaint.h"
#include "gui/print/CNotePrinter.h"
#include "gui/sticky/CStickyNoteDlg.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QPointer>

using M = CNoteMenuModel;

void CNoteMenuCommands::AttachTo(CStickyNoteDlg& window) {
    auto* menu = new CNoteMenuCommands(window);
    connect(&window, &CStickyNoteDlg::noteMenuRequested, menu, &CNoteMenuCommands::Open);
}

CNoteMenuCommands::CNoteMenuCommands(INoteMenuHost& window)
    : QObject(&window.MenuWindow()), m_window(window) {}

void CNoteMenuCommands::Open(const QPoint& globalPos) {
    CNote* note = m_window.Note();
    if (!note || m_window.IsBusy()) return;
    m_window.SetBusy(true);
    m_window.MenuWindow().activateWindow();
    CNoteMenu::Look look;
    look.noteBack = note->m_backColor;
    look.noteText = note->m_textColor;
    const CSettings& s = m_window.Settings();
    for (int i = 0; i < 4; ++i) {
        look.schemeBack[i] = s.m_schemeBack[i];
        look.schemeText[i] = s.m_schemeText[i];
    }
    look.font = CNoteMenu::MenuFont();
    QPointer<QWidget> alive(&m_window.MenuWindow());
    int id = 0;
    {
        CNoteMenu menu(M::Build(*note, m_window.IsRinging(), m_window.ManagerOpen()), look);
        id = menu.Run(globalPos);
    }
    if (!alive) return; // the window went while the menu was open (the program ended)
    m_window.SetBusy(false);
    if (id != 0) Run(id);
}

void CNoteMenuCommands::Run(int id) {
    if (!m_window.Note()) return;
    const CDialogOwner::Scope owner(
        &m_window.MenuWindow()); // every box of a command belongs to the note
    switch (id) {
    case M::Scheme1:
    case M::Scheme2:
    case M::Scheme3:
    case M::Scheme4: {
        M::Item item;
        item.id = id;
        m_window.ApplyScheme(item.SchemeIndex());
        break;
    }
    case M::MyBackColor:
    case M::MyTextColor:
        ChooseColor(id == M::MyBackColor);
        break;
    case M::MyFont:
        ChooseFont();
        break;
    case M::BorderDefault:
    case M::BorderEmboss:
    case M::BorderGlow:
        SetBorderStyle(M::BorderStyleOf(id));
        break;
    case M::ShowCountdown:
        ToggleCountdown();
        break;
    case M::FormatDay:
    case M::FormatHour:
    case M::FormatMinute:
    case M::FormatSecond:
        ToggleFormatBit(M::FormatBitOf(id));
        break;
    case M::Delete:
        m_window.DeleteNote();
        break;
    case M::SaveToFile:
        SaveToFile();
        break;
    case M::Print:
        Print();
        break;
    case M::TimeSetting:
        TimeSetting();
        break;
    default:
        break;
    }
}

void CNoteMenuCommands::ChooseColor(bool back) {
    CNote& note = *m_window.Note();
    COLORREF& color = back ? note.m_backColor : note.m_textColor;
    m_window.SetBusy(true);
    QPointer<QWidget> alive(&m_window.MenuWindow());
    QPointer<QColorDialog> dlg =
        new QColorDialog(GdiPaint::ToQColor(color), &m_window.MenuWindow());
    const bool ok = CDialogOwner::Exec(*dlg) == QDialog::Accepted;
    if (!alive || !m_window.Note()) return; // the dialog went with the window
    const QColor chosen = dlg->selectedColor();
    delete dlg;
    m_window.SetBusy(false);
    // Even a cancelled choice forgets the scheme, so choosing a scheme applies it again.
    m_window.ForgetScheme();
    if (!ok || !chosen.isValid()) return;
    color = GdiPaint::FromQColor(chosen);
    // A new background keeps the text readable; a text colour picked is taken as it is.
    if (back) note.m_textColor = ReadableTextColor(note.m_backColor, note.m_textColor);
    m_window.RefreshLook();
}

void CNoteMenuCommands::ChooseFont() {
    CNote& note = *m_window.Note();
    m_window.SetBusy(true);
    QPointer<QWidget> alive(&m_window.MenuWindow());
    QPointer<QFontDialog> dlg =
        new QFontDialog(FontConverter::ToQFont(note.m_font), &m_window.MenuWindow());
    const bool ok = CDialogOwner::Exec(*dlg) == QDialog::Accepted;
    if (!alive || !m_window.Note()) return;
    const QFont font = dlg->selectedFont();
    delete dlg;
    m_window.SetBusy(false);
    if (!ok || font.family().isEmpty()) return;
    const LOGFONT chosen = FontConverter::FromQFont(font);
    if (M::IsFontTooBig(chosen.lfHeight)) {
        m_window.Dialogs().MessageBox("Font is too big !", "Sorry", IDialogs::Ok, IDialogs::Stop);
        return;
    }
    note.m_font = chosen;
    m_window.ForgetScheme();
    m_window.RefreshLook();
}

void CNoteMenuCommands::SetBorderStyle(int style) {
    CNote& note = *m_window.Note();
    if (style < 0 || note.m_borderStyle == style) return;
    note.m_borderStyle = style;
    m_window.RefreshLook();
}

void CNoteMenuCommands::ToggleCountdown() {
    CNote& note = *m_window.Note();
    const bool rolled = m_window.IsRolledUp();
    note.m_showCountdown = note.m_showCountdown ? 0 : 1;
    if (note.m_showCountdown) m_window.UpdateCountdown();
    m_window.Layout();
    // A rolled-up note keeps only its title bar and, now or no longer, the countdown line.
    if (rolled) m_window.RollUp();
    m_window.MenuWindow().update();
    m_window.NoteChanged();
}

void CNoteMenuCommands::ToggleFormatBit(int bit) {
    CNote& note = *m_window.Note();
    note.m_countdownFormat = M::ToggleFormat(note.m_countdownFormat, bit);
    m_window.UpdateCountdown();
    m_window.NoteChanged();
}

void CNoteMenuCommands::SaveToFile() {
    const CNote& note = *m_window.Note();
    IDialogs& dialogs = m_window.Dialogs();
    const auto path = dialogs.SaveFileName("txt", CNoteTextExport::ProposedName(note.m_title),
                                           "Text Files (*.txt)|*.txt||");
    if (!path || !m_window.Note()) return;
    CNoteTextExport::Save(dialogs, *path, CNoteTextExport::NoteText(*m_window.Note()),
                          "Confirmation");
}

void CNoteMenuCommands::Print() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CNotePrinter::PrintNote(*m_window.Note(), m_window.Dialogs());
    QApplication::restoreOverrideCursor();
}

void CNoteMenuCommands::TimeSetting() {
    CNote& note = *m_window.Note();
    m_window.SetBusy(true);
    ++g_timeDialogCount;
    QPointer<QWidget> alive(&m_window.MenuWindow());
    {
        QPointer<CTimeSettingDlg> dlg =
            new CTimeSettingDlg(&m_window.MenuWindow(), note, m_window.Dialogs());
        CDialogOwner::Exec(*dlg);
        delete dlg;
    }
    --g_timeDialogCount;
    if (!alive || !m_window.Note()) return;
    m_window.SetBusy(false);
    m_window.TimeChanged(note);
    m_window.UpdateCountdown();
}
