#include "app/Messages.h"

namespace wemb {
namespace {

std::string_view rawText(MessageId id) {
    switch (id) {
        case MessageId::ReadFailed:
            return "ﾌｧｲﾙ %1の読み込みに失敗しました";
        case MessageId::InitialOutOfRange:
            return "番号初期値が範囲外です\n   実行を中止します";
        case MessageId::StepOutOfRange:
            return "番号ステップ値が範囲外です\n   実行を中止します";
        case MessageId::Finished:
            return "処理が終わりました";
        case MessageId::WriteFailed:
            return "ﾌｧｲﾙ %1の書き込みに失敗しました";
    }
    return {};
}

}  // namespace

std::string messageText(MessageId id, std::string_view file) {
    std::string text(rawText(id));
    for (std::size_t at = text.find("%1"); at != std::string::npos;
         at = text.find("%1", at + file.size())) {
        text.replace(at, 2, file);
    }
    return text;
}

}  // namespace wemb
