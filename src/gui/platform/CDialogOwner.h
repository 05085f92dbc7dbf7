#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

class QDialog;

// The one place that decides where a dialog or box belongs. Every dialog gets an owner: the
// window that opened it when known, else the window the user works in, else a hidden anchor
// (for what the tray opened). It is transient for that owner, blocks only the owner (never
// the whole program, so the tray menu still opens) and stays on top whenever a window of
// the program does: notes kept above all others must never cover a box or its buttons.
//
//   QtDialogs / IDialogs::MessageBox(...)     owner decided here (a Scope pins it)
//   CDialogOwner::Scope owner(&window);       boxes asked for meanwhile belong to window
//   auto* d = new QFileDialog(CDialogOwner::Owner(&window)); CDialogOwner::Exec(*d);
class CDialogOwner {
public:
    // While one lives, boxes asked for without an opener belong to window (innermost wins).
    class Scope {
    public:
        explicit Scope(QWidget* window);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };

    // The owner for a dialog opened by opener (may be null): never null.
    static QWidget* Owner(QWidget* opener = nullptr);
    // Gives dialog an owner when it has none and the layer it needs; for modeless dialogs.
    static void Prepare(QDialog& dialog);
    // Prepare, then run it window-modal. When the owner closes meanwhile the dialog goes with
    // it (hold it in a QPointer) and the result is Rejected.
    static int Exec(QDialog& dialog);
    // Whether a dialog owned by owner must stay on top to be seen above the program's windows.
    static bool NeedsOnTop(const QWidget* owner);
    // The hidden owner of what the tray opens (never shown).
    static QWidget* Tray();

private:
    static std::vector<QPointer<QWidget>> s_scopes;
};
