// The one way the program tells the user something: the "Tip" message boxes.
// The Qt shell shows them as modal boxes; tests and the command-line tool record or
// print them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillex {

inline constexpr std::string_view kTipCaption = "Tip";

class Messages {
public:
    virtual ~Messages() = default;
    // Shows a modal message with an OK button and returns when the user has read it.
    // `caption` is "Tip" for every message the editor raises itself.
    virtual void show(std::string_view text, std::string_view caption = kTipCaption) = 0;
    // Asks a question with Yes and No buttons; true for Yes. Where nobody can answer
    // (the command-line tool) the question is only shown, and the answer is No.
    virtual bool ask(std::string_view question, std::string_view caption = kTipCaption) {
        show(question, caption);
        return false;
    }
};

// Keeps every message shown, for tests.
class RecordingMessages : public Messages {
public:
    struct Shown {
        std::string text;
        std::string caption;
    };
    void show(std::string_view text, std::string_view caption = kTipCaption) override {
        shown.push_back({std::string(text), std::string(caption)});
    }
    // Recorded as shown, and answered with `answer`.
    bool ask(std::string_view question, std::string_view caption = kTipCaption) override {
        show(question, caption);
        return answer;
    }
    bool answer = false;
    const std::string& lastText() const {
        static const std::string none;
        return shown.empty() ? none : shown.back().text;
    }
    std::vector<Shown> shown;
};

} // namespace quillex
