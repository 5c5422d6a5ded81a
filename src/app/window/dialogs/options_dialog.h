// Tools ▸ Options: every option of options.ini on its page. The tick-volume sliders
// are heard at once; OK checks the practice values, keeps the options, writes the
// file whole and hands them to their owners; Cancel puts the volumes back.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "audio/music_player.h"
#include "ports/messages.h"
#include "settings/options_form.h"

class QCheckBox;
class QLineEdit;
class QSlider;

namespace quillex {

class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    // `options` are the options in force, replaced on OK; `applied` hands them to
    // their owners after the file is written.
    OptionsDialog(Options& options, std::string path, MusicPlayer& player, Messages& messages,
                  std::function<void(const Options&)> applied, QWidget* parent);
    void accept() override;
    void reject() override;

  private:
    void fill(const OptionsForm& form);
    OptionsForm form() const;
    void previewVolumes();

    Options& options_;
    std::string path_;
    MusicPlayer& player_;
    Messages& messages_;
    std::function<void(const Options&)> applied_;
    int beatVolumeBefore_;
    int noteVolumeBefore_;
    Options flags_; // the values without controls (alternate keys, status margin)
    std::vector<std::pair<bool Options::*, QCheckBox*>> boxes_;
    std::vector<std::pair<std::string OptionsForm::*, QLineEdit*>> edits_;
    QSlider* beatVolume_ = nullptr;
    QSlider* noteVolume_ = nullptr;
    QSlider* spectrogramContrast_ = nullptr;
};

} // namespace quillex
