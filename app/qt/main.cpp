#include "app/qt/NumberingApp.h"

int main(int argc, char** argv) {
    wemb::NumberingApp app(argc, argv);
    return app.run();
}
