#pragma once
// The program's icons: 128, the large one (a drawing sheet with a numbered part), and 129, a
// simpler one drawn for 16 pixels.

#include <QIcon>
#include <QPixmap>

namespace wemb {

inline constexpr int largeIconSize = 32;

// Both icons, every size, for the window and the task bar.
QIcon programIcon();
// Icon 128 at the size the about box shows it.
QPixmap largeIconPixmap();

}  // namespace wemb
