#include "ui/TypeBlocks.h"

#include "ui/ByteReader.h"
#include "ui/ByteWriter.h"

namespace qx {
namespace {

// Reads the version; false when it is newer than the kind knows.
bool Version(ByteReader& in, uint32_t max, uint32_t* version) {
  *version = in.U32();
  return in.ok && *version <= max;
}

}  // namespace

bool ReadWindowSettings(const std::string& block, WindowSettings* s) {
  *s = WindowSettings{};
  if (block.empty()) return true;
  ByteReader in = ReadBytes(block);
  if (!Version(in, 6, &s->version)) return false;
  s->borderStyle = in.U32();
  s->pictureMode = in.U32();
  s->background = in.U32();
  s->maximizeBox = in.Bool();
  s->minimizeBox = in.Bool();
  s->controlBox = in.Bool();
  s->positionMode = in.U32();
  s->movable = in.Bool();
  s->soundMode = in.U32();
  s->enterMovesFocus = in.Bool();
  s->escCloses = in.Bool();
  s->f1Help = in.Bool();
  s->helpContext = in.U32();
  if (s->version >= 2) s->inTaskBar = in.Bool();
  if (s->version >= 3) {
    s->dragByClient = in.Bool();
    s->option28 = in.U32();
  }
  if (s->version >= 4) s->topmost = in.Bool();
  if (s->version >= 5) s->option30 = in.Bool();
  if (s->version >= 6) s->className = in.Counted();
  s->picture = in.Counted();
  s->icon = in.Counted();
  s->sound = in.Counted();
  s->title = in.Counted();
  s->helpFile = in.Counted();
  return in.ok;
}

std::string WriteWindowSettings(const WindowSettings& s) {
  ByteWriter out;
  out.U32(s.version);
  out.U32(s.borderStyle);
  out.U32(s.pictureMode);
  out.U32(s.background);
  out.Bool(s.maximizeBox);
  out.Bool(s.minimizeBox);
  out.Bool(s.controlBox);
  out.U32(s.positionMode);
  out.Bool(s.movable);
  out.U32(s.soundMode);
  out.Bool(s.enterMovesFocus);
  out.Bool(s.escCloses);
  out.Bool(s.f1Help);
  out.U32(s.helpContext);
  if (s.version >= 2) out.Bool(s.inTaskBar);
  if (s.version >= 3) {
    out.Bool(s.dragByClient);
    out.U32(s.option28);
  }
  if (s.version >= 4) out.Bool(s.topmost);
  if (s.version >= 5) out.Bool(s.option30);
  if (s.version >= 6) out.Counted(s.className);
  out.Counted(s.picture);
  out.Counted(s.icon);
  out.Counted(s.sound);
  out.Counted(s.title);
  out.Counted(s.helpFile);
  return out.bytes;
}

bool ReadLabelSettings(const std::string& block, LabelSettings* s) {
  *s = LabelSettings{};
  if (block.empty()) return true;
  ByteReader in = ReadBytes(block);
  if (!Version(in, 2, &s->version)) return false;
  s->effect = in.U32();
  s->gradientWidth = in.U32();
  s->borderStyle = in.U32();
  for (uint32_t& c : s->borderColours) c = in.U32();
  s->textColour = in.U32();
  s->background = in.U32();
  s->pictureMode = in.U32();
  s->gradientMode = in.U32();
  for (uint32_t& c : s->gradientColours) c = in.U32();
  s->hAlign = in.U32();
  s->vAlign = in.U32();
  s->wordWrap = in.Bool();
  s->font = in.Counted();
  s->picture = in.Counted();
  s->caption = in.Counted();
  if (s->version >= 2) {
    s->dataSource = in.Counted();
    s->dataField = in.Counted();
  }
  return in.ok;
}

std::string WriteLabelSettings(const LabelSettings& s) {
  ByteWriter out;
  out.U32(s.version);
  out.U32(s.effect);
  out.U32(s.gradientWidth);
  out.U32(s.borderStyle);
  for (uint32_t c : s.borderColours) out.U32(c);
  out.U32(s.textColour);
  out.U32(s.background);
  out.U32(s.pictureMode);
  out.U32(s.gradientMode);
  for (uint32_t c : s.gradientColours) out.U32(c);
  out.U32(s.hAlign);
  out.U32(s.vAlign);
  out.Bool(s.wordWrap);
  out.Counted(s.font);
  out.Counted(s.picture);
  out.Counted(s.caption);
  if (s.version >= 2) {
    out.Counted(s.dataSource);
    out.Counted(s.dataField);
  }
  return out.bytes;
}

bool ReadButtonSettings(const std::string& block, ButtonSettings* s) {
  *s = ButtonSettings{};
  if (block.empty()) return true;
  ByteReader in = ReadBytes(block);
  if (!Version(in, 1, &s->version)) return false;
  s->defaultButton = in.Bool();
  s->hAlign = in.U32();
  s->vAlign = in.U32();
  s->picture = in.Counted();
  s->font = in.Counted();
  s->caption = in.Counted();
  return in.ok;
}

std::string WriteButtonSettings(const ButtonSettings& s) {
  ByteWriter out;
  out.U32(s.version);
  out.Bool(s.defaultButton);
  out.U32(s.hAlign);
  out.U32(s.vAlign);
  out.Counted(s.picture);
  out.Counted(s.font);
  out.Counted(s.caption);
  return out.bytes;
}

bool ReadEditBoxSettings(const std::string& block, EditBoxSettings* s) {
  *s = EditBoxSettings{};
  if (block.empty()) return true;
  ByteReader in = ReadBytes(block);
  if (!Version(in, 2, &s->version)) return false;
  s->borderStyle = in.U32();
  s->textColour = in.U32();
  s->background = in.U32();
  s->hideSelection = in.Bool();
  s->maxLength = in.I32();
  s->multiLine = in.Bool();
  s->scrollBars = in.U32();
  s->alignment = in.U32();
  s->inputMode = in.U32();
  s->passwordChar = in.U16();
  s->caseConversion = in.U32();
  s->spinStyle = in.U32();
  s->spinMin = in.I32();
  s->spinMax = in.I32();
  s->selStart = in.I32();
  s->selLength = in.I32();
  s->font = in.Counted();
  s->content = in.Counted();
  if (s->version >= 2) {
    s->dataSource = in.Counted();
    s->dataField = in.Counted();
  }
  return in.ok;
}

std::string WriteEditBoxSettings(const EditBoxSettings& s) {
  ByteWriter out;
  out.U32(s.version);
  out.U32(s.borderStyle);
  out.U32(s.textColour);
  out.U32(s.background);
  out.Bool(s.hideSelection);
  out.I32(s.maxLength);
  out.Bool(s.multiLine);
  out.U32(s.scrollBars);
  out.U32(s.alignment);
  out.U32(s.inputMode);
  out.U16(s.passwordChar);
  out.U32(s.caseConversion);
  out.U32(s.spinStyle);
  out.I32(s.spinMin);
  out.I32(s.spinMax);
  out.I32(s.selStart);
  out.I32(s.selLength);
  out.Counted(s.font);
  out.Counted(s.content);
  if (s.version >= 2) {
    out.Counted(s.dataSource);
    out.Counted(s.dataField);
  }
  return out.bytes;
}

bool ReadFileDialogSettings(const std::string& block, FileDialogSettings* s) {
  *s = FileDialogSettings{};
  if (block.empty()) return true;
  ByteReader in = ReadBytes(block);
  if (!Version(in, 1, &s->version)) return false;
  s->dialogType = in.U32();
  s->filterIndex = in.I32();
  s->createPrompt = in.Bool();
  s->fileMustExist = in.Bool();
  s->overwritePrompt = in.Bool();
  s->pathMustExist = in.Bool();
  s->keepCurrentFolder = in.Bool();
  s->fontColour = in.U32();
  s->fontBold = in.Bool();
  s->fontItalic = in.Bool();
  s->fontUnderline = in.Bool();
  s->fontStrikeOut = in.Bool();
  s->fontSize = in.I32();
  s->helpCommand = in.U32();
  s->helpContext = in.I32();
  s->title = in.Counted();
  s->fileName = in.Counted();
  s->filter = in.Counted();
  s->initialFolder = in.Counted();
  s->defaultExtension = in.Counted();
  s->fontName = in.Counted();
  s->helpKey = in.Counted();
  // Stored values outside what the properties allow are taken as the
  // properties would take them.
  if (s->dialogType > kLastFileDialogType) s->dialogType = kOpenDialog;
  if (s->filterIndex < 0) s->filterIndex = 0;
  if (s->helpCommand > kLastHelpCommand) s->helpCommand = 0;
  return in.ok;
}

std::string WriteFileDialogSettings(const FileDialogSettings& s) {
  ByteWriter out;
  out.U32(s.version);
  out.U32(s.dialogType);
  out.I32(s.filterIndex);
  out.Bool(s.createPrompt);
  out.Bool(s.fileMustExist);
  out.Bool(s.overwritePrompt);
  out.Bool(s.pathMustExist);
  out.Bool(s.keepCurrentFolder);
  out.U32(s.fontColour);
  out.Bool(s.fontBold);
  out.Bool(s.fontItalic);
  out.Bool(s.fontUnderline);
  out.Bool(s.fontStrikeOut);
  out.I32(s.fontSize);
  out.U32(s.helpCommand);
  out.I32(s.helpContext);
  out.Counted(s.title);
  out.Counted(s.fileName);
  out.Counted(s.filter);
  out.Counted(s.initialFolder);
  out.Counted(s.defaultExtension);
  out.Counted(s.fontName);
  out.Counted(s.helpKey);
  return out.bytes;
}

bool ReadDropTargetSettings(const std::string& block, DropTargetSettings* s) {
  *s = DropTargetSettings{};
  if (block.empty()) return true;
  ByteReader in = ReadBytes(block);
  if (!Version(in, 1, &s->version)) return false;
  s->acceptText = in.Bool();
  s->acceptHtml = in.Bool();
  s->acceptUrl = in.Bool();
  s->acceptFiles = in.Bool();
  return in.ok;
}

std::string WriteDropTargetSettings(const DropTargetSettings& s) {
  ByteWriter out;
  out.U32(s.version);
  out.Bool(s.acceptText);
  out.Bool(s.acceptHtml);
  out.Bool(s.acceptUrl);
  out.Bool(s.acceptFiles);
  return out.bytes;
}

std::string MakeStoredFont(int32_t height, int32_t weight, uint8_t charset,
                           const std::string& face) {
  ByteWriter out;
  out.I32(height);
  out.I32(0);  // width
  out.I32(0);  // escapement
  out.I32(0);  // orientation
  out.I32(weight);
  // italic, underline, strike-out, charset, out precision, clip precision,
  // quality, pitch and family
  const char bytes[8] = {0, 0, 0, static_cast<char>(charset), 0, 0, 0, 0};
  out.Raw(std::string(bytes, 8));
  std::string name = face.substr(0, 31);
  name.resize(32, '\0');
  out.Raw(name);
  return out.bytes;
}

}  // namespace qx
