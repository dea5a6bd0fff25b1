// Saving the body as "<name>.doc" in the output folder.
#pragma once

#include <string>

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
};

struct SaveOutcome {
  SaveStatus status;
  std::string targetPath;  // set once the name and folder are known
  std::string message;     // what to tell the user (title "信息："); empty on success
};

// Derives the name, checks the folder, writes the body's bytes exactly (no
// header, no terminator) to folder\name.doc, replacing an existing file.
SaveOutcome SaveDocument(const std::string& fileNameBox, const std::string& folderBox,
                         const std::string& body);

// folder + "\" + name + ".doc", as the product forms it (a folder that ends
// with a backslash, like a drive root, gives two in a row).
std::string DocumentTargetPath(const std::string& folder, const std::string& baseName);

// Writes the bytes through the runtime's file command; false on failure.
bool WriteDocumentFile(const std::string& pathGbk, const std::string& body);

}  // namespace qx::app
