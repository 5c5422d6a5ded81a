// The "Tip" boxes of the running program: a modal message box owned by the main
// window. A message raised on another thread (the input timer) is handed to the main
// thread, and that thread does not wait for it.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ports/messages.h"

namespace quillex {

class BoxMessages : public Messages {
  public:
    void show(std::string_view text, std::string_view caption = kTipCaption) override;
    // A Yes/No box on the main thread; unattended, the question is printed and the
    // answer is No.
    bool ask(std::string_view question, std::string_view caption = kTipCaption) override;
    void setOwner(QWidget* owner) { owner_ = owner; }
    // Unattended runs (the smoke test) print the messages on standard error instead
    // of waiting for someone to close them.
    void setUnattended(bool on) { unattended_ = on; }
    bool unattended() const { return unattended_; }

  private:
    QPointer<QWidget> owner_;
    bool unattended_ = false;
};

} // namespace quillex
