#pragma once

class CNote;
class IDialogs;
class QPrinter;

// Prints a note on the default printer, without asking: the title centred above the body box
// on the first page, the word-wrapped text over as many pages as it needs. Margins are a tenth
// of the printable width; the printer's default font is used.
class CNotePrinter {
public:
    static constexpr const char* kJobName = "Test Doc";

    // False after telling the user that the job failed, or when the user gave up. Without a
    // default printer the user is offered a PDF file instead. pages: how many pages were
    // printed.
    static bool PrintNote(const CNote& note, IDialogs& dialogs, int* pages = nullptr);
    // "No Printer !": asks whether to save the note as a PDF file, and where.
    static bool PrintToPdf(const CNote& note, IDialogs& dialogs, int* pages = nullptr);
    // Draws the note's pages on a printer that is set up (a PDF file, for instance). Returns
    // the number of pages, 0 when the printer refused.
    static int PrintOn(QPrinter& printer, const CNote& note);
};
