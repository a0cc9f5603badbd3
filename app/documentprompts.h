#pragma once

#include <QString>

namespace app {

// Everything the document commands ask or tell the user goes through this interface, so
// that the commands can be driven and checked without dialogs on the screen.
class DocumentPrompts {
public:
    enum class Choice { Yes, No, Cancel };

    struct Question {
        QString title;
        QString text;
        QString yes;    // the button texts; an empty cancel means there is no third button
        QString no;
        QString cancel;
        Choice preferred = Choice::Yes; // the default button, taken by Enter
        bool warning = false;           // a warning rather than a plain question
    };

    virtual ~DocumentPrompts() = default;

    // The user's answer; closing the box counts as Cancel when there is a Cancel button,
    // otherwise as No.
    virtual Choice Ask(const Question& question) = 0;
    // Tells the user about a failure; returns when the message has been read.
    virtual void Report(const QString& message) = 0;
    // The file to open or to save to, starting at the last chosen one; empty on Cancel.
    virtual QString ChooseFileToOpen(const QString& lastName) = 0;
    virtual QString ChooseFileToSave(const QString& lastName) = 0;
};

} // namespace app
