#include "runtime/RuntimeError.h"

#include <string>

#include "runtime/Lifecycle.h"
#include "runtime/Platform.h"
#include "runtime/RuntimeState.h"

namespace qx {
namespace {

const char* const kMessages[] = {
    nullptr,
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

}  // namespace

const char* RuntimeErrorMessage(int32_t code) {
  return code >= 1 && code <= 11 ? kMessages[code] : nullptr;
}

std::string ComposeRuntimeErrorText(const char* message, int32_t code) {
  // Built outside the value heap: the report may be about that heap failing.
  std::string text = "运行时出错!\r\n\r\n";
  if (code != 0) text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
  if (message && *message) text += std::string("错误信息：") + message + "\r\n";
  return text;
}

RuntimeErrorHandler SetRuntimeErrorHandler(RuntimeErrorHandler handler) {
  RuntimeErrorHandler old = g_runtime.errorHandler;
  g_runtime.errorHandler = handler;
  return old;
}

void ReportRuntimeError(const char* message, int32_t code) {
  ++g_runtime.eventsSuspended;
  bool handled = false;
  if (g_runtime.errorHandler && !g_runtime.errorHandlerRunning) {
    g_runtime.errorHandlerRunning = true;
    handled = g_runtime.errorHandler(code, message) != 0;
    g_runtime.errorHandlerRunning = false;
  }
  if (!handled) Platform().showErrorDialog(ComposeRuntimeErrorText(message, code).c_str());
  g_runtime.exitRoutines.clear();
  EndProgram(-1);
}

void ReportRuntimeErrorCode(int32_t code) {
  ReportRuntimeError(RuntimeErrorMessage(code), code);
}

}  // namespace qx
