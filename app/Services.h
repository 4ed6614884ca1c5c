#pragma once
// What the program asks of the machine beyond its own windows: the time, the
// printers, the sound device, the shell, the picture dialog and the save dialog. wWinMain hands
// the system's to the main window, which hands each on to what uses it; tests
// make one with their own, so that none depends on the machine.
#include <functional>

#include "about/PictureDialog.h"
#include "about/ShellOpen.h"
#include "common/DateTime.h"
#include "history/HistoryWindow.h"
#include "journal/BooksFile.h"
#include "numedit/SaNumEdit.h"
#include "receipt/Printing.h"
#include "settings/GreetingSound.h"

struct Services {
    common::Clock clock;                  // the local time
    receipt::Printers printers;           // receipts, reports and the drawer
    settings::SoundPlayer sound;          // the greetings
    std::function<void()> beep;           // a key the entry fields refuse
    about::ShellOpener shell;             // the about box's links
    about::PictureChooser choosePicture;  // the about box's picture
    // Where the sales history saves its CSV and PNG files.
    history::FileChooser chooseFile = {};
    // Where a Z's entries for an accounting program are saved, and for which.
    journal::BooksFileChooser chooseBooksFile = journal::RunBooksDialog;
};

// The machine's own.
Services SystemServices();
