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

    // False after telling the user: "No Printer !" when there is no default printer, or that
    // the job failed. pages: how many pages were printed.
    static bool PrintNote(const CNote& note, IDialogs& dialogs, int* pages = nullptr);
    // Draws the note's pages on a printer that is set up (a PDF file, for instance). Returns
    // the number of pages, 0 when the printer refused.
    static int PrintOn(QPrinter& printer, const CNote& note);
};
