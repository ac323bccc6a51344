// Reading a file the operator named (upgrade, channel-table, backup, profile files) before any
// modem is touched: only regular files are read, never a FIFO, device or directory that could
// block or make no sense, and the reason for a refusal is kept for the message.
#pragma once

#include <cstddef>
#include <string>

#include "util/file_result.h"

namespace vxl {

// The code is 0, a file error 901..914, or rc::kTooManyBytes for an oversized file.
using InputFileResult = FileResult;

// Reads the whole of `path` into `content` (cleared on failure). Refuses what is not a regular
// file, an empty file and a file larger than `maxBytes`, without blocking on any of them.
InputFileResult ReadInputFile(const std::string& path, std::size_t maxBytes, std::string& content);

// The same for a reader that reports a code and a reason: 0, or the file's code with `reason`
// saying why it was refused.
int ReadInputFile(const std::string& path, std::size_t maxBytes, std::string& content,
                  std::string& reason);

}  // namespace vxl
