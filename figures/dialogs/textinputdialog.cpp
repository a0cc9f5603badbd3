#include "figures/dialogs/textinputdialog.h"

#include "figures/dialogs/screenplacement.h"

#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QVBoxLayout>

namespace figures {

namespace {

// Shapes keep line breaks as CR LF; the edit works with LF.
QString ToStored(const QString& edited)
{
    QString text = edited;
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

QString ToEdited(const QString& stored)
{
    QString text = stored;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(u'\r', u'\n');
}

} // namespace

TextInputDialog::TextInputDialog(QPoint position, const QString& initialText, Changed onChange,
                                 int byteLimit, QWidget* parent)
    : QDialog(parent), edit_(new QPlainTextEdit(this)), kept_(initialText),
      onChange_(std::move(onChange)), byteLimit_(byteLimit)
{
    setWindowTitle(QStringLiteral("请输入文本(Esc键退出):"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setPlainText(ToEdited(initialText));
    edit_->moveCursor(QTextCursor::End);
    edit_->ensureCursorVisible();
    // 225 x 56 dialog units of the system font.
    const QFontMetrics fm = fontMetrics();
    resize(fm.averageCharWidth() * 225 / 4, fm.height() * 56 / 8);
    connect(edit_, &QPlainTextEdit::textChanged, this, &TextInputDialog::EditChanged);
    PlaceOnScreen(*this, position);
}

int TextInputDialog::GbkByteCount(const QString& text)
{
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    return encoder.hasError() ? -1 : int(bytes.size());
}

void TextInputDialog::FollowTo(QPoint position)
{
    PlaceOnScreen(*this, position);
}

void TextInputDialog::EditChanged()
{
    if (reverting_ || !onChange_) {
        return;
    }
    const QString text = ToStored(edit_->toPlainText());
    if (text == kept_) {
        return;
    }
    const int bytes = GbkByteCount(text);
    if (bytes < 0 || bytes > byteLimit_) {
        // Refused: the edit shows the text the shape holds, the caret where it was.
        const int caret =
            std::min(int(edit_->textCursor().position()), int(ToEdited(kept_).size()));
        reverting_ = true;
        edit_->setPlainText(ToEdited(kept_));
        QTextCursor cursor = edit_->textCursor();
        cursor.setPosition(std::max(0, caret - 1));
        edit_->setTextCursor(cursor);
        reverting_ = false;
        return;
    }
    const bool linesChanged = text.count(u'\r') != kept_.count(u'\r');
    kept_ = text;
    onChange_(text, linesChanged);
}

} // namespace figures
