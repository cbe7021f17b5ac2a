#pragma once
// Whether Qt Multimedia can load the backend a player would use. Without one, Qt ends the program the
// moment a player is made; a disc's menu may run where GStreamer is not installed, and must then only
// go without music.
#include <QString>

namespace kelvox {

// `backend` is a plugin key such as "gstreamer"; an empty one accepts any backend.
bool media_backend_available(const QString& backend);

} // namespace kelvox
