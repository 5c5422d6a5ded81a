#include "app/window/dialogs/options_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/window/dialogs/dialog_text.h"

namespace quillex {

namespace {

struct CheckBoxRow {
    int id;
    const char* caption;
    bool Options::*field;
};

constexpr CheckBoxRow kEditingBoxes[] = {
    {98, "Enable scrolling cursor effect during playback", &Options::scrollingCursor},
    {449, "Middle Mouse Button to insert beat", &Options::mmbInsertBeat},
    {27, "Inserting the same arrow will delete it", &Options::toggleDelete},
    {104, "Edit on one layer at a time", &Options::oneLayerEdit},
    {109, "Pasting will overwrite old items with the new", &Options::pasteOverride},
    {112, "Select newly pasted items", &Options::selectPasted},
    {142, "Nudge beats based on zoom level", &Options::nudgeBasedOnZoom},
};
constexpr CheckBoxRow kSavingBoxes[] = {
    {117, "Remove duplicate BPMs on save", &Options::removeDuplicateBpms},
    {146, "Backup all saves", &Options::saveBackups},
    {115, "Don't Show FPS", &Options::noShowFps},
};
constexpr CheckBoxRow kSpectrogramBox{521, "Spectrogram beside the wave (else instead of it)",
                                      &Options::spectrogramBesideWave};
constexpr CheckBoxRow kTickBox{147, "Assist Tick on beats and sub-beats",
                               &Options::assistOnBeatAndSubBeat};
constexpr CheckBoxRow kPracticeBox{180, "Enable Practice Mode", &Options::practiceMode};
constexpr CheckBoxRow kKeepPitchBox{520, "Keep pitch when slowed", &Options::keepPitchWhenSlowed};

struct LineEditRow {
    int id;
    const char* caption;
    std::string OptionsForm::*field;
};

constexpr LineEditRow kPracticeEdits[] = {
    {207, "Scale:", &OptionsForm::scale},
    {199, "Marvelous (ms):", &OptionsForm::marvelous},
    {91, "Perfect (ms):", &OptionsForm::perfect},
    {93, "Great (ms):", &OptionsForm::great},
    {95, "Good (ms):", &OptionsForm::good},
    {118, "Boo (ms):", &OptionsForm::boo},
    {120, "Freeze OK (ms):", &OptionsForm::freezeOk},
    {122, "Mine (ms):", &OptionsForm::mine},
    {434, "KB Lag Comp. (ms):", &OptionsForm::keyboardLag},
};

QSlider* tenStepSlider(int id, QWidget* parent) {
    auto* slider = named(new QSlider(Qt::Horizontal, parent), id);
    slider->setRange(0, 10);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

} // namespace

OptionsDialog::OptionsDialog(Options& options, std::string path, MusicPlayer& player,
                             Messages& messages, std::function<void(const Options&)> applied,
                             QWidget* parent)
    : QDialog(parent), options_(options), path_(std::move(path)), player_(player),
      messages_(messages), applied_(std::move(applied)), beatVolumeBefore_(player.beatTickVolume()),
      noteVolumeBefore_(player.noteTickVolume()) {
    setWindowTitle("Options");
    auto* pages = new QTabWidget(this);
    auto addBox = [this](const CheckBoxRow& row, QWidget* page, QBoxLayout* layout) {
        auto* box = named(new QCheckBox(row.caption, page), row.id);
        boxes_.emplace_back(row.field, box);
        layout->addWidget(box);
    };

    auto* editing = new QWidget(pages);
    auto* editingLayout = new QVBoxLayout(editing);
    for (const CheckBoxRow& row : kEditingBoxes)
        addBox(row, editing, editingLayout);
    for (const CheckBoxRow& row : kSavingBoxes)
        addBox(row, editing, editingLayout);
    addBox(kSpectrogramBox, editing, editingLayout);
    spectrogramContrast_ = tenStepSlider(522, editing);
    auto* contrast = new QFormLayout;
    contrast->addRow("Spectrogram contrast", spectrogramContrast_);
    editingLayout->addLayout(contrast);
    editingLayout->addStretch();
    pages->addTab(editing, "&Editing");

    auto* ticks = new QWidget(pages);
    auto* ticksLayout = new QVBoxLayout(ticks);
    addBox(kTickBox, ticks, ticksLayout);
    auto* volumes = new QFormLayout;
    beatVolume_ = tenStepSlider(415, ticks);
    noteVolume_ = tenStepSlider(416, ticks);
    volumes->addRow("Beat Assist Vol.", beatVolume_);
    volumes->addRow("Note Assist Vol.", noteVolume_);
    ticksLayout->addLayout(volumes);
    addBox(kKeepPitchBox, ticks, ticksLayout);
    ticksLayout->addStretch();
    pages->addTab(ticks, "Assist &Tick");
    connect(beatVolume_, &QSlider::valueChanged, this, &OptionsDialog::previewVolumes);
    connect(noteVolume_, &QSlider::valueChanged, this, &OptionsDialog::previewVolumes);

    auto* practice = new QWidget(pages);
    auto* practiceLayout = new QVBoxLayout(practice);
    addBox(kPracticeBox, practice, practiceLayout);
    auto* windows = new QFormLayout;
    for (const LineEditRow& row : kPracticeEdits) {
        QLineEdit* edit = lineEdit(row.id, "", practice);
        edits_.emplace_back(row.field, edit);
        const bool milliseconds = row.id != 207;
        windows->addRow(row.caption, edit);
        if (milliseconds)
            edit->setPlaceholderText("ms");
    }
    practiceLayout->addLayout(windows);
    practiceLayout->addStretch();
    pages->addTab(practice, "&Practice Mode");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* defaults =
        named(buttons->addButton("&Defaults...", QDialogButtonBox::ResetRole), 208);
    connect(defaults, &QPushButton::clicked, this, [this] { fill(defaultOptionsForm(options_)); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);

    fill(optionsFormOf(options_));
}

void OptionsDialog::fill(const OptionsForm& form) {
    flags_ = form.flags;
    for (auto& [field, box] : boxes_)
        box->setChecked(form.flags.*field);
    for (auto& [field, edit] : edits_)
        edit->setText(qtText(form.*field));
    const QSignalBlocker beat(beatVolume_);
    const QSignalBlocker note(noteVolume_);
    beatVolume_->setValue(form.beatVolumeStep);
    noteVolume_->setValue(form.noteVolumeStep);
    spectrogramContrast_->setValue(form.spectrogramContrastStep);
}

OptionsForm OptionsDialog::form() const {
    OptionsForm form;
    form.flags = flags_;
    for (const auto& [field, box] : boxes_)
        form.flags.*field = box->isChecked();
    for (const auto& [field, edit] : edits_)
        form.*field = stdText(edit->text());
    form.beatVolumeStep = beatVolume_->value();
    form.noteVolumeStep = noteVolume_->value();
    form.spectrogramContrastStep = spectrogramContrast_->value();
    return form;
}

void OptionsDialog::previewVolumes() {
    player_.setTickVolumes(beatVolume_->value() * 10, noteVolume_->value() * 10);
}

void OptionsDialog::accept() {
    const std::optional<Options> chosen = optionsFromForm(form());
    if (!chosen) {
        messages_.show(kInvalidWindowsMessage);
        return;
    }
    options_ = *chosen;
    writeOptions(path_, options_);
    applied_(options_);
    QDialog::accept();
}

void OptionsDialog::reject() {
    player_.setTickVolumes(beatVolumeBefore_, noteVolumeBefore_);
    QDialog::reject();
}

} // namespace quillex
