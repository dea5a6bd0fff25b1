#include "reader/OpenFailure.h"

#include <iterator>

namespace qx::reader {
namespace {

// In the order of OpenFailureCode, from kBadName.
const char* const kPhrases[] = {
    "文件名无效", "文件不存在", "没有读取权限", "文件正被其他程序占用", "无法打开文件",
    "不是普通文件", "无法取得文件大小", "文件太大（超过 1 GB）", "内存不足", "读取文件失败",
    "不是可识别的表格文件（支持 .xlsx、.xls、.ods、.csv）", "无法读取工作簿",
};
static_assert(std::size(kPhrases) == static_cast<size_t>(OpenFailureCode::kUnreadableContent),
              "a phrase for every code but kNone");

}  // namespace

std::string OpenFailureReason(const OpenFailure& failure) {
  if (!failure.detail.empty()) return failure.detail;
  const auto code = static_cast<size_t>(failure.code);
  if (code == 0 || code > std::size(kPhrases)) return "无法读取文件";
  return kPhrases[code - 1];
}

}  // namespace qx::reader
