#include "settings/options.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "base/number_format.h"
#include "fileio/statement_text.h"
#include "items/item_store.h"
#include "settings/settings_syntax.h"

namespace quillex {

namespace {

const Options kDefaults;

std::string yesNo(bool on) {
    return on ? "YES" : "NO";
}

// One entry of options.ini: its key, how its value is read over the options and how
// it is written. The table below lists the entries in file order, so reading and
// writing cannot drift apart.
struct OptionField {
    const char* key;
    std::function<void(Options&, const std::string&)> read;
    std::function<std::string(const Options&)> format;
};

OptionField boolField(const char* key, bool Options::*field) {
    return {key, [field](Options& o, const std::string& v) { o.*field = settingsBool(v); },
            [field](const Options& o) { return yesNo(o.*field); }};
}

OptionField intField(const char* key, int Options::*field) {
    return {key, [field](Options& o, const std::string& v) { o.*field = textToInt(v); },
            [field](const Options& o) { return std::to_string(o.*field); }};
}

// A percentage; anything outside 0..100 reads as 100.
OptionField volumeField(const char* key, int Options::*field) {
    return {key,
            [field](Options& o, const std::string& v) {
                int volume = textToInt(v);
                o.*field = volume < 0 || volume > 100 ? 100 : volume;
            },
            [field](const Options& o) { return std::to_string(o.*field); }};
}

// A virtual key code; anything outside 0..255 reads as the default key.
OptionField keyField(const char* key, int Options::*field) {
    return {key,
            [field](Options& o, const std::string& v) {
                int code = textToInt(v);
                o.*field = code < 0 || code > 255 ? kDefaults.*field : code;
            },
            [field](const Options& o) { return std::to_string(o.*field); }};
}

// An integer within lowest..highest (clamped).
OptionField boundedIntField(const char* key, int Options::*field, int lowest, int highest) {
    return {key,
            [field, lowest, highest](Options& o, const std::string& v) {
                o.*field = std::clamp(textToInt(v), lowest, highest);
            },
            [field](const Options& o) { return std::to_string(o.*field); }};
}

// A real within -limit..limit (clamped).
OptionField boundedRealField(const char* key, double Options::*field, double limit) {
    return {key,
            [field, limit](Options& o, const std::string& v) {
                o.*field = std::clamp(textToDouble(v), -limit, limit);
            },
            [field](const Options& o) { return formatGeneral(o.*field); }};
}

// Windows and the scale must be above 0 as kept (a window too small to survive the
// conversion to seconds is 0); otherwise the default stays. Values above `limit` (in
// file units) are clamped to it. The windows are kept in seconds and written in
// milliseconds.
OptionField positiveField(const char* key, double Options::*field, double fromFile, double toFile,
                          double limit) {
    return {key,
            [field, fromFile, limit](Options& o, const std::string& v) {
                const double kept = std::min(textToDouble(v), limit) * fromFile;
                o.*field = kept > 0 ? kept : kDefaults.*field;
            },
            [field, toFile](const Options& o) { return formatGeneral(o.*field * toFile); }};
}

OptionField windowField(const char* key, double Options::*field) {
    return positiveField(key, field, 0.001, 1000.0, kMaxJudgeWindowMs);
}

const std::vector<OptionField>& optionFields() {
    static const std::vector<OptionField> fields = {
        boolField("#SCROLLINGCURSOR", &Options::scrollingCursor),
        boolField("#MMBINSERTBEAT", &Options::mmbInsertBeat),
        boolField("#TOGGLEDELETE", &Options::toggleDelete),
        boolField("#ONELAYEREDIT", &Options::oneLayerEdit),
        boolField("#PASTEOVERRIDE", &Options::pasteOverride),
        boolField("#SELECTPASTED", &Options::selectPasted),
        boolField("#NUDGEBASEDONZOOM", &Options::nudgeBasedOnZoom),
        boolField("#ASSISTONBEATANDSUBBEAT", &Options::assistOnBeatAndSubBeat),
        boolField("#REMOVEDUPLICATEBPMS", &Options::removeDuplicateBpms),
        boolField("#SAVEBACKUPS", &Options::saveBackups),
        boolField("#NOSHOWFPS", &Options::noShowFps),
        volumeField("#BEAT_ASSIST_VOL", &Options::beatAssistVolume),
        volumeField("#NOTE_ASSIST_VOL", &Options::noteAssistVolume),
        boolField("#PRACTICEMODE", &Options::practiceMode),
        boolField("#KEEPPITCHWHENSLOWED", &Options::keepPitchWhenSlowed),
        positiveField("#PRACTICEMODESCALE", &Options::practiceScale, 1.0, 1.0, kMaxPracticeScale),
        windowField("#PRACTICEMODEMARVELOUS", &Options::marvelousWindow),
        windowField("#PRACTICEMODEPERFECT", &Options::perfectWindow),
        windowField("#PRACTICEMODEGREAT", &Options::greatWindow),
        windowField("#PRACTICEMODEGOOD", &Options::goodWindow),
        windowField("#PRACTICEMODEBOO", &Options::booWindow),
        windowField("#PRACTICEMODEFREEZEOK", &Options::freezeOkWindow),
        windowField("#PRACTICEMODEMINE", &Options::mineWindow),
        keyField("#ALTERNATE_KEY_LEFT", &Options::alternateKeyLeft),
        keyField("#ALTERNATE_KEY_DOWN", &Options::alternateKeyDown),
        keyField("#ALTERNATE_KEY_UP", &Options::alternateKeyUp),
        keyField("#ALTERNATE_KEY_RIGHT", &Options::alternateKeyRight),
        intField("#STATUSBAR_EXTRAY", &Options::statusBarExtraY),
        boundedRealField("#KBLAGCOMP", &Options::keyboardLagMs, kMaxKeyboardLagMs),
        boolField("#SPECTROGRAMBESIDEWAVE", &Options::spectrogramBesideWave),
        boundedIntField("#SPECTROGRAMRANGE", &Options::spectrogramRangeDb, kMinSpectrogramRangeDb,
                        kMaxSpectrogramRangeDb),
    };
    return fields;
}

} // namespace

void parseOptions(const std::string& text, Options& options) {
    const std::vector<OptionField>& fields = optionFields();
    for (const SettingsEntry& entry : parseSettingsEntries(text)) {
        auto field = std::find_if(fields.begin(), fields.end(),
                                  [&entry](const OptionField& f) { return entry.key == f.key; });
        if (field != fields.end())
            field->read(options, entry.value);
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

std::string formatOptions(const Options& options) {
    std::string text;
    for (const OptionField& field : optionFields()) {
        text += field.key;
        text += ':';
        text += field.format(options);
        text += ";\n";
    }
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
