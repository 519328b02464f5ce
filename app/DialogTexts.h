#pragma once
// Every text the dialogs show, in UTF-8, in one place for both toolkits. The Windows resource
// script is generated from this file when the program is built (cmake/ResourceTexts.cmake turns
// each text into UTF-16 escapes), so the two dialogs cannot drift apart. Keep each text a single
// literal on the line of its name (the version is filled in there too).

#include "Version.h"

namespace wemb::texts {

// clang-format off

// Dialog template 102.
inline constexpr const char* mainTitle = "Wemb Ver." WEMB_VERSION "（Quil 部品番号振り付けソフト)";
inline constexpr const char* execute = "実行(&E)";
inline constexpr const char* fileLabel = "ﾌｧｲﾙ(&F)";
inline constexpr const char* browse = "参照(&R)...";
inline constexpr const char* autonumLocked = "部品番号のない部品に、位置順の部品番号を振る(Autonum-&LockedMode)";
inline constexpr const char* autonumOriginal = "すべての部品の部品番号を、位置順に振りなおす(&Autonum-Original)";
inline constexpr const char* reNum = "すべての部品の部品番号を、順序を保存して振りなおす(Re&Num)";
inline constexpr const char* initialNumberLabel = "番号初期値(&I)\n   1～1000";
inline constexpr const char* stepLabel = "番号ステップ数(&S)\n   1～20";
inline constexpr const char* quit = "終了(&Q)";
inline constexpr const char* byPosition = "位置による振り直しを行う";
inline constexpr const char* dependenceName = "部品名のない部品は処理しない(Autonum-&DependenceNameMode)";
inline constexpr const char* fontFace = "ＭＳ Ｐゴシック";

// Dialog template 100, the version box, and string 101, its item in the system menu.
inline constexpr const char* aboutMenu = "ﾊﾞｰｼﾞｮﾝ情報(Wemb) (&A)...";
inline constexpr const char* aboutTitle = "ﾊﾞｰｼﾞｮﾝ情報 Wemb";
inline constexpr const char* version = "Wemb Version " WEMB_VERSION "";
inline constexpr const char* creditName = "Quil 部品番号振り付けソフト";
inline constexpr const char* creditQt = "Qt 6 版 (Linux ほか)";
inline constexpr const char* creditWindows = "Windows 版";
inline constexpr const char* creditCopyright = "Copyright (C) The Wemb developers";
inline constexpr const char* creditContact = "ご意見・不具合は配布元までお寄せください";

// The file dialog of Browse.
inline constexpr const char* dataFileFilter = "Quil Files (*.ce2)";
// clang-format on

}  // namespace wemb::texts
