#include "gui/print/CNotePrinter.h"

#include "core/export/CPagePlan.h"
#include "core/model/CNote.h"
#include "core/platform/IDialogs.h"
#include "core/sticky/NoteSchemes.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

bool CNotePrinter::PrintNote(const CNote& note, IDialogs& dialogs, int* pages) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return PrintToPdf(note, dialogs, pages);
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(kJobName));
    const int printed = PrintOn(printer, note);
    if (pages) *pages = printed;
    if (printed == 0) {
        dialogs.MessageBox("The note \"" + note.m_title + "\" could not be printed on \"" +
                               info.printerName().toStdString() + "\".",
                           "Oops !", IDialogs::Ok, IDialogs::Stop);
        return false;
    }
    return true;
}

bool CNotePrinter::PrintToPdf(const CNote& note, IDialogs& dialogs, int* pages) {
    // Not a dead end: the note can still go on paper later, from a file.
    if (dialogs.MessageBox("No Printer !\n\nSave as PDF... instead?", "Oops !", IDialogs::YesNo,
                           IDialogs::Question) != IDialogs::AnswerYes)
        return false;
    const std::string title = note.m_title.empty() ? std::string("Untitled") : note.m_title;
    const auto path = dialogs.SaveFileName("pdf", title + ".pdf", "PDF Files (*.pdf)|*.pdf||");
    if (!path) return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(*path));
    printer.setDocName(QString::fromLatin1(kJobName));
    const int printed = PrintOn(printer, note);
    if (pages) *pages = printed;
    if (printed == 0) {
        dialogs.MessageBox("The note \"" + note.m_title + "\" could not be saved as \"" + *path +
                               "\".",
                           "Oops !", IDialogs::Ok, IDialogs::Stop);
        return false;
    }
    return true;
}

int CNotePrinter::PrintOn(QPrinter& printer, const CNote& note) {
    QPainter p;
    if (!p.begin(&printer)) return 0;
    const QFontMetrics fm(p.font(), &printer);
    const int w = printer.width(), h = printer.height();
    const int m = w / 10, c = fm.height();
    const QRect title(QPoint(m, m - 2 * c), QPoint(w - m - 1, m - 1));
    const QRect body(QPoint(m, m), QPoint(w - m - 1, h - m - 1));
    const int lineHeight = std::max(1, fm.lineSpacing());

    const auto pages = CPagePlan::Paginate(ToDisplayText(note.m_text), body.width(), lineHeight,
                                           body.height(), [&fm](std::string_view s) {
                                               return fm.horizontalAdvance(QString::fromUtf8(
                                                   s.data(), static_cast<qsizetype>(s.size())));
                                           });
    p.drawText(title, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               QString::fromStdString(ToDisplayText(note.m_title)));
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            p.end();
            return 0;
        }
        int y = body.top();
        // Whole lines only; none is clipped, so a line wider than measured still prints.
        for (const std::string& line : pages[i]) {
            p.drawText(QPoint(body.left(), y + fm.ascent()), QString::fromStdString(line));
            y += lineHeight;
        }
    }
    return p.end() ? static_cast<int>(pages.size()) : 0;
}
