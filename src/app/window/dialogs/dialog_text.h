// Small helpers shared by the Qt dialogs: text between std::string and QString, and
// controls named by their control id, so tests find each control by that name.
#pragma once

#include <string>
#include <string_view>

#include <QLabel>
#include <QLineEdit>
#include <QString>

namespace quillex {

inline QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string stdText(const QString& text) {
    return text.toUtf8().toStdString();
}

template <typename Widget>
Widget* named(Widget* widget, int controlId) {
    widget->setObjectName(QString::number(controlId));
    return widget;
}

inline QLineEdit* lineEdit(int controlId, std::string_view text, QWidget* parent) {
    return named(new QLineEdit(qtText(text), parent), controlId);
}

} // namespace quillex
