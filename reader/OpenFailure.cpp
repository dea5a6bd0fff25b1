#include "reader/OpenFailure.h"

namespace qx::reader {
namespace {

struct Phrase {
  OpenFailureCode code;
  const char* text;
};

const Phrase kPhrases[] = {
    {OpenFailureCode::kBadName, "文件名无效"},
    {OpenFailureCode::kNotFound, "文件不存在"},
    {OpenFailureCode::kAccessDenied, "没有读取权限"},
    {OpenFailureCode::kInUse, "文件正被其他程序占用"},
    {OpenFailureCode::kCannotOpen, "无法打开文件"},
    {OpenFailureCode::kNotAFile, "不是普通文件"},
    {OpenFailureCode::kCannotSize, "无法取得文件大小"},
    {OpenFailureCode::kTooLarge, "文件太大（超过 1 GB）"},
    {OpenFailureCode::kOutOfMemory, "内存不足"},
    {OpenFailureCode::kReadFailed, "读取文件失败"},
    {OpenFailureCode::kNotAWorkbook, "不是可识别的表格文件（支持 .xlsx、.xls、.ods、.csv）"},
    {OpenFailureCode::kUnreadableContent, "无法读取工作簿"},
};

}  // namespace

std::string OpenFailureReason(const OpenFailure& failure) {
  if (!failure.detail.empty()) return failure.detail;
  for (const Phrase& p : kPhrases)
    if (p.code == failure.code) return p.text;
  return "无法读取文件";
}

}  // namespace qx::reader
