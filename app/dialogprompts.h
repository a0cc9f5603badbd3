#pragma once

#include "app/documentprompts.h"

class QWidget;

namespace app {

// The document commands' questions as message boxes and file dialogs over a window.
class DialogPrompts : public DocumentPrompts {
public:
    explicit DialogPrompts(QWidget* parent) : parent_(parent) {}

    Choice Ask(const Question& question) override;
    void Report(const QString& message) override;
    QString ChooseFileToOpen(const QString& lastName) override;
    QString ChooseFileToSave(const QString& lastName) override;

    // The filter of both file dialogs.
    static QString DocumentFilter();

private:
    QWidget* parent_;
};

} // namespace app
