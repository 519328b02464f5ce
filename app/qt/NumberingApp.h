#pragma once
// The application: it fixes where the settings file lives when the program starts, takes a data
// file's name from the command line, and runs the main dialog until the user quits.

#include <QApplication>
#include <QTranslator>
#include <memory>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace wemb {

// Qt's own texts (the file dialog, the edit fields' menu, the message boxes' buttons) in
// Japanese like the dialog around them; null when the system has no such translation, and the
// program then goes on in English.
std::unique_ptr<QTranslator> qtJapaneseTranslator();

class NumberingApp {
  public:
    // The settings file is located here, against the directory the program starts in.
    NumberingApp(int& argc, char** argv);

    // Runs the dialog; the exit code of the program.
    int run();

    const std::string& settingsPath() const { return settingsPath_; }

  private:
    // WEMB_SCREENSHOT=file.png: lay the dialog out, save a picture of it and end, keeping nothing.
    int saveScreenshot(QWidget& dialog, const QString& path);

    QApplication application_;
    std::unique_ptr<QTranslator> qtTexts_;
    std::string settingsPath_;
    std::string fileName_;
};

}  // namespace wemb
