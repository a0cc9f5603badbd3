#pragma once

#include "app/documentprompts.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

// Answers the document commands' questions from a script and keeps everything they asked
// and reported, so a test sees exactly what the user would have seen.
class ScriptedPrompts : public app::DocumentPrompts {
public:
    std::deque<Choice> answers;
    std::deque<QString> chosenFiles; // answers of the file dialogs; empty = Cancel
    std::vector<Question> asked;
    QStringList reports;
    int openDialogs = 0;
    int saveDialogs = 0;

    Choice Ask(const Question& question) override
    {
        asked.push_back(question);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << question.text.toStdString();
            return question.cancel.isEmpty() ? Choice::No : Choice::Cancel;
        }
        const Choice answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void Report(const QString& message) override { reports << message; }
    QString ChooseFileToOpen(const QString&) override
    {
        ++openDialogs;
        return NextFile();
    }
    QString ChooseFileToSave(const QString&) override
    {
        ++saveDialogs;
        return NextFile();
    }

    QString LastQuestion() const { return asked.empty() ? QString() : asked.back().text; }

private:
    QString NextFile()
    {
        if (chosenFiles.empty()) {
            ADD_FAILURE() << "unexpected file dialog";
            return {};
        }
        const QString file = chosenFiles.front();
        chosenFiles.pop_front();
        return file;
    }
};
