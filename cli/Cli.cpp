#include "cli/Cli.h"

#include <algorithm>
#include <string_view>

#include "app/Conversion.h"
#include "app/ReaderWorksheet.h"
#include "app/Replacement.h"
#include "app/SaveDocument.h"
#include "runtime/encoding/Gbk.h"
#include "reader/Workbook.h"
#include "runtime/LeadByte.h"

namespace qx::cli {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
constexpr bool kNativeIsGbk = true;
#else
constexpr char kSeparator = '/';
constexpr bool kNativeIsGbk = false;
#endif

// Messages are put together in GBK, the program's code page (its literals
// are GBK); the terminal gets them in its own encoding. The reader speaks
// UTF-8.
std::string ToTerminal(const std::string& gbk) { return kNativeIsGbk ? gbk : gbk::ToUtf8(gbk); }
std::string GbkFromUtf8(const std::string& utf8) {
  std::string out;
  gbk::FromUtf8(utf8, &out);
  return out;
}
// For messages only: what GBK cannot hold shows as '?'.
std::string NativeForMessage(const std::string& native) {
  return kNativeIsGbk ? native : GbkFromUtf8(native);
}
// A native argument as GBK; false when GBK cannot hold it.
bool NativeToGbk(const std::string& native, std::string* out) {
  if (kNativeIsGbk) {
    *out = native;
    return true;
  }
  return gbk::FromUtf8(native, out);
}

const char* const kUsage =
    "用法：quillox-cli [--auto] [--replace 原文 替换为]... [--sheet 序号|名称] [-o 目录 | --stdout] 文件...\n"
    "      quillox-cli --list-sheets 文件...\n";

const char* const kHelp =
    "把题库表格（.xlsx、.xls、.ods、.csv）的一个工作表（默认第一个）转换成\n"
    "文档文本，保存为“<文件名>.doc”。\n"
    "\n"
    "  --auto               自动替换：把单选题、多选题等九个题型词加上【】（一次）\n"
    "  --replace 原文 替换为  手动替换：全部替换（区分大小写）；可多次给出，按顺序执行\n"
    "  -o 目录              文档保存到该目录（默认：当前目录）\n"
    "  --stdout             文档写到标准输出，不保存文件\n"
    "  --sheet 序号|名称     转换这个工作表：序号从 1 起，按工作簿中的顺序；或工作表名称\n"
    "  --list-sheets        只列出每个工作表的序号和名称，不转换；读不了的工作表\n"
    "                       照样列出，原因写到标准错误\n"
    "  --help               显示本说明\n"
    "  --version            显示版本\n"
    "\n"
    "退出状态：0 全部转换成功；1 有文件失败（其余文件照常转换）；2 用法错误\n"
    "（包括 --sheet 指定的工作表不存在）。\n";

std::string BaseNameNative(const std::string& path) {
#ifdef _WIN32
  // GBK: only a whole character separates, never a second byte 0x5C.
  size_t back = LastCharacterAt(path, '\\'), forward = LastCharacterAt(path, '/');
  size_t cut = back == std::string::npos ? forward
               : forward == std::string::npos ? back
                                              : std::max(back, forward);
#else
  size_t cut = path.find_last_of('/');
#endif
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string JoinNative(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == kSeparator || dir.back() == '/') return dir + name;
  return dir + kSeparator + name;
}

void Line(FILE* err, const std::string& text) {
  fputs(text.c_str(), err);
  fputc('\n', err);
}

// A file argument as the GBK path the reader opens. False with a message.
bool FilePathGbk(const std::string& file, std::string* pathGbk, std::string* message) {
  if (NativeToGbk(file, pathGbk)) return true;
  *message = "无法处理文件“" + NativeForMessage(file) + "”：文件名含有 GBK 无法表示的字符";
  return false;
}

// Standard output in large pieces: a document is megabytes of short cells.
struct PieceWriter {
  static constexpr size_t kPieceBytes = 64 * 1024;
  FILE* out;
  std::string piece;
  bool failed = false;

