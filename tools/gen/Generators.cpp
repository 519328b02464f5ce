#include "tools/gen/Generators.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <span>

#include "tools/gen/SyntheticDrawing.h"
#include "tools/gen/SyntheticLibraries.h"
#include "tools/gen/TextLibraryBuilder.h"

namespace wemb::gen {
namespace {

constexpr std::size_t kMaxDrawingParts = 2'000'000;
constexpr std::size_t kMaxTextLibraryBytes = std::size_t{1} << 30;

// Options of the form "--name VALUE" and exactly one operand.
struct Arguments {
    std::map<std::string, std::string> options;
    std::string operand;
};

std::optional<Arguments> splitArguments(const std::vector<std::string>& arguments,
                                        std::span<const std::string_view> known) {
    Arguments result;
    std::size_t operands = 0;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (argument.rfind("--", 0) != 0) {
            result.operand = argument;
            ++operands;
            continue;
        }
        if (std::find(known.begin(), known.end(), argument) == known.end() ||
            index + 1 >= arguments.size()) {
            return std::nullopt;
        }
        result.options[argument] = arguments[++index];
    }
    return operands == 1 ? std::optional(result) : std::nullopt;
}

std::optional<std::size_t> parseCount(const std::string& text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::size_t> countOption(const Arguments& arguments, const std::string& name,
                                       std::size_t fallback) {
    const auto found = arguments.options.find(name);
    return found == arguments.options.end() ? std::optional(fallback) : parseCount(found->second);
}

bool writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "wemb-gen: cannot write " << path.string() << '\n';
        return false;
    }
    return true;
}

bool writeText(const std::filesystem::path& path, const std::string& text) {
    return writeFile(path,
                     std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

int usage(const char* line) {
    std::cerr << "usage: wemb-gen " << line << '\n';
    return 2;
}

int writeDrawing(const std::vector<std::string>& arguments) {
    static constexpr const char* kUsage =
        "drawing --parts N [--seed S] [--mix realistic|one-prefix-half-numbered|"
        "distinct-multiblock|distinct-power|same-position] OUT.CE2";
    static constexpr std::string_view kKnown[] = {"--parts", "--seed", "--mix"};
    const auto parsed = splitArguments(arguments, kKnown);
    if (!parsed || !parsed->options.contains("--parts")) {
        return usage(kUsage);
    }
    const auto parts = countOption(*parsed, "--parts", 0);
    const auto seed = countOption(*parsed, "--seed", 1);
    const auto mixName =
        parsed->options.contains("--mix") ? parsed->options.at("--mix") : std::string("realistic");
    const auto mix = drawingMixNamed(mixName);
    if (!parts || *parts > kMaxDrawingParts || !seed || *seed > UINT32_MAX || !mix) {
        return usage(kUsage);
    }
    const SyntheticDrawingRequest request{*parts, static_cast<std::uint32_t>(*seed), *mix};
    return writeFile(parsed->operand, makeSyntheticDrawing(request)) ? 0 : 1;
}

int writeLibraries(const std::vector<std::string>& arguments) {
    if (arguments.size() != 1) {
        return usage("libraries DIR");
    }
    std::error_code error;
    std::filesystem::create_directories(arguments[0], error);
    const std::filesystem::path directory = std::filesystem::absolute(arguments[0], error);
    for (int library = 0; library < kSyntheticLibraryCount; ++library) {
        if (!writeFile(directory / syntheticLibraryFileName(library), syntheticLibrary(library))) {
            return 1;
        }
    }
    return writeText(directory / "QUIL.INI", syntheticEditorSettings(directory.string())) ? 0 : 1;
}

int writeTextLibrary(const std::vector<std::string>& arguments) {
    static constexpr const char* kUsage = "textlib --bytes N [--seed S] OUT.LB3";
    static constexpr std::string_view kKnown[] = {"--bytes", "--seed"};
    const auto parsed = splitArguments(arguments, kKnown);
    if (!parsed || !parsed->options.contains("--bytes")) {
        return usage(kUsage);
    }
    const auto bytes = countOption(*parsed, "--bytes", 0);
    const auto seed = countOption(*parsed, "--seed", 1);
    if (!bytes || *bytes > kMaxTextLibraryBytes || !seed || *seed > UINT32_MAX) {
        return usage(kUsage);
    }
    return writeText(parsed->operand,
                     makeLargeTextLibrary(*bytes, static_cast<std::uint32_t>(*seed)))
               ? 0
               : 1;
}

}  // namespace

std::string extraCommandNames() {
    return ", drawing, libraries, textlib";
}

int runExtraCommand(const std::string& command, const std::vector<std::string>& arguments) {
    if (command == "drawing") {
        return writeDrawing(arguments);
    }
    if (command == "libraries") {
        return writeLibraries(arguments);
    }
    if (command == "textlib") {
        return writeTextLibrary(arguments);
    }
    std::cerr << "wemb-gen: unknown command '" << command << "'\n";
    return 2;
}

}  // namespace wemb::gen
