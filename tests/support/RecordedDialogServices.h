#pragma once
// What a dialog under test would show and store: its message boxes and its recent-file list,
// recorded instead of shown on screen and written to Wemb.INI. Both dialogs' tests use it.

#include <string>
#include <utility>
#include <vector>

#include "app/DialogController.h"
#include "app/RecentFiles.h"

namespace wemb::testing {

struct RecordedDialogServices : MessageSink, RecentFileStore {
    using Names = std::vector<std::string>;

    explicit RecordedDialogServices(Names names) : stored(std::move(names)) {}

    void show(MessageId id, const std::string&, MessageIcon, const std::string&) override {
        ids.push_back(id);
    }
    Names load() override { return stored; }
    void save(const Names& names) override {
        stored = names;
        ++saves;
    }

    Names stored;
    int saves = 0;
    std::vector<MessageId> ids;
};

}  // namespace wemb::testing
