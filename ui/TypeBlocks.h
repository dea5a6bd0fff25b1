// The kind-specific settings of the core library's kinds as they are stored
// in a record's type block, with their defaults. Creation reads them;
// re-creation and the description data write them.
//
// Every block starts with a version; a version higher than the kind knows,
// or a block that ends early, cannot be read. An empty block means every
// setting takes its default.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

constexpr uint32_t kButtonFaceMarker = 0xFF000000u;

struct WindowSettings {
  uint32_t version = 6;
  uint32_t borderStyle = 2;
  uint32_t pictureMode = 1;
  uint32_t background = kButtonFaceMarker;
  bool maximizeBox = false, minimizeBox = true, controlBox = true;
  uint32_t positionMode = 1;  // 0 stored, 1 centred, 2 minimised, 3 maximised
  bool movable = true;
  uint32_t soundMode = 0;
  bool enterMovesFocus = false, escCloses = true, f1Help = false;
  uint32_t helpContext = 0;
  bool inTaskBar = true;
  bool dragByClient = false;
  uint32_t option28 = 0;
  bool topmost = false;
  bool option30 = false;
  std::string className;  // empty: KVWindow
  std::string picture, icon, sound;
  std::string title;
  std::string helpFile;
};

struct LabelSettings {
  uint32_t version = 2;
  uint32_t effect = 0;
  uint32_t gradientWidth = 8;
  uint32_t borderStyle = 0;
  uint32_t borderColours[3] = {0x808080, 0xFFFFFF, 0x808080};
  uint32_t textColour = 0;
  uint32_t background = kButtonFaceMarker;
  uint32_t pictureMode = 1;
  uint32_t gradientMode = 0;
  uint32_t gradientColours[3] = {0x808080, 0xFFFFFF, 0x808080};
  uint32_t hAlign = 0;
  uint32_t vAlign = 1;
  bool wordWrap = false;
  std::string font;  // empty or a 60-byte LOGFONTA
  std::string picture;
  std::string caption = "标签";
  std::string dataSource, dataField;
};

struct ButtonSettings {
  uint32_t version = 1;
  bool defaultButton = false;
  uint32_t hAlign = 1;
  uint32_t vAlign = 1;
  std::string picture;
  std::string font;
  std::string caption = "按钮";
};

struct EditBoxSettings {
  uint32_t version = 2;
  uint32_t borderStyle = 1;
  uint32_t textColour = 0;
  uint32_t background = 0xFFFFFF;
  bool hideSelection = true;
  int32_t maxLength = 0;
  bool multiLine = false;
  uint32_t scrollBars = 0;  // 1 horizontal, 2 vertical, 3 both
  uint32_t alignment = 0;
  uint32_t inputMode = 0;   // 1 read-only, 2 password
  uint16_t passwordChar = '*';
  uint32_t caseConversion = 0;
  uint32_t spinStyle = 0;
  int32_t spinMin = 0, spinMax = 100;
  int32_t selStart = 0, selLength = 0;
  std::string font;
  std::string content;
  std::string dataSource, dataField;
};

// The file dialog's types (setting 8).
enum FileDialogType : uint32_t {
  kOpenDialog = 0,
  kSaveDialog = 1,
  kFontDialog = 2,
  kHelpFile = 3,
  kLastFileDialogType = kHelpFile,
};

// What the file dialog's help type shows of the help file (setting 26).
enum HelpCommandChoice : uint32_t {
  kHelpContents = 0,
  kHelpContext = 1,         // the topic of the help context (setting 27)
  kHelpKeyword = 2,         // the topic of the keyword (setting 29)
  kHelpPartialKeyword = 3,  // the index, at the keyword
  kHelpOnHelp = 4,          // how to use the help viewer
  kHelpClose = 5,           // closes the viewer's window for the file
  kLastHelpCommand = kHelpClose,
};

// Settings 8-29 of the file dialog (FileDialogKind.h numbers them): those of
// the open and save dialogs, then the font dialog's and the help file's.
struct FileDialogSettings {
  uint32_t version = 1;
  uint32_t dialogType = kOpenDialog;
  int32_t filterIndex = 0;  // counted from 0
  bool createPrompt = false, fileMustExist = true, overwritePrompt = true, pathMustExist = true;
  bool keepCurrentFolder = false;
  uint32_t fontColour = 0;  // COLORREF
  bool fontBold = false, fontItalic = false, fontUnderline = false, fontStrikeOut = false;
  int32_t fontSize = 0;      // points; 0 the dialog's own choice
  uint32_t helpCommand = 0;  // choice 0-5
  int32_t helpContext = 0;
  std::string title, fileName, filter, initialFolder, defaultExtension;
  std::string fontName, helpKey;
};

struct DropTargetSettings {
  uint32_t version = 1;
  bool acceptText = false, acceptHtml = false, acceptUrl = false, acceptFiles = false;
};

bool ReadWindowSettings(const std::string& block, WindowSettings* out);
bool ReadLabelSettings(const std::string& block, LabelSettings* out);
bool ReadButtonSettings(const std::string& block, ButtonSettings* out);
bool ReadEditBoxSettings(const std::string& block, EditBoxSettings* out);
bool ReadFileDialogSettings(const std::string& block, FileDialogSettings* out);
bool ReadDropTargetSettings(const std::string& block, DropTargetSettings* out);

std::string WriteWindowSettings(const WindowSettings& s);
std::string WriteLabelSettings(const LabelSettings& s);
std::string WriteButtonSettings(const ButtonSettings& s);
std::string WriteEditBoxSettings(const EditBoxSettings& s);
std::string WriteFileDialogSettings(const FileDialogSettings& s);
std::string WriteDropTargetSettings(const DropTargetSettings& s);

// A LOGFONTA as stored: 60 bytes, the fields in their Win32 order.
std::string MakeStoredFont(int32_t height, int32_t weight, uint8_t charset, const std::string& face);

}  // namespace qx
