// A catalog that opens its finished record for writing again and again for a
// while after the take, each time writing the same text over it and closing it,
// with no pause between: the plug-in must never be the reason one of those opens
// fails. A refused open is counted, never retried. The loop runs on a thread of
// its own so that the viewer's window answers meanwhile; when it is over it logs
// "record reopened <path>: N opens, M refused".
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace catalog {

class RecordReopener {
public:
    RecordReopener(std::string path, std::string text, unsigned forMs);
    // Ends the loop early, if it still runs, and waits for it.
    ~RecordReopener();
    RecordReopener(const RecordReopener&) = delete;
    RecordReopener& operator=(const RecordReopener&) = delete;

    bool done() const { return done_.load(); }
    const std::string& path() const { return path_; }

private:
    void run(unsigned forMs);

    const std::string path_;
    const std::string text_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

}  // namespace catalog
