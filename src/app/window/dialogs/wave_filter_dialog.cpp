#include "app/window/dialogs/wave_filter_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/window/dialogs/dialog_text.h"

namespace quillex {

namespace {

// A pair of exclusive choices in a box of their own.
QGroupBox* choiceBox(const char* title, QRadioButton* a, QRadioButton* b, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(a);
    layout->addWidget(b);
    auto* group = new QButtonGroup(box);
    group->addButton(a);
    group->addButton(b);
    return box;
}

} // namespace

WaveFilterDialog::WaveFilterDialog(const WaveFilterSettings& settings, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Wave Filter");
    auto* about =
        new QLabel("Wave Filter cleans up noisy waveforms to help you find beats easier.", this);
    about->setWordWrap(true);
    enabled_ = named(new QCheckBox("Enable Wave Filter", this), 69);
    lowPass_ = named(new QRadioButton("low-pass", this), 216);
    highPass_ = named(new QRadioButton("high-pass", this), 217);
    finite_ = named(new QRadioButton("finite", this), 218);
    infinite_ = named(new QRadioButton("infinite", this), 213);
    strength_ = named(new QSlider(Qt::Horizontal, this), 212);
    strength_->setRange(kMinFilterStrength, kMaxFilterStrength);
    strength_->setPageStep(1);
    strength_->setTickPosition(QSlider::TicksBelow);
    strengthText_ = named(new QLabel(this), 219);
    together_ = named(new QCheckBox("Show filtered and original waves together", this), 148);
    rescale_ = named(new QCheckBox("Rescale filtered wave", this), 215);
    auto* defaults = named(new QPushButton("Defaults...", this), 211);

    auto* strengthRow = new QHBoxLayout;
    strengthRow->addWidget(new QLabel("Strength:", this));
    strengthRow->addWidget(strength_, 1);
    strengthRow->addWidget(strengthText_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(defaults, QDialogButtonBox::ResetRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(about);
    layout->addWidget(enabled_);
    layout->addWidget(choiceBox("Filter", lowPass_, highPass_, this));
    layout->addWidget(choiceBox("Impulse response", finite_, infinite_, this));
    layout->addLayout(strengthRow);
    layout->addWidget(together_);
    layout->addWidget(rescale_);
    layout->addWidget(buttons);

    connect(strength_, &QSlider::valueChanged, this,
            [this](int value) { strengthText_->setText(qtText(filterStrengthText(value))); });
    connect(enabled_, &QCheckBox::toggled, this, &WaveFilterDialog::enableControls);
    connect(defaults, &QPushButton::clicked, this, [this] { showSettings(WaveFilterSettings{}); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showSettings(settings);
}

void WaveFilterDialog::showSettings(const WaveFilterSettings& s) {
    enabled_->setChecked(s.enabled);
    (s.lowPass ? lowPass_ : highPass_)->setChecked(true);
    (s.finite ? finite_ : infinite_)->setChecked(true);
    strength_->setValue(std::clamp(s.strength, kMinFilterStrength, kMaxFilterStrength));
    strengthText_->setText(qtText(filterStrengthText(strength_->value())));
    together_->setChecked(!s.filteredAlone);
    rescale_->setChecked(s.rescale);
    enableControls();
}

void WaveFilterDialog::enableControls() {
    const bool on = enabled_->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{lowPass_, highPass_, finite_, infinite_, together_,
                                         rescale_, strength_, strengthText_})
        w->setEnabled(on);
}

WaveFilterSettings WaveFilterDialog::settings() const {
    WaveFilterSettings s;
    s.enabled = enabled_->isChecked();
    s.lowPass = lowPass_->isChecked();
    s.finite = finite_->isChecked();
    s.strength = strength_->value();
    s.filteredAlone = !together_->isChecked();
    s.rescale = rescale_->isChecked();
    return s;
}

FilterProgressDialog::FilterProgressDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Processing...");
    message_ = named(new QLabel(this), 413);
    bar_ = named(new QProgressBar(this), 214);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    percent_ = named(new QLabel("0%", this), 414);
    auto* cancel = named(new QPushButton("Cancel", this), 2);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* barRow = new QHBoxLayout;
    barRow->addWidget(bar_, 1);
    barRow->addWidget(percent_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addLayout(barRow);
    layout->addWidget(cancel, 0, Qt::AlignRight);
    setMinimumWidth(320);
}

void FilterProgressDialog::setMessage(std::string_view text) {
    message_->setText(qtText(text));
}

void FilterProgressDialog::setPercent(int percent) {
    bar_->setValue(percent);
    percent_->setText(QString::number(percent) + '%');
}

} // namespace quillex
