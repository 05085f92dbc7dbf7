#include "gui/platform/QtDialogs.h"

#include "gui/platform/CDialogOwner.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>

std::deque<IDialogs::Answer> QtDialogs::s_nextAnswers;
std::deque<std::optional<std::string>> QtDialogs::s_nextFiles;
std::vector<std::pair<std::string, std::string>> QtDialogs::s_shownBoxes;

IDialogs::Answer QtDialogs::MessageBox(const std::string& text, const std::string& caption,
                                       Buttons buttons, Icon icon) {
    s_shownBoxes.emplace_back(text, caption);
    if (!s_nextAnswers.empty()) {
        Answer a = s_nextAnswers.front();
        s_nextAnswers.pop_front();
        return a;
    }
    // On the heap: the owner may close while the box waits, and takes the box with it.
    QPointer<QMessageBox> owned = new QMessageBox(CDialogOwner::Owner());
    QMessageBox& box = *owned;
    box.setWindowTitle(QString::fromStdString(caption));
    // Servers' and files' words reach boxes: never taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    switch (icon) {
    case Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    default:
        break;
    }
    switch (buttons) {
    case YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case RetryCopyQuitCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Save | QMessageBox::Discard |
                               QMessageBox::Cancel);
        box.button(QMessageBox::Retry)->setText(QObject::tr("Try Again"));
        box.button(QMessageBox::Save)->setText(QObject::tr("Save a Copy..."));
        box.button(QMessageBox::Discard)->setText(QObject::tr("Quit Without Saving"));
        box.button(QMessageBox::Cancel)->setText(QObject::tr("Keep Running"));
        box.setDefaultButton(QMessageBox::Retry);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
    }
    // Wide enough for its caption beside the window manager's buttons: a short text made
    // "Oops !" over "No Printer !" show as "O... !".
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(
            new QSpacerItem(box.fontMetrics().horizontalAdvance(box.windowTitle()) + kCaptionRoom,
                            0, QSizePolicy::Minimum, QSizePolicy::Expanding),
            grid->rowCount(), 0, 1, grid->columnCount());
    const int result = CDialogOwner::Exec(box);
    delete owned;
    switch (result) {
    case QMessageBox::Yes:
        return AnswerYes;
    case QMessageBox::No:
        return AnswerNo;
    case QMessageBox::Cancel:
        return AnswerCancel;
    case QMessageBox::Retry:
        return AnswerRetry;
    case QMessageBox::Save:
        return AnswerSaveCopy;
    case QMessageBox::Discard:
        return AnswerDiscard;
    default:
        return AnswerOk;
    }
}

QString QtDialogs::QtFilter(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split('|', Qt::SkipEmptyParts);
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i];
    return out.join(";;");
}

static std::optional<std::string> TakeQueued() {
    auto f = QtDialogs::s_nextFiles.front();
    QtDialogs::s_nextFiles.pop_front();
    return f;
}

static std::optional<std::string> WithExtension(QString path, const std::string& ext) {
    if (path.isEmpty()) return std::nullopt;
    if (QFileInfo(path).suffix().isEmpty()) path += "." + QString::fromStdString(ext).toLower();
    return path.toStdString();
}

// The file chooser of the window that asked, blocking only that window.
static QString RunFileDialog(QFileDialog::AcceptMode mode, const std::string& initialName,
                             const std::string& filter) {
    QPointer<QFileDialog> dlg =
        new QFileDialog(CDialogOwner::Owner(), QString(), QString(), QtDialogs::QtFilter(filter));
    dlg->setAcceptMode(mode);
    dlg->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                     : QFileDialog::ExistingFile);
    // Overwriting is asked by the caller, with the program's own words.
    dlg->setOption(QFileDialog::DontConfirmOverwrite);
    if (!initialName.empty()) dlg->selectFile(QString::fromStdString(initialName));
    const bool ok = CDialogOwner::Exec(*dlg) == QDialog::Accepted && dlg;
    const QString path =
        ok && !dlg->selectedFiles().isEmpty() ? dlg->selectedFiles().front() : QString();
    delete dlg;
    return path;
}

std::optional<std::string> QtDialogs::SaveFileName(const std::string& defaultExt,
                                                   const std::string& initialName,
                                                   const std::string& filter) {
    if (!s_nextFiles.empty()) return TakeQueued();
    return WithExtension(RunFileDialog(QFileDialog::AcceptSave, initialName, filter), defaultExt);
}

std::optional<std::string> QtDialogs::OpenFileName(const std::string& defaultExt,
                                                   const std::string& initialName,
                                                   const std::string& filter) {
    if (!s_nextFiles.empty()) return TakeQueued();
    const QString path = RunFileDialog(QFileDialog::AcceptOpen, initialName, filter);
    if (path.isEmpty()) return std::nullopt;
    (void)defaultExt;
    return path.toStdString();
}
