#include "StatusText.h"

void StatusText::Set(std::string text, bool failure)
{
    text_ = std::move(text);
    failure_ = failure;
}

void StatusText::SetConnection(std::string text, std::string tip)
{
    connection_ = std::move(text);
    tip_ = std::move(tip);
    if (!holdStartup_)
        Set(connection_);
}

void StatusText::ClearFailure()
{
    if (failure_)
        Set(connection_);
}
