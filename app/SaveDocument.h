// Saving the body as "<name>.doc" in the output folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qx::app {

// The document's name from the file-name box: its last backslash-separated
// part with the extension cut at the last dot (a name without a dot stays
// whole): "D:\题库\第一章.xls" gives "第一章", "book.xlsx" gives "book".
// Empty when the box holds no name at all.
std::string DocumentBaseName(const std::string& fileNameBox);

enum class SaveStatus {
  Saved,        // silent, as a successful save is
  NoFileName,   // "请选择文件：", nothing written
  NoFolder,     // "请选择保存目录：", nothing written
  WriteFailed,  // "保存失败：" and the target path
  TooLarge,     // past the runtime's 2 GiB limit: refused, nothing written
};

// The largest body a document file can take: the runtime's byte set holds
// a signed 32-bit length after its 8-byte header. Reachable only by the
// 64-bit headless converter.
constexpr size_t kMaxDocumentBytes = static_cast<size_t>(INT32_MAX) - 8;

struct SaveOutcome {
  SaveStatus status;
  std::string targetPath;  // set once the name and folder are known
  std::string message;     // what to tell the user (title "信息："); empty on success
};

// Derives the name, checks the folder, writes the body's bytes exactly (no
// header, no terminator) to folder\name.doc, replacing an existing file.
SaveOutcome SaveDocument(const std::string& fileNameBox, const std::string& folderBox,
                         std::string_view body);

// folder + "\" + name + ".doc", as the product forms it (a folder that ends
// with a backslash, like a drive root, gives two in a row).
std::string DocumentTargetPath(const std::string& folder, const std::string& baseName);

// Writes the bytes through the runtime's file command; false on failure
// and for a body past kMaxDocumentBytes (nothing is written then).
bool WriteDocumentFile(const std::string& pathGbk, std::string_view body);

// The message for a body past kMaxDocumentBytes, naming the target.
std::string TooLargeMessage(const std::string& targetPath);

}  // namespace qx::app
