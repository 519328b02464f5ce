#pragma once
// A small JSON writer for the command line's reports: objects and arrays written in order, with
// every string escaped. Strings must be UTF-8.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wemb::cli {

std::string jsonQuoted(std::string_view utf8);

class JsonWriter {
  public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(std::int64_t number);
    JsonWriter& value(int number) { return value(static_cast<std::int64_t>(number)); }
    JsonWriter& value(bool flag);
    JsonWriter& null();

    const std::string& text() const { return text_; }

  private:
    void separate();

    std::string text_;
    std::vector<bool> needsComma_;  // one level per open object or array
    bool afterKey_ = false;
};

}  // namespace wemb::cli
