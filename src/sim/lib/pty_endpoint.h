// The modem's end of a pseudo-terminal: the master side, with a symbolic link to the slave that
// the program opens like a serial port. Packet mode with EXTPROC makes the program's changes of
// line settings visible here; tcgetattr on the master tells the rate the program set.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vxl::sim {

class PtyEndpoint {
  public:
    PtyEndpoint() = default;
    ~PtyEndpoint();
    PtyEndpoint(const PtyEndpoint&) = delete;
    PtyEndpoint& operator=(const PtyEndpoint&) = delete;

    // Opens a fresh pseudo-terminal and, when `linkPath` is not empty, points a symbolic link
    // there at its slave (replacing an older link, never another kind of file).
    bool Open(const std::string& linkPath, std::string* error);
    // Closes the master (the program sees a hang-up) and removes the link.
    void Close();

    bool IsOpen() const { return master_ >= 0; }
    int fd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

    enum class ReadResult { kNothing, kData, kHostGone };
    // Appends what the program wrote; `settingsChanged` is set when a settings packet came.
    ReadResult Read(std::vector<uint8_t>* data, bool* settingsChanged);
    // Writes without blocking; returns the number of bytes the line took.
    size_t Write(const uint8_t* data, size_t length);
    // The rate the program set on its side (0 when it cannot be read).
    int HostBaud() const;
    // True while the program has the slave open.
    bool HostPresent() const;
    // Readable when someone opens the slave (an inotify descriptor; -1 if unavailable), and
    // the call that empties it.
    int OpenWatchFd() const { return openWatch_; }
    void DrainOpenWatch();

  private:
    int master_ = -1;
    int openWatch_ = -1;
    std::string slavePath_;
    std::string linkPath_;
};

}  // namespace vxl::sim
