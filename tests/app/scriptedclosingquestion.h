#pragma once

#include "app/closingquestion.h"

#include <QList>
#include <QUrl>

#include <memory>

// Answers the editor's closing question as a test says and records the pages it would
// have opened, so no browser starts.
struct ClosingScript {
    app::ClosingQuestion::Answer answer = app::ClosingQuestion::Answer::Nothing;
    bool dontAskAgain = false;
    int asked = 0;
    QList<QUrl> opened;
};

class ScriptedClosingQuestion : public app::ClosingQuestion {
public:
    explicit ScriptedClosingQuestion(std::shared_ptr<ClosingScript> script)
        : script_(std::move(script))
    {}
    Answer Ask(QWidget*, bool& dontAskAgain) override
    {
        ++script_->asked;
        dontAskAgain = script_->dontAskAgain;
        return script_->answer;
    }
    void OpenPage(QWidget*, const QUrl& page) override { script_->opened << page; }

private:
    std::shared_ptr<ClosingScript> script_;
};
