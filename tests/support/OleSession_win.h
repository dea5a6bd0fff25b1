// OLE started on this thread for as long as the holder lives, as a
// program's start starts it; released again only when this start succeeded
// (a second start on a thread answers S_FALSE and must be released too).
#pragma once

#include <windows.h>

namespace qx::test {

class OleSession {
 public:
  OleSession();
  ~OleSession();
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

  bool ok() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};

}  // namespace qx::test
