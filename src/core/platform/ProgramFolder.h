#pragma once

#include <string>

// The folder of "Note.Dat" and "Log.txt", ending in '/': the program's own folder when a data
// file lies beside it (a portable copy), else $XDG_DATA_HOME/jotterly (made when missing).
std::string ProgramFolder();
