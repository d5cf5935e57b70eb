// The command table: every menu item and key of the main window, with the
// status text of the string table and the dispatcher's handler. Menus,
// shortcuts and the dispatch are all made from this one table.
#pragma once

#include <QKeyCombination>
#include <span>

namespace tz {

class CommandDispatcher;

enum class Menu { None, File, VbtSettings, FftSettings, Display, Run, Help };

struct Command {
  int id;
  Menu menu;                 // Menu::None: no menu item
  const char* text;          // menu text: '&' marks the mnemonic, the key after '\t'
  QKeyCombination key;       // QKeyCombination(): no key
  const char* statusTip;     // status text of the string table
  void (CommandDispatcher::*handler)();  // nullptr: the dispatcher ignores it
  bool separatorAfter;
};

// All commands, menu items in menu order.
std::span<const Command> CommandTable();

// The command of an identifier, or nullptr.
const Command* FindCommand(int id);

// Second keys that desktop users reach for out of habit (Ctrl+O, Ctrl+P,
// Ctrl+Q), beside the commands' own; menu texts keep showing the first.
struct AlternateKey {
  int id;
  QKeyCombination key;
};
std::span<const AlternateKey> AlternateKeys();

// The popups of the menu bar, left to right, and their titles.
std::span<const Menu> MenuOrder();
const char* MenuTitle(Menu menu);

// The main window's title.
extern const char kAppTitle[];

}  // namespace tz
