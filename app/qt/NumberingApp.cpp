#include "app/qt/NumberingApp.h"

#include <QFile>
#include <QLibraryInfo>
#include <QPixmap>

#include "app/RecentFiles.h"
#include "app/Settings.h"
#include "app/qt/MainDialog.h"
#include "platform/Paths.h"

namespace wemb {

std::unique_ptr<QTranslator> qtJapaneseTranslator() {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    return translator;
}

NumberingApp::NumberingApp(int& argc, char** argv)
    : application_(argc, argv),
      qtTexts_(qtJapaneseTranslator()),
      settingsPath_(wemb::settingsPath(runningProgramPlaces(), fileSystemProbe())) {
    if (qtTexts_) {
        QCoreApplication::installTranslator(qtTexts_.get());
    }
    // QApplication has taken its own options out of argv by now.
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.emplace_back(argv[i]);
    }
    fileName_ = startupFileName(arguments);
}

int NumberingApp::run() {
    IniRecentFileStore iniFile(settingsPath_);
    Cp932RecentFileStore recentFiles(iniFile);
    MainDialogServices services;
    services.recentFiles = &recentFiles;
    services.runJob = fileSystemJobRunner(platform::programDirectory());
    MainDialog dialog(std::move(services), fileName_);

    const QString screenshot = qEnvironmentVariable("WEMB_SCREENSHOT");
    if (!screenshot.isEmpty()) {
        return saveScreenshot(dialog, screenshot);
    }
    dialog.exec();
    return 0;
}

int NumberingApp::saveScreenshot(QWidget& dialog, const QString& path) {
    dialog.show();
    QApplication::processEvents();
    const bool saved = dialog.grab().save(path);
    dialog.hide();
    return saved ? 0 : 1;
}

}  // namespace wemb