  void Flush() {
    if (!failed && fwrite(piece.data(), 1, piece.size(), out) != piece.size()) failed = true;
    piece.clear();
  }
  void Append(const char* bytes, size_t n) {
    if (piece.size() + n > kPieceBytes) Flush();
    piece.append(bytes, n);
  }
};

// What became of one file.
enum class Outcome { Done, Failed, NoSuchSheet };

// The messages of a file that opened nothing, each naming the file once.
std::string RefusedMessage(const std::string& pathGbk, const reader::OpenFailure& why) {
  return "无法读取文件“" + pathGbk + "”：" + GbkFromUtf8(reader::OpenFailureReason(why));
}
std::string NoSuchSheetMessage(const std::string& pathGbk, const app::ReaderWorksheet& sheet) {
  std::string message = "文件“" + pathGbk + "”中没有工作表“" + GbkFromUtf8(sheet.sheetChoice) +
                        "”；现有的工作表：";
  for (size_t i = 0; i < sheet.book.sheets.size(); ++i) {
    if (i) message += "、";
    message += std::to_string(i + 1) + " " + GbkFromUtf8(sheet.book.sheets[i].name);
  }
  return message;
}
Outcome Failed(const std::string& pathGbk, const app::ReaderWorksheet& sheet,
               const app::OpenSheetFailure& why, std::string* message) {
  if (why.code == app::OpenSheetCode::kNoSuchSheet) {
    *message = NoSuchSheetMessage(pathGbk, sheet);
    return Outcome::NoSuchSheet;
  }
  *message = RefusedMessage(pathGbk, why.file);
  return Outcome::Failed;
}

// One file: convert, replace, save or print. Anything but Done comes with
// a message line.
Outcome ConvertOne(const Options& o, const std::string& file, FILE* out, std::string* message) {
  std::string pathGbk;
  if (!FilePathGbk(file, &pathGbk, message)) return Outcome::Failed;
  app::ReaderWorksheet sheet;
  sheet.sheetChoice = o.sheet;
  std::string body;
  app::OpenSheetFailure why;
  if (o.toStdout && o.steps.empty()) {
    // Nothing to replace: the text goes out in pieces as it is built and is
    // never held whole. A conversion fails only before its first piece.
    PieceWriter writer{out, {}, false};
    writer.piece.reserve(PieceWriter::kPieceBytes);
    app::TextSink sink = {[](void* self, const char* bytes, size_t n) {
                            static_cast<PieceWriter*>(self)->Append(bytes, n);
                          },
                          &writer};
    if (!app::ConvertWorksheet(app::MakeReaderWorksheetSource(&sheet), pathGbk, sink, &why))
      return Failed(pathGbk, sheet, why, message);
    writer.Flush();
    if (writer.failed || fflush(out) != 0) {
      *message = "写标准输出失败";
      return Outcome::Failed;
    }
    return Outcome::Done;
  }
  if (!app::ConvertWorksheetToText(app::MakeReaderWorksheetSource(&sheet), pathGbk, &body, &why))
    return Failed(pathGbk, sheet, why, message);
  bool autoDone = false;
  for (const Step& step : o.steps) {
    if (step.automatic) {
      if (autoDone) continue;  // the automatic replacement runs once
      body = app::AutoReplace(body);
      autoDone = true;
    } else {
      body = app::ManualReplace(body, step.from, step.to);
    }
  }
  if (o.toStdout) {
    if (fwrite(body.data(), 1, body.size(), out) != body.size() || fflush(out) != 0) {
      *message = "写标准输出失败";
      return Outcome::Failed;
    }
    return Outcome::Done;
  }
  std::string nameGbk;
  NativeToGbk(BaseNameNative(file), &nameGbk);
  std::string docName = app::DocumentBaseName(nameGbk) + ".doc";
  std::string dirGbk;
  if (!NativeToGbk(o.outputDir, &dirGbk)) {
    *message = "输出目录名含有 GBK 无法表示的字符";
    return Outcome::Failed;
  }
  std::string target = JoinNative(dirGbk, docName);
  if (body.size() > app::kMaxDocumentBytes) {
    *message = app::TooLargeMessage(target);
    return Outcome::Failed;
  }
  if (app::IsSameFile(target, pathGbk)) {
    *message = "没有保存：" + target + " 就是源文件本身，保存会覆盖它（请用 -o 另选一个目录）";
    return Outcome::Failed;
  }
  if (!app::WriteDocumentFile(target, body)) {
    *message = "保存失败：" + target;
    return Outcome::Failed;
  }
  return Outcome::Done;
}

// One line per sheet: its number, a tab, its name (in the terminal's
// encoding); a sheet that cannot be read is listed as well, and why it
// cannot be goes to `err`. False with a message when the file cannot be
// read.
bool ListSheets(const std::string& file, FILE* out, FILE* err, std::string* message) {
  std::string pathGbk;
  if (!FilePathGbk(file, &pathGbk, message)) return false;
  reader::Workbook book;
  reader::OpenFailure why;
  if (!reader::OpenWorkbookFile(pathGbk, &book, &why, reader::BadSheets::KeepListed)) {
    *message = RefusedMessage(pathGbk, why);
    return false;
  }
  for (size_t i = 0; i < book.sheets.size(); ++i) {
    const reader::Sheet& sheet = book.sheets[i];
    std::string name = kNativeIsGbk ? GbkFromUtf8(sheet.name) : sheet.name;
    std::string line = std::to_string(i + 1) + "\t" + name + "\n";
    fputs(line.c_str(), out);
    if (!sheet.failure.empty()) {
      const reader::OpenFailure lost = {reader::OpenFailureCode::kUnreadableContent, sheet.failure};
      Line(err, ToTerminal("quillox-cli: " + RefusedMessage(pathGbk, lost)));
    }
  }
  return true;
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options* o, std::string* error) {
  bool outputGiven = false, optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.empty() || a[0] != '-' || a == "-") {
      o->files.push_back(a);
    } else if (a == "--") {
      optionsEnded = true;
    } else if (a == "--help" || a == "-h") {
      o->help = true;
    } else if (a == "--version") {
      o->version = true;
    } else if (a == "--auto") {
      o->steps.push_back({true, "", ""});
    } else if (a == "--replace") {
      if (i + 2 >= args.size()) {
        *error = "--replace 需要两个参数：原文 替换为";
        return false;
      }
      Step s{false, "", ""};
      if (!NativeToGbk(args[i + 1], &s.from) || !NativeToGbk(args[i + 2], &s.to)) {
        *error = "--replace 的文本含有 GBK 无法表示的字符";
        return false;
      }
      o->steps.push_back(s);
      i += 2;
    } else if (a == "-o" || a == "--output") {
      if (i + 1 >= args.size()) {
        *error = "-o 需要一个目录";
        return false;
      }
      o->outputDir = args[++i];
      outputGiven = true;
    } else if (a == "--stdout") {
      o->toStdout = true;
    } else if (a == "--sheet") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        *error = "--sheet 需要一个工作表序号或名称";
        return false;
      }
      o->sheet = kNativeIsGbk ? gbk::ToUtf8(args[++i]) : args[++i];
    } else if (a == "--list-sheets") {
      o->listSheets = true;
    } else {
      *error = "未知选项：" + NativeForMessage(a);
      return false;
    }
  }
  if (o->help || o->version) return true;
  if (outputGiven && o->toStdout) {
    *error = "-o 和 --stdout 不能同时使用";
    return false;
  }
  if (o->files.empty()) {
    *error = "没有给出要转换的文件";
    return false;
  }
  return true;
}

