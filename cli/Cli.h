// quillox-cli: the converter without a window.
//
//   quillox-cli [--auto] [--replace FROM TO]... [--sheet N|NAME]
//               [-o DIR | --stdout] FILE...
//   quillox-cli --list-sheets FILE...
//
// Text: GBK inside, as the window program holds it; arguments, file names
// and messages are in the terminal's own encoding outside (UTF-8 on Linux).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace qx::cli {

enum ExitStatus { kAllConverted = 0, kSomeFailed = 1, kUsageError = 2 };

struct Step {
  bool automatic;         // the nine question-type words
  std::string from, to;   // GBK, for a manual replacement
};

struct Options {
  std::vector<Step> steps;        // in command-line order
  std::string outputDir;          // native encoding; empty: current folder
  bool toStdout = false;
  std::string sheet;              // UTF-8; empty: the first sheet
  bool listSheets = false;
  bool help = false;
  bool version = false;
  std::vector<std::string> files;  // native encoding
};

// Parses the arguments (after the program name). Texts arrive in the
// terminal's encoding: UTF-8 natively, GBK on Windows. False with a
// message (GBK) on a usage error.
bool ParseOptions(const std::vector<std::string>& args, Options* options, std::string* error);

// Runs the tool; documents go to files or to `out`, messages to `err`
// (UTF-8 natively, GBK on Windows).
int RunCli(const std::vector<std::string>& args, FILE* out, FILE* err);

}  // namespace qx::cli
