// A firmware upgrade file (".fw") in memory: Motorola S-record text whose bytes are scrambled
// with the file keystream. The text is read and checked completely before a modem is touched,
// so an invalid file never starts a partial upgrade.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "modem/srecord_text.h"

namespace vxl {

// Writes a whole file through a temporary file and a rename; 0 or a file error code (901..914).
int WriteWholeFile(const std::string& path, const std::string& content);

// Larger files cannot hold firmware for a 16-bit address space.
constexpr size_t kMaxUpgradeFileBytes = 8u * 1024u * 1024u;

}  // namespace vxl

class CFirmwareFile {
  public:
    explicit CFirmwareFile(std::string fileName = std::string());
    // A copy starts with its cursor at the first record.
    CFirmwareFile(const CFirmwareFile& other);
    CFirmwareFile& operator=(const CFirmwareFile& other);
    ~CFirmwareFile() = default;

    // Reads the named file completely, unscrambles and parses it: 0, 57 (no file name), 87
    // (invalid S-record text, or too large for firmware) or a file error code (901..914; also
    // for what is not a regular file, or is empty). GetProblem then says what is wrong.
    int ReadUpgradeFile();
    // Fills record count, revision and start address from the text: 0 or 87. An empty text is
    // valid and has no records.
    int Parse();
    // Applies the keystream to the whole text in place (scrambling and unscrambling alike).
    void Scramble();
    // Writes the text scrambled to `path` (the text itself is left as it is): 0 or a file error.
    int WriteUpgradeFile(const std::string& path) const;

    // Replaces the text (for text that does not come from an upgrade file); call Parse next.
    void SetText(std::string text);

    void ResetCursor() { cursor_ = 0; }
    // True while a record is left at the cursor.
    bool HasNextRecord() const;
    // The record at the cursor as its 2 x count + 4 characters followed by CR LF; `length` is
    // 2 x count + 7 (the record and its terminating zero). False at the end of the text or at
    // text that is not a record.
    bool NextRecord(std::string& record, int& length);

    const std::string& GetFileName() const { return fileName_; }
    float GetRevision() const { return revision_; }
    int GetStartAddress() const { return startAddress_; }
    int GetRecordCount() const { return recordCount_; }
    const std::string& GetText() const { return text_; }
    int GetLength() const { return static_cast<int>(text_.size()); }
    // Why the last Parse or ReadUpgradeFile refused the file (empty after success).
    const std::string& GetProblem() const { return problem_; }
    // Why valid text still cannot upgrade a modem (empty when it can): the loader reports the
    // end of a download only after an S9 record, and a file without S1 records holds no
    // firmware.
    std::string DownloadProblem() const;

  private:
    std::string fileName_;
    float revision_ = 0.0f;
    std::string text_;
    int recordCount_ = 0;
    size_t cursor_ = 0;
    int startAddress_ = 0;
    std::string problem_;
    int dataRecordCount_ = 0;
    char lastRecordType_ = 0;
};
