// The menu-item kind, and the menu bar and accelerator table that a
// window's menu-item records make at its load.
#include <string>

#include "ui/ControlSupport_win.h"
#include "ui/Events.h"
#include "ui/MenuItemKind.h"
#include "ui/Menus_win.h"
#include "ui/PropertyTable.h"
#include "ui/WindowPlatform_win.h"
#include "ui/WindowRuntime_win.h"
#include "ui/WindowTable.h"

namespace qx {
namespace {

struct MenuItemSettings {
  std::string caption;
  bool checked = false;
};

struct MenuItem {
  UnitObject base;
  MenuItemSettings s;
  uint32_t shortcut = 0;
  UINT command = 0;
  HMENU parent = nullptr;   // the menu that shows it; null while it is not shown
  HMENU submenu = nullptr;  // the popup it opens, if any
};

MenuItem* AsItem(UnitObject* u) { return reinterpret_cast<MenuItem*>(u); }

std::string KeyName(uint32_t key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  LONG scan = static_cast<LONG>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC) << 16);
  // The page and arrow keys share their scan codes with the keypad's.
  if (key >= VK_PRIOR && key <= VK_DELETE) scan |= 1 << 24;
  char name[32] = "";
  return GetKeyNameTextA(scan, name, sizeof name) > 0 ? name : "";
}

// The caption as the menu shows it, with its shortcut after a tab.
std::string ShownCaption(const MenuItem* m) {
  uint32_t key = m->shortcut & kShortcutKeyMask;
  if (!key || m->s.caption.find('\t') != std::string::npos) return m->s.caption;
  std::string keys;
  if (m->shortcut & kShortcutCtrl) keys += "Ctrl+";
  if (m->shortcut & kShortcutShift) keys += "Shift+";
  if (m->shortcut & kShortcutAlt) keys += "Alt+";
  return m->s.caption + "\t" + keys + KeyName(key);
}

ACCEL Accelerator(const MenuItem* m) {
  BYTE virt = FVIRTKEY;
  if (m->shortcut & kShortcutCtrl) virt |= FCONTROL;
  if (m->shortcut & kShortcutShift) virt |= FSHIFT;
  if (m->shortcut & kShortcutAlt) virt |= FALT;
  return {virt, static_cast<WORD>(m->shortcut & kShortcutKeyMask), static_cast<WORD>(m->command)};
}

const UnitRecord* RecordOf(const UnitObject* u) {
  WindowTemplate* w = FindWindowTemplate(u->windowId);
  return w ? FindUnitRecord(*w, u->unitId) : nullptr;
}

// Where the item stands in its menu, or -1.
int PositionOf(const MenuItem* m) {
  if (!m->parent) return -1;
  int n = GetMenuItemCount(m->parent);
  for (int i = 0; i < n; ++i) {
    bool same = m->submenu ? GetSubMenu(m->parent, i) == m->submenu
                           : GetMenuItemID(m->parent, i) == m->command;
    if (same) return i;
  }
  return -1;
}

// Appends the items from `*next` on whose level is at least `level`, each
// with the popup of the deeper items that follow it; an item deeper than
// its place allows is taken at this level. Items that are not visible, and
// everything under them, stay out of the menu.
void AppendItems(WindowTemplate* w, const std::vector<size_t>& items, size_t* next,
                 uint32_t level, HMENU menu, bool shown, std::vector<ACCEL>* keys) {
  while (*next < items.size()) {
    UnitRecord& r = w->records[items[*next]];
    if (r.menuLevel < level) return;
    ++*next;
    MenuItem* m = AsItem(LiveUnit(r));
    bool visible = shown && (r.flags & kMenuVisible);
    bool opens = *next < items.size() && w->records[items[*next]].menuLevel > r.menuLevel;
    HMENU sub = opens ? CreatePopupMenu() : nullptr;
    if (sub) AppendItems(w, items, next, r.menuLevel + 1, sub, visible, keys);
    if (!visible || (r.flags & kMenuSeparator)) {
      if (sub) DestroyMenu(sub);
      if (visible) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT state = (r.flags & kMenuDisabled ? MF_GRAYED : 0) | (m->s.checked ? MF_CHECKED : 0);
    std::string caption = ShownCaption(m);
    if (sub) {
      AppendMenuA(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub),
                  caption.c_str());
    } else {
      AppendMenuA(menu, MF_STRING | state, m->command, caption.c_str());
      if (m->shortcut & kShortcutKeyMask) keys->push_back(Accelerator(m));
    }
    m->parent = menu;
    m->submenu = sub;
  }
}

void Refresh(MenuItem* m) {
  int at = PositionOf(m);
  if (at < 0) return;
  const UnitRecord* r = RecordOf(&m->base);
  std::string caption = ShownCaption(m);
  MENUITEMINFOA mi = {};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_STRING | MIIM_STATE;
  mi.dwTypeData = caption.data();
  mi.fState = (m->s.checked ? MFS_CHECKED : 0) | (r && (r->flags & kMenuDisabled) ? MFS_GRAYED : 0);
  SetMenuItemInfoA(m->parent, at, TRUE, &mi);
  UnitObject* window = FindLiveUnit(m->base.windowId, 0);
  if (window && GetMenu(UnitHwnd(window)) == m->parent) DrawMenuBar(UnitHwnd(window));
}

