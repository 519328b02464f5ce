// The picture of the numbering order read back by a strict little XML reader: it must be
// well-formed whatever the names hold, and every changed part must be labelled at its place.

#include <gtest/gtest.h>

#include <map>

#include "cli/DisplayText.h"
#include "cli/OrderPicture.h"
#include "platform/Cp932.h"

namespace wemb {
namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;  // character data directly inside, entities resolved
    std::vector<Element> children;

    // This element and all inside it that have the name, in document order.
    std::vector<const Element*> all(const std::string& wanted) const {
        std::vector<const Element*> found;
        if (name == wanted) {
            found.push_back(this);
        }
        for (const Element& child : children) {
            for (const Element* e : child.all(wanted)) {
                found.push_back(e);
            }
        }
        return found;
    }
    std::string attribute(const std::string& key) const {
        return attributes.count(key) ? attributes.at(key) : std::string();
    }
};

// Elements, attributes in double quotes, the five entities, an XML declaration; nothing else.
// Every fault of well-formedness it meets fails the test.
class XmlReader {
  public:
    explicit XmlReader(std::string_view text) : text_(text) {}

    Element document() {
        at_ = text_.substr(0, 5) == "<?xml" ? text_.find("?>") + 2 : 0;
        blanks();
        Element root = element();
        blanks();
        EXPECT_EQ(at_, text_.size()) << "text after the root element";
        return root;
    }

  private:
    bool at(std::string_view what) const { return text_.substr(at_, what.size()) == what; }
    void blanks() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
    }
    std::string name() {
        const std::size_t start = at_;
        while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) ||
                                      std::string_view("-:_").find(text_[at_]) != text_.npos)) {
            ++at_;
        }
        EXPECT_GT(at_, start) << "name expected at " << start;
        return std::string(text_.substr(start, at_ - start));
    }
    // Character data up to `end`, with references resolved.
    std::string characters(char end) {
        static const std::map<std::string, char> kEntities = {
            {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
        std::string out;
        for (; at_ < text_.size() && text_[at_] != end; ++at_) {
            const char c = text_[at_];
            EXPECT_NE(c, '<') << "raw < at " << at_;
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t')
                << "control character at " << at_;
            if (c != '&') {
                out += c;
                continue;
            }
            const std::size_t semicolon = text_.find(';', at_);
            const std::string entity(text_.substr(at_ + 1, semicolon - at_ - 1));
            EXPECT_TRUE(kEntities.count(entity)) << "unknown entity " << entity;
            out += kEntities.count(entity) ? kEntities.at(entity) : '?';
            at_ = semicolon;
        }
        return out;
    }
    Element element() {
        Element e;
        EXPECT_TRUE(at("<"));
        ++at_;
        e.name = name();
        for (blanks(); !at(">") && !at("/>"); blanks()) {
            if (at_ >= text_.size()) {
                ADD_FAILURE() << "document ends inside <" << e.name;
                return e;
            }
            const std::string attribute = name();
            EXPECT_TRUE(at("=\"")) << attribute;
            at_ += 2;
            EXPECT_FALSE(e.attributes.count(attribute)) << "attribute twice: " << attribute;
            e.attributes[attribute] = characters('"');
            ++at_;
        }
        if (at("/>")) {
            at_ += 2;
            return e;
        }
        for (++at_; at_ < text_.size();) {
            e.text += characters('<');
            if (at("</")) {
                at_ += 2;
                EXPECT_EQ(name(), e.name) << "mismatched end tag";
                EXPECT_TRUE(at(">"));
                ++at_;
                return e;
            }
            if (at_ < text_.size()) {
                e.children.push_back(element());
            }
        }
        ADD_FAILURE() << "<" << e.name << "> never closed";
        return e;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

PartChange row(int sheet, std::int32_t x, std::int32_t y, std::string oldReference,
               std::string newReference, std::string partName = "10k") {
    return {sheet, x, y, partName, "R", std::move(oldReference), std::move(newReference), 0, 0};
}

// A label of a changed part: its text at the part's place (sheets 5000 apart).
bool labelledAt(const Element& root, const PartChange& part) {
    for (const Element* text : root.all("text")) {
        if (text->text == cli::displayText(part.newReference) &&
            text->attribute("x") == std::to_string(part.x + part.sheet * 5000)) {
            return true;
        }
    }
    return false;
}

TEST(OrderPicture, IsWellFormedAndLabelsEveryChangedPart) {
    const std::string japanese = *platform::utf8ToCp932("抵抗");
    const std::string controls(
        "R\0\x1F"
        "1",
        4);
    const struct {
        const char* name;
        std::vector<PartChange> parts;
    } cases[] = {
        {"no parts", {}},
        {"sheets side by side",
         {row(0, 100, 100, "R9", "R1"), row(1, 100, 100, "R", "R2"),
          row(2, 4900, -300, "C", "C1")}},
        {"names that XML gives a meaning to",
         {row(0, 10, 10, "A&B", "<R>1", "\"q\" & 'a'"), row(0, 90, 10, "R]]>", "R&2", "</svg>")}},
        {"control and unconvertible bytes",
         {row(0, 10, 10, "R", controls, "\x01\xFD\x81"), row(0, 20, 10, "R",
                                                             "\x7F"
                                                             "2",
                                                             "\x0B")}},
        {"Japanese", {row(0, 50, 50, japanese, japanese + "1", japanese)}},
        {"unchanged parts only", {row(0, 10, 10, "R1", "R1"), row(0, 30, 10, "GND", "GND")}},
        {"parts far outside the sheet band",
         {row(0, -32768, -32768, "R", "R1"), row(0, 32767, 32767, "R", "R2")}},
    };
    for (const auto& c : cases) {
        const Element root =
            XmlReader(cli::orderPictureSvg("order of \"a&b\".CE2", c.parts)).document();
        EXPECT_EQ(root.name, "svg") << c.name;
        for (const PartChange& part : c.parts) {
            if (part.oldReference != part.newReference) {
                EXPECT_TRUE(labelledAt(root, part)) << c.name << ": " << part.newReference;
            }
        }
    }
}

TEST(OrderPicture, DrawsOneOrderLinePerPrefixInNumberOrder) {
    // Numbered right to left: the line must follow the numbers, not the positions.
    const std::vector<PartChange> parts = {
        row(0, 300, 0, "R", "R1"),   row(0, 200, 0, "R", "R2"),
        row(0, 100, 0, "R", "R3"),   row(0, 100, 500, "C", "C1"),
        row(0, 300, 500, "C", "C2"), row(0, 200, 900, "GND", "GND"),  // no number: on no line
    };
    std::vector<std::string> points;
    const Element root = XmlReader(cli::orderPictureSvg("t", parts)).document();
    for (const Element* line : root.all("polyline")) {
        points.push_back(line->attribute("points"));
    }
    EXPECT_EQ(points, (std::vector<std::string>{"100,500 300,500", "300,0 200,0 100,0"}));
}

}  // namespace
}  // namespace wemb
