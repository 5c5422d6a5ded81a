// The window's side of the crash recovery copy: how often it is taken, and the offer
// at start-up to restore the copy an earlier run left behind.
#pragma once

class QWidget;

namespace quillex {

class Editor;
class RecoveryCopy;
class Shell;

// Milliseconds between two recovery copies: 60 s, or QUILLEX_RECOVERY_SECONDS.
int recoveryIntervalMs();

// When an earlier run left a copy, asks whether to restore it: Yes opens it as a
// modified song without a file of its own (Save asks where), No deletes it.
// Unattended runs print the question on standard error and answer No. True when the
// copy was opened (a copy whose music no longer loads stays on disk).
bool offerRecoveryCopy(QWidget* owner, RecoveryCopy& copy, Shell& shell, Editor& editor,
                       bool unattended);

} // namespace quillex
