// A fresh pseudo-terminal for one test: the test holds the master (the far end of the line);
// the slave is registered in the port table so a CComPort can open it by number.
#pragma once

#include <termios.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vxl::test {

class TestPty {
  public:
    TestPty();
    ~TestPty();
    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    bool ok() const { return master_ >= 0; }
    int portNumber() const { return portNumber_; }
    const std::string& slavePath() const { return slavePath_; }

    // Sends bytes towards the port.
    bool Send(const std::vector<uint8_t>& bytes);
    // What the port sent: reads until `count` bytes came or `timeoutMs` passed.
    std::vector<uint8_t> Receive(size_t count, int timeoutMs);
    // The output speed the port set on its end of the line.
    speed_t PortSpeed() const;
    // Hangs up the line, as an unplugged adapter does.
    void CloseMaster();

  private:
    int master_ = -1;
    std::string slavePath_;
    int portNumber_ = -1;
};

// Checks `condition` every millisecond until it holds or `timeoutMs` passed.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 2000);

// `count` bytes 0, 1, 2, ... (mod 256).
std::vector<uint8_t> CountingBytes(size_t count);

}  // namespace vxl::test
