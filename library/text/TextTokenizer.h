#pragma once
// Cuts a text library into its fields. A field ends at a comma or a line break; blanks in front
// of it are dropped, and "%" with two hexadecimal characters stands for one byte, so that a field
// can carry a comma, a line break or a "%". The tokenizer gives no meaning to fields: sections
// and keys belong to the readers.

#include <cstddef>
#include <string>
#include <string_view>

#include "library/text/ByteStream.h"
#include "reading/FileError.h"

namespace wemb {

class TextTokenizer {
  public:
    // Longer fields are cut here; the byte that follows the cut is lost.
    static constexpr std::size_t kMaxTokenBytes = 32768;

    // Binds the tokenizer to `stream`, which must outlive its use, and starts at line 1.
    void attach(ByteStream& stream);

    // Replaces `field` with the next field and returns the line its first byte stood on, or -1
    // when no field could be read: the input ended before one began, or an escape was broken by
    // a line break, a comma or the end of the input (`field` then holds what came before it).
    // A field that the end of the input cuts short is delivered; the next call gives -1. The
    // view stays valid until the next read: most fields are handed out straight from the
    // stream's buffer, without a copy.
    int readField(std::string_view& field);

    // Reads fields up to and including the first one equal to `target`. 0 when it was found,
    // -1 when the input ended (or an escape broke) first.
    int skipTo(std::string_view target);

    int line() const { return line_; }
    // Where the first byte of the last field read stood; the column counts bytes from 1 since
    // the last line feed that counted as a line.
    TextPosition position() const { return position_; }
    // Where the input ended, or the next field would begin.
    TextPosition here() const;
    // What stopped the last read that gave -1, as an error names it: the end of the file, or an
    // escape broken by a delimiter (the input goes on after it).
    const char* stopText() const;

  private:
    bool skipBlanks();
    bool takeWholeField(std::string_view& field);
    int readAssembled(int fieldLine);
    bool appendPlainRun(std::string& token);
    bool appendEscape(std::string& token);

    void startLineAfter(std::uint64_t lineFeedOffset) { lineStart_ = lineFeedOffset + 1; }

    ByteStream* stream_ = nullptr;
    int line_ = 0;
    std::uint64_t lineStart_ = 0;  // stream offset of the current line's first byte
    TextPosition position_;
    bool brokenEscape_ = false;
    std::string assembled_;  // a field cut by the buffer's end, or holding an escape
};

}  // namespace wemb
