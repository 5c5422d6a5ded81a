// Tools ▸ Wave Filter: the filter's settings (on or off, low- or high-pass, finite or
// infinite response, strength, how the waves are shown, rescaling), and the
// "Processing..." box that shows a run's progress and can cancel it.
#pragma once

#include <QDialog>

#include "audio/wave_filter_design.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QProgressBar;
class QRadioButton;
class QSlider;

namespace quillex {

class WaveFilterDialog : public QDialog {
    Q_OBJECT
  public:
    WaveFilterDialog(const WaveFilterSettings& settings, QWidget* parent);
    // What the controls hold now.
    WaveFilterSettings settings() const;

  private:
    void showSettings(const WaveFilterSettings& settings);
    void enableControls();

    QCheckBox* enabled_;
    QRadioButton* lowPass_;
    QRadioButton* highPass_;
    QRadioButton* finite_;
    QRadioButton* infinite_;
    QSlider* strength_;
    QLabel* strengthText_;
    QCheckBox* together_;
    QCheckBox* rescale_;
};

class FilterProgressDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FilterProgressDialog(QWidget* parent);
    void setMessage(std::string_view text);
    void setPercent(int percent);

  private:
    QLabel* message_;
    QProgressBar* bar_;
    QLabel* percent_;
};

} // namespace quillex
