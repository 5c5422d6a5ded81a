#include "app/commands/key_list.h"

#include <algorithm>
#include <span>
#include <vector>

#include "app/commands/command_table.h"

namespace quillex {

namespace {

constexpr std::size_t kKeyColumn = 24;

// What the commands without a menu item do, in the key lists.
struct KeyOnlyCommand {
    CommandId id;
    std::string_view text;
};
#define QX_COMMAND(name, number, text) KeyOnlyCommand{CommandId::name, text},
constexpr KeyOnlyCommand kKeyOnlyCommands[] = {
#include "commands_without_menu_item.inc"
};
#undef QX_COMMAND

// The keys read outside the shortcuts, in the words of the documents.
constexpr std::string_view kPolledKeys[][2] = {
    {"Left, Up, Right, Down", "stopped: coarser snap, earlier, finer snap, later"},
    {"B", "tap a beat while playing; insert one while stopped"},
    {"1 2 3 4 ... 0", "place or remove a note in that column at the"},
    {"", "cursor; held while the cursor moves: a hold"},
    {"Shift+1 2 3 4 ... 0", "place a mine in that column"},
    {"arrows, Z X . /", "while recording (R): notes in the arrows' columns;"},
    {"", "in practice mode while playing: judged as in the"},
    {"", "game; a hit lights its receptor, the judgement"},
    {"", "(Marvelous to Miss) and the combo show, a held"},
    {"", "hold glows, a mine set off flashes"},
};

std::string withoutAmpersands(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '&')
            out += c;
    return out;
}

// "&Tools/&Nudge Beats" and "Nudge &Away\tAlt+F7" give "Tools > Nudge Beats > Nudge Away".
std::string menuPlace(const MenuEntry& entry) {
    std::string place = withoutAmpersands(entry.path);
    for (std::size_t at; (at = place.find('/')) != std::string::npos;)
        place.replace(at, 1, " > ");
    const std::string_view caption = entry.caption.substr(0, entry.caption.find('\t'));
    return place + " > " + withoutAmpersands(caption);
}

std::string modifierText(KeyModifiers modifiers) {
    const auto bits = static_cast<unsigned>(modifiers);
    std::string text;
    if (bits & static_cast<unsigned>(KeyModifiers::Ctrl))
        text += "Ctrl+";
    if (bits & static_cast<unsigned>(KeyModifiers::Alt))
        text += "Alt+";
    if (bits & static_cast<unsigned>(KeyModifiers::Shift))
        text += "Shift+";
    return text;
}

std::string acceleratorText(const Accelerator& a) {
    if (a.typed != 0)
        return std::string(1, a.typed);
    return modifierText(a.modifiers) + keyName(a.key);
}

void addLine(std::string& out, std::string_view keys, std::string_view text) {
    std::string line = "  " + std::string(keys);
    line.resize(std::max(line.size() + 1, kKeyColumn), ' ');
    out += line + std::string(text) + "\n";
}

} // namespace

std::string keyName(VirtualKey key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= kVkF1 && key <= kVkF12)
        return "F" + std::to_string(key - kVkF1 + 1);
    switch (key) {
    case kVkLeft:
        return "Left";
    case kVkUp:
        return "Up";
    case kVkRight:
        return "Right";
    case kVkDown:
        return "Down";
    case kVkPrior:
        return "PgUp";
    case kVkNext:
        return "PgDn";
    case kVkHome:
        return "Home";
    case kVkEnd:
        return "End";
    case kVkEscape:
        return "Esc";
    case kVkTab:
        return "Tab";
    case kVkDelete:
        return "Del";
    case kVkSpace:
        return "Space";
    case kVkOemPlus:
        return "=";
    case kVkOemMinus:
        return "-";
    case kVkOem3:
        return "`";
    default:
        return "key " + std::to_string(key);
    }
}

std::string keyListText() {
    std::string out;
    const std::span<const Accelerator> accelerators = acceleratorTable();
    const auto keysOf = [&](CommandId id) {
        std::vector<std::string> names;
        for (const Accelerator& a : accelerators)
            if (a.id == id &&
                std::find(names.begin(), names.end(), acceleratorText(a)) == names.end())
                names.push_back(acceleratorText(a));
        std::string keys;
        for (const std::string& name : names)
            keys += (keys.empty() ? "" : ", ") + name;
        return keys;
    };
    std::vector<CommandId> listed;
    for (const MenuEntry& entry : mainMenu()) {
        if (entry.isSeparator() ||
            std::find(listed.begin(), listed.end(), entry.id) != listed.end())
            continue;
        std::string keys = keysOf(entry.id);
        // The wheel actions are only in the captions (other key texts there are the
        // shortcuts' own, or keys that run another command).
        const std::string_view shown = entry.caption.substr(entry.caption.find('\t') + 1);
        if (shown.find("WHEEL") != std::string_view::npos)
            keys += (keys.empty() ? "" : ", ") + std::string(shown);
        if (keys.empty())
            continue;
        listed.push_back(entry.id);
        addLine(out, keys, menuPlace(entry));
    }
    for (const KeyOnlyCommand& command : kKeyOnlyCommands)
        if (!command.text.empty())
            addLine(out, keysOf(command.id), command.text);
    for (const auto& [keys, text] : kPolledKeys)
        addLine(out, keys, text);
    return out;
}

std::string withKeyList(std::string_view document, std::string_view keys) {
    const std::size_t begin = document.find(kKeyListBegin);
    const std::size_t end = document.find(kKeyListEnd);
    if (begin == std::string_view::npos || end == std::string_view::npos || end < begin)
        return std::string(document);
    const std::size_t afterBegin = document.find('\n', begin);
    std::string out(document.substr(0, afterBegin + 1));
    out += keys;
    out += document.substr(end);
    return out;
}

} // namespace quillex
