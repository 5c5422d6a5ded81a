#include "cli/sync_command.h"

#include <cmath>

#include "app/session/editor.h"
#include "app/session/editor_ports.h"
#include "tools/autofill.h"
#include "tools/beat_moves.h"
#include "tools/sync_dialog_models.h"

namespace quillex {

namespace {

bool showRefusal(Editor& editor, const std::optional<std::string>& refusal) {
    if (refusal)
        editor.messages().show(*refusal);
    return refusal.has_value();
}

bool applyPlan(Editor& editor, const std::variant<BeatMove, std::string_view>& plan) {
    if (const auto* refusal = std::get_if<std::string_view>(&plan)) {
        editor.messages().show(*refusal);
        return false;
    }
    applyMove(editor.store(), std::get<BeatMove>(plan));
    return true;
}

bool autofill(Editor& editor, const SyncRequest& request) {
    const auto bpm = typedNumber(request.bpm);
    const auto offset = typedNumber(request.offset);
    const TimingMap timing = editor.store().timing();
    if (showRefusal(editor, bpmRefusal(bpm)) ||
        showRefusal(editor, offsetRefusal(offset, timing.sampleRate(), timing.musicLength())))
        return false;
    fillAtAverageBpm(editor.store(), *bpm, *offset);
    return true;
}

bool nudge(Editor& editor, const SyncRequest& request) {
    ItemStore& store = editor.store();
    store.clearAllSelection();
    const double delta = std::round(request.milliseconds * 0.001 * store.timing().sampleRate());
    // Every marker moves: as if the cursor stood before the first one.
    return applyPlan(editor, planNudge(store, -1, static_cast<std::int64_t>(delta)));
}

bool grow(Editor& editor, const SyncRequest& request) {
    const auto bpm = typedNumber(request.bpm);
    if (showRefusal(editor, bpmRefusal(bpm)))
        return false;
    ItemStore& store = editor.store();
    store.clearAllSelection();
    {
        // The region starts at the regular beat asked for, as if it alone were selected.
        for (EditItem& b : store.beatList().edit())
            b.selected = !b.isSubBeat && b.beat == request.fromBeat;
    }
    const auto region = growRegion(store, 0);
    if (const auto* refusal = std::get_if<std::string_view>(&region)) {
        editor.messages().show(*refusal);
        return false;
    }
    return applyPlan(editor, planGrowTo(store, std::get<GrowRegion>(region), *bpm, false));
}

} // namespace

bool isSyncCommand(const std::string& command) {
    return command == "autofill" || command == "nudge" || command == "grow";
}

std::optional<SyncRequest> parseSyncRequest(const std::string& command,
                                            const std::vector<std::string>& arguments,
                                            std::ostream& err) {
    SyncRequest request;
    request.kind = command == "autofill" ? SyncRequest::Kind::Autofill
                   : command == "nudge"  ? SyncRequest::Kind::Nudge
                                         : SyncRequest::Kind::Grow;
    auto fail = [&err](const std::string& why) {
        err << "quillex-tool: " << why << '\n';
        return std::nullopt;
    };
    bool haveBpm = false, haveOffset = false, haveMs = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        const bool allowed =
            option == "-o" || (option == "--bpm" && request.kind != SyncRequest::Kind::Nudge) ||
            (option == "--offset" && request.kind == SyncRequest::Kind::Autofill) ||
            (option == "--ms" && request.kind == SyncRequest::Kind::Nudge) ||
            (option == "--from-beat" && request.kind == SyncRequest::Kind::Grow);
        if (!allowed) {
            if (option.rfind("-", 0) == 0)
                return fail("unknown option " + option + " for " + command);
            if (!request.input.empty())
                return fail("one file at a time: " + option);
            request.input = option;
            continue;
        }
        if (i + 1 == arguments.size())
            return fail(option + " needs a value");
        const std::string& value = arguments[++i];
        if (option == "-o") {
            request.output = value;
        } else if (option == "--bpm") {
            request.bpm = value;
            haveBpm = true;
        } else if (option == "--offset") {
            request.offset = value;
            haveOffset = true;
        } else if (option == "--ms") {
            const auto ms = typedNumber(value);
            if (!ms || !std::isfinite(*ms) || std::abs(*ms) > 600000)
                return fail("--ms takes milliseconds, such as 9 or -12.5");
            request.milliseconds = *ms;
            haveMs = true;
        } else { // --from-beat
            const auto beat = typedWholeNumber(value);
            if (!beat || *beat < 1 || *beat > 1000000)
                return fail("--from-beat takes a beat number from 1");
            request.fromBeat = static_cast<int>(*beat);
        }
    }
    if (request.input.empty() || request.output.empty())
        return fail(command + " needs a file and -o OUT");
    if ((request.kind == SyncRequest::Kind::Autofill && (!haveBpm || !haveOffset)) ||
        (request.kind == SyncRequest::Kind::Grow && !haveBpm) ||
        (request.kind == SyncRequest::Kind::Nudge && !haveMs))
        return fail(command + " is missing a value");
    return request;
}

bool runSync(Editor& editor, EditorSongFiles& files, const SyncRequest& request) {
    editor.store().refresh();
    bool done = false;
    switch (request.kind) {
    case SyncRequest::Kind::Autofill:
        done = autofill(editor, request);
        break;
    case SyncRequest::Kind::Nudge:
        done = nudge(editor, request);
        break;
    case SyncRequest::Kind::Grow:
        done = grow(editor, request);
        break;
    }
    return done && files.writeSong(request.output, false, editor.song().perBeatBpm());
}

} // namespace quillex
