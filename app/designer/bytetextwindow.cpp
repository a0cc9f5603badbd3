#include "app/designer/bytetextwindow.h"

#include <QPlainTextEdit>
#include <QResizeEvent>

namespace designer {

ByteTextWindow::ByteTextWindow(const QString& text, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("下面的数据已复制到剪贴板，可直接粘贴到开发环境中"));
    setGeometry(50, 50, 577, 379);
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(QStringLiteral("byteText"));
    edit_->setPlainText(text);
    edit_->setGeometry(8, 8, width() - 16, height() - 16);
}

QString ByteTextWindow::Text() const
{
    return edit_->toPlainText();
}

// The text fills the window whatever size the user gives it.
void ByteTextWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    edit_->setGeometry(8, 8, width() - 16, height() - 16);
}

} // namespace designer
