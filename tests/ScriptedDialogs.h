#pragma once
// Answers the window's questions as a test says, never showing a dialog.

#include "EditorDialogs.h"

#include <functional>
#include <vector>

class ScriptedDialogs : public EditorDialogs {
public:
    bool pickResult = true;
    TColor pickColor = MakeColor(200, 100, 50);
    int pickCalls = 0;
    bool confirmResult = false;
    int confirmCalls = 0;
    QString openResult, saveResult;
    int saveCalls = 0;

    // Candidates the user moves through before answering; what the window
    // showed meanwhile, as pickShown says.
    std::vector<TColor> pickCandidates;
    std::function<void()> whilePicking;
    QString pickTitle;
    bool PickColor(QWidget*, TColor, const ColorQuestion& question, TColor& chosen) override
    {
        ++pickCalls;
        pickTitle = question.title;
        for (TColor c : pickCandidates) {
            question.candidate(c);
            if (whilePicking)
                whilePicking();
        }
        chosen = pickColor;
        return pickResult;
    }
    bool ConfirmContinue(QWidget*) override
    {
        ++confirmCalls;
        return confirmResult;
    }
    QString OpenThemeFile(QWidget*, const QString&) override { return openResult; }
    bool overwriteResult = true;
    int overwriteCalls = 0;
    bool ConfirmOverwriteChanged(QWidget*) override
    {
        ++overwriteCalls;
        return overwriteResult;
    }
    // Each file question takes the next answer; none left is a Cancel.
    std::vector<QString> fileAnswers;
    std::vector<FileQuestion> fileQuestions;
    QString AskFile(QWidget*, const FileQuestion& question) override
    {
        fileQuestions.push_back(question);
        if (fileAnswers.empty())
            return {};
        const QString answer = fileAnswers.front();
        fileAnswers.erase(fileAnswers.begin());
        return answer;
    }
    bool importResult = true;
    std::vector<QString> importQuestions;
    bool ConfirmImport(QWidget*, const QString& details) override
    {
        importQuestions.push_back(details);
        return importResult;
    }
    QString exportResult;
    ExportQuestion exportQuestion;
    QString ExportImageFile(QWidget*, const ExportQuestion& question) override
    {
        exportQuestion = question;
        return exportResult;
    }
    bool restoreResult = false;
    int restoreCalls = 0;
    DraftQuestion restoreQuestion;
    bool ConfirmRestoreDraft(QWidget*, const DraftQuestion& draft) override
    {
        ++restoreCalls;
        restoreQuestion = draft;
        return restoreResult;
    }
    QString SaveThemeFile(QWidget*, const QString&) override
    {
        ++saveCalls;
        return saveResult;
    }
};
