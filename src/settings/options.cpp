#include "settings/options.h"

#include <filesystem>
#include <functional>
#include <map>

#include "items/item_store.h"
#include "settings/settings_syntax.h"

namespace quillex {

namespace {

const Options kDefaults;

void readBool(bool& field, const std::string& value) {
    field = settingsBool(value);
}

void readVolume(int& field, const std::string& value) {
    int volume = leadingInt(value);
    field = volume < 0 || volume > 100 ? 100 : volume;
}

// Windows and the scale must be above 0; otherwise the default stays.
void readPositive(double& field, const std::string& value, double fallback, double unit) {
    double read = leadingReal(value);
    field = read > 0 ? read * unit : fallback;
}

void readKey(int& field, const std::string& value, int fallback) {
    int key = leadingInt(value);
    field = key < 0 || key > 255 ? fallback : key;
}

using Reader = std::function<void(Options&, const std::string&)>;

Reader windowReader(double Options::*field) {
    return [field](Options& o, const std::string& v) {
        readPositive(o.*field, v, kDefaults.*field, 0.001);
    };
}

const std::map<std::string, Reader>& readers() {
    static const std::map<std::string, Reader> table = {
        {"#SCROLLINGCURSOR",
         [](Options& o, const std::string& v) { readBool(o.scrollingCursor, v); }},
        {"#MMBINSERTBEAT", [](Options& o, const std::string& v) { readBool(o.mmbInsertBeat, v); }},
        {"#TOGGLEDELETE", [](Options& o, const std::string& v) { readBool(o.toggleDelete, v); }},
        {"#ONELAYEREDIT", [](Options& o, const std::string& v) { readBool(o.oneLayerEdit, v); }},
        {"#PASTEOVERRIDE", [](Options& o, const std::string& v) { readBool(o.pasteOverride, v); }},
        {"#SELECTPASTED", [](Options& o, const std::string& v) { readBool(o.selectPasted, v); }},
        {"#NUDGEBASEDONZOOM",
         [](Options& o, const std::string& v) { readBool(o.nudgeBasedOnZoom, v); }},
        {"#ASSISTONBEATANDSUBBEAT",
         [](Options& o, const std::string& v) { readBool(o.assistOnBeatAndSubBeat, v); }},
        {"#REMOVEDUPLICATEBPMS",
         [](Options& o, const std::string& v) { readBool(o.removeDuplicateBpms, v); }},
        {"#SAVEBACKUPS", [](Options& o, const std::string& v) { readBool(o.saveBackups, v); }},
        {"#NOSHOWFPS", [](Options& o, const std::string& v) { readBool(o.noShowFps, v); }},
        {"#BEAT_ASSIST_VOL",
         [](Options& o, const std::string& v) { readVolume(o.beatAssistVolume, v); }},
        {"#NOTE_ASSIST_VOL",
         [](Options& o, const std::string& v) { readVolume(o.noteAssistVolume, v); }},
        {"#PRACTICEMODE", [](Options& o, const std::string& v) { readBool(o.practiceMode, v); }},
        {"#PRACTICEMODESCALE",
         [](Options& o, const std::string& v) {
             readPositive(o.practiceScale, v, kDefaults.practiceScale, 1.0);
         }},
        {"#PRACTICEMODEMARVELOUS", windowReader(&Options::marvelousWindow)},
        {"#PRACTICEMODEPERFECT", windowReader(&Options::perfectWindow)},
        {"#PRACTICEMODEGREAT", windowReader(&Options::greatWindow)},
        {"#PRACTICEMODEGOOD", windowReader(&Options::goodWindow)},
        {"#PRACTICEMODEBOO", windowReader(&Options::booWindow)},
        {"#PRACTICEMODEFREEZEOK", windowReader(&Options::freezeOkWindow)},
        {"#PRACTICEMODEMINE", windowReader(&Options::mineWindow)},
        {"#ALTERNATE_KEY_LEFT",
         [](Options& o, const std::string& v) { readKey(o.alternateKeyLeft, v, 90); }},
        {"#ALTERNATE_KEY_DOWN",
         [](Options& o, const std::string& v) { readKey(o.alternateKeyDown, v, 88); }},
        {"#ALTERNATE_KEY_UP",
         [](Options& o, const std::string& v) { readKey(o.alternateKeyUp, v, 190); }},
        {"#ALTERNATE_KEY_RIGHT",
         [](Options& o, const std::string& v) { readKey(o.alternateKeyRight, v, 191); }},
        {"#STATUSBAR_EXTRAY",
         [](Options& o, const std::string& v) { o.statusBarExtraY = leadingInt(v); }},
        {"#KBLAGCOMP", [](Options& o, const std::string& v) { o.keyboardLagMs = leadingReal(v); }},
    };
    return table;
}

std::string yesNo(bool on) {
    return on ? "YES" : "NO";
}
std::string ms(double seconds) {
    return formatReal(seconds * 1000.0);
}

} // namespace

void parseOptions(const std::string& text, Options& options) {
    for (const SettingsEntry& entry : parseSettingsEntries(text)) {
        auto reader = readers().find(entry.key);
        if (reader != readers().end())
            reader->second(options, entry.value);
    }
}

bool readOptions(const std::string& path, Options& options) {
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return false;
    if (auto text = readWholeFile(path))
        parseOptions(*text, options);
    return true;
}

std::string formatOptions(const Options& o) {
    std::string text;
    auto entry = [&text](const char* key, const std::string& value) {
        text += key;
        text += ':';
        text += value;
        text += ";\n";
    };
    entry("#SCROLLINGCURSOR", yesNo(o.scrollingCursor));
    entry("#MMBINSERTBEAT", yesNo(o.mmbInsertBeat));
    entry("#TOGGLEDELETE", yesNo(o.toggleDelete));
    entry("#ONELAYEREDIT", yesNo(o.oneLayerEdit));
    entry("#PASTEOVERRIDE", yesNo(o.pasteOverride));
    entry("#SELECTPASTED", yesNo(o.selectPasted));
    entry("#NUDGEBASEDONZOOM", yesNo(o.nudgeBasedOnZoom));
    entry("#ASSISTONBEATANDSUBBEAT", yesNo(o.assistOnBeatAndSubBeat));
    entry("#REMOVEDUPLICATEBPMS", yesNo(o.removeDuplicateBpms));
    entry("#SAVEBACKUPS", yesNo(o.saveBackups));
    entry("#NOSHOWFPS", yesNo(o.noShowFps));
    entry("#BEAT_ASSIST_VOL", std::to_string(o.beatAssistVolume));
    entry("#NOTE_ASSIST_VOL", std::to_string(o.noteAssistVolume));
    entry("#PRACTICEMODE", yesNo(o.practiceMode));
    entry("#PRACTICEMODESCALE", formatReal(o.practiceScale));
    entry("#PRACTICEMODEMARVELOUS", ms(o.marvelousWindow));
    entry("#PRACTICEMODEPERFECT", ms(o.perfectWindow));
    entry("#PRACTICEMODEGREAT", ms(o.greatWindow));
    entry("#PRACTICEMODEGOOD", ms(o.goodWindow));
    entry("#PRACTICEMODEBOO", ms(o.booWindow));
    entry("#PRACTICEMODEFREEZEOK", ms(o.freezeOkWindow));
    entry("#PRACTICEMODEMINE", ms(o.mineWindow));
    entry("#ALTERNATE_KEY_LEFT", std::to_string(o.alternateKeyLeft));
    entry("#ALTERNATE_KEY_DOWN", std::to_string(o.alternateKeyDown));
    entry("#ALTERNATE_KEY_UP", std::to_string(o.alternateKeyUp));
    entry("#ALTERNATE_KEY_RIGHT", std::to_string(o.alternateKeyRight));
    entry("#STATUSBAR_EXTRAY", std::to_string(o.statusBarExtraY));
    entry("#KBLAGCOMP", formatReal(o.keyboardLagMs));
    return text;
}

bool writeOptions(const std::string& path, const Options& options) {
    return writeFileWhole(path, formatOptions(options));
}

void applyOptionsTo(ItemStore& store, const Options& options) {
    EditOptions& edit = store.options();
    edit.oneLayerEdit = options.oneLayerEdit;
    edit.selectPasted = options.selectPasted;
    edit.pasteOverride = options.pasteOverride;
    edit.nudgeBasedOnZoom = options.nudgeBasedOnZoom;
    store.setToggleDelete(options.toggleDelete);
}

} // namespace quillex
