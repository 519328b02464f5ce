#include "app/Messages.h"

#include <gtest/gtest.h>

namespace wemb {
namespace {

TEST(Messages, TextsAreTheProgramsOwn) {
    const struct {
        MessageId id;
        std::string file, text;
    } cases[] = {
        {MessageId::ReadFailed, "amp.CE2", "ﾌｧｲﾙ amp.CE2の読み込みに失敗しました"},
        {MessageId::InitialOutOfRange, "", "番号初期値が範囲外です\n   実行を中止します"},
        {MessageId::StepOutOfRange, "", "番号ステップ値が範囲外です\n   実行を中止します"},
        {MessageId::Finished, "", "処理が終わりました"},
        {MessageId::WriteFailed, "/d/amp.CE2-01", "ﾌｧｲﾙ /d/amp.CE2-01の書き込みに失敗しました"},
        // A name that itself holds "%1" is put in once, not expanded again.
        {MessageId::ReadFailed, "%1.CE2", "ﾌｧｲﾙ %1.CE2の読み込みに失敗しました"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(messageText(c.id, c.file), c.text) << static_cast<int>(c.id);
    }
}

}  // namespace
}  // namespace wemb
