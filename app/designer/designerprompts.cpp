#include "app/designer/designerprompts.h"

#include "app/designer/bytetextwindow.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QWidget>

namespace designer {

namespace {

QString CaptionOf(QWidget* parent)
{
    return parent ? parent->window()->windowTitle() : QString();
}

} // namespace

void DesignerPrompts::Tell(QWidget* parent, const QString& text, Icon icon)
{
    const QMessageBox::Icon boxIcon = icon == Icon::Error         ? QMessageBox::Critical
                                      : icon == Icon::Information ? QMessageBox::Information
                                                                  : QMessageBox::NoIcon;
    QMessageBox box(boxIcon, CaptionOf(parent), text, QMessageBox::Ok, parent);
    box.exec();
}

QMessageBox::StandardButton DesignerPrompts::AskYesNoCancel(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, CaptionOf(parent), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes || answer == QMessageBox::No) {
        return static_cast<QMessageBox::StandardButton>(answer);
    }
    return QMessageBox::Cancel;
}

std::optional<QString> DesignerPrompts::AskText(QWidget* parent, const QString& caption,
                                                const QString& prompt, const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return text;
}

QString DesignerPrompts::AskSaveFileName(QWidget* parent)
{
    return QFileDialog::getSaveFileName(parent);
}

void DesignerPrompts::ShowByteText(QWidget* parent, const QString& text)
{
    ByteTextWindow window(text, parent);
    window.exec();
}

} // namespace designer
