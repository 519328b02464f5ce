#include "cli/CliOptions.h"

#include <functional>
#include <map>

namespace wemb::cli {
namespace {

std::optional<NumberingMode> modeNamed(const std::string& name) {
    static const std::map<std::string, NumberingMode> kModes = {
        {"locked", NumberingMode::AutonumLocked},
        {"original", NumberingMode::AutonumOriginal},
        {"renum", NumberingMode::ReNum},
    };
    const auto found = kModes.find(name);
    if (found == kModes.end()) {
        return std::nullopt;
    }
    return found->second;
}

// Walks the arguments; options may stand before or after the file name, and "--" ends them.
class Parser {
  public:
    explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    ParsedCommandLine run() {
        std::vector<std::string> files;
        bool optionsEnded = false;
        for (index_ = 0; index_ < arguments_.size(); ++index_) {
            std::string argument = arguments_[index_];
            if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
                files.push_back(argument);
            } else if (argument == "--") {
                optionsEnded = true;
            } else if (!option(argument)) {
                return {std::nullopt, error_};
            }
        }
        return finish(files);
    }

  private:
    bool fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

    // The value of an option: "--name=value", or the next argument.
    std::optional<std::string> value(const std::string& name,
                                     const std::optional<std::string>& inline_) {
        if (inline_) {
            return inline_;
        }
        if (index_ + 1 >= arguments_.size()) {
            fail("option " + name + " needs a value");
            return std::nullopt;
        }
        return arguments_[++index_];
    }

    bool option(const std::string& argument) {
        std::string name = argument;
        std::optional<std::string> inlineValue;
        if (const auto equals = argument.find('=');
            argument.rfind("--", 0) == 0 && equals != std::string::npos) {
            name = argument.substr(0, equals);
            inlineValue = argument.substr(equals + 1);
        }
        if (name == "-h" || name == "--help") {
            options_.command = Command::Help;
        } else if (name == "--version") {
            options_.command = Command::Version;
        } else if (name == "-m" || name == "--mode") {
            const auto text = value(name, inlineValue);
            if (!text) {
                return false;
            }
            const auto mode = modeNamed(*text);
            if (!mode) {
                return fail("unknown mode '" + *text + "' (use locked, original or renum)");
            }
            options_.job.mode = *mode;
        } else if (name == "-i" || name == "--initial") {
            const auto text = value(name, inlineValue);
            if (!text) {
                return false;
            }
            options_.job.initialNumber = parseNumberField(*text);
        } else if (name == "-s" || name == "--step") {
            const auto text = value(name, inlineValue);
            if (!text) {
                return false;
            }
            options_.job.step = parseNumberField(*text);
        } else if (name == "-d" || name == "--dependence-name") {
            options_.job.dependenceNameMode = true;
        } else if (name == "-n" || name == "--dry-run") {
            options_.job.dryRun = true;
        } else if (name == "--json") {
            options_.json = true;
        } else if (name == "--csv") {
            options_.csv = true;
        } else if (name == "--svg") {
            const auto text = value(name, inlineValue);
            if (!text) {
                return false;
            }
            options_.svgPath = *text;
        } else if (name == "--map") {
            const auto text = value(name, inlineValue);
            if (!text) {
                return false;
            }
            options_.mapPath = *text;
        } else if (name == "--check") {
            options_.command = Command::Check;
        } else if (name == "--list-library") {
            options_.command = Command::ListLibrary;
        } else {
            return fail("unknown option '" + argument + "'");
        }
        if (inlineValue && (name == "-d" || name == "--dependence-name" || name == "--dry-run" ||
                            name == "--json" || name == "--csv" || name == "--check" ||
                            name == "--list-library" || name == "--help" || name == "--version")) {
            return fail("option " + name + " takes no value");
        }
        return true;
    }

    ParsedCommandLine finish(const std::vector<std::string>& files) {
        if (options_.command == Command::Help || options_.command == Command::Version) {
            return {options_, {}};
        }
        if (files.size() != 1) {
            return {std::nullopt, files.empty() ? "no file given" : "more than one file given"};
        }
        options_.file = files.front();
        options_.job.fileName = files.front();
        const bool dryRun = options_.job.dryRun;
        if (options_.command == Command::Number && !dryRun &&
            (options_.json || options_.csv || !options_.svgPath.empty())) {
            return {std::nullopt, "--json, --csv and --svg report a --dry-run"};
        }
        if (options_.json && options_.csv) {
            return {std::nullopt, "--json and --csv cannot be combined"};
        }
        options_.job.reportChanges = !options_.mapPath.empty();
        if (!options_.mapPath.empty() && (dryRun || options_.command != Command::Number)) {
            return {std::nullopt, "--map writes the table of a real job; leave out --dry-run"};
        }
        return {options_, {}};
    }

    const std::vector<std::string>& arguments_;
    std::size_t index_ = 0;
    CliOptions options_;
    std::string error_;
};

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    return Parser(arguments).run();
}

std::string usageText(const std::string& program) {
    return "Usage: " + program +
           " [--mode locked|original|renum] [--initial N] [--step N] [--dependence-name]\n"
           "                [--dry-run [--json | --csv] [--svg OUT.svg]] [--map MAP.csv] FILE\n"
           "       " +
           program +
           " --check [--json] [--dependence-name] FILE\n"
           "       " +
           program +
           " --list-library [--json] LIBFILE\n"
           "\n"
           "Gives the parts of a Quil schematic data file (.CE2) their reference numbers.\n"
           "The untouched file is kept as its backup (amp.CE2 -> amp.$E2); further sheets are\n"
           "written to FILE-01, FILE-02, ...\n"
           "\n"
           "  -m, --mode MODE        locked: number only the parts without a number, in position\n"
           "                                 order, keeping existing numbers (default)\n"
           "                         original: number every part afresh in position order\n"
           "                         renum: number every part afresh, keeping the order of the "
           "old\n"
           "                                numbers within each prefix\n"
           "  -i, --initial N        first number of each prefix, 1 to 1000 (default 1)\n"
           "  -s, --step N           step between numbers, 1 to 20 (default 1)\n"
           "  -d, --dependence-name  leave parts without a part name alone (locked, original)\n"
           "  -n, --dry-run          number in memory and report each change; touch no file\n"
           "      --json, --csv      give the --dry-run report as JSON, or as CSV for a "
           "spreadsheet\n"
           "      --svg OUT.svg      with --dry-run: draw the sheets and the numbering order\n"
           "      --map MAP.csv      after a real job: write the table of changes\n"
           "      --check            report duplicate and missing numbers and other findings\n"
           "      --list-library     list the entries of a library file (NAME, TAB, BLOCKCOUNT)\n"
           "  -h, --help             show this help\n"
           "      --version          show the version\n"
           "\n"
           "Exit status: 0 finished, 1 a file could not be read, 2 usage error, number out of\n"
           "range or a report named like a file of the drawing, 3 writing failed (nothing lost),\n"
           "4 --check found something, 5 renumbered but the --map table could not be written.\n";
}

}  // namespace wemb::cli
