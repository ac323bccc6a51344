#include "sim/lib/boot_loader.h"

#include <cstdlib>

#include "sim/lib/srecord.h"
#include "util/format.h"

namespace vxl::sim {

namespace {

constexpr char kLoadAnswer[] = "Load...";  // exactly the 7 bytes the host waits for

bool IsHeaderOrEnd(char type) {
    return type == '0' || type == '9';
}

}  // namespace

LoaderReply BootLoader::Receive(uint8_t byte) {
    const char c = static_cast<char>(byte);
    switch (state_) {
        case State::kStalled:
            return {};
        case State::kAwaitLineFeed:
            if (c != '\n') return {};
            state_ = State::kPrompt;
            return {faults_.loaderMemoryCheckFails
                        ? "\r\nKTR F/W Loader 1.2\r\nMemory check FAILED at 8000\r\n?"
                        : "\r\nKTR F/W Loader 1.2\r\nMemory check PASS\r\n?"};
        case State::kRecordStart:
            if (c == 'S') {
                prefix_ = "S";
                state_ = State::kRecordPrefix;
                return {};
            }
            if (c == '\r' || c == '\n') return {};
            state_ = State::kPrompt;  // not a record: a loader command line
            [[fallthrough]];
        case State::kPrompt:
            if (c == '\r') return {};
            if (c != '\n') {
                if (line_.size() < 80) line_ += c;
                return {};
            }
            {
                const std::string line = line_;
                line_.clear();
                return OnLine(line);
            }
        case State::kRecordPrefix:
            prefix_ += c;
            if (prefix_.size() < 3) return {};
            return OnPrefixComplete();
        case State::kRecordBody:
            if (c != '\n') {
                if (body_.size() < 600) body_ += c;
                return {};
            }
            return OnRecordComplete();
    }
    return {};
}

LoaderReply BootLoader::OnLine(const std::string& line) {
    if (line == "L") {
        pending_.clear();
        downloadComplete_ = false;
        records_ = 0;
        badRecords_ = 0;
        state_ = State::kRecordStart;
        return {kLoadAnswer};
    }
    if (line == "P") return Store();
    if (line.size() > 2 && line[0] == 'G' && line[1] == ' ') {
        char* end = nullptr;
        const long address = std::strtol(line.c_str() + 2, &end, 16);
        if (end != nullptr && *end == '\0' && address >= 0 && address <= 0xFFFF) {
            LoaderReply reply;
            reply.start = true;
            reply.startAddress = static_cast<int>(address);
            return reply;
        }
    }
    if (line.empty()) return {};
    return {"\r\nUnknown command\r\n?"};
}

LoaderReply BootLoader::OnPrefixComplete() {
    body_.clear();
    state_ = State::kRecordBody;
    if (faults_.loaderStallAfterRecords > 0 && records_ >= faults_.loaderStallAfterRecords) {
        state_ = State::kStalled;
        return {};
    }
    // Header and end records are sent on without a pause; data records wait for the '.'.
    if (IsHeaderOrEnd(prefix_[1])) return {};
    return {"."};
}

LoaderReply BootLoader::OnRecordComplete() {
    std::string body = body_;
    if (!body.empty() && body.back() == '\r') body.pop_back();
    ++records_;
    const char type = prefix_[1];
    std::string text;
    if (IsHeaderOrEnd(type)) {
        // The host repeats the type digit and the first count digit of these records.
        const bool repeated = body.size() >= 2 && body[0] == prefix_[1] && body[1] == prefix_[2];
        text = repeated ? "S" + body : std::string();
    } else {
        text = prefix_ + body;
    }
    SRecord record;
    if (text.empty() || !ParseSRecord(text, &record)) {
        ++badRecords_;
    } else if (record.type == '1') {
        for (size_t i = 0; i < record.data.size(); ++i)
            pending_.emplace_back((record.address + static_cast<int>(i)) & 0xFFFF, record.data[i]);
    }
    if (type != '9') {
        state_ = State::kRecordStart;
        return {};
    }
    state_ = State::kPrompt;
    if (badRecords_ > 0) return {Format("\r\nChecksum error in %d record(s)\r\n?", badRecords_)};
    downloadComplete_ = true;
    downloaded_ = pending_;
    if (faults_.loaderNoDoneAfterDownload) return {"\r\nFlash erase error\r\n?"};
    return {Format("\r\n%d records DONE\r\n?", records_)};
}

LoaderReply BootLoader::Store() {
    if (!downloadComplete_) return {"\r\nNo image to store\r\n?"};
    if (faults_.loaderNoDoneAfterStore) return {"\r\nEEPROM write error\r\n?"};
    LoaderReply reply;
    reply.store = !faults_.loaderDoneWithoutPass;
    reply.text = faults_.loaderDoneWithoutPass ? "\r\nDONE\r\nVerify FAILED\r\n?"
                                               : "\r\nDONE\r\nVerify PASS\r\n?";
    return reply;
}

}  // namespace vxl::sim
