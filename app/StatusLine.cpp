#include "StatusLine.h"

#include <QDir>
#include <QLabel>

StatusLine::StatusLine(QLabel& panel) : panel_(panel) {}

void StatusLine::Set(const QString& text, bool failure)
{
    panel_.setText(text);
    // The connection's tooltip goes with its text; a failure, which may be
    // longer than the line is wide, is its own tooltip.
    panel_.setToolTip(text == connection_ ? tip_ : failure ? text : QString());
    failure_ = failure;
}

QString StatusLine::Text() const { return panel_.text(); }

void StatusLine::SetConnection(const QString& text, const QString& tip)
{
    connection_ = text;
    tip_ = tip;
    if (holdStartup_)
        return;
    Set(text);
}

void StatusLine::ClearFailure()
{
    if (failure_)
        Set(connection_);
}

void StatusLine::SayFileFailed(const QString& file)
{
    if (failedFiles_.contains(file))
        return;
    failedFiles_ << file;
    Set(QDir::toNativeSeparators(file) + QStringLiteral(" could not be written"), true);
}
