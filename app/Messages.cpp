#include "app/Messages.h"

namespace wemb {
namespace {

// The texts by message; the Windows string table is generated from these lines.
constexpr const char* readFailed = "ﾌｧｲﾙ %1の読み込みに失敗しました";
constexpr const char* initialOutOfRange = "番号初期値が範囲外です\n   実行を中止します";
constexpr const char* stepOutOfRange = "番号ステップ値が範囲外です\n   実行を中止します";
constexpr const char* finished = "処理が終わりました";
constexpr const char* writeFailed = "ﾌｧｲﾙ %1の書き込みに失敗しました";

std::string_view rawText(MessageId id) {
    switch (id) {
        case MessageId::ReadFailed:
            return readFailed;
        case MessageId::InitialOutOfRange:
            return initialOutOfRange;
        case MessageId::StepOutOfRange:
            return stepOutOfRange;
        case MessageId::Finished:
            return finished;
        case MessageId::WriteFailed:
            return writeFailed;
    }
    return {};
}

}  // namespace

std::string readFailureReason(const std::optional<FileError>& error) {
    if (!error || error->kind == FileErrorKind::CannotOpen) {
        return {};
    }
    return describe(*error);
}

std::string messageText(MessageId id, std::string_view file) {
    std::string text(rawText(id));
    for (std::size_t at = text.find("%1"); at != std::string::npos;
         at = text.find("%1", at + file.size())) {
        text.replace(at, 2, file);
    }
    return text;
}

}  // namespace wemb
