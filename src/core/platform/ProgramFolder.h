#pragma once

#include <string>

// The folder of "Note.Dat" and "Log.txt", ending in '/': the program's own folder when a data
// file lies beside it (a portable copy), else $XDG_DATA_HOME/jotterly (made when missing).
std::string ProgramFolder();

// The user's home folder: $HOME, else the one the password database gives, never a shared
// folder such as /tmp (another user could prepare it). Empty when neither is known.
std::string UserHome();
