#include "gui/RecordingDialogs.hpp"

namespace skorvin::test {

RecordingDialogs::RecordingDialogs() : previous_(&ui::Replaceable<ui::Dialogs>::inForce())
{
    ui::Replaceable<ui::Dialogs>::install(this);
}

RecordingDialogs::~RecordingDialogs()
{
    ui::Replaceable<ui::Dialogs>::install(previous_);
}

void RecordingDialogs::message(QWidget* owner, const QString& caption, const QString& text, Icon icon)
{
    boxes_.push_back({owner, caption, text, icon});
}

bool RecordingDialogs::confirm(QWidget* owner, const QString& caption, const QString& text)
{
    boxes_.push_back({owner, caption, text, Icon::Question});
    if (confirmAnswers_.empty())
        return false;
    const bool answer = confirmAnswers_.front();
    confirmAnswers_.pop_front();
    return answer;
}

bool RecordingDialogs::ask(QWidget* owner, const QString& caption, const QString& text, bool defaultYes)
{
    boxes_.push_back({owner, caption, text, Icon::Question, defaultYes});
    if (askAnswers_.empty())
        return defaultYes;
    const bool answer = askAnswers_.front();
    askAnswers_.pop_front();
    return answer;
}

int RecordingDialogs::choose(QWidget* owner, const QString& caption, const QString& text, const QStringList& buttons,
                             int defaultButton)
{
    boxes_.push_back({owner, caption, text, Icon::Question, false, buttons, defaultButton});
    if (choiceAnswers_.empty())
        return defaultButton;
    const int answer = choiceAnswers_.front();
    choiceAnswers_.pop_front();
    return answer;
}

QString RecordingDialogs::saveFileName(QWidget* owner, const QString& proposedName, const QString& filter)
{
    saveRequests_.push_back({owner, proposedName, filter});
    if (saveAnswers_.empty())
        return {};
    QString answer = saveAnswers_.front();
    saveAnswers_.pop_front();
    saveTypes_.pop_front();
    return answer;
}

ui::Dialogs::SaveChoice RecordingDialogs::saveFileOfType(QWidget* owner, const QString& proposedName,
                                                         const QString& filters)
{
    const QString type = saveTypes_.empty() ? QString() : saveTypes_.front();
    const QString name = saveFileName(owner, proposedName, filters);
    return {name, type.isEmpty() ? filters.section(QStringLiteral(";;"), 0, 0) : type};
}

QString RecordingDialogs::openFileName(QWidget*, const QString& filter)
{
    openRequests_ << filter;
    if (openAnswers_.empty())
        return {};
    QString answer = openAnswers_.front();
    openAnswers_.pop_front();
    return answer;
}

QStringList RecordingDialogs::texts() const
{
    QStringList result;
    for (const Box& box : boxes_)
        result << box.text;
    return result;
}

void RecordingDialogs::clear()
{
    boxes_.clear();
    saveRequests_.clear();
    confirmAnswers_.clear();
    askAnswers_.clear();
    choiceAnswers_.clear();
    saveAnswers_.clear();
    saveTypes_.clear();
    openRequests_.clear();
    openAnswers_.clear();
}

} // namespace skorvin::test
