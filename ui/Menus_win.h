// A window's menu bar and accelerator table, made from its menu-item
// records when it is loaded and owned by the window from then on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/UnitKind.h"
#include "ui/UnitRecord.h"

namespace qx {

struct MenuBar {
  HMENU menu = nullptr;  // null: the window has no menu items
  HACCEL accelerators = nullptr;
  std::vector<UnitObject*> items;  // the menu items' live objects, owned
};

// The command a menu item sends, from its record's place; clear of the
// controls' child identifiers and the dialog commands.
constexpr uint32_t kFirstMenuCommand = 0x7000;

// The bar of the window's menu-item records, each record's live slot set to
// its item. False when a menu item's kind is not the menu-item kind (or
// the system makes no menu); the caller then destroys what there is.
bool BuildMenuBar(WindowTemplate* window, MenuBar* bar);
// Frees the items and the accelerator table; the menu itself only when no
// window took it (a window destroys its own menu).
void DestroyMenuBar(MenuBar* bar, bool menuTakenByWindow);
// A WM_COMMAND from the menu or an accelerator: raises the chosen item's
// event unless the item is disabled. False when the command is no item's.
bool RunMenuCommand(const MenuBar& bar, uint32_t command);
// Shows a live item's caption, check mark and its record's disabled flag
// anew, after one of them was written. Not a menu item: nothing.
void RefreshMenuItem(UnitObject* item);
// Makes the window's menu and accelerators anew from its records, after a
// live item's visible flag was written: a hidden item, with everything
// under it, leaves the menu, and its shortcut no longer chooses it. Not a
// menu item: nothing.
void RebuildMenuBar(UnitObject* item);

// The window's side: the load hands the bar over once the window exists
// (the bar is left empty), and the window frees it when it goes; the
// message loop translates the window's keys through its table.
void InstallMenuBar(UnitObject* window, MenuBar* bar);
MenuBar* WindowMenuBar(UnitObject* window);
HACCEL WindowAccelerators(UnitObject* window);

}  // namespace qx