int RunCli(const std::vector<std::string>& args, FILE* out, FILE* err) {
  Options o;
  std::string error;
  if (!ParseOptions(args, &o, &error)) {
    Line(err, ToTerminal("quillox-cli: " + error));
    fputs(ToTerminal(kUsage).c_str(), err);
    return kUsageError;
  }
  if (o.help) {
    fputs(ToTerminal(kUsage).c_str(), out);
    fputs(ToTerminal(kHelp).c_str(), out);
    return kAllConverted;
  }
  if (o.version) {
    fputs("quillox-cli 1.0\n", out);
    return kAllConverted;
  }
  int status = kAllConverted;
  if (o.listSheets) {
    for (const std::string& file : o.files) {
      std::string message;
      // Several files: each list under its file's name.
      if (o.files.size() > 1) fprintf(out, "%s:\n", file.c_str());
      if (!ListSheets(file, out, err, &message)) {
        Line(err, ToTerminal("quillox-cli: " + message));
        status = kSomeFailed;
      }
    }
    return status;
  }
  for (const std::string& file : o.files) {
    std::string message;
    Outcome outcome = ConvertOne(o, file, out, &message);
    if (outcome == Outcome::Done) continue;
    Line(err, ToTerminal("quillox-cli: " + message));
    // A sheet that is not there is the caller's mistake, as a bad option
    // is; the other files are still converted.
    if (outcome == Outcome::NoSuchSheet) {
      status = kUsageError;
    } else if (status != kUsageError) {
      status = kSomeFailed;
    }
  }
  return status;
}

}  // namespace qx::cli
