// Our spreadsheet server registered under the ProgID "Excel.Application",
// where a client looks for a spreadsheet application: for tests, and only
// in the private Wine prefix of a test run. Nothing is ever written over:
// when the ProgID, our class, our type library or one of our interfaces is
// already registered, registering refuses, so that unregistering removes
// exactly what registering wrote.
#pragma once

#include <string>

namespace qx::sheets {

struct RegistrationRequest {
  // true: the local server EXE at `path`, started with `arguments` (the
  // system appends its own "-Embedding"), with its type library (a
  // resource of that file) and dual interfaces registered for the system's
  // type-library marshaller. false: the in-process DLL at `path`.
  bool localServer = true;
  std::wstring path;
  std::wstring arguments;
};

// True when the keys are written and the ProgID resolves to our class;
// otherwise nothing is left written and *why says why.
bool RegisterSheetServer(const RegistrationRequest& request, std::string* why);
// Removes our class, type library and interfaces, and the ProgID where it
// names our class, from wherever registering may have put them. True when
// none of them is left.
bool UnregisterSheetServer(std::string* why);

// Registration is refused anywhere else.
bool RunningUnderWine();

}  // namespace qx::sheets
