#pragma once
// Work of a start that waits on the system rather than on the window (layer-internal): reading the
// font configuration, which the first text measured needs, and connecting to the session bus, which
// screen readers' bridge needs when the window first shows. The application object begins both on
// worker threads while the toolkit starts, so that the window finds them done instead of doing them
// in turn. A system without such work has workers that do nothing.
#include <thread>

namespace kelvox {

class StartUpWork {
public:
    // Begins reading the font configuration, which needs no toolkit.
    StartUpWork();
    // Waits for every worker.
    ~StartUpWork();
    StartUpWork(const StartUpWork&) = delete;
    StartUpWork& operator=(const StartUpWork&) = delete;

    // Waits for the font configuration: the toolkit, once it has started, would otherwise read it a
    // second time beside the worker.
    void WaitForFonts();
    // Begins the connection to the session bus; the toolkit's application must exist.
    void ConnectSessionBus();

private:
    std::thread fonts_;
    std::thread bus_;
};

} // namespace kelvox
