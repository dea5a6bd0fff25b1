#include "OleSession_win.h"

#include <ole2.h>

namespace qx::test {

OleSession::OleSession() : result_(OleInitialize(nullptr)) {}

OleSession::~OleSession() {
  if (ok()) OleUninitialize();
}

}  // namespace qx::test
