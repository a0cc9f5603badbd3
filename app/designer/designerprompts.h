#pragma once

#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

namespace designer {

// Every question and message the designer shows goes through here, so that a test can
// answer them instead of a person and a host could route them elsewhere. The default
// implementation shows the ordinary modal boxes, titled with the parent's caption.
class DesignerPrompts {
public:
    enum class Icon { None, Information, Error };

    virtual ~DesignerPrompts() = default;

    virtual void Tell(QWidget* parent, const QString& text, Icon icon);
    // Yes, No or Cancel; closing the box counts as Cancel.
    virtual QMessageBox::StandardButton AskYesNoCancel(QWidget* parent, const QString& text);
    // The entered text, or none when the user cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& caption,
                                           const QString& prompt, const QString& initial);
    // A file to write, or an empty text when the user cancelled.
    virtual QString AskSaveFileName(QWidget* parent);
    // Shows the byte text (already on the clipboard) until the user closes it.
    virtual void ShowByteText(QWidget* parent, const QString& text);
};

} // namespace designer