using S = MenuItemSettings;
constexpr SettingsProperty<S> kRows[] = {
    {kMenuItemCaption, "标题", kValueText, &S::caption},
    {kMenuItemChecked, "选中", kValueLogical, &S::checked},
};
static_assert(RowsInNumberOrder(kRows));
constexpr auto kProperties = PropertyInfos(kRows);

void GetProperty(UnitObject* u, int32_t index, RawProperty* out) {
  GetSetting(kRows, index, AsItem(u)->s, out);
}

bool SetProperty(UnitObject* u, int32_t index, const RawProperty& v) {
  SetSetting(kRows, index, &AsItem(u)->s, v);
  Refresh(AsItem(u));
  return false;
}

constexpr UnitOperations kOperations = {
    .setTypeProperty = SetProperty,
    .getTypeProperty = GetProperty,
};

// The menu items' record places, in record order.
std::vector<size_t> MenuItemPlaces(const WindowTemplate& w) {
  std::vector<size_t> items;
  for (size_t i = 1; i < w.records.size(); ++i)
    if (w.records[i].menuItem) items.push_back(i);
  return items;
}

// A fresh menu of the items that are visible now, and the accelerators of
// those it shows; false when the system makes no menu.
bool FillMenuBar(WindowTemplate* w, MenuBar* bar) {
  bar->menu = CreateMenu();
  if (!bar->menu) return false;
  std::vector<size_t> items = MenuItemPlaces(*w);
  size_t next = 0;
  std::vector<ACCEL> keys;
  AppendItems(w, items, &next, 0, bar->menu, true, &keys);
  if (!keys.empty())
    bar->accelerators =
        WindowPlatform().createAcceleratorTable(keys.data(), static_cast<int>(keys.size()));
  return true;
}

}  // namespace

bool BuildMenuBar(WindowTemplate* w, MenuBar* bar) {
  std::vector<size_t> items = MenuItemPlaces(*w);
  if (items.empty()) return true;
  for (size_t i : items) {
    UnitRecord& r = w->records[i];
    if (KindOfTag(r.typeTag) != MenuItemKind()) return false;
    MenuItem* m = new MenuItem;
    m->base = {nullptr, MenuItemKind(), w->id, r.id};
    m->s.caption = r.menuCaption;
    m->s.checked = r.flags & kMenuChecked;
    m->shortcut = r.menuShortcut;
    m->command = static_cast<UINT>(kFirstMenuCommand + i);
    r.live = &m->base;
    bar->items.push_back(&m->base);
  }
  return FillMenuBar(w, bar);
}

void RebuildMenuBar(UnitObject* item) {
  if (!item || item->kind != MenuItemKind()) return;
  WindowTemplate* w = FindWindowTemplate(item->windowId);
  UnitObject* window = FindLiveUnit(item->windowId, 0);
  MenuBar* bar = window ? WindowMenuBar(window) : nullptr;
  if (!w || !bar || !bar->menu) return;
  // The items keep their commands; only their places are new.
  for (UnitObject* u : bar->items) AsItem(u)->parent = AsItem(u)->submenu = nullptr;
  MenuBar fresh;
  if (!FillMenuBar(w, &fresh)) return;
  HWND h = UnitHwnd(window);
  SetMenu(h, fresh.menu);
  WindowPlatform().destroyMenu(bar->menu);  // and the popups in it
  if (bar->accelerators) WindowPlatform().destroyAcceleratorTable(bar->accelerators);
  bar->menu = fresh.menu;
  bar->accelerators = fresh.accelerators;
  DrawMenuBar(h);
}

void DestroyMenuBar(MenuBar* bar, bool menuTakenByWindow) {
  for (UnitObject* u : bar->items) delete AsItem(u);
  if (bar->accelerators) WindowPlatform().destroyAcceleratorTable(bar->accelerators);
  if (bar->menu && !menuTakenByWindow) WindowPlatform().destroyMenu(bar->menu);
  *bar = {};
}

bool RunMenuCommand(const MenuBar& bar, uint32_t command) {
  for (UnitObject* u : bar.items) {
    MenuItem* m = AsItem(u);
    if (m->command != command || m->submenu) continue;
    // What the menu shows decides: an item greyed out there is not chosen,
    // by its shortcut either.
    int at = PositionOf(m);
    if (at >= 0 && !(GetMenuState(m->parent, at, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)))
      RaiseSimpleEvent(u->windowId, u->unitId, kEventMenuChosen);
    return true;
  }
  return false;
}

void RefreshMenuItem(UnitObject* item) {
  if (item && item->kind == MenuItemKind()) Refresh(AsItem(item));
}

const UnitKind* MenuItemKind() {
  static const UnitKind kind = MakeUnitKind<kOperations>(
      "菜单", "Menu", kKindRaisesEvents | kKindNeverRecreated, kProperties);
  return &kind;
}

}  // namespace qx
