// The key list of the read-me and the README, made from the command table so that the
// documents say what the menus and shortcuts do: every shortcut with its command, the
// keys of menu items that are not shortcuts (the wheel), and the keys the input timer
// and keyboard note entry read themselves.
#pragma once

#include <string>
#include <string_view>

#include "app/keys/virtual_keys.h"

namespace quillex {

// A key's name as the documents write it: "F7", "PgUp", "=" (the key of "=" and "+").
std::string keyName(VirtualKey key);

// The whole list, one key a line ("  Alt+F7              Tools > Nudge Beats > Nudge
// Away"), indented two spaces, in menu order, then the keys without a menu item.
std::string keyListText();

// The marker lines a document holds its key list between.
inline constexpr std::string_view kKeyListBegin =
    "Keys (written by quillex-tool keys from the menus and shortcuts)";
inline constexpr std::string_view kKeyListEnd = "(end of the key list)";

// `document` with the text between the marker lines replaced by `keys`; unchanged
// when it has no marker lines.
std::string withKeyList(std::string_view document, std::string_view keys);

} // namespace quillex
