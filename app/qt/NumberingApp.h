#pragma once
// The application: it fixes where the settings file lives when the program starts, takes a data
// file's name from the command line, and runs the main dialog until the user quits.

#include <QApplication>
#include <string>
#include <vector>

namespace wemb {

// The name to put in the file field: the one argument when it is a plain name, as when a data
// file is opened with the program; "" for any other command line, which is ignored.
std::string startupFileName(const std::vector<std::string>& arguments);

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
    std::string settingsPath_;
    std::string fileName_;
};

}  // namespace wemb
