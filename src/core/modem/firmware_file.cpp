#include "modem/firmware_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

#include "util/format.h"
#include "util/input_file.h"
#include "util/keystream.h"
#include "util/result_codes.h"

namespace vxl {

namespace {

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

}  // namespace

int WriteWholeFile(const std::string& path, const std::string& content) {
    // Through a temporary file and a rename, so a failed write never leaves half a file.
    std::string temp = path + Format(".tmp%ld", static_cast<long>(::getpid()));
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) return FileErrorFromErrno(errno);
    int err = 0;
    if (std::fwrite(content.data(), 1, content.size(), file) != content.size()) err = ErrnoOr(EIO);
    if (std::fclose(file) != 0 && err == 0) err = ErrnoOr(EIO);
    if (err == 0 && std::rename(temp.c_str(), path.c_str()) != 0) err = ErrnoOr(EIO);
    if (err != 0) {
        std::remove(temp.c_str());
        return FileErrorFromErrno(err);
    }
    return rc::kOk;
}

}  // namespace vxl

CFirmwareFile::CFirmwareFile(std::string fileName) : fileName_(std::move(fileName)) {}

CFirmwareFile::CFirmwareFile(const CFirmwareFile& other)
    : fileName_(other.fileName_),
      revision_(other.revision_),
      text_(other.text_),
      recordCount_(other.recordCount_),
      cursor_(0),
      startAddress_(other.startAddress_),
      problem_(other.problem_),
      dataRecordCount_(other.dataRecordCount_),
      lastRecordType_(other.lastRecordType_) {}

CFirmwareFile& CFirmwareFile::operator=(const CFirmwareFile& other) {
    if (this != &other) {
        fileName_ = other.fileName_;
        revision_ = other.revision_;
        text_ = other.text_;
        recordCount_ = other.recordCount_;
        cursor_ = 0;
        startAddress_ = other.startAddress_;
        problem_ = other.problem_;
        dataRecordCount_ = other.dataRecordCount_;
        lastRecordType_ = other.lastRecordType_;
    }
    return *this;
}

int CFirmwareFile::ReadUpgradeFile() {
    if (fileName_.empty()) return vxl::rc::kMissingArgument;
    std::string content;
    vxl::InputFileResult read = vxl::ReadInputFile(fileName_, vxl::kMaxUpgradeFileBytes, content);
    if (read.code != vxl::rc::kOk) {
        SetText(std::string());
        problem_ = read.reason;
        if (read.code == vxl::rc::kTooManyBytes) {
            problem_ = "the file is too large for firmware";
            return vxl::rc::kCorruptFirmware;
        }
        return read.code;
    }
    SetText(std::move(content));
    Scramble();
    return Parse();
}

int CFirmwareFile::Parse() {
    vxl::SrecordScan scan = vxl::ScanSrecordText(text_.data(), text_.size());
    recordCount_ = scan.records;
    revision_ = scan.revision;
    startAddress_ = scan.startAddress;
    problem_ = scan.problem;
    dataRecordCount_ = scan.dataRecords;
    lastRecordType_ = scan.lastType;
    return scan.result;
}

void CFirmwareFile::Scramble() {
    vxl::ApplyKeystream(reinterpret_cast<uint8_t*>(text_.data()), text_.size());
}

int CFirmwareFile::WriteUpgradeFile(const std::string& path) const {
    CFirmwareFile scrambled(*this);
    scrambled.Scramble();
    return vxl::WriteWholeFile(path, scrambled.text_);
}

void CFirmwareFile::SetText(std::string text) {
    text_ = std::move(text);
    cursor_ = 0;
    recordCount_ = 0;
    revision_ = 0.0f;
    startAddress_ = 0;
    problem_.clear();
    dataRecordCount_ = 0;
    lastRecordType_ = 0;
}

std::string CFirmwareFile::DownloadProblem() const {
    if (dataRecordCount_ == 0) return "the file holds no S1 data records";
    if (lastRecordType_ != '9') return "the file does not end with an S9 record";
    return std::string();
}

bool CFirmwareFile::HasNextRecord() const {
    return cursor_ < text_.size();
}

bool CFirmwareFile::NextRecord(std::string& record, int& length) {
    record.clear();
    length = 0;
    size_t left = text_.size() - cursor_;
    if (cursor_ >= text_.size() || left < 4 || text_[cursor_] != 'S') return false;
    int hexCount = vxl::SrecordHexByte(text_.data(), cursor_ + 2);
    if (hexCount < 0) return false;
    size_t count = static_cast<size_t>(hexCount);
    if (2 * count + 6 > left) return false;
    record.assign(text_, cursor_, 2 * count + 4);
    record += "\r\n";
    length = static_cast<int>(2 * count + 7);
    cursor_ += 2 * count + 6;
    return true;
}
