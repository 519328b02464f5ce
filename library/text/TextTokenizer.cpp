#include "library/text/TextTokenizer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace wemb {

namespace {

enum ByteClass : std::uint8_t {
    kPlain = 0,
    kBlank = 1,      // dropped in front of a field
    kDelimiter = 2,  // ends a field and is consumed with it
    kEscape = 4,
};

constexpr std::array<std::uint8_t, 256> makeClasses() {
    std::array<std::uint8_t, 256> classes{};
    classes[' '] = kBlank;
    classes['\t'] = kBlank;
    classes['\n'] = kBlank | kDelimiter;
    classes['\r'] = kBlank | kDelimiter;
    classes[','] = kDelimiter;
    classes['%'] = kEscape;
    return classes;
}

constexpr std::array<std::uint8_t, 256> kClasses = makeClasses();

// The byte below which every delimiter and escape lies, for the word-wide test below.
constexpr std::uint8_t kStopBound = '-';

constexpr bool stopsLieBelow(std::uint8_t bound) {
    for (std::size_t byte = bound; byte < kClasses.size(); ++byte) {
        if ((kClasses[byte] & (kDelimiter | kEscape)) != 0) {
            return false;
        }
    }
    return true;
}
static_assert(stopsLieBelow(kStopBound));

bool isBlank(int byte) {
    return (kClasses[static_cast<std::size_t>(byte)] & kBlank) != 0;
}
bool isDelimiter(int byte) {
    return (kClasses[static_cast<std::size_t>(byte)] & kDelimiter) != 0;
}

bool endsPlainRun(std::uint8_t byte) {
    return (kClasses[byte] & (kDelimiter | kEscape)) != 0;
}

constexpr std::uint64_t kEveryByte = 0x0101010101010101;
constexpr std::uint64_t kHighBits = 0x8080808080808080;

// The high bit set in each byte of `word` below `bound` (at most 0x80), and maybe in bytes above
// such a byte (the borrow runs upwards), never below one: the lowest marked byte is a true one.
std::uint64_t bytesBelow(std::uint64_t word, std::uint8_t bound) {
    return (word - kEveryByte * bound) & ~word & kHighBits;
}

// The length of the plain run that starts `bytes`: up to the first delimiter or escape. These
// all lie below kStopBound and few plain bytes do, so words of eight bytes are passed over while
// they hold no such byte (where words store their lowest byte first); from the first that does,
// the bytes are looked at one by one. A look-up per byte was most of a library's reading time.
std::size_t plainRunLength(std::span<const std::uint8_t> bytes) {
    std::size_t count = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; count + sizeof(std::uint64_t) <= bytes.size(); count += sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes.data() + count, sizeof word);
            if (const std::uint64_t low = bytesBelow(word, kStopBound); low != 0) {
                count += static_cast<std::size_t>(std::countr_zero(low)) / 8;
                break;
            }
        }
    }
    while (count < bytes.size() && !endsPlainRun(bytes[count])) {
        ++count;
    }
    return count;
}

