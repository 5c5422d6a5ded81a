#include "app/window/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include "app/session/file_filters.h"

namespace quillex {

namespace {

QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Label (*.a *.b)": Qt reads the patterns from the last parentheses; the dialog is
// told to hide them, so the label is shown as written.
template <size_t N> QStringList nameFilters(const std::array<FileFilter, N>& filters) {
    QStringList list;
    for (const FileFilter& f : filters)
        list << qstr(f.label) + " (" + qstr(f.patterns).replace(';', ' ') + ")";
    return list;
}

std::optional<std::string> runOpenDialog(QWidget* owner, const QStringList& filters,
                                         const std::string& folder) {
    QFileDialog dialog(owner, "Open");
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails |
                      QFileDialog::ReadOnly);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(qstr(kOpenDefaultExtension));
    if (!folder.empty())
        dialog.setDirectory(QString::fromStdString(folder));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

} // namespace

std::optional<std::string> runOpenDialog(QWidget* owner) {
    return runOpenDialog(owner, nameFilters(kOpenFilters), std::string());
}

std::optional<std::string> runMusicOpenDialog(QWidget* owner, const std::string& folder) {
    // The music types of the Open dialog, all of them first.
    const QStringList open = nameFilters(kOpenFilters);
    const QStringList music = {"Music (*.mp3 *.ogg *.wav)", open.at(3), open.at(4), open.at(5),
                               open.back()};
    return runOpenDialog(owner, music, folder);
}

std::optional<SaveTarget> runSaveAsDialog(QWidget* owner, const SaveTarget& start) {
    QFileDialog dialog(owner, "Save As");
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = nameFilters(kSaveFilters);
    dialog.setNameFilters(filters);
    // The chosen type (1-based), whether the dialog reports it with or without its
    // patterns.
    auto typeOf = [&filters](const QString& chosen) {
        for (size_t i = 0; i < kSaveFilters.size(); ++i)
            if (chosen == filters.at(static_cast<qsizetype>(i)) ||
                chosen == qstr(kSaveFilters[i].label))
                return static_cast<int>(i) + 1;
        return 1;
    };
    // A name typed without an extension gets the chosen type's, so the dialog's
    // overwrite question is about the file that will really be written.
    auto followType = [&dialog, &typeOf](const QString& chosen) {
        dialog.setDefaultSuffix(qstr(saveTypeExtension(typeOf(chosen))));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followType);
    if (start.filterIndex >= 1 && start.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(start.filterIndex - 1));
    followType(dialog.selectedNameFilter());
    const QFileInfo startFile(QString::fromStdString(start.path));
    if (startFile.path() != ".")
        dialog.setDirectory(startFile.path());
    dialog.selectFile(startFile.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return SaveTarget{dialog.selectedFiles().front().toStdString(),
                      typeOf(dialog.selectedNameFilter())};
}

SavePromptAnswer runSavePrompt(QWidget* owner, const std::string& songName) {
    QMessageBox box(QMessageBox::NoIcon, "quillex", "Do you want to save the changes to this file?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
    box.setInformativeText(QString::fromStdString(songName));
    box.button(QMessageBox::Yes)->setText("&Yes");
    box.button(QMessageBox::No)->setText("&No");
    box.button(QMessageBox::Cancel)->setText("Cancel");
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return SavePromptAnswer::Yes;
    case QMessageBox::No:
        return SavePromptAnswer::No;
    default:
        return SavePromptAnswer::Cancel;
    }
}

} // namespace quillex
