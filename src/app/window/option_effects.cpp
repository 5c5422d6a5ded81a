#include "app/window/option_effects.h"

#include "view/editor_view.h"
#include "view/paint/renderer.h"

namespace quillex {

void applyOptions(const Options& options, Editor& editor, Shell& shell, EditorView& view,
                  Renderer* renderer) {
    applyOptionsTo(editor.store(), options);
    shell.saveFlow.setSaveBackups(options.saveBackups);
    MusicPlayer& player = editor.player();
    player.setTickVolumes(options.beatAssistVolume, options.noteAssistVolume);
    player.setTickSubBeats(options.assistOnBeatAndSubBeat);
    player.setKeepPitch(options.keepPitchWhenSlowed);
    player.setJudgeWindows({options.marvelousWindow, options.perfectWindow, options.greatWindow,
                            options.goodWindow, options.booWindow, options.freezeOkWindow,
                            options.mineWindow, options.practiceScale});
    if (!shell.inputFlags.recordingArrows)
        shell.inputFlags.practice = options.practiceMode;
    editor.song().setRemoveDuplicateBpms(options.removeDuplicateBpms);
    editor.waveView().scrollingCursor = options.scrollingCursor;
    view.status().setBottomMargin(options.statusBarExtraY);
    view.practiceMode = options.practiceMode;
    view.spectrogramLook = {options.spectrogramBesideWave, options.spectrogramRangeDb};
    view.status().setPracticeMode(options.practiceMode);
    if (renderer)
        renderer->setFrameRateShown(!options.noShowFps);
}

} // namespace quillex
