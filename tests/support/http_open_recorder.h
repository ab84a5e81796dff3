// What the real shell opens, recorded instead of shown. Wine opens "http"
// addresses, and "www." ones as "http" addresses, with the command of the
// machine's class (it does not look at the user's). While a recorder lives,
// that command is a command line that appends each address it is given to
// a file of the recorder's, so no browser starts; the command that was
// there is put back at the end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class HttpOpenRecorder {
public:
    HttpOpenRecorder();
    ~HttpOpenRecorder();
    HttpOpenRecorder(const HttpOpenRecorder&) = delete;
    HttpOpenRecorder& operator=(const HttpOpenRecorder&) = delete;

    // The addresses opened so far, one a line, read once every command line
    // that an open has started has ended: the shell starts it before the
    // open returns, so an open made before the call is in the list, and so
    // is one that should not have been made. Two command lines that run at
    // once can lose a line (the second finds the file in use), so opens
    // that follow each other are read in between.
    std::vector<std::string> Opened() const;

private:
    std::string log_;
    HKEY key_ = nullptr;
    bool hadCommand_ = false;
    DWORD savedType_ = 0;
    char saved_[MAX_PATH * 2] = {};
    DWORD savedSize_ = 0;
};
