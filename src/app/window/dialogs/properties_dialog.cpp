#include "app/window/dialogs/properties_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/window/dialogs/dialog_text.h"
#include "fileio/song_music.h"

namespace quillex {

PropertiesDialog::PropertiesDialog(Editor& editor, std::function<void()> picturesRenamed,
                                   QWidget* parent)
    : QDialog(parent), editor_(editor), picturesRenamed_(std::move(picturesRenamed)) {
    setWindowTitle("Properties");
    editor.store().setModified(true);
    const MusicPlayer& player = editor.player();
    const PropertiesForm form = propertiesFormOf(editor.song().properties(), player);

    auto* song = new QGroupBox("Song", this);
    auto* songForm = new QFormLayout(song);
    title_ = textEdit(74, form.title);
    subtitle_ = textEdit(72, form.subtitle);
    artist_ = textEdit(71, form.artist);
    genre_ = textEdit(75, form.genre);
    credit_ = textEdit(73, form.credit);
    songForm->addRow("Song &Title:", title_);
    songForm->addRow("Song &Subtitle:", subtitle_);
    songForm->addRow("Song &Artist:", artist_);
    songForm->addRow("S&ong Genre:", genre_);
    songForm->addRow("&Credits:", credit_);
    selectable_ = named(new QCheckBox("Se&lectable", song), 82);
    selectable_->setChecked(form.selectable);
    songForm->addRow(QString(), selectable_);
    auto* music = named(new QLabel(qtText(musicText(player)), song), 83);
    music->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A song kept over silence (its music was not found) is given its music here; the
    // markers and notes keep their times.
    auto* giveMusic = new QPushButton("&Music File...", song);
    giveMusic->setObjectName("giveMusic");
    giveMusic->setEnabled(player.loaded());
    connect(giveMusic, &QPushButton::clicked, this, [this, music] {
        SongFileContext context = songFileContext(editor_);
        if (chooseSongMusic(context))
            music->setText(qtText(musicText(editor_.player())));
    });
    auto* musicRow = new QHBoxLayout;
    musicRow->addWidget(music, 1);
    musicRow->addWidget(giveMusic);
    songForm->addRow("Music:", musicRow);

    auto* bpm = new QGroupBox("BPM Display", this);
    auto* bpmGrid = new QGridLayout(bpm);
    defaultMode_ = named(new QRadioButton("&Default Display", bpm), 79);
    customMode_ = named(new QRadioButton("C&ustom Display", bpm), 80);
    randomMode_ = named(new QRadioButton("&Random Display", bpm), 88);
    range_ = named(new QLabel(qtText(bpmRangeText(editor.store().timing())), bpm), 84);
    converted_ = named(new QLabel("bpm (converted)", bpm), 85);
    bpmLow_ = textEdit(81, form.displayBpmLow);
    bpmHigh_ = textEdit(110, form.displayBpmHigh);
    to_ = named(new QLabel("to", bpm), 176);
    bpmUnit_ = named(new QLabel("bpm", bpm), 86);
    randomNote_ = named(new QLabel("(BPM display shows random values)", bpm), 136);
    bpmGrid->addWidget(defaultMode_, 0, 0);
    bpmGrid->addWidget(range_, 0, 1, 1, 3);
    bpmGrid->addWidget(converted_, 0, 4);
    bpmGrid->addWidget(customMode_, 1, 0);
    bpmGrid->addWidget(bpmLow_, 1, 1);
    bpmGrid->addWidget(to_, 1, 2);
    bpmGrid->addWidget(bpmHigh_, 1, 3);
    bpmGrid->addWidget(bpmUnit_, 1, 4);
    bpmGrid->addWidget(randomMode_, 2, 0);
    bpmGrid->addWidget(randomNote_, 2, 1, 1, 4);
    for (QRadioButton* button : {defaultMode_, customMode_, randomMode_})
        connect(button, &QRadioButton::toggled, this, [this] { showMode(chosenMode()); });

    auto* preview = new QGroupBox("Song Preview", this);
    auto* previewForm = new QFormLayout(preview);
    previewBegin_ = textEdit(101, form.previewBegin);
    previewEnd_ = textEdit(106, form.previewEnd);
    previewForm->addRow("&Begin (samples):", previewBegin_);
    previewForm->addRow("&End (samples):", previewEnd_);

    auto* graphics = new QGroupBox("Custom Graphics", this);
    auto* graphicsForm = new QFormLayout(graphics);
    background_ = textEdit(171, form.background);
    banner_ = textEdit(33, form.banner);
    cdTitle_ = textEdit(174, form.cdTitle);
    graphicsForm->addRow("Back&ground:", background_);
    graphicsForm->addRow("Ba&nner:", banner_);
    graphicsForm->addRow("CD T&itle:", cdTitle_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* group : {song, bpm, preview, graphics})
        layout->addWidget(group);
    layout->addWidget(buttons);

    switch (form.displayBpmMode) {
    case DisplayBpmMode::None:
        defaultMode_->setChecked(true);
        break;
    case DisplayBpmMode::Range:
        customMode_->setChecked(true);
        break;
    case DisplayBpmMode::Random:
        randomMode_->setChecked(true);
        break;
    }
    showMode(form.displayBpmMode);
    setMinimumWidth(480);
}

// Texts longer than the limit (read from a file) are shown whole, not cut.
QLineEdit* PropertiesDialog::textEdit(int id, const std::string& text) {
    QLineEdit* edit = lineEdit(id, text, this);
    edit->setMaxLength(std::max<int>(kPropertyTextLimit, static_cast<int>(edit->text().size())));
    edit->setCursorPosition(0);
    return edit;
}

DisplayBpmMode PropertiesDialog::chosenMode() const {
    if (defaultMode_->isChecked())
        return DisplayBpmMode::None;
    return customMode_->isChecked() ? DisplayBpmMode::Range : DisplayBpmMode::Random;
}

void PropertiesDialog::showMode(DisplayBpmMode mode) {
    for (QWidget* w : {static_cast<QWidget*>(range_), static_cast<QWidget*>(converted_)})
        w->setEnabled(mode == DisplayBpmMode::None);
    for (QWidget* w : {static_cast<QWidget*>(bpmLow_), static_cast<QWidget*>(bpmHigh_),
                       static_cast<QWidget*>(bpmUnit_), static_cast<QWidget*>(to_)})
        w->setEnabled(mode == DisplayBpmMode::Range);
    randomNote_->setEnabled(mode == DisplayBpmMode::Random);
}

void PropertiesDialog::accept() {
    PropertiesForm form;
    form.title = stdText(title_->text());
    form.subtitle = stdText(subtitle_->text());
    form.artist = stdText(artist_->text());
    form.genre = stdText(genre_->text());
    form.credit = stdText(credit_->text());
    form.selectable = selectable_->isChecked();
    form.displayBpmMode = chosenMode();
    form.displayBpmLow = stdText(bpmLow_->text());
    form.displayBpmHigh = stdText(bpmHigh_->text());
    form.previewBegin = stdText(previewBegin_->text());
    form.previewEnd = stdText(previewEnd_->text());
    form.background = stdText(background_->text());
    form.banner = stdText(banner_->text());
    form.cdTitle = stdText(cdTitle_->text());
    if (const std::optional<std::string> refusal = checkPropertiesForm(form)) {
        editor_.messages().show(*refusal);
        return;
    }
    bpmLow_->setText(qtText(form.displayBpmLow));
    bpmHigh_->setText(qtText(form.displayBpmHigh));
    previewBegin_->setText(qtText(form.previewBegin));
    previewEnd_->setText(qtText(form.previewEnd));
    const PictureChanges changes =
        applyPropertiesForm(form, editor_.song().properties(), editor_.player());
    if ((changes.banner || changes.background) && picturesRenamed_)
        picturesRenamed_();
    QDialog::accept();
}

} // namespace quillex
