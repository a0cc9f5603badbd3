#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace designer {

// Shows an exported shape program as a byte text, which the designer has already put on
// the clipboard, so the user can read it or copy part of it again.
class ByteTextWindow : public QDialog {
    Q_OBJECT

public:
    ByteTextWindow(const QString& text, QWidget* parent = nullptr);

    QString Text() const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPlainTextEdit* edit_ = nullptr;
};

} // namespace designer
