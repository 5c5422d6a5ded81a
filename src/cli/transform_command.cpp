#include "cli/transform_command.h"

#include <algorithm>
#include <charconv>

#include "app/session/editor.h"
#include "app/session/editor_ports.h"
#include "items/selection.h"

namespace quillex {

namespace {

std::optional<std::int32_t> wholeNumber(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "A:B" split at its first colon, or "A/B" at its slash.
std::optional<std::pair<std::string_view, std::string_view>> pairOf(std::string_view text,
                                                                    char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos)
        return std::nullopt;
    return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::optional<Turn> turnNamed(std::string_view name) {
    constexpr std::pair<std::string_view, Turn> kTurns[] = {
        {"left", Turn::Left},
        {"right", Turn::Right},
        {"mirror", Turn::Mirror},
        {"mirror-lr", Turn::MirrorLeftRight},
        {"mirror-ud", Turn::MirrorUpDown},
    };
    for (const auto& [text, turn] : kTurns)
        if (text == name)
            return turn;
    return std::nullopt;
}

} // namespace

std::optional<TransformRequest> parseTransformRequest(const std::vector<std::string>& arguments,
                                                      std::ostream& err) {
    TransformRequest request;
    bool haveLevel = false;
    int transforms = 0;
    auto fail = [&err](const std::string& why) {
        err << "quillex-tool: " << why << '\n';
        return std::nullopt;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option == "--change-type") {
            request.kind = TransformRequest::Kind::ChangeType;
            ++transforms;
            continue;
        }
        const bool takesValue = option == "--level" || option == "--quantize" ||
                                option == "--turn" || option == "--scale" || option == "--rows" ||
                                option == "-o";
        if (!takesValue) {
            if (option.rfind("-", 0) == 0)
                return fail("unknown option " + option);
            if (!request.song.empty())
                return fail("one song at a time: " + option);
            request.song = option;
            continue;
        }
        if (i + 1 == arguments.size())
            return fail(option + " needs a value");
        const std::string_view value = arguments[++i];
        if (option == "-o") {
            request.output = value;
        } else if (option == "--level") {
            const auto level = levelFromName(value);
            if (!level)
                return fail(kLevelNameRefusal);
            request.level = *level;
            haveLevel = true;
        } else if (option == "--quantize") {
            const auto division = wholeNumber(value);
            const auto* end = std::end(kQuantizeDivisions);
            if (!division || std::find(std::begin(kQuantizeDivisions), end, *division) == end)
                return fail("--quantize takes 4, 8, 12, 16, 24, 32, 48 or 64");
            request.kind = TransformRequest::Kind::Quantize;
            request.division = *division;
            ++transforms;
        } else if (option == "--turn") {
            const auto turn = turnNamed(value);
            if (!turn)
                return fail("--turn takes left, right, mirror, mirror-lr or mirror-ud");
            request.kind = TransformRequest::Kind::Turn;
            request.turn = *turn;
            ++transforms;
        } else if (option == "--scale") {
            const auto parts = pairOf(value, '/');
            const auto p = parts ? wholeNumber(parts->first) : std::nullopt;
            const auto q = parts ? wholeNumber(parts->second) : std::nullopt;
            if (!p || !q || *p <= 0 || *q <= 0)
                return fail("--scale takes P/Q with positive whole numbers, such as 3/2");
            request.kind = TransformRequest::Kind::Scale;
            request.numerator = *p;
            request.denominator = *q;
            ++transforms;
        } else { // --rows
            const auto parts = pairOf(value, ':');
            const auto from = parts ? wholeNumber(parts->first) : std::nullopt;
            const auto to = parts ? wholeNumber(parts->second) : std::nullopt;
            if (!from || !to || *from > *to)
                return fail("--rows takes FROM:TO, editor rows with FROM <= TO");
            request.rows = std::pair{*from, *to};
        }
    }
    if (request.song.empty() || request.output.empty() || !haveLevel)
        return fail("transform needs SONG, --level and -o OUT");
    if (transforms != 1)
        return fail("transform takes exactly one of --quantize, --turn, --scale, --change-type");
    return request;
}

bool runTransform(Editor& editor, EditorSongFiles& files, const TransformRequest& request) {
    ItemStore& store = editor.store();
    store.setCurrentLevel(request.level);
    store.setLayer(Layer::Arrow, true);
    changeSelection(store, SelectionChange::Set);
    if (request.rows) {
        ItemList& notes = store.noteList(request.level);
        for (EditItem& n : notes.edit())
            n.selected = n.row() >= request.rows->first && n.row() <= request.rows->second;
    }
    bool done = false;
    std::string_view refusal;
    switch (request.kind) {
    case TransformRequest::Kind::Quantize:
        done = quantizeSelection(store, request.division);
        refusal = kNothingToQuantizeMessage;
        break;
    case TransformRequest::Kind::Turn:
        done = turnSelection(store, request.turn);
        refusal = kNothingToTurnMessage;
        break;
    case TransformRequest::Kind::Scale:
        done = scaleSelection(store, request.numerator, request.denominator);
        refusal = kNothingToScaleMessage;
        break;
    case TransformRequest::Kind::ChangeType:
        done = changeTypeOfSelection(store);
        refusal = kNothingToChangeTypeMessage;
        break;
    }
    if (!done) {
        editor.messages().show(refusal);
        return false;
    }
    return files.writeSong(request.output, false, editor.song().perBeatBpm());
}

} // namespace quillex
