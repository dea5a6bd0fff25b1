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
  Saved,         // silent, as a successful save is
  NoFileName,    // "请选择文件：", nothing written
  NoFolder,      // "请选择保存目录：", nothing written
  SameAsSource,  // the target is the source file itself: nothing written
  WriteFailed,   // "保存失败：" and the target path; an earlier document stays
  TooLarge,      // past the runtime's 2 GiB limit: refused, nothing written
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
// header, no terminator) to folder\name.doc, replacing an existing file
// unless that file is the source (a text file read as a spreadsheet may
// well be named .doc).
SaveOutcome SaveDocument(const std::string& fileNameBox, const std::string& folderBox,
                         std::string_view body, const std::string& sourcePath);

// Whether both names reach one existing file, however each is spelled: the
// files are compared, not the texts.
bool IsSameFile(const std::string& aGbk, const std::string& bGbk);

// folder + "\" + name + ".doc", as the product forms it (a folder that ends
// with a backslash, like a drive root, gives two in a row).
std::string DocumentTargetPath(const std::string& folder, const std::string& baseName);

// Writes the bytes into a new file beside the target and puts that in the
// target's place only once every byte is written, on the disk and the file
// closed. False on failure, and for a body past kMaxDocumentBytes: then the
// temporary file is gone again and an earlier file of the target's name is
// exactly as it was.
bool WriteDocumentFile(const std::string& pathGbk, std::string_view body);

// The temporary file of a save, the attempt-th name tried (from 1): the
// target's own name with a suffix, so it is in the same folder and the
// move into place stays on one volume.
std::string TemporaryDocumentPath(const std::string& targetPath, int attempt);
constexpr int kTemporaryNameAttempts = 16;

// The message for a target that is the source itself, naming the target.
std::string SameAsSourceMessage(const std::string& targetPath);

// The message for a body past kMaxDocumentBytes, naming the target.
std::string TooLargeMessage(const std::string& targetPath);

}  // namespace qx::app
