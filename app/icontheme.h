#pragma once

namespace app {

// Outside a desktop session (a bare X server, the offscreen platform) Qt knows no icon
// theme and may not look in the system's icon folders; the toolbar's pictures then come
// from the freedesktop theme the program is installed with.
void UseInstalledIconTheme();

} // namespace app
