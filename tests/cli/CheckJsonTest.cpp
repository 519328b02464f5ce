// The JSON of a check read back by a strict little JSON reader: every finding comes back with
// its part, whatever bytes the part's names hold.

#include <gtest/gtest.h>

#include <map>
#include <variant>

#include "cli/CheckReport.h"
#include "cli/DisplayText.h"
#include "platform/Cp932.h"
#include "tests/app/CheckFixtures.h"

namespace wemb {
namespace {

struct Json;
using JsonObject = std::map<std::string, Json>;
using JsonArray = std::vector<Json>;
struct Json {
    std::variant<std::nullptr_t, bool, double, std::string, JsonArray, JsonObject> value;

    const Json& operator[](const std::string& key) const {
        static const Json missing{};
        const auto* object = std::get_if<JsonObject>(&value);
        if (object == nullptr || !object->count(key)) {
            ADD_FAILURE() << "no key " << key;
            return missing;
        }
        return object->at(key);
    }
    const JsonArray& array() const { return std::get<JsonArray>(value); }
    const std::string& text() const { return std::get<std::string>(value); }
    int number() const { return static_cast<int>(std::get<double>(value)); }
};

// Objects, arrays, strings, numbers, true, false and null; every fault it meets fails the test.
class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    Json document() {
        Json result = value();
        EXPECT_FALSE(more()) << "text after the document";
        return result;
    }

  private:
    bool more() {
        while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != text_.npos) {
            ++at_;
        }
        return at_ < text_.size();
    }
    bool take(std::string_view word) {
        if (more() && text_.substr(at_, word.size()) == word) {
            at_ += word.size();
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!take(std::string_view(&c, 1))) {
            ADD_FAILURE() << "expected " << c << " at " << at_;
            at_ = text_.size();
        }
    }
    std::string string() {
        expect('"');
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "raw control character";
            if (c != '\\' || at_ >= text_.size()) {
                out += c;
                continue;
            }
            const char e = text_[at_++];
            const std::string_view simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
            if (e == 'u') {
                const unsigned code = static_cast<unsigned>(
                    std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16));
                EXPECT_LT(code, 0x80u) << "only control characters need escaping";
                out += static_cast<char>(code);
                at_ += 4;
            } else if (simple.find(e) != simple.npos) {
                out += meaning[simple.find(e)];
            } else {
                ADD_FAILURE() << "bad escape " << e;
            }
        }
        expect('"');
        return out;
    }
    template <typename Container, typename Add>
    Json sequence(char end, Add add) {
        Container items;
        if (!take(std::string_view(&end, 1))) {
            do {
                add(items);
            } while (take(","));
            expect(end);
        }
        return {std::move(items)};
    }
    Json value() {
        if (!more()) {
            ADD_FAILURE() << "document ends early";
            return {};
        }
        if (take("{")) {
            return sequence<JsonObject>('}', [this](JsonObject& object) {
                more();
                std::string key = string();
                expect(':');
                object[key] = value();
            });
        }
        if (take("[")) {
            return sequence<JsonArray>(']', [this](JsonArray& array) { array.push_back(value()); });
        }
        if (text_[at_] == '"') {
            return {string()};
        }
        if (take("true")) {
            return {true};
        }
        if (take("false")) {
            return {false};
        }
        if (take("null")) {
            return {nullptr};
        }
        std::size_t used = 0;
        const double number = std::stod(std::string(text_.substr(at_)), &used);
        at_ += used;
        return {number};
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

TEST(CheckJson, EveryFindingReadsBackWithItsNamesShown) {
    const std::string japanese = *platform::utf8ToCp932("抵抗");
    auto parts =
        testing::sheets("R1/a\"b\\c/LM324, R1/x/LM324, Q/x/LM324 | U9/LM324/LM324/4, GND//GND");
    parts[0][1].partName = japanese;
    parts[0][2].partName = "\n\x01\xFD";
    parts[1][0].y = -5;
    CheckReport report;
    report.check =
        checkDrawing(testing::drawing(parts), testing::TableLibraries({{"LM324", 4}}), {});
    report.failedLibrary = "lib/\"x\".LB3";
    cli::CliOptions options;
    options.file = "amp \"1\".CE2";

    const Json json = JsonReader(cli::checkAsJson(options, report)).document();
    EXPECT_EQ(json["file"].text(), options.file);
    EXPECT_EQ(json["failedLibrary"].text(), *report.failedLibrary);
    EXPECT_EQ(json["parts"].number(), 5);
    EXPECT_EQ(json["problems"].number(), report.check.problemCount());
    EXPECT_EQ(json["counts"]["duplicateReference"].number(), 2);
    const JsonArray& sheets = json["sheets"].array();
    ASSERT_EQ(sheets.size(), 2u);
    const JsonArray& first = sheets[0]["findings"].array();
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[1]["partName"].text(), "抵抗");
    EXPECT_EQ(first[2]["partName"].text(), "\\x0A\\x01\\xFD");

    std::size_t next = 0;
    for (std::size_t sheet = 0; sheet < sheets.size(); ++sheet) {
        EXPECT_EQ(sheets[sheet]["sheet"].number(), static_cast<int>(sheet) + 1);
        EXPECT_EQ(sheets[sheet]["parts"].number(), report.check.partsOnSheet[sheet]);
        for (const Json& finding : sheets[sheet]["findings"].array()) {
            ASSERT_LT(next, report.check.findings.size());
            const Finding& expected = report.check.findings[next++];
            EXPECT_EQ(finding["kind"].text(), cli::findingKey(expected.kind));
            EXPECT_EQ(finding["reference"].text(), cli::displayText(expected.part.reference));
            EXPECT_EQ(finding["partName"].text(), cli::displayText(expected.part.partName));
            EXPECT_EQ(finding["libraryName"].text(), expected.part.libraryName);
            EXPECT_EQ(finding["x"].number(), expected.part.x);
            EXPECT_EQ(finding["y"].number(), expected.part.y);
            EXPECT_EQ(finding["block"].number(), expected.part.block);
        }
    }
    EXPECT_EQ(next, report.check.findings.size());
}

}  // namespace
}  // namespace wemb
