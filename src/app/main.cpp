// Program entry: makes the editor and its window and runs the event loop.
#include <QApplication>
#include <QMessageBox>

#include "app/editor.h"
#include "app/main_window.h"

namespace {

// Shows "Tip" messages as modal boxes owned by the main window.
class BoxMessages : public quillex::Messages {
public:
    void show(std::string_view text, std::string_view caption) override {
        QMessageBox::information(parent, QString::fromUtf8(caption.data(), caption.size()),
                                 QString::fromUtf8(text.data(), text.size()));
    }
    QWidget* parent = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BoxMessages messages;
    quillex::FixedMusicInfo music(44100, 0);
    quillex::Editor editor(messages, music);
    quillex::MainWindow window(editor);
    messages.parent = &window;
    window.show();
    return app.exec();
}
