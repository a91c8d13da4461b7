#pragma once

#include "ui/seams/Dialogs.hpp"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace skorvin::test {

// Stands in for the operator in front of every modal box: records each box the
// windows show and answers questions and save dialogs from queued answers.
// Installs itself on construction and restores the previous implementation on destruction.
class RecordingDialogs final : public ui::Dialogs {
public:
    struct Box {
        QWidget* owner = nullptr;
        QString caption;
        QString text;
        Icon icon = Icon::Information;
        // For a Yes/No question: the answer Enter would give.
        bool defaultYes = false;
        // For a question with several buttons: their captions and the one Enter presses.
        QStringList buttons = {};
        int defaultButton = -1;
    };
    struct SaveRequest {
        QWidget* owner = nullptr;
        QString proposedName;
        QString filter;
    };

    RecordingDialogs();
    ~RecordingDialogs() override;
    RecordingDialogs(const RecordingDialogs&) = delete;
    RecordingDialogs& operator=(const RecordingDialogs&) = delete;

    void message(QWidget* owner, const QString& caption, const QString& text, Icon icon) override;
    // Records the question as a box with the Question icon; answers the next queued
    // answer, or Cancel when none is queued.
    bool confirm(QWidget* owner, const QString& caption, const QString& text) override;
    // Records the question as a box with the Question icon and its default; answers the next
    // queued answer, or the default (the operator pressed Enter) when none is queued.
    bool ask(QWidget* owner, const QString& caption, const QString& text, bool defaultYes) override;
    // Records the question as a box with the Question icon, its buttons and its default; answers
    // the next queued choice, or the default (the operator pressed Enter) when none is queued.
    int choose(QWidget* owner, const QString& caption, const QString& text, const QStringList& buttons,
               int defaultButton) override;
    // Answers the next queued file name, or cancels (empty text) when none is queued.
    QString saveFileName(QWidget* owner, const QString& proposedName, const QString& filter) override;
    // As saveFileName, the type chosen with the queued name (the first type when none was).
    SaveChoice saveFileOfType(QWidget* owner, const QString& proposedName, const QString& filters) override;

    // Answers the next queued file name, or cancels when none is queued.
    QString openFileName(QWidget* owner, const QString& filter) override;

    void queueConfirm(bool ok) { confirmAnswers_.push_back(ok); }
    void queueAnswer(bool yes) { askAnswers_.push_back(yes); }
    void queueChoice(int button) { choiceAnswers_.push_back(button); }
    void queueSaveFileName(const QString& name, const QString& type = QString())
    {
        saveAnswers_.push_back(name);
        saveTypes_.push_back(type);
    }
    void queueOpenFileName(const QString& name) { openAnswers_.push_back(name); }

    const std::vector<Box>& boxes() const { return boxes_; }
    const std::vector<SaveRequest>& saveRequests() const { return saveRequests_; }
    // The filters of the open dialogs shown so far.
    const QStringList& openRequests() const { return openRequests_; }
    // The texts of all boxes shown so far, in order (handy in failure messages).
    QStringList texts() const;
    void clear();

private:
    ui::Dialogs* previous_;
    std::vector<Box> boxes_;
    std::vector<SaveRequest> saveRequests_;
    std::deque<bool> confirmAnswers_;
    std::deque<bool> askAnswers_;
    std::deque<int> choiceAnswers_;
    std::deque<QString> saveAnswers_;
    std::deque<QString> saveTypes_;
    QStringList openRequests_;
    std::deque<QString> openAnswers_;
};

} // namespace skorvin::test
