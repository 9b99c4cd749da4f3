#pragma once

#include <QWidget>

namespace bitloom {

class CodeView;

// The code window "Generator: generated C code": its text pane fills the
// client area, so nothing of the code or its scroll bars is cut off.
class CodeWindow : public QWidget {
    Q_OBJECT
public:
    explicit CodeWindow(QWidget* parent = nullptr);

    CodeView* codeView() const { return mCodeView; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CodeView* mCodeView;
};

} // namespace bitloom