bool isCSpace(unsigned char byte) {
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

int hexDigit(unsigned char byte) {
    if (byte >= '0' && byte <= '9') {
        return byte - '0';
    }
    if (byte >= 'a' && byte <= 'f') {
        return byte - 'a' + 10;
    }
    if (byte >= 'A' && byte <= 'F') {
        return byte - 'A' + 10;
    }
    return -1;
}

// The two characters of an escape read the way the editor reads them, as strtol with base 16
// would: leading white space and a sign are taken, conversion stops at the first character that
// is not a hexadecimal digit, and no digit at all gives 0. Only the low 8 bits are kept.
std::uint8_t escapedByte(unsigned char first, unsigned char second) {
    const std::array<unsigned char, 2> text{first, second};
    std::size_t at = 0;
    while (at < text.size() && isCSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    int value = 0;
    for (; at < text.size() && hexDigit(text[at]) >= 0; ++at) {
        value = value * 16 + hexDigit(text[at]);
    }
    return static_cast<std::uint8_t>((negative ? -value : value) & 0xFF);
}

}  // namespace

void TextTokenizer::attach(ByteStream& stream) {
    stream_ = &stream;
    line_ = 1;
    lineStart_ = stream.offset();
    position_ = TextPosition{};
}

const char* TextTokenizer::stopText() const {
    return brokenEscape_ ? "a broken escape (a \"%\" cut by a comma or line break)"
                         : "the end of the file";
}

TextPosition TextTokenizer::here() const {
    const std::uint64_t offset = stream_ ? stream_->offset() : lineStart_;
    return TextPosition{line_, static_cast<int>(offset - lineStart_) + 1};
}

// Blanks are passed over straight in the buffer, a block at a time; the stream is left at the
// first byte that is not blank. False when the input ends first.
bool TextTokenizer::skipBlanks() {
    for (;;) {
        const std::span<const std::uint8_t> buffered = stream_->buffered();
        if (buffered.empty()) {
            return false;
        }
        const std::uint64_t base = stream_->offset();
        std::size_t at = 0;
        for (; at < buffered.size() && isBlank(buffered[at]); ++at) {
            if (buffered[at] == '\n') {
                ++line_;
                startLineAfter(base + at);
            }
        }
        stream_->skip(at);
        if (at < buffered.size()) {
            return true;
        }
    }
}

// Takes the ordinary bytes that follow straight out of the buffer, up to the next delimiter,
// escape or the length cap. False when the buffer ran out first (the input may go on).
bool TextTokenizer::appendPlainRun(std::string& token) {
    const std::span<const std::uint8_t> buffered = stream_->buffered();
    const std::size_t room = kMaxTokenBytes - token.size();
    const std::size_t count = plainRunLength(buffered.first(std::min(room, buffered.size())));
    token.append(reinterpret_cast<const char*>(buffered.data()), count);
    stream_->skip(count);
    return count < buffered.size() || count == room;
}

// False when a delimiter or the end of the input comes within the two characters; the delimiter
// is then lost, and a line feed among them is not counted.
bool TextTokenizer::appendEscape(std::string& token) {
    const int first = stream_->get();
    if (first == ByteStream::kEnd || isDelimiter(first)) {
        return false;
    }
    const int second = stream_->get();
    if (second == ByteStream::kEnd || isDelimiter(second)) {
        return false;
    }
    token.push_back(static_cast<char>(
        escapedByte(static_cast<unsigned char>(first), static_cast<unsigned char>(second))));
    return true;
}

int TextTokenizer::readField(std::string_view& field) {
    field = {};
    brokenEscape_ = false;
    if (stream_ == nullptr) {
        return -1;
    }
    // Most fields start right after the delimiter of the one before, with no blank to skip.
    if (const std::span<const std::uint8_t> buffered = stream_->buffered();
        (buffered.empty() || isBlank(buffered.front())) && !skipBlanks()) {
        return -1;
    }
    position_ = here();
    const int fieldLine = line_;
    if (takeWholeField(field)) {
        return fieldLine;
    }
    const int line = readAssembled(fieldLine);
    field = assembled_;
    return line;
}

// The field as a view into the buffer, when the buffer holds it whole, up to its delimiter, with
// no escape and within the length cap; the delimiter is consumed. False when it does not: then
// nothing is taken.
bool TextTokenizer::takeWholeField(std::string_view& field) {
    const std::span<const std::uint8_t> buffered = stream_->buffered();
    const std::size_t count =
        plainRunLength(buffered.first(std::min(kMaxTokenBytes, buffered.size())));
    if (count == buffered.size() || count == kMaxTokenBytes || buffered[count] == '%') {
        return false;
    }
    field = std::string_view(reinterpret_cast<const char*>(buffered.data()), count);
    stream_->skip(count + 1);
    if (buffered[count] == '\n') {
        ++line_;
        startLineAfter(stream_->offset() - 1);
    }
    return true;
}

// The field gathered into assembled_, piece by piece: across buffers, escapes and the length
// cap.
int TextTokenizer::readAssembled(int fieldLine) {
    std::string& token = assembled_;
    token.clear();
    for (;;) {
        if (token.size() >= kMaxTokenBytes) {
            // The byte past the cap is lost with the rest of the field.
            if (stream_->get() == '\n') {
                ++line_;
                startLineAfter(stream_->offset() - 1);
            }
            return fieldLine;
        }
        if (!appendPlainRun(token)) {
            if (stream_->buffered().empty()) {
                return fieldLine;  // a field that the end of the input cuts short
            }
            continue;
        }
        if (token.size() >= kMaxTokenBytes) {
            continue;
        }
        // The run stopped at a delimiter or an escape, which is consumed.
        const int byte = stream_->get();
        if (byte == '%') {
            if (!appendEscape(token)) {
                brokenEscape_ = true;
                return -1;
            }
            continue;
        }
        if (byte == '\n') {
            ++line_;
            startLineAfter(stream_->offset() - 1);
        }
        return fieldLine;
    }
}

int TextTokenizer::skipTo(std::string_view target) {
    std::string_view field;
    while (readField(field) >= 0) {
        if (field == target) {
            return 0;
        }
    }
    return -1;
}

}  // namespace wemb
