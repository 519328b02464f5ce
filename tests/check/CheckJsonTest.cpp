// The JSON of a check read back by a strict little JSON reader: every finding comes back with
// its part, whatever bytes the part's names hold.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <variant>

#include "cli/CheckReport.h"
#include "cli/DisplayText.h"
#include "platform/Cp932.h"
#include "tests/check/CheckFixtures.h"

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

class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    Json document() {
        Json result = value();
        blanks();
        EXPECT_EQ(at_, text_.size()) << "text after the document";
        return result;
    }

  private:
    void blanks() {
        while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != text_.npos) {
            ++at_;
        }
    }
    bool take(char c) {
        blanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void expect(char c) {
        if (!take(c)) {
            ADD_FAILURE() << "expected " << c << " at " << at_;
            at_ = text_.size();
        }
    }
    bool word(std::string_view w) {
        if (text_.substr(at_, w.size()) == w) {
            at_ += w.size();
            return true;
        }
        return false;
    }
    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    std::string string() {
        expect('"');
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            const char c = text_[at_++];
            EXPECT_GE(static_cast<unsigned char>(c), 0x20) << "raw control character";
            if (c != '\\') {
                out += c;
                continue;
            }
            const char e = text_[at_++];
            const std::string_view simple = "\"\\/bfnrt";
            const std::string_view meaning = "\"\\/\b\f\n\r\t";
            if (e == 'u') {
                appendUtf8(out, static_cast<unsigned>(
                                    std::stoul(std::string(text_.substr(at_, 4)), nullptr, 16)));
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
    Json value() {
        blanks();
        if (at_ >= text_.size()) {
            ADD_FAILURE() << "document ends early";
            return {};
        }
        const char c = text_[at_];
        if (c == '{') {
            ++at_;
            JsonObject object;
            if (!take('}')) {
                do {
                    blanks();
                    std::string key = string();
                    expect(':');
                    object[key] = value();
                } while (take(','));
                expect('}');
            }
            return {std::move(object)};
        }
        if (c == '[') {
            ++at_;
            JsonArray array;
            if (!take(']')) {
                do {
                    array.push_back(value());
                } while (take(','));
                expect(']');
            }
            return {std::move(array)};
        }
        if (c == '"') {
            return {string()};
        }
        if (word("true")) {
            return {true};
        }
        if (word("false")) {
            return {false};
        }
        if (word("null")) {
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

gen::PartSpec part(std::string reference, std::string name, std::uint8_t block = 0) {
    return {.x = 10,
            .y = -5,
            .partName = std::move(name),
            .reference = std::move(reference),
            .libraryName = "LM324",
            .block = block};
}

TEST(CheckJson, EveryFindingReadsBack) {
    const std::string japanese = *platform::utf8ToCp932("抵抗");
    const Document document =
        testing::drawing({{part("R1", "a\"b\\c"), part("R1", japanese), part("Q", "\n\x01\xFD")},
                          {part("U9", "LM324", 4), part("GND", "", 0)}});
    const testing::TableLibraries libraries({{"LM324", 4}});
    CheckReport report;
    report.check = checkDrawing(document, libraries, {});
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

TEST(CheckJson, ShownNamesAreConvertedFromCp932) {
    const struct {
        std::string bytes;
        std::string shown;
    } cases[] = {
        {*platform::utf8ToCp932("抵抗"), "抵抗"},
        {"a\"b", "a\"b"},
        {"\xFD", "\\xFD"},
        {"\t", "\\x09"},
    };
    for (const auto& c : cases) {
        CheckReport report;
        report.check =
            checkDrawing(testing::drawing({{part("X", c.bytes)}}), testing::TableLibraries({}), {});
        const Json json = JsonReader(cli::checkAsJson({}, report)).document();
        const JsonArray& findings = json["sheets"].array().at(0)["findings"].array();
        ASSERT_EQ(findings.size(), 1u);
        EXPECT_EQ(findings[0]["partName"].text(), c.shown);
    }
}

}  // namespace
}  // namespace wemb
