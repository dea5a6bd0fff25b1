// quillox.exe's main window as a second process finds and drives it.
#pragma once

namespace qx::test::converter {

constexpr char kTitle[] = "Quillox 1.0 by：Tarvenn";

// The controls' Win32 child identifiers: 100 + 10 x (19 - the control's row).
enum : int {
  kConvert = 120, kBody = 130, kBrowse = 140, kSave = 150, kFileName = 170, kReset = 180,
  kFolder = 190, kChooseFolder = 200, kAutoReplace = 210, kSearch = 220, kReplaceWith = 230,
  kManualReplace = 240,
};

}  // namespace qx::test::converter
