#include "StatusLine.h"

#include <QDir>
#include <QLabel>

StatusLine::StatusLine(QLabel& panel) : panel_(panel) {}

void StatusLine::Show()
{
    panel_.setText(QString::fromStdString(state_.Text()));
    panel_.setToolTip(QString::fromStdString(state_.Tip()));
}

void StatusLine::Set(const QString& text, bool failure)
{
    state_.Set(text.toStdString(), failure);
    Show();
}

QString StatusLine::Text() const { return panel_.text(); }

void StatusLine::SetConnection(const QString& text, const QString& tip)
{
    state_.SetConnection(text.toStdString(), tip.toStdString());
    Show();
}

void StatusLine::ClearFailure()
{
    state_.ClearFailure();
    Show();
}

void StatusLine::SayFileFailed(const QString& file)
{
    if (failedFiles_.contains(file))
        return;
    failedFiles_ << file;
    Set(QDir::toNativeSeparators(file) + QStringLiteral(" could not be written"), true);
}
