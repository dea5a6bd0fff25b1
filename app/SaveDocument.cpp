#include "app/SaveDocument.h"

#include <string_view>

#include "runtime/Commands.h"
#include "runtime/LeadByte.h"
#include "runtime/Memory.h"
#include "runtime/Text.h"

namespace qx::app {

std::string DocumentBaseName(const std::string& fileNameBox) {
  // The last non-empty part between backslashes, as splitting the box at
  // its backslashes gives it (a trailing backslash leaves no empty part).
  void* parts = SplitTextBytes(fileNameBox.c_str(), "\\", -1);
  int32_t count = ArrayElementCount(parts);
  std::string name;
  if (count > 0) {
    const char* last = static_cast<char**>(ArrayElements(parts))[count - 1];
    name = last ? last : "";
  }
  FreeArray(parts, kTagText);

  // The last dot that is a character of its own: a GBK trail byte is never
  // taken for one.
  size_t dot = LastCharacterAt(name, '.');
  if (dot != std::string::npos) name.resize(dot);
  return name;
}

std::string DocumentTargetPath(const std::string& folder, const std::string& baseName) {
  return folder + "\\" + baseName + ".doc";
}

bool WriteDocumentFile(const std::string& pathGbk, std::string_view body) {
  // Narrowed to 32 bits such a size would become an empty or cut byte set,
  // written and reported as saved.
  if (body.size() > kMaxDocumentBytes) return false;
  void* bytes = MakeByteSet(body.data(), static_cast<int32_t>(body.size()));
  TaggedValue args[] = {MakeTextValue(pathGbk.c_str()), MakeByteSetValue(bytes)};
  TaggedValue result = CallCommand(WriteBytesToFile, 2, args);
  FreeMemory(bytes);
  return result.lo != 0;
}

std::string TooLargeMessage(const std::string& targetPath) {
  return "文档超过 2 GiB，无法保存：" + targetPath;
}

SaveOutcome SaveDocument(const std::string& fileNameBox, const std::string& folderBox,
                         std::string_view body) {
  // The name comes first, as the folder test comes after it.
  if (fileNameBox.empty()) return {SaveStatus::NoFileName, "", "请选择文件："};
  std::string name = DocumentBaseName(fileNameBox);
  if (folderBox.empty()) return {SaveStatus::NoFolder, "", "请选择保存目录："};
  std::string target = DocumentTargetPath(folderBox, name);
  if (body.size() > kMaxDocumentBytes)
    return {SaveStatus::TooLarge, target, TooLargeMessage(target)};
  if (!WriteDocumentFile(target, body))
    return {SaveStatus::WriteFailed, target, "保存失败：" + target};
  return {SaveStatus::Saved, target, ""};
}

}  // namespace qx::app
