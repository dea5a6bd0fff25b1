// The menu-item kind (core library type 3, "菜单"), its own property
// numbers, and the menu bar a window's menu-item records make. A menu item
// is no window: its live object lives with the window's menu, from the
// load until the window goes.
#pragma once

#include "ui/Properties.h"
#include "ui/UnitKind.h"

namespace qx {

const UnitKind* MenuItemKind();

enum MenuItemProperty : int32_t {
  kMenuItemCaption = kFirstOwnProperty,  // text
  kMenuItemChecked,                      // logical
};

// The event a menu item raises when it is chosen, from the menu or by its
// shortcut; its one handler serves it.
constexpr int32_t kEventMenuChosen = 0;

}  // namespace qx
