#include "app/SaveDocument.h"

#include <string_view>

#include "runtime/Commands.h"
#include "runtime/FileOps.h"
#include "runtime/LeadByte.h"
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

std::string TemporaryDocumentPath(const std::string& targetPath, int attempt) {
  return targetPath + "~" + std::to_string(attempt) + ".tmp";
}

bool WriteDocumentFile(const std::string& pathGbk, std::string_view body) {
  // Narrowed to 32 bits such a size would become an empty or cut file,
  // written and reported as saved.
  if (body.size() > kMaxDocumentBytes) return false;
  // Written in place, the earlier document would be cut to nothing first
  // and a failure part-way (a full disk, a folder gone) would leave half of
  // the new one: the old one is replaced only by a complete file.
  const FileOps& files = Files();
  std::string temporary;
  void* file = nullptr;
  for (int attempt = 1; !file && attempt <= kTemporaryNameAttempts; ++attempt) {
    temporary = TemporaryDocumentPath(pathGbk, attempt);
    file = files.createNew(temporary.c_str());
  }
  if (!file) return false;
  bool ok = body.empty() || files.write(file, body.data(), static_cast<uint32_t>(body.size()));
  ok = ok && files.flush(file);
  ok = files.close(file) && ok;
  ok = ok && files.replace(temporary.c_str(), pathGbk.c_str());
  if (!ok) files.remove(temporary.c_str());
  return ok;
}

bool IsSameFile(const std::string& aGbk, const std::string& bGbk) {
  FileIdentity a, b;
  return !aGbk.empty() && !bGbk.empty() && Files().identify(aGbk.c_str(), &a) &&
         Files().identify(bGbk.c_str(), &b) && a.volume == b.volume && a.index == b.index;
}

std::string SameAsSourceMessage(const std::string& targetPath) {
  return "没有保存：文档会覆盖源文件本身。\r\n" + targetPath + "\r\n请用“输出目录”另选一个文件夹再保存。";
}

std::string TooLargeMessage(const std::string& targetPath) {
  return "文档超过 2 GiB，无法保存：" + targetPath;
}

SaveOutcome SaveDocument(const std::string& fileNameBox, const std::string& folderBox,
                         std::string_view body, const std::string& sourcePath) {
  // The name comes first, as the folder test comes after it.
  if (fileNameBox.empty()) return {SaveStatus::NoFileName, "", "请选择文件："};
  std::string name = DocumentBaseName(fileNameBox);
  if (folderBox.empty()) return {SaveStatus::NoFolder, "", "请选择保存目录："};
  std::string target = DocumentTargetPath(folderBox, name);
  if (IsSameFile(target, sourcePath))
    return {SaveStatus::SameAsSource, target, SameAsSourceMessage(target)};
  if (body.size() > kMaxDocumentBytes)
    return {SaveStatus::TooLarge, target, TooLargeMessage(target)};
  if (!WriteDocumentFile(target, body))
    return {SaveStatus::WriteFailed, target, "保存失败：" + target};
  return {SaveStatus::Saved, target, ""};
}

}  // namespace qx::app
