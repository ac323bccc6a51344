// Faults the simulated modem can be told to show. Commands are counted from 1 since the plan was
// set (or since start-up); 0 switches a fault off.
#pragma once

#include <cstdint>

namespace vxl::sim {

struct FaultPlan {
    // With a command code (e.g. 0x1E, the command that stores the settings), the faults below
    // that name a K-th command or reply count only the commands of that code.
    int faultCommand = 0;
    int noReplyTo = 0;          // the k-th command gets no reply
    int wrongByteIn = 0;        // the k-th reply has a wrong byte ...
    int wrongBytePosition = 1;  // ... at this position (0..3)
    int excessBytesAfter = 0;   // the k-th reply is followed by extra bytes ...
    int excessByteCount = 1;    // ... this many
    int noiseBeforeReply = 0;   // the k-th reply is preceded by line noise ...
    int noiseByteCount = 3;     // ... this many bytes
    int stopAfter = 0;          // commands after the k-th get no reply
    int hangUpAfter = 0;        // the line is hung up (master closed) after the k-th reply
    int replyDelayMs = 0;       // every reply goes out this much later
    // After each change of the host's line rate, a reply frame sent at the host's previous rate
    // arrives this many ms later (a late answer to an earlier attempt); 0 = off.
    int lateReplyMs = 0;
    // Every read of this address answers with one bit of the value flipped, as a byte damaged
    // on the line would (0 = off).
    int damagedReadAddress = 0;
    // A write to this memory address stores another byte than the one sent (one bit flipped),
    // while the reply says the write went well; 0 = off.
    int wrongStoreAddress = 0;

    // Line conditions. A USB adapter's latency timer: bytes for the host are held until this
    // long after the first of them arrived (0 = passed on at once).
    int adapterLatencyMs = 0;
    // The modem's bytes go out this far apart beyond their wire time (0 = back to back).
    int dribbleMs = 0;

    // Boot loader faults.
    bool loaderMemoryCheckFails = false;  // banner without "PASS"
    bool loaderNoDoneAfterDownload = false;
    bool loaderNoDoneAfterStore = false;
    bool loaderDoneWithoutPass = false;  // store step: "DONE" but no "PASS"
    int loaderStallAfterRecords = 0;     // the loader stops answering after k records
};

}  // namespace vxl::sim
