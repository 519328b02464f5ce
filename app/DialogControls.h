#pragma once
// The identifiers of the dialogs' controls and resources, shared by both toolkits and their tests.
// The Windows resource script takes them from this file too (cmake/ResourceTexts.cmake), so keep
// each one a single `name = number;` line.

namespace wemb::control {

// Dialog template 102, in tab order.
inline constexpr int execute = 1;  // the default button
inline constexpr int fileField = 1001;
inline constexpr int browse = 1003;
inline constexpr int autonumLocked = 1009;  // first of the mode group
inline constexpr int autonumOriginal = 1010;
inline constexpr int reNum = 1011;
inline constexpr int initialNumber = 1006;
inline constexpr int initialArrows = 1005;
inline constexpr int step = 1008;
inline constexpr int stepArrows = 1007;
inline constexpr int quit = 2;           // also Esc and the close button
inline constexpr int byPosition = 1004;  // never shown, never read
inline constexpr int dependenceName = 1012;

// The system menu's item that opens the version box.
inline constexpr int aboutCommand = 16;

}  // namespace wemb::control

namespace wemb::resource {

inline constexpr int aboutDialog = 100;
inline constexpr int aboutMenuString = 101;
inline constexpr int mainDialog = 102;
inline constexpr int largeIcon = 128;
inline constexpr int smallIcon = 129;

}  // namespace wemb::resource
