#include "platform/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
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
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(caption));
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
    switch (box.exec()) {
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

std::optional<std::string> QtDialogs::SaveFileName(const std::string& defaultExt,
                                                   const std::string& initialName,
                                                   const std::string& filter) {
    if (!s_nextFiles.empty()) return TakeQueued();
    QString path =
        QFileDialog::getSaveFileName(nullptr, QString(), QString::fromStdString(initialName),
                                     QtFilter(filter), nullptr, QFileDialog::DontConfirmOverwrite);
    return WithExtension(path, defaultExt);
}

std::optional<std::string> QtDialogs::OpenFileName(const std::string& defaultExt,
                                                   const std::string& initialName,
                                                   const std::string& filter) {
    if (!s_nextFiles.empty()) return TakeQueued();
    QString path = QFileDialog::getOpenFileName(
        nullptr, QString(), QString::fromStdString(initialName), QtFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    (void)defaultExt;
    return path.toStdString();
}
