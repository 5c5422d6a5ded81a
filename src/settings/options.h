// The user's preferences kept in options.ini: their defaults, the reading rules and
// the file's text. Each value is handed to the object that uses it after reading.
#pragma once

#include <string>

namespace quillex {

class ItemStore;

// Bounds of the practice values, so that windows turned into samples (scaled, at any
// sample rate) stay far inside 32 bits. Larger values read from the file are clamped.
inline constexpr double kMaxJudgeWindowMs = 5000;
inline constexpr double kMaxPracticeScale = 10;
inline constexpr double kMaxKeyboardLagMs = 5000;
// The spectrogram's decibel range (its contrast: the smaller, the starker).
inline constexpr int kMinSpectrogramRangeDb = 20;
inline constexpr int kMaxSpectrogramRangeDb = 120;

struct Options {
    bool scrollingCursor = true;        // #SCROLLINGCURSOR
    bool mmbInsertBeat = true;          // #MMBINSERTBEAT
    bool toggleDelete = true;           // #TOGGLEDELETE
    bool oneLayerEdit = true;           // #ONELAYEREDIT
    bool pasteOverride = true;          // #PASTEOVERRIDE
    bool selectPasted = true;           // #SELECTPASTED
    bool nudgeBasedOnZoom = true;       // #NUDGEBASEDONZOOM
    bool assistOnBeatAndSubBeat = true; // #ASSISTONBEATANDSUBBEAT
    bool removeDuplicateBpms = true;    // #REMOVEDUPLICATEBPMS
    bool saveBackups = false;           // #SAVEBACKUPS
    bool noShowFps = true;              // #NOSHOWFPS
    int beatAssistVolume = 100;         // #BEAT_ASSIST_VOL, percent
    int noteAssistVolume = 100;         // #NOTE_ASSIST_VOL, percent
    bool practiceMode = true;           // #PRACTICEMODE
    bool keepPitchWhenSlowed = true;    // #KEEPPITCHWHENSLOWED
    double practiceScale = 1.5;         // #PRACTICEMODESCALE
    // Judgement windows in seconds (the file holds milliseconds).
    double marvelousWindow = 0.0225;
    double perfectWindow = 0.045;
    double greatWindow = 0.090;
    double goodWindow = 0.135;
    double booWindow = 0.180;
    double freezeOkWindow = 0.250;
    double mineWindow = 0.090;
    int alternateKeyLeft = 90;         // Z
    int alternateKeyDown = 88;         // X
    int alternateKeyUp = 190;          // the "." key
    int alternateKeyRight = 191;       // the "/" key
    int statusBarExtraY = 84;          // #STATUSBAR_EXTRAY, pixels
    double keyboardLagMs = 0;          // #KBLAGCOMP
    bool spectrogramBesideWave = true; // #SPECTROGRAMBESIDEWAVE, else instead of it
    int spectrogramRangeDb = 60;       // #SPECTROGRAMRANGE, decibels
};

// Reads the entries of `text` over `options`; keys not given keep their values.
void parseOptions(const std::string& text, Options& options);
// Reads the file over `options`. Returns false only when the file does not exist;
// a file that exists but cannot be read leaves `options` as they were.
bool readOptions(const std::string& path, Options& options);
// The file's text: one entry per line in file order.
std::string formatOptions(const Options& options);
bool writeOptions(const std::string& path, const Options& options);

// Hands the values the item store keeps to it.
void applyOptionsTo(ItemStore& store, const Options& options);

} // namespace quillex
